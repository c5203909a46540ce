#include "platform/ui/QtUi.h"

#include "platform/text/Cp1252.h"
#include "platform/text/FileName.h"
#include "platform/ui/FileDialogSetup.h"
#include "platform/ui/MessageText.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <utility>
#include <vector>

namespace ui {

namespace {

QMessageBox::Icon IconOf(MsgKind kind)
{
    switch (kind) {
    case MsgKind::Error:
        return QMessageBox::Critical;
    case MsgKind::Warning:
        return QMessageBox::Warning;
    case MsgKind::Information:
        return QMessageBox::Information;
    case MsgKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// In the order the box offers them; the first is the default button.
std::vector<QMessageBox::StandardButton> ButtonsOf(Buttons buttons)
{
    switch (buttons) {
    case Buttons::OK:
        return {QMessageBox::Ok};
    case Buttons::OKCancel:
        return {QMessageBox::Ok, QMessageBox::Cancel};
    case Buttons::YesNo:
        return {QMessageBox::Yes, QMessageBox::No};
    case Buttons::YesNoCancel:
        return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case Buttons::CancelRetry:
        return {QMessageBox::Retry, QMessageBox::Cancel};
    case Buttons::CancelRetryIgnore:
        return {QMessageBox::Cancel, QMessageBox::Retry, QMessageBox::Ignore};
    }
    return {QMessageBox::Ok};
}

Result ResultOf(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok:
        return Result::OK;
    case QMessageBox::Cancel:
        return Result::Cancel;
    case QMessageBox::Yes:
        return Result::Yes;
    case QMessageBox::No:
        return Result::No;
    case QMessageBox::Retry:
        return Result::Retry;
    case QMessageBox::Ignore:
        return Result::Ignore;
    default:
        return Result::None;
    }
}

std::optional<std::string> RunFileDialog(const FileDialogOptions& options, FileDialogMode mode)
{
    QFileDialog dialog(QApplication::activeWindow());
    ConfigureFileDialog(dialog, options, mode);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return FileNameFromQString(dialog.selectedFiles().constFirst());
}

// Ends a modal loop when the window it runs for is hidden or closed.
class ModalEnd final : public QObject {
public:
    explicit ModalEnd(QEventLoop& loop) : loop_(loop) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Hide || event->type() == QEvent::Close) {
            loop_.quit();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& loop_;
};

// Qt's box wraps every text wider than 500 pixels (less on a small screen), breaking
// lines the system lays out with tabs (the calculator's character table). This box keeps
// each line as written and is as wide as the longest one, wrapping only what the screen
// cannot hold. Qt sizes its box again on every layout request, so the lines are kept
// after each time.
class LineKeepingMessageBox final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    bool event(QEvent* event) override
    {
        const bool result = QMessageBox::event(event);
        if (event->type() == QEvent::LayoutRequest)
            KeepLines();
        return result;
    }

    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        KeepLines();
    }

private:
    void KeepLines()
    {
        auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        if (label == nullptr || !label->wordWrap())
            return;
        constexpr int kUnbounded = 1 << 20;
        const int textWidth = label->fontMetrics()
                                  .boundingRect(QRect(0, 0, kUnbounded, kUnbounded),
                                                Qt::TextExpandTabs, label->text())
                                  .width();
        if (width() - label->width() + textWidth > screen()->availableGeometry().width())
            return;
        label->setWordWrap(false);
        layout()->activate();
        const QSize unwrapped = layout()->totalMinimumSize();
        setFixedSize(std::max(width(), unwrapped.width()), unwrapped.height());
        // The box is sized; the requests these changes made would only wrap it again.
        QCoreApplication::removePostedEvents(this, QEvent::LayoutRequest);
    }
};

}  // namespace

Result QtUi::MessageBox(MsgKind kind, const std::string& text, Buttons buttons)
{
    return UnicodeMessageBox(kind, ToQString(text), buttons);
}

Result QtUi::UnicodeMessageBox(MsgKind kind, const QString& text, Buttons buttons)
{
    LineKeepingMessageBox box(IconOf(kind), ApplicationTitle(), MessageDisplayText(text),
                              QMessageBox::NoButton, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);  // a message is never markup
    const auto standard = ButtonsOf(buttons);
    for (QMessageBox::StandardButton b : standard) {
        box.addButton(b);
    }
    box.setDefaultButton(standard.front());
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return clicked ? ResultOf(box.standardButton(clicked)) : Result::None;
}

bool QtUi::InputBox(const std::string& caption, const std::string& prompt, std::string& value)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(ToQString(caption));
    dialog.setLabelText(ToQString(prompt));
    dialog.setTextValue(ToQString(value));
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    value = ToCp1252(dialog.textValue());
    return true;
}

std::optional<std::string> QtUi::OpenFile(const FileDialogOptions& options)
{
    return RunFileDialog(options, FileDialogMode::Open);
}

std::optional<std::string> QtUi::SaveFile(const FileDialogOptions& options)
{
    return RunFileDialog(options, FileDialogMode::Save);
}

int QtUi::ShowModal(QWidget& window)
{
    if (auto* dialog = qobject_cast<QDialog*>(&window)) {
        return dialog->exec();
    }
    QPointer<QWidget> alive(&window);
    const Qt::WindowModality modality = window.windowModality();
    window.setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    ModalEnd end(loop);
    window.installEventFilter(&end);
    QObject::connect(&window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window.show();
    loop.exec(QEventLoop::DialogExec);
    if (alive) {
        window.removeEventFilter(&end);
        window.setWindowModality(modality);
    }
    return 0;
}

void QtUi::ProcessMessages()
{
    QCoreApplication::processEvents();
}

void QtUi::SetBusyCursor(bool busy)
{
    // Qt stacks override cursors: every set is paired with one restore.
    if (busy) {
        ++busyDepth_;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (busyDepth_ > 0) {
        --busyDepth_;
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace ui
