#include "platform/ui/MessageText.h"

#include "platform/text/Cp1252.h"

#include <QGuiApplication>

namespace ui {

QString MessageDisplayText(std::string_view cp1252)
{
    QString text = ToQString(cp1252);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString ApplicationTitle()
{
    return QGuiApplication::applicationDisplayName();
}

}  // namespace ui
