#include "platform/ole/DragDrop.h"
#include "platform/text/Errors.h"
#include "simulators/FixedDataObject.h"
#include "tests/support/ScriptedUi.h"
#include "widgets/FieldEditDD.h"

#include <gtest/gtest.h>

using namespace ole;

namespace {

FORMATETC Format(CLIPFORMAT id, uint32_t tymed = TYMED_HGLOBAL)
{
    FORMATETC f;
    f.cfFormat = id;
    f.tymed = tymed;
    return f;
}

// Records what a drop hands to the overridable operations.
class RecordingTarget final : public TFEDropTarget {
public:
    std::vector<std::string> calls;

protected:
    void DropText(POINTL, const std::string& text) override
    {
        calls.push_back("text:" + text);
        Taken();
    }
    void DropRTF(POINTL, const std::string& text) override
    {
        calls.push_back("rtf:" + text);
        Taken();
    }
    void DropFiles(POINTL, const std::vector<std::string>& names) override
    {
        for (const auto& n : names)
            calls.push_back("file:" + n);
        Taken();
    }
};

std::vector<uint8_t> Bytes(const std::string& s)
{
    std::vector<uint8_t> b(s.begin(), s.end());
    b.push_back(0);
    return b;
}

}  // namespace

TEST(FieldEditDD, KeysToDropEffect)
{
    EXPECT_EQ(KeysToDropEffect(MK_CONTROL | MK_LBUTTON), DROPEFFECT_COPY);
    EXPECT_EQ(KeysToDropEffect(MK_LBUTTON | MK_SHIFT), DROPEFFECT_MOVE);
}

