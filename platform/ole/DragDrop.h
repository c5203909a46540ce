#pragma once

#include "platform/ole/OleInterfaces.h"

#include <QMimeData>
#include <Qt>
#include <functional>
#include <string>

class QWidget;

// Drag and drop between OLE interfaces and Qt: a widget registered as a drop target
// gets its Qt drag events as IDropTarget calls, with the dragged QMimeData seen as an
// IDataObject (text as CF_TEXT Windows-1252 bytes and CF_UNICODETEXT, local files as
// CF_HDROP, "text/rtf" as "Rich Text Format"); the modal drag loop is QDrag::exec.
namespace ole {

// The same id for the same name (compared without case), from 0xC000 on.
CLIPFORMAT RegisterClipboardFormat(const std::string& name);

// The target gets a reference while registered; the registration ends with
// RevokeDragDrop or with the widget. DRAGDROP_E_ALREADYREGISTERED for a second
// registration, CO_E_NOTINITIALIZED before OleInitialize.
HRESULT RegisterDragDrop(QWidget* window, IDropTarget* target);
HRESULT RevokeDragDrop(QWidget* window);
// The target registered for the window, or nullptr.
IDropTarget* RegisteredDropTarget(const QWidget* window);

// Runs a drag of the data until it ends: DRAGDROP_S_DROP with the effect that the
// target took, or DRAGDROP_S_CANCEL (Escape, or released where nothing takes it).
// The source's GiveFeedback hears every change of the effect; Qt's loop decides by
// itself on Escape and on the button's release, so QueryContinueDrag is not asked.
HRESULT DoDragDrop(IDataObject* data, IDropSource* source, uint32_t allowedEffects,
                   uint32_t* effect);
using DragLoop = std::function<HRESULT(IDataObject*, IDropSource*, uint32_t, uint32_t*)>;
// Test hook: replaces the Qt drag loop; an empty function restores it.
void SetDragLoopForTesting(DragLoop loop);

// The mouse-key flags (MK_...) of Qt buttons and modifiers.
uint32_t KeyStateOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

// The dragged data as a data object; an object dragged from this program comes back
// as itself. The reference belongs to the caller.
ComPtr<IDataObject> DataObjectOf(const QMimeData* mime);
// The data object's text, RTF and files as Qt carries them; keeps a reference to it.
QMimeData* MimeDataOf(IDataObject* data);

}  // namespace ole
