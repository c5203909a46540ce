#include "platform/ole/DragDrop.h"

#include "platform/ole/TMimeDataObject.h"
#include "platform/text/Cp1252.h"
#include "platform/text/TextCase.h"
#include "platform/text/Utf16.h"
#include "platform/ui/Guarded.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QGuiApplication>
#include <QWidget>
#include <map>
#include <optional>

namespace ole {

namespace {

DragLoop testLoop;

// Carries an object dragged from this program, so that its own drop targets get it
// back as it is.
class TDataObjectMime final : public QMimeData {
public:
    explicit TDataObjectMime(IDataObject* data) : data_(data) {}
    IDataObject* Object() const { return data_.get(); }

private:
    ComPtr<IDataObject> data_;
};

Qt::DropAction ActionOf(uint32_t effect)
{
    if (effect & DROPEFFECT_MOVE)
        return Qt::MoveAction;
    if (effect & DROPEFFECT_COPY)
        return Qt::CopyAction;
    return Qt::IgnoreAction;
}

uint32_t EffectOf(Qt::DropActions actions)
{
    uint32_t effect = DROPEFFECT_NONE;
    if (actions & Qt::CopyAction)
        effect |= DROPEFFECT_COPY;
    if (actions & Qt::MoveAction)
        effect |= DROPEFFECT_MOVE;
    return effect;
}

POINTL ScreenPoint(const QWidget* w, QPointF local)
{
    const QPoint p = w->mapToGlobal(local.toPoint());
    return {p.x(), p.y()};
}

// Text ends at its first zero; a block from another program need not hold one, and may
// be empty: its text then ends with the block.
std::string_view TextOfBlock(const std::vector<uint8_t>& block)
{
    const std::string_view bytes(reinterpret_cast<const char*>(block.data()), block.size());
    return bytes.substr(0, bytes.find('\0'));
}

std::optional<std::vector<uint8_t>> GetBlock(IDataObject* data, CLIPFORMAT format)
{
    FORMATETC f;
    f.cfFormat = format;
    STGMEDIUM medium;
    if (data->GetData(f, medium) != S_OK || !medium.hGlobal)
        return std::nullopt;
    std::vector<uint8_t> bytes = *medium.hGlobal;
    ReleaseStgMedium(medium);
    return bytes;
}

// A widget's registration: turns its Qt drag events into the target's calls.
class TDropBridge final : public QObject {
public:
    TDropBridge(QWidget* window, IDropTarget* target) : QObject(window), target_(target)
    {
        window->setAcceptDrops(true);
        window->installEventFilter(this);
    }
    IDropTarget* Target() const { return target_.get(); }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        auto* w = static_cast<QWidget*>(watched);
        try {
            switch (e->type()) {
            case QEvent::DragEnter: {
                auto* d = static_cast<QDragEnterEvent*>(e);
                data_ = DataObjectOf(d->mimeData());
                uint32_t effect = EffectOf(d->possibleActions());
                target_->DragEnter(data_.get(), KeyStateOf(d->buttons(), d->modifiers()),
                                   ScreenPoint(w, d->position()), &effect);
                // Accepted in any case, so that the moves keep coming as DragOver.
                d->setDropAction(ActionOf(effect) == Qt::IgnoreAction ? d->proposedAction()
                                                                      : ActionOf(effect));
                d->accept();
                return true;
            }
            case QEvent::DragMove: {
                auto* d = static_cast<QDragMoveEvent*>(e);
                uint32_t effect = EffectOf(d->possibleActions());
                target_->DragOver(KeyStateOf(d->buttons(), d->modifiers()),
                                  ScreenPoint(w, d->position()), &effect);
                Answer(d, effect);
                return true;
            }
            case QEvent::DragLeave:
                data_ = {};
                target_->DragLeave();
                return true;
            case QEvent::Drop: {
                auto* d = static_cast<QDropEvent*>(e);
                ComPtr<IDataObject> data = DataObjectOf(d->mimeData());
                data_ = {};
                uint32_t effect = EffectOf(d->possibleActions());
                target_->Drop(data.get(), KeyStateOf(d->buttons(), d->modifiers()),
                              ScreenPoint(w, d->position()), &effect);
                Answer(d, effect);
                return true;
            }
            default:
                return false;
            }
        } catch (const std::exception& error) {
            ui::HandleException(error);
            e->ignore();
            return true;
        }
    }

private:
    static void Answer(QDropEvent* d, uint32_t effect)
    {
        const Qt::DropAction action = ActionOf(effect);
        if (action == Qt::IgnoreAction) {
            d->ignore();
            return;
        }
        d->setDropAction(action);
        d->accept();
    }

