#pragma once

#include "platform/ole/OleInterfaces.h"

#include <QMimeData>
#include <string>
#include <vector>

// What a Qt drag carries, as a data object: text as CF_TEXT (Windows-1252) and
// CF_UNICODETEXT, "text/rtf" as "Rich Text Format", local files as CF_HDROP (UTF-16
// names). The content is copied at creation; the object serves reading only.
class TMimeDataObject final : public ole::TInterfacedObject<ole::IDataObject> {
public:
    explicit TMimeDataObject(const QMimeData* mime);

    ole::HRESULT GetData(const ole::FORMATETC& format, ole::STGMEDIUM& medium) override;
    ole::HRESULT GetDataHere(const ole::FORMATETC& format, ole::STGMEDIUM& medium) override;
    ole::HRESULT QueryGetData(const ole::FORMATETC& format) override;
    ole::HRESULT GetCanonicalFormatEtc(const ole::FORMATETC& in, ole::FORMATETC& out) override;
    ole::HRESULT SetData(const ole::FORMATETC& format, ole::STGMEDIUM& medium,
                         bool release) override;
    ole::HRESULT EnumFormatEtc(uint32_t direction, ole::IEnumFORMATETC** enumerator) override;
    ole::HRESULT DAdvise(const ole::FORMATETC& format, uint32_t flags, void* sink,
                         uint32_t* connection) override;
    ole::HRESULT DUnadvise(uint32_t connection) override;
    ole::HRESULT EnumDAdvise(void** enumerator) override;

private:
    struct Entry {
        ole::CLIPFORMAT format;
        std::vector<uint8_t> bytes;
    };
    std::vector<Entry> entries_;
};
