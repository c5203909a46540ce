#pragma once

#include "platform/ole/OleInterfaces.h"

#include <utility>
#include <vector>

// A data object listing fixed formats, each answered with fixed bytes as they are: a
// block need not be terminated, and may be empty, as another program's need not be.
class FixedDataObject final : public ole::TInterfacedObject<ole::IDataObject> {
public:
    std::vector<std::pair<ole::CLIPFORMAT, std::vector<uint8_t>>> entries;
    bool noEnumerator = false;

    ole::HRESULT GetData(const ole::FORMATETC& format, ole::STGMEDIUM& medium) override;
    ole::HRESULT GetDataHere(const ole::FORMATETC&, ole::STGMEDIUM&) override;
    ole::HRESULT QueryGetData(const ole::FORMATETC&) override;
    ole::HRESULT GetCanonicalFormatEtc(const ole::FORMATETC&, ole::FORMATETC&) override;
    ole::HRESULT SetData(const ole::FORMATETC&, ole::STGMEDIUM&, bool) override;
    ole::HRESULT EnumFormatEtc(uint32_t direction, ole::IEnumFORMATETC** enumerator) override;
    ole::HRESULT DAdvise(const ole::FORMATETC&, uint32_t, void*, uint32_t*) override;
    ole::HRESULT DUnadvise(uint32_t) override;
    ole::HRESULT EnumDAdvise(void**) override;
};
