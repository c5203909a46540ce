#include "FakeDeviceContext.h"

#include "platform/text/Format.h"
#include "platform/text/IntegerReading.h"
#include "platform/text/TextCase.h"

#include <gtest/gtest.h>

#include <regex>

void FakeDeviceContext::SetPlates(int n)
{
    rows.clear();
    for (int i = 0; i < n; ++i)
        rows.push_back({Format("P%d", i), std::to_string(i + 1)});
}

bool FakeDeviceContext::SpecialChecked(TSpecialEntry entry) const
{
    return specials[static_cast<int>(entry)].checked;
}

std::string FakeDeviceContext::SpecialText(TSpecialEntry entry) const
{
    return specials[static_cast<int>(entry)].text;
}

void FakeDeviceContext::AddPlateEntry(const std::string& plate, const std::string& idText)
{
    static const char* const kKeywords[] = {"NOMATCH", "NOREAD", "NOPLATE"};
    for (int i = 0; i < 3; ++i) {
        if (plate == kKeywords[i]) {
            specials[i] = {!idText.empty(), idText};
            return;
        }
    }
    rows.push_back({plate, idText});
}

void FakeDeviceContext::ClearMatchList()
{
    ++clearCount;
    rows.clear();
    for (auto& s : specials)
        s = {};
}

uint64_t FakeDeviceContext::EncodeWiegand(std::string_view idText) const
{
    if (wiegand)
        return ::EncodeWiegand(*wiegand, idText);
    return static_cast<uint64_t>(StrToInt64Def(Trim(idText), 0));
}

int64_t FakeDeviceContext::DecodeWiegand(std::string_view hexText) const
{
    if (wiegand)
        return ::DecodeWiegand(*wiegand, hexText);
    return StrToInt64Def(std::string("$").append(hexText), 0);
}

void FakeDeviceContext::ProgressStart(int max)
{
    progressShown = true;
    progressMax = max;
    progressPos = 0;
}

void FakeDeviceContext::ProgressPosition(int position)
{
    EXPECT_LE(position, progressMax) << "progress bar past its maximum";
    progressPos = position;
    progressHighest = std::max(progressHighest, position);
}

void FakeDeviceContext::AppendLog(const std::string& line)
{
    static const std::regex stamp(R"(^([01]\d|2[0-3]):[0-5]\d:[0-5]\d:\d{3} )");
    EXPECT_TRUE(std::regex_search(line, stamp)) << "log line without its time: " << line;
    log.push_back(line.substr(std::min<size_t>(13, line.size())));
    if (onLog)
        onLog(log.back());
}
