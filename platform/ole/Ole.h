#pragma once

#include <cstdint>

// The OLE library's start and end; drag and drop needs it started.
namespace ole {

using HRESULT = int32_t;

inline constexpr HRESULT S_OK = 0;
// Already initialised on this thread: counts as success, and needs its own uninitialise.
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

// S_OK on the first call of the program, S_FALSE on every further one. Each call,
// successful or not, is balanced by one OleUninitialize.
HRESULT OleInitialize();
void OleUninitialize();
bool OleInitialized();

}  // namespace ole
