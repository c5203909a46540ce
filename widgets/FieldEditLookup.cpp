// TFieldEdit: the lookup list that suggests entries of Lookup().DisplayList while the
// user types, and the keys that drive it.
#include "widgets/FieldEdit.h"

#include "platform/text/Cp1252.h"
#include "platform/text/TextCase.h"
#include "widgets/TListHintWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <algorithm>
#include <numeric>

namespace {

constexpr int kRowHeight = 12;

}  // namespace

void TFieldEdit::CreateLookupWindow()
{
    lookupWindow_ = new TListHintWindow(this);
    lookupList_ = lookupWindow_->ListControl();
    lookupList_->installEventFilter(this);
    lookupList_->viewport()->installEventFilter(this);
}

bool TFieldEdit::LookupVisible() const
{
    return lookupWindow_ && lookupWindow_->isVisible();
}

void TFieldEdit::HideLookup()
{
    if (lookupWindow_)
        lookupWindow_->hide();
}

// The list keeps showing while the click that activates it takes the focus there.
void TFieldEdit::LookupFocusLost()
{
    if (!lookupWindow_->isActiveWindow() &&
        !lookupWindow_->isAncestorOf(QApplication::focusWidget()))
        HideLookup();
}

void TFieldEdit::UpdateLookup()
{
    if (!lookup_.Enabled)
        return;
    const std::string t = Text();
    if (static_cast<int>(t.size()) < lookup_.NumChars()) {
        HideLookup();
        return;
    }
    const QPoint origin = mapToGlobal(ClientOrigin());
    QPalette p = lookupList_->palette();
    p.setColor(QPalette::Base, ColorToQColor(lookup_.Color));
    lookupList_->setPalette(p);
    QFont listFont(QStringLiteral("Arial"));
    listFont.setPointSize(8);
    lookupList_->setFont(listFont);
    const int fullHeight = lookup_.DisplayCount * kRowHeight + 4;

    // Matches begin with the typed text; without case sensitivity a-z fold only.
    const auto fold = [this](const std::string& s) {
        return lookup_.CaseSensitive ? s : UpperCaseAscii(s);
    };
    const std::string wanted = fold(t);
    std::vector<int> matches;
    for (int k = 0; k < static_cast<int>(lookup_.DisplayList.size()); ++k)
        if (fold(lookup_.DisplayList[static_cast<size_t>(k)]).starts_with(wanted))
            matches.push_back(k);
    // The list keeps its entries sorted alphabetically, without case.
    std::stable_sort(matches.begin(), matches.end(), [this](int a, int b) {
        return CompareTextAscii(lookup_.DisplayList[static_cast<size_t>(a)],
                                lookup_.DisplayList[static_cast<size_t>(b)]) < 0;
    });
    lookupList_->clear();
    const QFontMetrics hintMetrics(lookupWindow_->font());
    int w = 50;
    for (const int k : matches) {
        const QString entry = ToQString(lookup_.DisplayList[static_cast<size_t>(k)]);
        auto* item = new QListWidgetItem(entry, lookupList_);
        item->setData(Qt::UserRole, k);
        item->setSizeHint(QSize(hintMetrics.horizontalAdvance(entry), kRowHeight));
        w = std::max(w, hintMetrics.horizontalAdvance(entry));
    }
    if (!matches.empty())
        lookupList_->setCurrentRow(0);
    const int m = static_cast<int>(matches.size());
    const int height = m < lookup_.DisplayCount ? m * kRowHeight + 4 : fullHeight;
    lookupWindow_->setGeometry(origin.x() + 16, origin.y() + this->height() - 6,
                               m > 0 ? w + 10 : 200, height);
    if (m > 0)
        lookupWindow_->show();
    else
        lookupWindow_->hide();
}

void TFieldEdit::LookupSelect()
{
    window()->raise();
    window()->activateWindow();
    setFocus(Qt::OtherFocusReason);
    HideLookup();
    const QListWidgetItem* item = lookupList_->currentItem();
    if (!item)
        return;  // nothing is listed: there is nothing to take
    const int k = item->data(Qt::UserRole).toInt();
    std::string v = k >= 0 && k < static_cast<int>(lookup_.ValueList.size())
                        ? lookup_.ValueList[static_cast<size_t>(k)]
                        : ToCp1252(item->text());
    if (onLookupSelect_)
        onLookupSelect_(*this, v);
    SetText(v);
    SelectEditableText();
}

bool TFieldEdit::LookupKeyDown(QKeyEvent* e)
{
    if (!LookupVisible())
        return false;
    const int count = lookupList_->count();
    const int row = lookupList_->currentRow();
    const int page = lookup_.DisplayCount;
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        LookupSelect();
        return true;
    case Qt::Key_Home:
        lookupList_->setCurrentRow(0);
        return true;
    case Qt::Key_End:
        lookupList_->setCurrentRow(count - 1);
        return true;
    case Qt::Key_PageDown:
        lookupList_->setCurrentRow(row + page < count ? row + page : count - 1);
        return true;
    case Qt::Key_PageUp:
        lookupList_->setCurrentRow(row > page ? row - page : 0);
        return true;
    case Qt::Key_Up:
        if (row > 0)
            lookupList_->setCurrentRow(row - 1);
        return false;
    case Qt::Key_Down:
        if (row + 1 < count)
            lookupList_->setCurrentRow(row + 1);
        return false;
    default:
        return false;
    }
}

bool TFieldEdit::eventFilter(QObject* watched, QEvent* e)
{
    if (lookupList_ && watched == lookupList_->viewport() &&
        e->type() == QEvent::MouseButtonRelease) {
        LookupSelect();
        return true;
    }
    if (watched == lookupList_ && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            LookupSelect();
            return true;
        }
    }
    return QLineEdit::eventFilter(watched, e);
}
