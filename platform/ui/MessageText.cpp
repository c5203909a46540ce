#include "platform/ui/MessageText.h"

#include <QGuiApplication>

namespace ui {

QString MessageDisplayText(const QString& message)
{
    QString text = message;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString ApplicationTitle()
{
    return QGuiApplication::applicationDisplayName();
}

}  // namespace ui