// The source object serves its text as single-byte and UTF-16 blocks, RTF only while
// allowed, and exactly the HGLOBAL medium of the content aspect.
TEST(FieldEditDD, SourceDataObjectServesText)
{
    const ComPtr<TSourceDataObject> data(new TSourceDataObject("abc", "{\\rtf1}"));
    EXPECT_EQ(data->QueryGetData(Format(CF_TEXT)), S_OK);
    EXPECT_EQ(data->QueryGetData(Format(CF_UNICODETEXT, TYMED_HGLOBAL | TYMED_FILE)),
              DV_E_FORMATETC);
    FORMATETC icon = Format(CF_TEXT);
    icon.dwAspect = 4;
    EXPECT_EQ(data->QueryGetData(icon), DV_E_FORMATETC);
    EXPECT_EQ(data->QueryGetData(Format(CF_HDROP)), DV_E_FORMATETC);

    STGMEDIUM m;
    ASSERT_EQ(data->GetData(Format(CF_UNICODETEXT), m), S_OK);
    EXPECT_EQ(*m.hGlobal, (std::vector<uint8_t>{'a', 0, 'b', 0, 'c', 0, 0, 0}));
    ASSERT_EQ(data->GetData(Format(CF_TEXT), m), S_OK);
    EXPECT_EQ(*m.hGlobal, Bytes("abc"));
    EXPECT_EQ(data->GetData(Format(CF_HDROP), m), DV_E_FORMATETC);
    EXPECT_FALSE(m.hGlobal);

    // RTF: registered by a walker, served only while allowed.
    TEnumFormats walker(data.get());
    const CLIPFORMAT rtf = RTFClipboardFormat();
    EXPECT_EQ(rtf, RegisterClipboardFormat("Rich Text Format"));
    EXPECT_EQ(data->QueryGetData(Format(rtf)), DV_E_FORMATETC);
    SetAllowRTF(true);
    ASSERT_EQ(data->GetData(Format(rtf), m), S_OK);
    EXPECT_EQ(*m.hGlobal, Bytes("{\\rtf1}"));
    SetAllowRTF(false);

    EXPECT_EQ(data->GetDataHere(Format(CF_TEXT), m), DV_E_FORMATETC);
    EXPECT_EQ(data->SetData(Format(CF_TEXT), m, true), DV_E_FORMATETC);
    EXPECT_EQ(data->DAdvise(Format(CF_TEXT), 0, nullptr, nullptr), OLE_E_ADVISENOTSUPPORTED);
    void* advise = &m;
    EXPECT_EQ(data->EnumDAdvise(&advise), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(advise, nullptr);
}

// The format list walks CF_TEXT, CF_UNICODETEXT and RTF, and no further.
TEST(FieldEditDD, FormatEnumerator)
{
    const ComPtr<TSourceDataObject> data(new TSourceDataObject("x", ""));
    TEnumFormats registers(data.get());
    IEnumFORMATETC* raw = nullptr;
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &raw), E_NOTIMPL);
    EXPECT_EQ(raw, nullptr);
    ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, &raw), S_OK);
    const auto e = ComPtr<IEnumFORMATETC>::Adopt(raw);
    FORMATETC got[5];
    ULONG fetched = 0;
    EXPECT_EQ(e->Next(3, got, &fetched), S_OK);
    EXPECT_EQ(fetched, 3u);
    EXPECT_EQ(got[0].cfFormat, CF_TEXT);
    EXPECT_EQ(got[1].cfFormat, CF_UNICODETEXT);
    EXPECT_EQ(got[2].cfFormat, RTFClipboardFormat());
    EXPECT_EQ(got[2].lindex, -1);
    EXPECT_EQ(e->Next(1, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    e->Reset();
    EXPECT_EQ(e->Next(5, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 3u);
    e->Reset();
    EXPECT_EQ(e->Skip(3), S_OK);
    e->Reset();
    EXPECT_EQ(e->Skip(4), S_FALSE);
    IEnumFORMATETC* clone = nullptr;
    ASSERT_EQ(e->Clone(&clone), S_OK);
    const auto c = ComPtr<IEnumFORMATETC>::Adopt(clone);
    EXPECT_EQ(c->Next(1, got, nullptr), S_FALSE);  // a clone stands where its source stood
}

TEST(FieldEditDD, DropSource)
{
    const ComPtr<TFEDropSource> source(new TFEDropSource);
    EXPECT_EQ(source->QueryContinueDrag(true, MK_LBUTTON), DRAGDROP_S_CANCEL);
    EXPECT_EQ(source->QueryContinueDrag(false, MK_LBUTTON), S_OK);
    EXPECT_EQ(source->QueryContinueDrag(false, MK_CONTROL), DRAGDROP_S_DROP);
    EXPECT_EQ(source->GiveFeedback(DROPEFFECT_NONE), DRAGDROP_S_USEDEFAULTCURSORS);
    EXPECT_TRUE(source->LastEffectNone());
    source->GiveFeedback(DROPEFFECT_COPY);
    EXPECT_FALSE(source->LastEffectNone());
}

// Which formats a target accepts and what a drop hands on, with the effect: copy with
// Ctrl, move without (even where the source allows copy only), none when refused.
TEST(FieldEditDD, DropTargetSortsFormats)
{
    const ComPtr<RecordingTarget> target(new RecordingTarget);
    const ComPtr<FixedDataObject> data(new FixedDataObject);
    TEnumFormats registers(data.get());
    const CLIPFORMAT rtf = RTFClipboardFormat();
    uint32_t effect = DROPEFFECT_COPY;

    data->entries = {{rtf, Bytes("{r}")}};
    target->DragEnter(data.get(), 0, {}, &effect);
    EXPECT_FALSE(target->CanAccept());
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    target->Drop(data.get(), 0, {}, &effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_TRUE(target->calls.empty());

    data->entries = {{CF_UNICODETEXT, {'a', 0, 0, 0}}};
    target->DragEnter(data.get(), 0, {}, &effect);
    EXPECT_FALSE(target->CanAccept());

    data->entries = {{rtf, Bytes("{r}")}, {CF_TEXT, Bytes("plain")}};
    SetAllowRTF(true);
    effect = DROPEFFECT_COPY;
    target->DragEnter(data.get(), 0, {}, &effect);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    target->DragOver(MK_CONTROL, {}, &effect);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    target->Drop(data.get(), MK_CONTROL, {}, &effect);
    SetAllowRTF(false);
    EXPECT_EQ(target->calls, (std::vector<std::string>{"rtf:{r}"}));
    EXPECT_EQ(effect, DROPEFFECT_COPY);

    // Text and files both go on; wide names are converted to single-byte text.
    std::vector<uint8_t> drop(20, 0);
    drop[0] = 20;
    drop[16] = 1;
    for (const char16_t ch : std::u16string(u"/t/\u00e4.txt"))
        drop.insert(drop.end(), {static_cast<uint8_t>(ch & 0xFF), static_cast<uint8_t>(ch >> 8)});
    drop.insert(drop.end(), {0, 0, 'b', 0, 0, 0, 0, 0});
    data->entries = {{CF_TEXT, Bytes("t")}, {CF_HDROP, drop}};
    target->calls.clear();
    target->DragEnter(data.get(), 0, {}, &effect);
    target->Drop(data.get(), 0, {}, &effect);
    EXPECT_EQ(target->calls, (std::vector<std::string>{"text:t", "file:/t/\xE4.txt", "file:b"}));
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
}

// A drop that nothing takes reports no effect, so that no source deletes its data.
TEST(FieldEditDD, DropNobodyTakesReportsNone)
{
    const ComPtr<TFEDropTarget> target(new TFEDropTarget);
    const ComPtr<TSourceDataObject> data(new TSourceDataObject("text", ""));
    uint32_t effect = DROPEFFECT_MOVE;
    target->DragEnter(data.get(), 0, {}, &effect);
    EXPECT_EQ(effect, DROPEFFECT_MOVE);
    target->Drop(data.get(), 0, {}, &effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
}

// A data object without a format enumerator: the failure is shown, the drop refused.
TEST(FieldEditDD, MissingEnumeratorIsReported)
{
    ScriptedUi script;
    script.ExpectMessageContaining(
        ui::MsgKind::Error, "Cannot get the format enumerator (FieldEditDD, line", ui::Buttons::OK);
    const ComPtr<RecordingTarget> target(new RecordingTarget);
    const ComPtr<FixedDataObject> data(new FixedDataObject);
    data->noEnumerator = true;
    uint32_t effect = DROPEFFECT_MOVE;
    EXPECT_EQ(target->DragEnter(data.get(), 0, {}, &effect), S_OK);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    EXPECT_THROW(TEnumFormats walker(data.get()), EError);
}

// The drag's result: a cancel from the loop, and a drop whose last feedback was "none".
TEST(FieldEditDD, StartOleDragResults)
{
    SetDragLoopForTesting(
        [](IDataObject* data, IDropSource* source, uint32_t allowed, uint32_t* effect) {
            EXPECT_EQ(allowed, DROPEFFECT_COPY | DROPEFFECT_MOVE);
            EXPECT_EQ(data->QueryGetData(Format(CF_TEXT)), S_OK);
            source->GiveFeedback(DROPEFFECT_NONE);
            *effect = DROPEFFECT_NONE;
            return DRAGDROP_S_DROP;
        });
    uint32_t effect = 0;
    EXPECT_EQ(StartOleDrag("x", "", DROPEFFECT_COPY | DROPEFFECT_MOVE, effect), DRAGDROP_S_CANCEL);
    SetDragLoopForTesting([](IDataObject*, IDropSource* source, uint32_t, uint32_t* effect) {
        source->GiveFeedback(DROPEFFECT_COPY);
        *effect = DROPEFFECT_COPY;
        return DRAGDROP_S_DROP;
    });
    EXPECT_EQ(StartOleDrag("x", "", DROPEFFECT_COPY | DROPEFFECT_MOVE, effect), DRAGDROP_S_DROP);
    EXPECT_EQ(effect, DROPEFFECT_COPY);
    SetDragLoopForTesting({});
}
