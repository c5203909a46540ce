#include "about/LabelFit.h"

#include <QFontMetrics>
#include <QLabel>

namespace {

bool Fits(const QLabel& label)
{
    const QRect box = label.contentsRect();
    const int flags =
        static_cast<int>(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
    const QRect needed = QFontMetrics(label.font()).boundingRect(box, flags, label.text());
    return needed.width() <= box.width() && needed.height() <= box.height();
}

}  // namespace

void ShrinkFontToFit(QLabel& label, int minPixelSize)
{
    QFont font = label.font();
    while (!Fits(label) && font.pixelSize() - 2 >= minPixelSize) {
        font.setPixelSize(font.pixelSize() - 2);
        label.setFont(font);
    }
}
