#pragma once

#include "platform/toolkit/TColor.h"

#include <string>
#include <vector>

// Settings of the edit's lookup list while typing (no window of the programs enables
// it). The lists are the edit's own copies; a write replaces them whole.
class TLookupSettings final {
public:
    std::vector<std::string> DisplayList;
    // Entry k belongs to entry k of DisplayList.
    std::vector<std::string> ValueList;
    int DisplayCount = 4;
    TColor Color = clWindow;
    bool Enabled = false;
    bool CaseSensitive = false;

    int NumChars() const { return numChars_; }
    // A count of 0 or less is ignored.
    void SetNumChars(int value)
    {
        if (value > 0)
            numChars_ = value;
    }

private:
    int numChars_ = 2;
};
