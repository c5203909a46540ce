#include "platform/text/LogLines.h"

size_t AppendLogLines(std::string& lines, std::string_view entry, size_t maxLength)
{
    // One pass over the bytes into room made beforehand: a device may send thousands of
    // one-character lines in one line of its own, and a step per line would cost as much as
    // everything else its answer costs.
    const size_t start = lines.size();
    lines.resize(start + entry.size() + entry.size() / maxLength + 1);
    char* out = lines.data() + start;
    size_t count = 0;
    size_t length = 0;  // of the line being written
    for (size_t i = 0; i < entry.size(); ++i) {
        const char c = entry[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < entry.size() && entry[i + 1] == '\n')
                ++i;
            if (i + 1 == entry.size())
                break;  // the entry's end closes the line
            *out++ = '\n';
            ++count;
            length = 0;
            continue;
        }
        if (length == maxLength) {
            *out++ = '\n';
            ++count;
            length = 0;
        }
        *out++ = c;
        ++length;
    }
    *out++ = '\n';
    lines.resize(static_cast<size_t>(out - lines.data()));
    return count + 1;
}
