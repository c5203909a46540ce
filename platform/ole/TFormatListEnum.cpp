#include "platform/ole/TFormatListEnum.h"

using namespace ole;

HRESULT TFormatListEnum::Next(ULONG count, FORMATETC* entries, ULONG* fetched)
{
    ULONG n = 0;
    while (n < count && position_ < formats_.size())
        entries[n++] = formats_[position_++];
    if (fetched)
        *fetched = n;
    return n == count ? S_OK : S_FALSE;
}

HRESULT TFormatListEnum::Skip(ULONG count)
{
    position_ += count;
    if (position_ > formats_.size()) {
        position_ = formats_.size();
        return S_FALSE;
    }
    return S_OK;
}

HRESULT TFormatListEnum::Reset()
{
    position_ = 0;
    return S_OK;
}

HRESULT TFormatListEnum::Clone(IEnumFORMATETC** enumerator)
{
    *enumerator = new TFormatListEnum(formats_, position_);
    (*enumerator)->AddRef();
    return S_OK;
}