    ComPtr<IDropTarget> target_;
    ComPtr<IDataObject> data_;
};

TDropBridge* BridgeOf(const QWidget* window)
{
    if (!window)
        return nullptr;
    for (QObject* child : window->children())
        if (auto* bridge = dynamic_cast<TDropBridge*>(child))
            return bridge;
    return nullptr;
}

}  // namespace

void ReleaseStgMedium(STGMEDIUM& medium)
{
    medium = STGMEDIUM{};
}

CLIPFORMAT RegisterClipboardFormat(const std::string& name)
{
    static std::map<std::string, CLIPFORMAT> formats;
    const std::string folded = UpperCaseAscii(name);
    const auto [at, added] =
        formats.emplace(folded, static_cast<CLIPFORMAT>(0xC000 + formats.size()));
    return at->second;
}

HRESULT RegisterDragDrop(QWidget* window, IDropTarget* target)
{
    if (!window || !target)
        return E_INVALIDARG;
    if (!OleInitialized())
        return CO_E_NOTINITIALIZED;
    if (BridgeOf(window))
        return DRAGDROP_E_ALREADYREGISTERED;
    new TDropBridge(window, target);
    return S_OK;
}

HRESULT RevokeDragDrop(QWidget* window)
{
    TDropBridge* bridge = BridgeOf(window);
    if (!bridge)
        return DRAGDROP_E_NOTREGISTERED;
    window->removeEventFilter(bridge);
    window->setAcceptDrops(false);
    delete bridge;
    return S_OK;
}

IDropTarget* RegisteredDropTarget(const QWidget* window)
{
    TDropBridge* bridge = BridgeOf(window);
    return bridge ? bridge->Target() : nullptr;
}

uint32_t KeyStateOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    uint32_t state = 0;
    if (buttons & Qt::LeftButton)
        state |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        state |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        state |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        state |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        state |= MK_CONTROL;
    if (modifiers & Qt::AltModifier)
        state |= MK_ALT;
    return state;
}

ComPtr<IDataObject> DataObjectOf(const QMimeData* mime)
{
    if (const auto* own = dynamic_cast<const TDataObjectMime*>(mime))
        return own->Object();
    return new TMimeDataObject(mime);
}

QMimeData* MimeDataOf(IDataObject* data)
{
    auto* mime = new TDataObjectMime(data);
    if (auto unicode = GetBlock(data, CF_UNICODETEXT)) {
        mime->setText(FromUtf16Le(*unicode));
    } else if (auto text = GetBlock(data, CF_TEXT)) {
        mime->setText(ToQString(TextOfBlock(*text)));
    }
    if (auto rtf = GetBlock(data, RegisterClipboardFormat("Rich Text Format"))) {
        const std::string_view bytes = TextOfBlock(*rtf);
        mime->setData(QStringLiteral("text/rtf"),
                      QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    return mime;
}

void SetDragLoopForTesting(DragLoop loop)
{
    testLoop = std::move(loop);
}

HRESULT DoDragDrop(IDataObject* data, IDropSource* source, uint32_t allowedEffects,
                   uint32_t* effect)
{
    const ComPtr<IDataObject> keepData(data);
    const ComPtr<IDropSource> keepSource(source);
    if (testLoop)
        return testLoop(data, source, allowedEffects, effect);
    QDrag drag(qApp);
    drag.setMimeData(MimeDataOf(data));
    QObject::connect(&drag, &QDrag::actionChanged,
                     [source](Qt::DropAction action) { source->GiveFeedback(EffectOf(action)); });
    Qt::DropActions allowed;
    if (allowedEffects & DROPEFFECT_COPY)
        allowed |= Qt::CopyAction;
    if (allowedEffects & DROPEFFECT_MOVE)
        allowed |= Qt::MoveAction;
    const Qt::DropAction result = drag.exec(allowed, Qt::MoveAction);
    *effect = EffectOf(result);
    return result == Qt::IgnoreAction ? DRAGDROP_S_CANCEL : DRAGDROP_S_DROP;
}

}  // namespace ole
