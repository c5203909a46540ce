#pragma once

#include "platform/ole/Ole.h"
#include "platform/text/Errors.h"

// The runtime's assertion failure: its message ends with " (<module>, line <n>)".
class EAssertionFailed final : public EError {
public:
    using EError::EError;
};

// Raises EAssertionFailed "<message> (<module>, line <line>)".
[[noreturn]] void RaiseAssertion(const std::string& message, const char* module, int line);

// The module's start check: a result other than S_OK and S_FALSE raises
// EAssertionFailed "OleInitialize failed ($%x) (FieldEdit, line %d)".
void CheckOleInitialize(ole::HRESULT result);
