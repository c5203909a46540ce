#include "platform/ole/Ole.h"

namespace ole {

namespace {
// The GUI thread is the only one that uses OLE, as on the system's platform.
int initCount = 0;
}  // namespace

HRESULT OleInitialize()
{
    return initCount++ == 0 ? S_OK : S_FALSE;
}

bool OleInitialized()
{
    return initCount > 0;
}

void OleUninitialize()
{
    if (initCount > 0)
        --initCount;
}

}  // namespace ole
