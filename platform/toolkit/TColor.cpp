#include "platform/toolkit/TColor.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

QColor SystemColor(int index)
{
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case clWindow & 0xFF:
        return palette.color(QPalette::Active, QPalette::Base);
    case clWindowText & 0xFF:
        return palette.color(QPalette::Active, QPalette::Text);
    case clHighlight & 0xFF:
        return palette.color(QPalette::Active, QPalette::Highlight);
    case clHighlightText & 0xFF:
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    case clBtnFace & 0xFF:
        return palette.color(QPalette::Active, QPalette::Button);
    case clBtnText & 0xFF:
        return palette.color(QPalette::Active, QPalette::ButtonText);
    case clGrayText & 0xFF:
        return palette.color(QPalette::Disabled, QPalette::Text);
    default:
        return {};
    }
}

}  // namespace

QColor ColorToQColor(TColor color)
{
    if (color == clNone) {
        return {};
    }
    const auto value = static_cast<std::uint32_t>(color);
    if ((value & 0xFF000000u) == 0xFF000000u) {
        return SystemColor(static_cast<int>(value & 0xFFu));
    }
    return QColor(static_cast<int>(value & 0xFFu), static_cast<int>((value >> 8) & 0xFFu),
                  static_cast<int>((value >> 16) & 0xFFu));
}
