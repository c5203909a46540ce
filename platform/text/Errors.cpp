#include "platform/text/Errors.h"

#include "platform/text/Cp1252.h"

EError::EError(const QString& shown) : std::runtime_error(ToCp1252(shown)), shown_(shown)
{
}

QString EError::Shown() const
{
    return shown_.isNull() ? ToQString(what()) : shown_;
}

QString ShownText(const std::exception& e)
{
    if (const auto* error = dynamic_cast<const EError*>(&e))
        return error->Shown();
    return ToQString(e.what());
}
