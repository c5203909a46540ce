#include "platform/toolkit/NumberColumn.h"

#include "platform/toolkit/ListRowDelegate.h"
#include "platform/toolkit/TListView.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>

#include <algorithm>

namespace {

// Lives as a child of the list. It reads only the lengths of the texts and measures in the
// font only when the longest changes: rows added or changed can only lengthen it at once;
// a reset of the rows (a delete, a clear, a load, a sort) reads the lengths anew, one pass
// per command however many rows it touched.
class NumberColumnWidth final : public QObject {
public:
    NumberColumnWidth(TListView& list, int column)
        : QObject(&list), list_(list), column_(column), given_(list.ColumnWidth(column))
    {
        QAbstractItemModel* rows = list.model();
        connect(rows, &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex&, int first, int last) { Lengthen(first, last); });
        connect(rows, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                    if (topLeft.column() <= column_ && column_ <= bottomRight.column())
                        Changed(topLeft.row(), bottomRight.row());
                });
        connect(rows, &QAbstractItemModel::modelReset, this, [this] { Remeasure(); });
        // A width given by the person or the program (or the column shown again) is the
        // least the column keeps from now on.
        connect(list.header(), &QHeaderView::sectionResized, this,
                [this](int column, int, int width) {
                    if (column != column_ || fitting_)
                        return;
                    if (width > 0)
                        given_ = width;
                    Fit();
                });
        list.installEventFilter(this);
        Remeasure();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &list_ && event->type() == QEvent::FontChange)
            Fit();
        return false;
    }

private:
    size_t Longest(int first, int last) const
    {
        size_t longest = 0;
        for (int row = first; row <= last; ++row)
            longest = std::max(longest, GetColumnText(list_, row, column_).size());
        return longest;
    }

    void Lengthen(int first, int last) { Take(std::max(digits_, Longest(first, last))); }

    // A text made shorter may have been the longest.
    void Changed(int first, int last)
    {
        const size_t longest = Longest(first, last);
        Take(longest < digits_ ? Longest(0, list_.Count() - 1) : longest);
    }

    void Remeasure() { Take(Longest(0, list_.Count() - 1)); }

    void Take(size_t digits)
    {
        if (digits != digits_) {
            digits_ = digits;
            Fit();
        }
    }

    // As wide as the longest number written in the font's widest digit, and never narrower
    // than the width the column was given.
    void Fit()
    {
        if (list_.ColumnWidth(column_) == 0)
            return;
        int wanted = given_;
        if (digits_ > 0) {
            const QFontMetrics metrics(list_.font());
            QChar widest = u'0';
            for (char16_t digit = u'1'; digit <= u'9'; ++digit) {
                if (metrics.horizontalAdvance(QChar(digit)) > metrics.horizontalAdvance(widest))
                    widest = QChar(digit);
            }
            wanted = std::max(wanted, metrics.horizontalAdvance(
                                          QString(static_cast<qsizetype>(digits_), widest)) +
                                          2 * ListRowDelegate::kTextIndent);
        }
        if (list_.ColumnWidth(column_) != wanted) {
            fitting_ = true;
            list_.SetColumnWidth(column_, wanted);
            fitting_ = false;
        }
    }

    TListView& list_;
    int column_;
    // The width last given by anyone but this object; hidden columns give none.
    int given_;
    size_t digits_ = 0;
    bool fitting_ = false;
};

}  // namespace

void KeepNumberColumnWide(TListView& list, int column)
{
    new NumberColumnWidth(list, column);
}
