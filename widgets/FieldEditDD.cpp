#include "widgets/FieldEditDD.h"

#include "platform/ole/DragDrop.h"
#include "platform/ole/TFormatListEnum.h"
#include "platform/text/Cp1252.h"
#include "platform/ui/Guarded.h"
#include "widgets/FieldEditModule.h"

#include <algorithm>
#include <cstring>
#include <new>

using namespace ole;

namespace {

CLIPFORMAT rtfClipboardFormat = 0;
bool allowRTF = false;

FORMATETC FormatEntry(CLIPFORMAT id)
{
    FORMATETC f;
    f.cfFormat = id;
    return f;
}

uint32_t ReadU32(const std::vector<uint8_t>& bytes, size_t at)
{
    uint32_t v = 0;
    if (at + 4 <= bytes.size())
        std::memcpy(&v, bytes.data() + at, 4);
    return v;
}

// The walker's failure cannot pass through the platform's drag loop: it is reported
// by the application's default handler and the drop is refused.
template <typename F> bool Walk(F f)
{
    try {
        f();
        return true;
    } catch (const EAssertionFailed& e) {
        ui::HandleException(e);
        return false;
    }
}

}  // namespace

CLIPFORMAT RTFClipboardFormat()
{
    return rtfClipboardFormat;
}

bool AllowRTF()
{
    return allowRTF;
}

void SetAllowRTF(bool value)
{
    allowRTF = value;
}

uint32_t KeysToDropEffect(uint32_t keyState)
{
    return (keyState & MK_CONTROL) ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
}

HRESULT StartOleDrag(const std::string& text, const std::string& rtf, uint32_t allowedEffects,
                     uint32_t& effect)
{
    const ComPtr<TFEDropSource> source(new TFEDropSource);
    const ComPtr<TSourceDataObject> data(new TSourceDataObject(text, rtf));
    const HRESULT result = DoDragDrop(data.get(), source.get(), allowedEffects, &effect);
    return source->LastEffectNone() ? DRAGDROP_S_CANCEL : result;
}

// ---------------------------------------------------------------- walker

TEnumFormats::TEnumFormats(IDataObject* data) : data_(data)
{
    IEnumFORMATETC* enumerator = nullptr;
    if (!data || data->EnumFormatEtc(DATADIR_GET, &enumerator) != S_OK || !enumerator)
        RaiseAssertion("Cannot get the format enumerator", "FieldEditDD", __LINE__);
    enumerator_ = ComPtr<IEnumFORMATETC>::Adopt(enumerator);
    valid_ = false;
    enumerator_->Reset();
    // The clipboard of this platform can always be opened.
    rtfClipboardFormat = RegisterClipboardFormat("Rich Text Format");
}

bool TEnumFormats::HasFormat(CLIPFORMAT format)
{
    valid_ = false;
    if (enumerator_->Reset() != S_OK)
        return false;
    for (;;) {
        valid_ = enumerator_->Next(1, &currentFormat_, nullptr) == S_OK;
        if (!valid_)
            return false;
        if (currentFormat_.cfFormat == format)
            return true;
    }
}

bool TEnumFormats::GetCurrentData(std::vector<uint8_t>& bytes)
{
    if (!valid_ || !(currentFormat_.tymed & TYMED_HGLOBAL))
        return false;
    FORMATETC f = currentFormat_;
    f.tymed = TYMED_HGLOBAL;
    STGMEDIUM medium;
    if (data_->GetData(f, medium) != S_OK || !medium.hGlobal) {
        ReleaseStgMedium(medium);
        return false;
    }
    bytes = *medium.hGlobal;
    ReleaseStgMedium(medium);
    return true;
}

std::string TEnumFormats::GetFormatText(CLIPFORMAT format)
{
    std::vector<uint8_t> bytes;
    if (!HasFormat(format) || !GetCurrentData(bytes))
        return {};
    const auto zero = std::find(bytes.begin(), bytes.end(), 0);
    return std::string(bytes.begin(), zero);
}

bool TEnumFormats::GetFileList()
{
    files_.clear();
    std::vector<uint8_t> bytes;
    if (!GetCurrentData(bytes))
        return false;
    const bool wide = ReadU32(bytes, 16) != 0;
    size_t at = ReadU32(bytes, 0);
    // Every read stays inside the block: a block without its closing empty name ends
    // the list where the block ends.
    while (at < bytes.size()) {
        std::string name;
        if (wide) {
            QString unicode;
            while (at + 1 < bytes.size()) {
                const char16_t unit = static_cast<char16_t>(bytes[at] | (bytes[at + 1] << 8));
                at += 2;
                if (unit == 0)
                    break;
                unicode += QChar(unit);
            }
            name = ToCp1252(unicode);
        } else {
            while (at < bytes.size() && bytes[at] != 0)
                name += static_cast<char>(bytes[at++]);
            ++at;
        }
        if (name.empty())
            break;
        files_.push_back(name);
    }
    return !files_.empty();
}

// ---------------------------------------------------------------- drop target

void TFEDropTarget::DropText(POINTL, const std::string&)
{
}
void TFEDropTarget::DropRTF(POINTL, const std::string&)
{
}
void TFEDropTarget::DropFiles(POINTL, const std::vector<std::string>&)
{
}

