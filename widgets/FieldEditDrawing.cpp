// TFieldEdit: the attached label and everything drawn besides the text.
#include "widgets/FieldEdit.h"

#include "platform/text/Cp1252.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolTip>

namespace {

// Half of a signed difference, rounded down.
int FloorHalf(int d)
{
    return d >= 0 ? d / 2 : -((1 - d) / 2);
}

// The caption as the label shows it: "&&" is one "&", a single "&" marks the
// accelerator and is not drawn.
QString ShownCaption(const QString& caption)
{
    QString shown;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&') && i + 1 < caption.size())
            ++i;
        else if (caption[i] == QLatin1Char('&'))
            continue;
        shown += caption[i];
    }
    return shown;
}

TColor ToTColor(const QColor& c)
{
    return static_cast<TColor>(c.red() | (c.green() << 8) | (c.blue() << 16));
}

}  // namespace

// ---------------------------------------------------------------- label

void TFieldEdit::CreateLabel()
{
    label_ = new QLabel(parentWidget());
    label_->setTextFormat(Qt::PlainText);
    label_->setBuddy(this);
    label_->setFont(labelFont_);
    if (!label_->parentWidget())
        label_->hide();  // without a parent window there is nowhere to show it
}

std::string TFieldEdit::LabelCaption() const
{
    return label_ ? ToCp1252(label_->text()) : std::string();
}

void TFieldEdit::SetLabelCaption(const std::string& value)
{
    if (!label_)
        CreateLabel();
    label_->setText(ToQString(value));
    SizeLabelToCaption();
    UpdateLabelPosition();
}

void TFieldEdit::SizeLabelToCaption()
{
    const QFontMetrics fm(label_->font());
    label_->resize(fm.horizontalAdvance(ShownCaption(label_->text())), fm.height());
}

void TFieldEdit::SetLabelPosition(TLabelPosition value)
{
    labelPosition_ = value;
    UpdateLabelPosition();
}

void TFieldEdit::SetLabelMargin(int value)
{
    labelMargin_ = value;
    UpdateLabelPosition();
}

void TFieldEdit::SetLabelTransparent(bool value)
{
    labelTransparent_ = value;
    UpdateLabelPosition();
}

void TFieldEdit::SetLabelFont(const QFont& value)
{
    labelFont_ = value;
    UpdateLabelPosition();
}

void TFieldEdit::SetLabelAlwaysEnabled(bool value)
{
    labelAlwaysEnabled_ = value;
    if (value && label_)
        label_->setEnabled(true);
    update();
}

void TFieldEdit::UpdateLabelPosition()
{
    if (!label_)
        return;
    label_->setAutoFillBackground(!labelTransparent_);
    const int l = x();
    const int t = y();
    const int w = width();
    const int h = height();
    const int lw = label_->width();
    const int lh = label_->height();
    const int m = labelMargin_;
    // Measured in the font the label has now; it takes LabelFont only afterwards.
    const int tw = QFontMetrics(label_->font()).horizontalAdvance(ShownCaption(label_->text()));
    QPoint at;
    switch (labelPosition_) {
    case TLabelPosition::lpLeftTop:
        at = {l - tw - m, t};
        break;
    case TLabelPosition::lpLeftCenter:
        at = {l - tw - m, t + FloorHalf(h - lh)};
        break;
    case TLabelPosition::lpLeftBottom:
        at = {l - tw - m, t + h - lh};
        break;
    case TLabelPosition::lpTopLeft:
        at = {l, t - lh - m};
        break;
    case TLabelPosition::lpBottomLeft:
        at = {l, t + h + m};
        break;
    case TLabelPosition::lpLeftTopLeft:
        at = {l - m, t};
        break;
    case TLabelPosition::lpLeftCenterLeft:
        at = {l - m, t + FloorHalf(h - lh)};
        break;
    case TLabelPosition::lpLeftBottomLeft:
        at = {l - m, t + h - lh};
        break;
    case TLabelPosition::lpTopCenter:
        at = {l + FloorHalf(w - lw), t - lh - m};
        break;
    case TLabelPosition::lpBottomCenter:
        at = {l + FloorHalf(w - lw), t + h + m};
        break;
    }
    label_->move(at);
    label_->setFont(labelFont_);
    SizeLabelToCaption();
    if (label_->parentWidget())
        label_->setVisible(!isHidden());
}

