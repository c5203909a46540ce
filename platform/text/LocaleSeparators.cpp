#include "platform/text/LocaleSeparators.h"

#include "platform/text/Cp1252.h"

#include <QLocale>
#include <atomic>

namespace {

std::atomic<char> decimalOverride{'\0'};
std::atomic<char> thousandOverride{'\0'};

// A separator only counts when it is one character with a Windows-1252 code
// (many locales group with U+202F, which has none).
char SingleCp1252(const QString& separator, char fallback)
{
    if (separator.size() != 1)
        return fallback;
    const int code = UnicodeToCp1252(separator[0].unicode());
    return code > 0 ? static_cast<char>(code) : fallback;
}

}  // namespace

char DecimalSeparator()
{
    if (const char c = decimalOverride.load())
        return c;
    return SingleCp1252(QLocale::system().decimalPoint(), '.');
}

char ThousandSeparator()
{
    if (const char c = thousandOverride.load())
        return c;
    // The fallback must not read as the decimal separator.
    const char fallback = DecimalSeparator() == ',' ? '.' : ',';
    return SingleCp1252(QLocale::system().groupSeparator(), fallback);
}

void SetLocaleSeparatorsForTesting(char decimal, char thousand)
{
    decimalOverride.store(decimal);
    thousandOverride.store(thousand);
}
