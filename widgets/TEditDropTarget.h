#pragma once

#include "widgets/FieldEditDD.h"

#include <QPointer>

class TFieldEdit;

// The drop target of one edit: the drop caret follows the mouse, and the first line of
// dropped text goes in at the character under it.
class TEditDropTarget final : public TFEDropTarget {
public:
    explicit TEditDropTarget(TFieldEdit* ownerEdit) : ownerEdit_(ownerEdit) {}

    ole::HRESULT DragLeave() override;

protected:
    void DropText(ole::POINTL point, const std::string& text) override;
    void DragMouseMove(ole::POINTL point, bool& allow) override;

private:
    QPointer<TFieldEdit> ownerEdit_;
};
