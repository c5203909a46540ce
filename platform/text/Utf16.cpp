#include "platform/text/Utf16.h"

QString FromUtf16Le(std::span<const uint8_t> bytes)
{
    QString text;
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        const auto unit = static_cast<char16_t>(bytes[at] | (bytes[at + 1] << 8));
        if (unit == 0)
            break;
        text.append(QChar(unit));
    }
    return text;
}
