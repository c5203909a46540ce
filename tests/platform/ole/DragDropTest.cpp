#include "platform/ole/DragDrop.h"
#include "simulators/FixedDataObject.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

using namespace ole;

namespace {

// Counts its references and records the calls it gets.
class CountingTarget final : public TInterfacedObject<IDropTarget> {
public:
    explicit CountingTarget(bool* freed) : freed_(freed) {}
    ~CountingTarget() override { *freed_ = true; }
    std::vector<std::string> calls;
    uint32_t lastKeys = 0;
    POINTL lastPoint;
    uint32_t answer = DROPEFFECT_COPY;

    HRESULT DragEnter(IDataObject*, uint32_t keys, POINTL p, uint32_t* effect) override
    {
        return Record("enter", keys, p, effect);
    }
    HRESULT DragOver(uint32_t keys, POINTL p, uint32_t* effect) override
    {
        return Record("over", keys, p, effect);
    }
    HRESULT DragLeave() override
    {
        calls.push_back("leave");
        return S_OK;
    }
    HRESULT Drop(IDataObject*, uint32_t keys, POINTL p, uint32_t* effect) override
    {
        return Record("drop", keys, p, effect);
    }

private:
    HRESULT Record(const char* what, uint32_t keys, POINTL p, uint32_t* effect)
    {
        calls.push_back(what);
        lastKeys = keys;
        lastPoint = p;
        *effect = answer;
        return S_OK;
    }
    bool* freed_;
};

std::vector<CLIPFORMAT> Formats(IDataObject* data)
{
    IEnumFORMATETC* raw = nullptr;
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_GET, &raw), S_OK);
    const auto e = ComPtr<IEnumFORMATETC>::Adopt(raw);
    std::vector<CLIPFORMAT> ids;
    FORMATETC f;
    while (e->Next(1, &f, nullptr) == S_OK)
        ids.push_back(f.cfFormat);
    return ids;
}

std::vector<uint8_t> Get(IDataObject* data, CLIPFORMAT id)
{
    FORMATETC f;
    f.cfFormat = id;
    STGMEDIUM m;
    EXPECT_EQ(data->GetData(f, m), S_OK);
    return m.hGlobal ? *m.hGlobal : std::vector<uint8_t>{};
}

}  // namespace

TEST(DragDrop, ClipboardFormatsAreRegisteredOnce)
{
    const CLIPFORMAT rtf = RegisterClipboardFormat("Rich Text Format");
    EXPECT_GE(rtf, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormat("RICH TEXT FORMAT"), rtf);
    EXPECT_NE(RegisterClipboardFormat("Other"), rtf);
}

// Text becomes CF_TEXT (Windows-1252, cut at a zero) and CF_UNICODETEXT, RTF the
// registered format, local files CF_HDROP with wide names.
TEST(DragDrop, MimeDataAsDataObject)
{
    QMimeData mime;
    mime.setText(QString::fromUtf8("\xE2\x82\xAC"
                                   "a") +
                 QChar(0) + "tail");
    mime.setData("text/rtf", "{\\rtf1}");
    mime.setUrls({QUrl::fromLocalFile("/tmp/a b"), QUrl("http://example.invalid/")});
    const ComPtr<IDataObject> data = DataObjectOf(&mime);
    const CLIPFORMAT rtf = RegisterClipboardFormat("Rich Text Format");
    EXPECT_EQ(Formats(data.get()),
              (std::vector<CLIPFORMAT>{CF_TEXT, CF_UNICODETEXT, rtf, CF_HDROP}));
    EXPECT_EQ(Get(data.get(), CF_TEXT), (std::vector<uint8_t>{0x80, 'a', 0}));
    EXPECT_EQ(Get(data.get(), CF_UNICODETEXT), (std::vector<uint8_t>{0xAC, 0x20, 'a', 0, 0, 0}));
    EXPECT_EQ(Get(data.get(), rtf), (std::vector<uint8_t>{'{', '\\', 'r', 't', 'f', '1', '}', 0}));
    const std::vector<uint8_t> drop = Get(data.get(), CF_HDROP);
    ASSERT_EQ(drop.size(), 20u + 2 * 9 + 2);
    EXPECT_EQ(drop[0], 20);
    EXPECT_EQ(drop[16], 1);
    EXPECT_EQ(drop[20], '/');
    FORMATETC f;
    f.cfFormat = CF_HDROP;
    f.tymed = TYMED_FILE;
    EXPECT_EQ(data->QueryGetData(f), DV_E_FORMATETC);

    // An object dragged from this program comes back as itself.
    QMimeData* carried = MimeDataOf(data.get());
    EXPECT_EQ(DataObjectOf(carried).get(), data.get());
    EXPECT_EQ(carried->text(), QString::fromUtf8("\xE2\x82\xAC"
                                                 "a"));
    EXPECT_EQ(carried->data("text/rtf"), "{\\rtf1}");
    delete carried;
}

