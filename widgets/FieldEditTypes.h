#pragma once

#include <cstdint>
#include <functional>
#include <string>

class TFieldEdit;

// The stored form of a window names these values; keep their order.
enum class TFieldEditType : uint8_t {
    etString,
    etNumeric,
    etFloat,
    etUppercase,
    etMixedCase,
    etLowerCase,
    etPassword,
    etMoney,
    etRange,
    etHex,
    etAlphaNumeric
};

// eaDefault in FocusAlign: the alignment does not change on focus.
enum class TEditAlign : uint8_t { eaLeft, eaRight, eaDefault, eaCenter };

enum class TLabelPosition : uint8_t {
    lpLeftTop,
    lpLeftCenter,
    lpLeftBottom,
    lpTopLeft,
    lpBottomLeft,
    lpLeftTopLeft,
    lpLeftCenterLeft,
    lpLeftBottomLeft,
    lpTopCenter,
    lpBottomCenter
};

// Events of the edit. Handlers run inside the edit's key, focus and clipboard handling:
// wrap them in ui::Guarded so that no exception crosses a Qt frame.
using TNotifyEvent = std::function<void(TFieldEdit& sender)>;
// The handler may change the character; 0 swallows it.
using TKeyPressEvent = std::function<void(TFieldEdit& sender, char& key)>;
using TValueValidateEvent =
    std::function<void(TFieldEdit& sender, const std::string& value, bool& isValid)>;
// Setting allow to false stops the clipboard operation.
using TClipboardEvent =
    std::function<void(TFieldEdit& sender, const std::string& value, bool& allow)>;
using TLookupSelectEvent = std::function<void(TFieldEdit& sender, std::string& value)>;
