#include "about/UAbout.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

TFormAbout* FormAbout = nullptr;

TFormAbout::TFormAbout(QWidget* parent) : QDialog(parent)
{
    CreateLayout();
    FormCreate();
}

void TFormAbout::FormCreate()
{
    lblProductVersion->setText("Version: " + lblProductVersion->text());
}

void TFormAbout::CloseClick(QObject*)
{
    close();
}

void TFormAbout::FormKeyPress()
{
    close();
}

// A click is a left-button release over the control it was pressed on.
bool TFormAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* control = static_cast<QWidget*>(watched);
        if (mouse->button() == Qt::LeftButton &&
            control->rect().contains(mouse->position().toPoint())) {
            CloseClick(watched);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Any key that gives a character closes the box (Esc and Enter included); keys that give
// none (Shift, the arrows) do nothing.
void TFormAbout::keyPressEvent(QKeyEvent* event)
{
    if (event->text().isEmpty()) {
        QDialog::keyPressEvent(event);
        return;
    }
    FormKeyPress();
}

void TFormAbout::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (const QScreen* screen =
            this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect place = rect();
        place.moveCenter(screen->availableGeometry().center());
        move(place.topLeft());
    }
}
