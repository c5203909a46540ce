#pragma once

#include <cstdint>

class TListView;

// The five controls of the "Wiegand Format" page, in the order the settings file keeps them.
enum class TWiegandControl { Len, FCEnable, FCLen, FCVal, AddParity };

// What the settings file reads and writes of the window: the list-file separator and quote
// character, the Wiegand format controls and the device list's rows. The settings live
// there alone while the program runs.
class ISettingsHost {
public:
    virtual ~ISettingsHost() = default;

    virtual char ListDelimiter() const = 0;
    virtual void SetListDelimiter(char delimiter) = 0;
    virtual char ListQuoteChar() const = 0;
    virtual void SetListQuoteChar(char quote) = 0;

    // An edit box's IntegerValue, or a check box as 1 (checked) or 0. Setting a check box
    // checks it for any value but 0. Setting raises the control's change event as a
    // person's change would.
    virtual int32_t WiegandValue(TWiegandControl control) const = 0;
    virtual void SetWiegandValue(TWiegandControl control, int32_t value) = 0;

    // HostList1.
    virtual TListView& HostList() = 0;

    virtual void SetModified(bool modified) = 0;
};
