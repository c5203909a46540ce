#include "platform/toolkit/ListDragData.h"

#include "platform/toolkit/TListView.h"

#include <QApplication>
#include <QMimeData>

namespace {

const QString kRowsFormat = QStringLiteral("application/x-tavrin-list-rows");

}  // namespace

QMimeData* MakeRowDragData(const TListView& source)
{
    auto* data = new QMimeData;
    data->setData(kRowsFormat, QByteArray::number(reinterpret_cast<quintptr>(&source)));
    return data;
}

TListView* RowDragSource(const QMimeData* data)
{
    if (data == nullptr || !data->hasFormat(kRowsFormat)) {
        return nullptr;
    }
    bool ok = false;
    const quintptr id = data->data(kRowsFormat).toULongLong(&ok);
    if (!ok) {
        return nullptr;
    }
    // Only a list that still exists in this program is a source.
    for (QWidget* widget : QApplication::allWidgets()) {
        if (reinterpret_cast<quintptr>(widget) == id) {
            return qobject_cast<TListView*>(widget);
        }
    }
    return nullptr;
}
