#include "platform/toolkit/NumberColumn.h"

#include "platform/toolkit/ListRowDelegate.h"
#include "platform/toolkit/TListView.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>

#include <algorithm>

namespace {

// Lives as a child of the list. It reads only the lengths of the texts and measures in the
// font only when the longest grows, so loading, sorting or deleting tens of thousands of
// rows costs next to nothing more.
class NumberColumnWidth final : public QObject {
public:
    NumberColumnWidth(TListView& list, int column) : QObject(&list), list_(list), column_(column)
    {
        QAbstractItemModel* rows = list.model();
        connect(rows, &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex&, int first, int last) { Measure(first, last); });
        connect(rows, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                    if (topLeft.column() <= column_ && column_ <= bottomRight.column())
                        Measure(topLeft.row(), bottomRight.row());
                });
        connect(rows, &QAbstractItemModel::modelReset, this,
                [this] { Measure(0, list_.Count() - 1); });
        // Shown again, or narrowed by the person or the program.
        connect(list.header(), &QHeaderView::sectionResized, this, [this](int column) {
            if (column == column_)
                Fit();
        });
        list.installEventFilter(this);
        Measure(0, list.Count() - 1);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &list_ && event->type() == QEvent::FontChange)
            Fit();
        return false;
    }

private:
    void Measure(int first, int last)
    {
        size_t longest = digits_;
        for (int row = first; row <= last; ++row)
            longest = std::max(longest, GetColumnText(list_, row, column_).size());
        if (longest > digits_) {
            digits_ = longest;
            Fit();
        }
    }

    // As wide as the longest number written in the font's widest digit.
    void Fit()
    {
        if (digits_ == 0 || list_.ColumnWidth(column_) == 0)
            return;
        const QFontMetrics metrics(list_.font());
        QChar widest = u'0';
        for (char16_t digit = u'1'; digit <= u'9'; ++digit) {
            if (metrics.horizontalAdvance(QChar(digit)) > metrics.horizontalAdvance(widest))
                widest = QChar(digit);
        }
        const int needed =
            metrics.horizontalAdvance(QString(static_cast<qsizetype>(digits_), widest)) +
            2 * ListRowDelegate::kTextIndent;
        if (list_.ColumnWidth(column_) < needed)
            list_.SetColumnWidth(column_, needed);
    }

    TListView& list_;
    int column_;
    size_t digits_ = 0;
};

}  // namespace

void KeepNumberColumnWide(TListView& list, int column)
{
    new NumberColumnWidth(list, column);
}
