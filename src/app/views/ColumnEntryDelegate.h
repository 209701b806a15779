#pragma once

#include <QStyledItemDelegate>

namespace larkspan {

// Draws one entry of a browser column: icon and name, and the column arrow
// for folders. Each column gets its own: a delegate shared by all columns
// (the browser's default) makes every column answer every other column's
// editor, with a warning each time.
class ColumnEntryDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace larkspan
