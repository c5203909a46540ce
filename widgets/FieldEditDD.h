#pragma once

#include "platform/ole/OleInterfaces.h"

#include <string>
#include <vector>

// The OLE drag-and-drop objects of the edit control: a drop target that sorts what is
// dropped into single-byte text, RTF and file names; a walker over the formats of a
// dropped data object; and for dragging text out, a drop source, a data object serving
// one text (and RTF while allowed) and one routine that runs a whole drag.

// The id of "Rich Text Format": 0 until the first walker registers it.
ole::CLIPFORMAT RTFClipboardFormat();
// RTF is taken by drops and served by data objects only while this is on (off at start).
bool AllowRTF();
void SetAllowRTF(bool value);

// Copy with Ctrl (MK_CONTROL) in the key state, else move.
uint32_t KeysToDropEffect(uint32_t keyState);

// Runs one drag of the texts: DRAGDROP_S_DROP with the target's effect, or
// DRAGDROP_S_CANCEL (also when the last feedback said no target would take it).
ole::HRESULT StartOleDrag(const std::string& text, const std::string& rtf, uint32_t allowedEffects,
                          uint32_t& effect);

// Walks the formats of a dropped data object, within one call of a drop target.
// Raises EAssertionFailed "Cannot get the format enumerator" when the object has none.
class TEnumFormats final {
public:
    explicit TEnumFormats(ole::IDataObject* data);
    TEnumFormats(const TEnumFormats&) = delete;
    TEnumFormats& operator=(const TEnumFormats&) = delete;

    bool HasText() { return HasFormat(ole::CF_TEXT); }
    bool HasRTF() { return HasFormat(RTFClipboardFormat()); }
    bool HasFiles() { return HasFormat(ole::CF_HDROP); }
    std::string GetText() { return GetFormatText(ole::CF_TEXT); }
    std::string GetRTF() { return GetFormatText(RTFClipboardFormat()); }
    // The names of the entry found by the last HasFiles; true when there is one.
    bool GetFileList();
    const std::vector<std::string>& FileList() const { return files_; }
    // True when the object lists the format; CurrentFormat then holds its entry.
    bool HasFormat(ole::CLIPFORMAT format);
    std::string GetFormatText(ole::CLIPFORMAT format);

private:
    bool GetCurrentData(std::vector<uint8_t>& bytes);

    ole::ComPtr<ole::IDataObject> data_;
    ole::ComPtr<ole::IEnumFORMATETC> enumerator_;
    ole::FORMATETC currentFormat_;
    bool valid_ = false;
    std::vector<std::string> files_;
};

// Takes text, RTF and files dropped on a window; descendants say what to do with them.
class TFEDropTarget : public ole::TInterfacedObject<ole::IDropTarget> {
public:
    ole::HRESULT DragEnter(ole::IDataObject* data, uint32_t keyState, ole::POINTL point,
                           uint32_t* effect) override;
    ole::HRESULT DragOver(uint32_t keyState, ole::POINTL point, uint32_t* effect) override;
    ole::HRESULT DragLeave() override;
    ole::HRESULT Drop(ole::IDataObject* data, uint32_t keyState, ole::POINTL point,
                      uint32_t* effect) override;

    bool CanAccept() const { return canAccept_; }

protected:
    // Points are screen coordinates. A descendant that takes what was dropped calls
    // Taken(); a drop that nothing took reports DROPEFFECT_NONE, so that no source
    // removes what was not taken.
    virtual void DropText(ole::POINTL point, const std::string& text);
    virtual void DropRTF(ole::POINTL point, const std::string& text);
    virtual void DropFiles(ole::POINTL point, const std::vector<std::string>& names);
    virtual void DragMouseMove(ole::POINTL point, bool& allow);

    void Taken() { taken_ = true; }
    // The key state of the drop being handled.
    uint32_t DropKeyState() const { return dropKeyState_; }

private:
    bool canAccept_ = false;
    bool taken_ = false;
    uint32_t dropKeyState_ = 0;
};

class TFEDropSource final : public ole::TInterfacedObject<ole::IDropSource> {
public:
    ole::HRESULT QueryContinueDrag(bool escapePressed, uint32_t keyState) override;
    ole::HRESULT GiveFeedback(uint32_t effect) override;
    bool LastEffectNone() const { return lastEffectNone_; }

private:
    bool lastEffectNone_ = false;
};

// Serves TextData as CF_TEXT and CF_UNICODETEXT, and RTFData while AllowRTF is on.
class TSourceDataObject final : public ole::TInterfacedObject<ole::IDataObject> {
public:
    TSourceDataObject(std::string text, std::string rtf)
        : textData_(std::move(text)), rtfData_(std::move(rtf))
    {
    }

    ole::HRESULT GetData(const ole::FORMATETC& format, ole::STGMEDIUM& medium) override;
    ole::HRESULT GetDataHere(const ole::FORMATETC& format, ole::STGMEDIUM& medium) override;
    ole::HRESULT QueryGetData(const ole::FORMATETC& format) override;
    ole::HRESULT GetCanonicalFormatEtc(const ole::FORMATETC& in, ole::FORMATETC& out) override;
    ole::HRESULT SetData(const ole::FORMATETC& format, ole::STGMEDIUM& medium,
                         bool release) override;
    // The list CF_TEXT, CF_UNICODETEXT, RTFClipboardFormat (as it is now).
    ole::HRESULT EnumFormatEtc(uint32_t direction, ole::IEnumFORMATETC** enumerator) override;
    ole::HRESULT DAdvise(const ole::FORMATETC& format, uint32_t flags, void* sink,
                         uint32_t* connection) override;
    ole::HRESULT DUnadvise(uint32_t connection) override;
    ole::HRESULT EnumDAdvise(void** enumerator) override;

private:
    std::string textData_;
    std::string rtfData_;
};
