#pragma once

#include "platform/toolkit/TAlign.h"

#include <QLayout>
#include <QRect>

#include <vector>

// The layout behind the placement helpers of TAlign.h, installed on a parent the first
// time one of its children is placed.
class TAlignLayout final : public QLayout {
    Q_OBJECT

public:
    // The parent's layout, created on first use; nullptr when the parent has a layout of
    // another kind (it is then left to that layout).
    static TAlignLayout* Of(QWidget* parent);
    ~TAlignLayout() override;
    Q_DISABLE_COPY_MOVE(TAlignLayout)

    void SetBounds(QWidget* control, const QRect& bounds);
    void SetWidth(QWidget* control, int width);
    void SetHeight(QWidget* control, int height);
    void SetAlign(QWidget* control, TAlign align);
    void SetAnchors(QWidget* control, TAnchors anchors);
    void SetBorderWidth(int width);

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    Qt::Orientations expandingDirections() const override;
    void setGeometry(const QRect& rect) override;
    void invalidate() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QLayoutItem* item = nullptr;
        TAlign align = TAlign::alNone;
        TAnchors anchors = akLeft | akTop;
        QRect bounds;  // in the client area, as last placed
        int rightGap = 0;
        int bottomGap = 0;
    };

    explicit TAlignLayout(QWidget* parent);
    Entry& EntryOf(QWidget* control);
    QSize ClientSize() const;
    // An undocked control's place in a client area of that size.
    static QRect Anchored(const Entry& entry, QSize client);
    QRect CurrentBounds(QWidget* control);
    void KeepGaps(Entry& entry) const;
    void Realign();

    std::vector<Entry> entries_;
    bool realigning_ = false;
};
