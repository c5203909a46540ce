// Dragged data both ways across the bridge between Qt and the OLE interfaces: the blocks
// of another program's data object read as Qt drag data, each within its size, and Qt drag
// data (text, RTF, file URLs) served as blocks whose text and RTF come back as they were,
// to their first zero.
#include "fuzz/support/Fuzz.h"
#include "platform/ole/DragDrop.h"
#include "platform/text/Cp1252.h"
#include "platform/text/Utf16.h"
#include "simulators/FixedDataObject.h"

#include <QUrl>
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

using namespace ole;

namespace {

CLIPFORMAT FormatFrom(FuzzedDataProvider& input)
{
    const CLIPFORMAT known[] = {CF_TEXT, CF_UNICODETEXT, CF_HDROP,
                                RegisterClipboardFormat("Rich Text Format")};
    const auto pick = input.ConsumeIntegral<uint8_t>();
    return pick < std::size(known) ? known[pick] : pick;
}

void ReadEveryFormat(IDataObject* data)
{
    IEnumFORMATETC* raw = nullptr;
    fuzz::Require(data->EnumFormatEtc(DATADIR_GET, &raw) == S_OK, "served data lists its formats");
    const auto formats = ComPtr<IEnumFORMATETC>::Adopt(raw);
    FORMATETC format;
    while (formats->Next(1, &format, nullptr) == S_OK) {
        STGMEDIUM medium;
        fuzz::Require(data->GetData(format, medium) == S_OK && medium.hGlobal,
                      "every format listed is served");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);

    const ComPtr<FixedDataObject> blocks(new FixedDataObject);
    for (int n = input.ConsumeIntegralInRange(0, 4); n > 0; --n) {
        const CLIPFORMAT format = FormatFrom(input);
        blocks->entries.emplace_back(
            format, input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange(0, 256)));
    }
    delete MimeDataOf(blocks.get());

    const std::vector<uint8_t> unicode =
        input.ConsumeBytes<uint8_t>(input.ConsumeIntegral<uint8_t>());
    const QString text = FromUtf16Le(unicode);
    const QByteArray rtf = QByteArray::fromStdString(input.ConsumeRandomLengthString(128));
    QList<QUrl> urls;
    while (input.remaining_bytes() > 0) {
        const QString name = ToQString(input.ConsumeRandomLengthString(64));
        urls << (input.ConsumeBool() ? QUrl::fromLocalFile(name) : QUrl(name));
    }
    QMimeData dragged;
    if (!text.isEmpty())
        dragged.setText(text);
    if (!rtf.isEmpty())
        dragged.setData(QStringLiteral("text/rtf"), rtf);
    dragged.setUrls(urls);

    const ComPtr<IDataObject> served = DataObjectOf(&dragged);
    ReadEveryFormat(served.get());
    const std::unique_ptr<QMimeData> back(MimeDataOf(served.get()));
    const QString draggedText = dragged.hasText() ? dragged.text() : QString();
    fuzz::Require(back->text() == draggedText.section(QChar(0), 0, 0),
                  "dragged text comes back to its first zero");
    fuzz::Require(back->data(QStringLiteral("text/rtf")) == QByteArray(rtf.constData()),
                  "dragged RTF comes back to its first zero");
    return 0;
}
