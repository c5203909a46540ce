#include "platform/text/LogLines.h"

#include "platform/text/TextLines.h"

void ForEachLogLine(std::string_view entry, size_t maxLength,
                    const std::function<void(std::string_view line)>& take)
{
    if (entry.empty()) {
        take(entry);
        return;
    }
    for (std::string_view line : TTextLines(entry)) {
        while (maxLength > 0 && line.size() > maxLength) {
            take(line.substr(0, maxLength));
            line.remove_prefix(maxLength);
        }
        take(line);
    }
}
