#include "app/views/ColumnEntryDelegate.h"

#include <QApplication>
#include <QStyle>

namespace larkspan {

void ColumnEntryDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // The arrow takes a square-ish strip at the trailing edge, as in the
    // browser's own delegate.
    const int arrowWidth = option.rect.height() * 2 / 3;
    const bool reverse = option.direction == Qt::RightToLeft;
    QStyleOptionViewItem entry = option;
    if (reverse)
        entry.rect.adjust(arrowWidth, 0, 0, 0);
    else
        entry.rect.adjust(0, 0, -arrowWidth, 0);
    QStyledItemDelegate::paint(painter, entry, index);
    if (!index.model()->hasChildren(index))
        return;
    QStyleOptionViewItem arrow = option;
    arrow.rect = QRect(reverse ? option.rect.left() : option.rect.right() + 1 - arrowWidth, option.rect.top(), arrowWidth,
                       option.rect.height());
    const QWidget* view = option.widget;
    (view ? view->style() : QApplication::style())->drawPrimitive(QStyle::PE_IndicatorColumnViewArrow, &arrow, painter, view);
}

} // namespace larkspan