void TFEDropTarget::DragMouseMove(POINTL, bool& allow)
{
    allow = true;
}

HRESULT TFEDropTarget::DragEnter(IDataObject* data, uint32_t keyState, POINTL, uint32_t* effect)
{
    canAccept_ = false;
    Walk([&] {
        TEnumFormats walker(data);
        // Text is taken as CF_TEXT only.
        canAccept_ = walker.HasText() || walker.HasFiles() || (walker.HasRTF() && allowRTF);
    });
    *effect = canAccept_ ? KeysToDropEffect(keyState) : DROPEFFECT_NONE;
    return S_OK;
}

HRESULT TFEDropTarget::DragOver(uint32_t keyState, POINTL point, uint32_t* effect)
{
    *effect = canAccept_ ? KeysToDropEffect(keyState) : DROPEFFECT_NONE;
    bool allow = true;
    DragMouseMove(point, allow);
    if (!allow)
        *effect = DROPEFFECT_NONE;
    return S_OK;
}

HRESULT TFEDropTarget::DragLeave()
{
    return S_OK;
}

HRESULT TFEDropTarget::Drop(IDataObject* data, uint32_t keyState, POINTL point, uint32_t* effect)
{
    *effect = DROPEFFECT_NONE;
    if (!canAccept_)
        return S_OK;
    taken_ = false;
    dropKeyState_ = keyState;
    Walk([&] {
        TEnumFormats walker(data);
        if (walker.HasRTF() && allowRTF)
            DropRTF(point, walker.GetRTF());
        else if (walker.HasText())
            DropText(point, walker.GetText());
        if (walker.HasFiles() && walker.GetFileList())
            DropFiles(point, walker.FileList());
    });
    if (taken_)
        *effect = KeysToDropEffect(keyState);
    return S_OK;
}

// ---------------------------------------------------------------- drop source

HRESULT TFEDropSource::QueryContinueDrag(bool escapePressed, uint32_t keyState)
{
    if (escapePressed)
        return DRAGDROP_S_CANCEL;
    return (keyState & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
}

HRESULT TFEDropSource::GiveFeedback(uint32_t effect)
{
    lastEffectNone_ = effect == DROPEFFECT_NONE;
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---------------------------------------------------------------- data object

HRESULT TSourceDataObject::QueryGetData(const FORMATETC& format)
{
    const CLIPFORMAT id = format.cfFormat;
    const bool served = id == CF_TEXT || id == CF_UNICODETEXT ||
                        (allowRTF && rtfClipboardFormat != 0 && id == rtfClipboardFormat);
    return format.dwAspect == DVASPECT_CONTENT && served && format.tymed == TYMED_HGLOBAL
               ? S_OK
               : DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetData(const FORMATETC& format, STGMEDIUM& medium)
{
    medium = STGMEDIUM{};
    if (QueryGetData(format) != S_OK)
        return DV_E_FORMATETC;
    try {
        auto block = std::make_shared<std::vector<uint8_t>>();
        if (format.cfFormat == CF_TEXT) {
            block->assign(textData_.begin(), textData_.end());
            block->push_back(0);
        } else if (format.cfFormat == CF_UNICODETEXT) {
            for (const char c : textData_) {
                const char16_t unit = Cp1252ToUnicode(static_cast<unsigned char>(c));
                block->push_back(static_cast<uint8_t>(unit & 0xFF));
                block->push_back(static_cast<uint8_t>(unit >> 8));
            }
            block->insert(block->end(), {0, 0});
        } else {
            block->assign(rtfData_.begin(), rtfData_.end());
            block->push_back(0);
        }
        medium.tymed = TYMED_HGLOBAL;
        medium.hGlobal = std::move(block);
    } catch (const std::bad_alloc&) {
        return DV_E_FORMATETC;
    }
    return S_OK;
}

HRESULT TSourceDataObject::GetDataHere(const FORMATETC&, STGMEDIUM&)
{
    return DV_E_FORMATETC;
}

HRESULT TSourceDataObject::GetCanonicalFormatEtc(const FORMATETC&, FORMATETC& out)
{
    out.ptd = nullptr;
    return E_NOTIMPL;
}

HRESULT TSourceDataObject::SetData(const FORMATETC&, STGMEDIUM&, bool)
{
    return DV_E_FORMATETC;
}

HRESULT TSourceDataObject::EnumFormatEtc(uint32_t direction, IEnumFORMATETC** enumerator)
{
    if (direction != DATADIR_GET) {
        *enumerator = nullptr;
        return E_NOTIMPL;
    }
    *enumerator = new TFormatListEnum(
        {FormatEntry(CF_TEXT), FormatEntry(CF_UNICODETEXT), FormatEntry(rtfClipboardFormat)});
    (*enumerator)->AddRef();
    return S_OK;
}

HRESULT TSourceDataObject::DAdvise(const FORMATETC&, uint32_t, void*, uint32_t*)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT TSourceDataObject::DUnadvise(uint32_t)
{
    return OLE_E_ADVISENOTSUPPORTED;
}

HRESULT TSourceDataObject::EnumDAdvise(void** enumerator)
{
    *enumerator = nullptr;
    return OLE_E_ADVISENOTSUPPORTED;
}