void TFieldEdit::moveEvent(QMoveEvent* e)
{
    QLineEdit::moveEvent(e);
    UpdateLabelPosition();
}

void TFieldEdit::resizeEvent(QResizeEvent* e)
{
    QLineEdit::resizeEvent(e);
    UpdateLabelPosition();
}

// ---------------------------------------------------------------- look

void TFieldEdit::SetEmptyText(const std::string& value)
{
    emptyText_ = value;
    update();
}

void TFieldEdit::SetFlat(bool value)
{
    if (loading_) {
        flat_ = value;
        return;
    }
    if (value == flat_)
        return;
    flat_ = value;
    ApplyFlat(value);
}

void TFieldEdit::ApplyFlat(bool on)
{
    if (on) {
        const TColor c = color_;
        if (flatParentColor_ && parentWidget()) {
            const TColor parentColor =
                ToTColor(parentWidget()->palette().color(parentWidget()->backgroundRole()));
            SetColor(parentColor);
            focusColor_ = parentColor;
        }
        savedColor_ = c;
        setFrame(false);
    } else {
        SetBackground(savedColor_);
        setFrame(savedBorder_);
    }
    SetEditRect();
    update();
}

// The formatting rectangle as margins inside the client area, so it follows every
// later resize of the edit.
void TFieldEdit::SetEditRect()
{
    if (flat_)
        setTextMargins(2, 4, 2, 4);
    else
        setTextMargins(0, 0, 0, 0);
}

void TFieldEdit::SetFlatLineColor(TColor value)
{
    flatLineColor_ = value;
    update();
}

void TFieldEdit::SetFlatParentColor(bool value)
{
    flatParentColor_ = value;
    update();
}

void TFieldEdit::SetSoftBorder(bool value)
{
    if (value == softBorder_)
        return;
    softBorder_ = value;
    update();
}

void TFieldEdit::SetFocusBorder(bool value)
{
    focusBorder_ = value;
    update();
}

void TFieldEdit::SetTransparent(bool value)
{
    if (value == transparent_)
        return;
    transparent_ = value;
    ApplyColors();
    update();
}

void TFieldEdit::SetErrorMarkerPos(int value)
{
    errorMarkerPos_ = value;
    update();
}

void TFieldEdit::SetErrorMarkerLen(int value)
{
    errorMarkerLen_ = value;
    update();
}

void TFieldEdit::SetDropCaretPos(QPoint value)
{
    dropCaretPos_ = value;
    update();
}

void TFieldEdit::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::FontChange && loading_ && label_)
        label_->setFont(font());
    QLineEdit::changeEvent(e);
    if (e->type() == QEvent::FontChange)
        SetEditRect();
}

// ---------------------------------------------------------------- painting

QPoint TFieldEdit::ClientOrigin() const
{
    if (!hasFrame())
        return {0, 0};
    QStyleOptionFrame option;
    initStyleOption(&option);
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    return {frame, frame};
}

QPoint TFieldEdit::PosFromChar(int index) const
{
    // Measured from the caret, whose place the line edit knows, including its scroll.
    const QString shown = displayText();
    const QFontMetrics fm(font());
    const QRect caret = cursorRect();
    const int caretX = caret.left() + caret.width() / 2;
    const int dx = fm.horizontalAdvance(shown.left(index)) -
                   fm.horizontalAdvance(shown.left(cursorPosition()));
    return {caretX + dx, caret.top()};
}

void TFieldEdit::paintEvent(QPaintEvent* e)
{
    QLineEdit::paintEvent(e);
    PaintExtras();
}

