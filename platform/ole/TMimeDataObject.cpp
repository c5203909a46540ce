#include "platform/ole/TMimeDataObject.h"

#include "platform/ole/DragDrop.h"
#include "platform/ole/TFormatListEnum.h"
#include "platform/text/Cp1252.h"

#include <QUrl>
#include <cstring>

using namespace ole;

namespace {

std::vector<uint8_t> Utf16Zero(const QString& s)
{
    std::vector<uint8_t> bytes;
    for (const QChar c : s) {
        bytes.push_back(static_cast<uint8_t>(c.unicode() & 0xFF));
        bytes.push_back(static_cast<uint8_t>(c.unicode() >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

std::vector<uint8_t> BytesZero(const std::string& s)
{
    std::vector<uint8_t> bytes(s.begin(), s.end());
    bytes.push_back(0);
    return bytes;
}

// DROPFILES: offset of the names, a point, a non-client flag, the wide-names flag;
// then the names, each ended by a zero unit, and an empty name.
std::vector<uint8_t> DropFiles(const QStringList& names)
{
    std::vector<uint8_t> bytes(20, 0);
    bytes[0] = 20;
    bytes[16] = 1;
    for (const QString& name : names) {
        const std::vector<uint8_t> unit = Utf16Zero(name);
        bytes.insert(bytes.end(), unit.begin(), unit.end());
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

}  // namespace

TMimeDataObject::TMimeDataObject(const QMimeData* mime)
{
    if (!mime)
        return;
    if (mime->hasText()) {
        QString text = mime->text();
        // Text ends at its first zero, as the system's text formats do.
        if (const auto zero = text.indexOf(QChar(0)); zero >= 0)
            text.truncate(zero);
        entries_.push_back({CF_TEXT, BytesZero(ToCp1252(text))});
        entries_.push_back({CF_UNICODETEXT, Utf16Zero(text)});
    }
    for (const char* type : {"text/rtf", "application/rtf"}) {
        if (mime->hasFormat(QLatin1String(type))) {
            entries_.push_back({RegisterClipboardFormat("Rich Text Format"),
                                BytesZero(mime->data(QLatin1String(type)).toStdString())});
            break;
        }
    }
    QStringList files;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    if (!files.isEmpty())
        entries_.push_back({CF_HDROP, DropFiles(files)});
}

HRESULT TMimeDataObject::GetData(const FORMATETC& format, STGMEDIUM& medium)
{
    medium = STGMEDIUM{};
    if (QueryGetData(format) != S_OK)
        return DV_E_FORMATETC;
    for (const Entry& e : entries_)
        if (e.format == format.cfFormat) {
            medium.tymed = TYMED_HGLOBAL;
            medium.hGlobal = std::make_shared<std::vector<uint8_t>>(e.bytes);
        }
    return S_OK;
}

HRESULT TMimeDataObject::GetDataHere(const FORMATETC&, STGMEDIUM&)
{
    return E_NOTIMPL;
}

HRESULT TMimeDataObject::QueryGetData(const FORMATETC& format)
{
    if (format.dwAspect != DVASPECT_CONTENT || !(format.tymed & TYMED_HGLOBAL))
        return DV_E_FORMATETC;
    for (const Entry& e : entries_)
        if (e.format == format.cfFormat)
            return S_OK;
    return DV_E_FORMATETC;
}

HRESULT TMimeDataObject::GetCanonicalFormatEtc(const FORMATETC&, FORMATETC& out)
{
    out.ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT TMimeDataObject::SetData(const FORMATETC&, STGMEDIUM&, bool)
{
    return E_NOTIMPL;
}

HRESULT TMimeDataObject::EnumFormatEtc(uint32_t direction, IEnumFORMATETC** enumerator)
{
    *enumerator = nullptr;
    if (direction != DATADIR_GET)
        return E_NOTIMPL;
    std::vector<FORMATETC> formats;
    for (const Entry& e : entries_) {
        FORMATETC f;
        f.cfFormat = e.format;
        formats.push_back(f);
    }
    *enumerator = new TFormatListEnum(std::move(formats));
    (*enumerator)->AddRef();
    return S_OK;
}

HRESULT TMimeDataObject::DAdvise(const FORMATETC&, uint32_t, void*, uint32_t*)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT TMimeDataObject::DUnadvise(uint32_t)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT TMimeDataObject::EnumDAdvise(void** enumerator)
{
    *enumerator = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}