// Another program's blocks are read within their size: text without its terminating zero
// ends with its block, an empty block is empty text, an odd last byte is no character.
TEST(DragDrop, DataObjectBlocksAreReadWithinTheirSize)
{
    const CLIPFORMAT rtf = RegisterClipboardFormat("Rich Text Format");
    const auto mimeOf = [](std::vector<std::pair<CLIPFORMAT, std::vector<uint8_t>>> entries) {
        const ComPtr<FixedDataObject> data(new FixedDataObject);
        data->entries = std::move(entries);
        return std::unique_ptr<QMimeData>(MimeDataOf(data.get()));
    };

    auto mime = mimeOf({{CF_UNICODETEXT, {0xAC, 0x20, 'b', 0}}, {rtf, {'{', '}'}}});
    EXPECT_EQ(mime->text(), QString::fromUtf8("\xE2\x82\xAC"
                                              "b"));
    EXPECT_EQ(mime->data("text/rtf"), "{}");
    EXPECT_EQ(mimeOf({{CF_UNICODETEXT, {'a', 0, 'b'}}})->text(), "a");
    EXPECT_EQ(mimeOf({{CF_TEXT, {'x', 0x80}}})->text(), QString::fromUtf8("x\xE2\x82\xAC"));

    mime = mimeOf({{CF_UNICODETEXT, {}}, {rtf, {}}});
    EXPECT_TRUE(mime->text().isEmpty());
    EXPECT_TRUE(mime->data("text/rtf").isEmpty());
    EXPECT_TRUE(mimeOf({{CF_TEXT, {}}})->text().isEmpty());
}

// Registration needs OLE, happens once per window, holds the target until revoked or
// until the window goes, and turns Qt's drag events into the target's calls.
TEST(DragDrop, RegistrationAndQtEvents)
{
    bool freed = false;
    auto* target = new CountingTarget(&freed);
    const ComPtr<IDropTarget> keep(target);
    auto window = std::make_unique<QWidget>();
    window->move(100, 50);
    EXPECT_EQ(RegisterDragDrop(window.get(), target), CO_E_NOTINITIALIZED);
    ASSERT_EQ(OleInitialize(), S_OK);
    EXPECT_EQ(RegisterDragDrop(window.get(), target), S_OK);
    EXPECT_EQ(RegisterDragDrop(window.get(), target), DRAGDROP_E_ALREADYREGISTERED);
    EXPECT_EQ(RegisteredDropTarget(window.get()), target);
    EXPECT_TRUE(window->acceptDrops());

    QMimeData mime;
    mime.setText("x");
    QDragEnterEvent enter(QPoint(3, 4), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                          Qt::ControlModifier | Qt::ShiftModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_EQ(target->lastKeys, MK_LBUTTON | MK_CONTROL | MK_SHIFT);
    EXPECT_EQ(target->lastPoint.x, window->mapToGlobal(QPoint(3, 4)).x());
    target->answer = DROPEFFECT_NONE;
    QDragMoveEvent move(QPoint(3, 4), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &move);
    EXPECT_FALSE(move.isAccepted());
    QDragLeaveEvent leave;
    QApplication::sendEvent(window.get(), &leave);
    target->answer = DROPEFFECT_COPY;
    QApplication::sendEvent(window.get(), &enter);
    QDropEvent drop(QPointF(3, 4), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    EXPECT_EQ(target->calls, (std::vector<std::string>{"enter", "over", "leave", "enter", "drop"}));

    EXPECT_EQ(RevokeDragDrop(window.get()), S_OK);
    EXPECT_EQ(RevokeDragDrop(window.get()), DRAGDROP_E_NOTREGISTERED);
    EXPECT_FALSE(window->acceptDrops());
    EXPECT_EQ(target->RefCount(), 1u);  // ours alone

    EXPECT_EQ(RegisterDragDrop(window.get(), target), S_OK);
    window.reset();
    EXPECT_EQ(target->RefCount(), 1u);
    EXPECT_FALSE(freed);
    OleUninitialize();
}
