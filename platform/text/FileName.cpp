#include "platform/text/FileName.h"

#include "platform/text/Cp1252.h"

#include <QFile>

QString FileNameToQString(std::string_view fileName)
{
    return QFile::decodeName(QByteArray(fileName.data(), static_cast<qsizetype>(fileName.size())));
}

std::string FileNameFromQString(const QString& fileName)
{
    return QFile::encodeName(fileName).toStdString();
}

QString FileMessage(std::string_view format, std::initializer_list<std::string_view> names)
{
    QString message;
    const std::string_view* name = names.begin();
    std::size_t literal = 0;
    for (std::size_t i = 0; i + 1 < format.size(); ++i) {
        if (format[i] != '%' || (format[i + 1] != 's' && format[i + 1] != '%'))
            continue;
        message += ToQString(format.substr(literal, i - literal));
        if (format[i + 1] == '%')
            message += QLatin1Char('%');
        else if (name != names.end())
            message += FileNameToQString(*name++);
        literal = ++i + 1;
    }
    return message + ToQString(format.substr(literal));
}
