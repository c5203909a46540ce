#include "simulators/FixedDataObject.h"

#include "platform/ole/TFormatListEnum.h"

#include <memory>

using namespace ole;

HRESULT FixedDataObject::GetData(const FORMATETC& format, STGMEDIUM& medium)
{
    for (const auto& [id, bytes] : entries)
        if (id == format.cfFormat) {
            medium.tymed = TYMED_HGLOBAL;
            medium.hGlobal = std::make_shared<std::vector<uint8_t>>(bytes);
            return S_OK;
        }
    return DV_E_FORMATETC;
}

HRESULT FixedDataObject::GetDataHere(const FORMATETC&, STGMEDIUM&)
{
    return E_NOTIMPL;
}

HRESULT FixedDataObject::QueryGetData(const FORMATETC&)
{
    return E_NOTIMPL;
}

HRESULT FixedDataObject::GetCanonicalFormatEtc(const FORMATETC&, FORMATETC&)
{
    return E_NOTIMPL;
}

HRESULT FixedDataObject::SetData(const FORMATETC&, STGMEDIUM&, bool)
{
    return E_NOTIMPL;
}

HRESULT FixedDataObject::EnumFormatEtc(uint32_t, IEnumFORMATETC** enumerator)
{
    if (noEnumerator)
        return E_NOTIMPL;
    std::vector<FORMATETC> list;
    for (const auto& entry : entries) {
        FORMATETC f;
        f.cfFormat = entry.first;
        list.push_back(f);
    }
    *enumerator = new TFormatListEnum(std::move(list));
    (*enumerator)->AddRef();
    return S_OK;
}

HRESULT FixedDataObject::DAdvise(const FORMATETC&, uint32_t, void*, uint32_t*)
{
    return E_NOTIMPL;
}

HRESULT FixedDataObject::DUnadvise(uint32_t)
{
    return E_NOTIMPL;
}

HRESULT FixedDataObject::EnumDAdvise(void**)
{
    return E_NOTIMPL;
}
