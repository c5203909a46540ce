// Another program's data dropped on an edit control: text, RTF and file lists in blocks of
// any content, walked by the edit's drop target and typed in by the edit's rules.
#include "fuzz/support/Fuzz.h"
#include "platform/ole/DragDrop.h"
#include "simulators/FixedDataObject.h"
#include "widgets/FieldEdit.h"
#include "widgets/FieldEditDD.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

using namespace ole;

namespace {

TFieldEdit* edit = nullptr;

CLIPFORMAT FormatFrom(FuzzedDataProvider& input)
{
    const CLIPFORMAT known[] = {CF_TEXT, CF_UNICODETEXT, CF_HDROP,
                                RegisterClipboardFormat("Rich Text Format")};
    const auto pick = input.ConsumeIntegral<uint8_t>();
    return pick < std::size(known) ? known[pick] : pick;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartApplication();
    OleInitialize();
    edit = new TFieldEdit;
    edit->SetOleDropTarget(true);
    edit->show();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    edit->SetEditType(static_cast<TFieldEditType>(
        input.ConsumeIntegralInRange<int>(0, static_cast<int>(TFieldEditType::etAlphaNumeric))));
    edit->SetMaxLength(input.ConsumeIntegralInRange(0, 20));
    edit->SetText("");
    SetAllowRTF(input.ConsumeBool());
    const uint32_t keys = input.ConsumeIntegral<uint8_t>();
    const QPoint at = edit->mapToGlobal(QPoint(input.ConsumeIntegralInRange(-5, 200), 5));

    const ComPtr<FixedDataObject> dropped(new FixedDataObject);
    while (input.remaining_bytes() > 0) {
        const CLIPFORMAT format = FormatFrom(input);
        dropped->entries.emplace_back(
            format, input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange(0, 512)));
    }

    IDropTarget* target = RegisteredDropTarget(edit);
    uint32_t effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragEnter(dropped.get(), keys, {at.x(), at.y()}, &effect);
    target->DragOver(keys, {at.x(), at.y()}, &effect);
    target->Drop(dropped.get(), keys, {at.x(), at.y()}, &effect);
    return 0;
}
