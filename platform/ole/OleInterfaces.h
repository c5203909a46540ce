#pragma once

#include "platform/ole/Ole.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// The OLE drag-and-drop interfaces as abstract classes with reference counts, and the
// values and result codes they trade in.
namespace ole {

using ULONG = uint32_t;
using CLIPFORMAT = uint32_t;

inline constexpr HRESULT DRAGDROP_S_DROP = 0x00040100;
inline constexpr HRESULT DRAGDROP_S_CANCEL = 0x00040101;
inline constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;
inline constexpr HRESULT DV_E_FORMATETC = static_cast<HRESULT>(0x80040064u);
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = static_cast<HRESULT>(0x80040003u);
inline constexpr HRESULT DRAGDROP_E_NOTREGISTERED = static_cast<HRESULT>(0x80040100u);
inline constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = static_cast<HRESULT>(0x80040101u);
inline constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);

inline constexpr uint32_t DROPEFFECT_NONE = 0;
inline constexpr uint32_t DROPEFFECT_COPY = 1;
inline constexpr uint32_t DROPEFFECT_MOVE = 2;

inline constexpr uint32_t MK_LBUTTON = 1;
inline constexpr uint32_t MK_RBUTTON = 2;
inline constexpr uint32_t MK_SHIFT = 4;
inline constexpr uint32_t MK_CONTROL = 8;
inline constexpr uint32_t MK_MBUTTON = 0x10;
inline constexpr uint32_t MK_ALT = 0x20;

inline constexpr CLIPFORMAT CF_TEXT = 1;
inline constexpr CLIPFORMAT CF_UNICODETEXT = 13;
inline constexpr CLIPFORMAT CF_HDROP = 15;
inline constexpr uint32_t TYMED_HGLOBAL = 1;
inline constexpr uint32_t TYMED_FILE = 2;
inline constexpr uint32_t DVASPECT_CONTENT = 1;
inline constexpr uint32_t DATADIR_GET = 1;
inline constexpr uint32_t DATADIR_SET = 2;

// A screen point.
struct POINTL {
    int32_t x = 0;
    int32_t y = 0;
};

struct FORMATETC {
    CLIPFORMAT cfFormat = 0;
    const void* ptd = nullptr;  // target device: none is ever used
    uint32_t dwAspect = DVASPECT_CONTENT;
    int32_t lindex = -1;
    uint32_t tymed = TYMED_HGLOBAL;
};

// A global memory block: bytes that the receiver owns once handed over.
using HGLOBAL = std::shared_ptr<std::vector<uint8_t>>;

struct STGMEDIUM {
    uint32_t tymed = 0;
    HGLOBAL hGlobal;
    const void* pUnkForRelease = nullptr;
};

// Frees the medium's block.
void ReleaseStgMedium(STGMEDIUM& medium);

class IUnknown {
public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

class IEnumFORMATETC : public IUnknown {
public:
    virtual HRESULT Next(ULONG count, FORMATETC* entries, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumFORMATETC** enumerator) = 0;
};

class IDataObject : public IUnknown {
public:
    virtual HRESULT GetData(const FORMATETC& format, STGMEDIUM& medium) = 0;
    virtual HRESULT GetDataHere(const FORMATETC& format, STGMEDIUM& medium) = 0;
    virtual HRESULT QueryGetData(const FORMATETC& format) = 0;
    virtual HRESULT GetCanonicalFormatEtc(const FORMATETC& in, FORMATETC& out) = 0;
    virtual HRESULT SetData(const FORMATETC& format, STGMEDIUM& medium, bool release) = 0;
    virtual HRESULT EnumFormatEtc(uint32_t direction, IEnumFORMATETC** enumerator) = 0;
    virtual HRESULT DAdvise(const FORMATETC& format, uint32_t flags, void* sink,
                            uint32_t* connection) = 0;
    virtual HRESULT DUnadvise(uint32_t connection) = 0;
    virtual HRESULT EnumDAdvise(void** enumerator) = 0;
};

class IDropSource : public IUnknown {
public:
    virtual HRESULT QueryContinueDrag(bool escapePressed, uint32_t keyState) = 0;
    virtual HRESULT GiveFeedback(uint32_t effect) = 0;
};

class IDropTarget : public IUnknown {
public:
    virtual HRESULT DragEnter(IDataObject* data, uint32_t keyState, POINTL point,
                              uint32_t* effect) = 0;
    virtual HRESULT DragOver(uint32_t keyState, POINTL point, uint32_t* effect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(IDataObject* data, uint32_t keyState, POINTL point, uint32_t* effect) = 0;
};

// The reference count of an object behind one interface: created with no reference,
// freed when the last one goes.
template <typename Interface> class TInterfacedObject : public Interface {
public:
    ULONG AddRef() override { return ++refCount_; }
    ULONG Release() override
    {
        const ULONG left = --refCount_;
        if (left == 0)
            delete this;
        return left;
    }
    ULONG RefCount() const { return refCount_; }

private:
    std::atomic<ULONG> refCount_{0};
};

// A counted reference.
template <typename T> class ComPtr final {
public:
    ComPtr() = default;
    ComPtr(T* p) : p_(p)  // NOLINT: implicit, as an interface variable takes an object
    {
        if (p_)
            p_->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr()
    {
        if (p_)
            p_->Release();
    }
    // Takes over a reference that a call handed out.
    static ComPtr Adopt(T* p)
    {
        ComPtr r;
        r.p_ = p;
        return r;
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

private:
    T* p_ = nullptr;
};

}  // namespace ole