void TFieldEdit::PaintExtras()
{
    QPainter painter(this);
    if (flat_) {
        if (focusBorder_) {
            DrawBorders(painter);
        } else {
            painter.setPen(QPen(ColorToQColor(flatLineColor_), 1));
            const QRect r = rect().marginsRemoved(textMargins());
            const int w = width();
            const int h = height();
            if (softBorder_) {
                const QPoint corners[] = {{r.left() - 2, h - 1},
                                          {w - 1, h - 1},
                                          {w - 1, r.top() - 4},
                                          {r.left() - 2, r.top() - 4}};
                painter.drawPolygon(corners, 4);
            } else {
                painter.drawLine(r.left() - 2, h - 1, w - 1, h - 1);
            }
        }
    }
    if (dropCaretPos_.x() != -1 && dropCaretPos_.y() != -1) {
        painter.setPen(Qt::black);
        painter.setBrush(Qt::white);
        const QFontMetrics fm(font());
        painter.drawRect(QRect(dropCaretPos_, QSize(1, fm.height())));
        painter.setBrush(Qt::NoBrush);
    }
    if (Text().empty() && !hasFocus() && !emptyText_.empty()) {
        // The placeholder is drawn in the default font, not the edit's.
        painter.setPen(ColorToQColor(clGray));
        painter.setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
        const QPoint at = ClientOrigin() + QPoint(2, 2);
        painter.drawText(QRect(at, QSize(width() - at.x(), height() - at.y())),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, ToQString(emptyText_));
    }
    if (!hasFocus() && errorMarkerLen_ > 0)
        DrawErrorMarker(painter);
}

bool TFieldEdit::IsBorderHot() const
{
    return focusBorder_ && (mouseInside_ || hasFocus());
}

void TFieldEdit::DrawBorders(QPainter& painter)
{
    QRect r = rect().adjusted(0, 0, -1, -1);
    const QColor parentColor =
        parentWidget() ? parentWidget()->palette().color(parentWidget()->backgroundRole())
                       : palette().color(QPalette::Window);
    painter.setBrush(Qt::NoBrush);
    if (IsBorderHot()) {
        // A sunken outer edge, then a frame in the button face around what it leaves.
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
        painter.setPen(palette().color(QPalette::Button));
        painter.drawRect(r.adjusted(1, 1, -1, -1));
    } else {
        painter.setPen(parentColor);
        painter.drawRect(r);
        painter.drawRect(r.adjusted(1, 1, -1, -1));
    }
}

void TFieldEdit::DrawErrorMarker(QPainter& painter)
{
    const int pos = errorMarkerPos_;
    const int len = errorMarkerLen_;
    const int n = static_cast<int>(Text().size());
    const int p = static_cast<int>(prefix_.size());
    const QPoint p1 = n > pos ? PosFromChar(p + pos) : PosFromChar(p + n) + QPoint(4, 0);
    const QPoint p2 = n > pos + len ? PosFromChar(p + pos + len - 1)
                                    : QPoint(PosFromChar(p + n - 1).x() + 4, p1.y());
    painter.setPen(QPen(ColorToQColor(clRed), 2));
    const int th = QFontMetrics(font()).height() - 1;
    QPoint from(p1.x(), p1.y() + th + 3);
    int x = p1.x();
    int s = 3;
    while (x <= p2.x()) {
        s = s == 3 ? 0 : 3;
        const QPoint to(x + 3, p2.y() + th + s);
        painter.drawLine(from, to);
        from = to;
        x += 3;
    }
    s = s == 3 ? 0 : 3;
    painter.drawLine(from, QPoint(x + 3, p2.y() + th + s));
}

// ---------------------------------------------------------------- mouse over, hints

void TFieldEdit::enterEvent(QEnterEvent* e)
{
    QLineEdit::enterEvent(e);
    if (autoFocus_)
        setFocus();
    if (!mouseInside_ && isEnabled()) {
        mouseInside_ = true;
        if (focusBorder_)
            update();
    }
}

void TFieldEdit::leaveEvent(QEvent* e)
{
    QLineEdit::leaveEvent(e);
    if (mouseInside_ && isEnabled()) {
        mouseInside_ = false;
        if (focusBorder_)
            update();
    }
}

bool TFieldEdit::event(QEvent* e)
{
    if (e->type() == QEvent::ParentChange)
        WatchHoldingWindow();
    // Text wider than the edit shows whole as the hint, where the edit has a hint.
    if (e->type() == QEvent::ToolTip && hintShowLargeText_ && !toolTip().isEmpty()) {
        const QString text = ToQString(Text());
        if (QFontMetrics(font()).horizontalAdvance(text) > width()) {
            QToolTip::showText(mapToGlobal(ClientOrigin()), text, this);
            return true;
        }
    }
    return QLineEdit::event(e);
}
