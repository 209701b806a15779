#include "app/dnd/EntryDropSupport.h"

#include "app/dnd/RFAPasteboardOwner.h"

#include <QAbstractItemView>
#include <QDropEvent>
#include <QPainter>
#include <QStyleOption>

namespace larkspan {

RowZone rowZone(const QRect& row, const QPoint& position)
{
    const int margin = qBound(2, qRound(qreal(row.height()) / 5.5), 12);
    if (position.y() - row.top() < margin)
        return RowZone::Above;
    if (row.bottom() - position.y() < margin)
        return RowZone::Below;
    return RowZone::On;
}

QRect rowHighlight(const QRect& row, RowZone zone)
{
    switch (zone) {
    case RowZone::Above:
        return QRect(row.left(), row.top(), row.width(), 0);
    case RowZone::Below:
        return QRect(row.left(), row.bottom() + 1, row.width(), 0);
    case RowZone::On:
        break;
    }
    return row;
}

EntryDropSupport::EntryDropSupport(QAbstractItemView& view, Locate locate, DragOrigin origin)
    : view_(view), locate_(std::move(locate)), origin_(origin)
{
}

void EntryDropSupport::setDelegate(RFADragAndDropDelegate* delegate)
{
    delegate_ = delegate;
    view_.setDragEnabled(delegate != nullptr);
    view_.setAcceptDrops(delegate != nullptr);
    // The highlight is painted here: the toolkit's would show its own idea
    // of where the drop goes.
    view_.setDropIndicatorShown(false);
}

void EntryDropSupport::startDrag(const std::vector<RFATreeNode::Ptr>& nodes)
{
    if (delegate_)
        delegate_->startDrag(&view_, nodes, origin_);
}

std::optional<DropTarget> EntryDropSupport::validTarget(QDropEvent* event, Qt::DropAction* action) const
{
    *action = Qt::IgnoreAction;
    if (!delegate_ || !event->mimeData())
        return std::nullopt;
    std::optional<DropTarget> target = locate_(event->position().toPoint());
    if (target)
        *action = delegate_->validateDrop(*event->mimeData(), allowedActions(*event), target->node);
    return *action == Qt::IgnoreAction ? std::nullopt : target;
}

void EntryDropSupport::enter(QDragEnterEvent* event)
{
    move(event);
    // Entries and files may be dropped elsewhere in the view: keep hearing
    // of the drag.
    const QMimeData* data = event->mimeData();
    if (!event->isAccepted() && delegate_ && data &&
        (data->hasFormat(QString::fromLatin1(RFAPasteboardType)) || data->hasUrls())) {
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
    }
}

void EntryDropSupport::move(QDragMoveEvent* event)
{
    Qt::DropAction action = Qt::IgnoreAction;
    const std::optional<DropTarget> target = validTarget(event, &action);
    if (!target) {
        event->ignore();
        highlight({});
        return;
    }
    event->setDropAction(action);
    event->accept();
    highlight(target->highlight);
}

void EntryDropSupport::leave()
{
    highlight({});
}

bool EntryDropSupport::drop(QDropEvent* event)
{
    highlight({});
    Qt::DropAction action = Qt::IgnoreAction;
    const std::optional<DropTarget> target = validTarget(event, &action);
    if (!target || !delegate_->acceptDrop(*event->mimeData(), allowedActions(*event), target->node, target->index)) {
        event->ignore();
        return false;
    }
    // The source learns what was done: a copy of files from another program
    // is never reported as a move, which would have it delete them.
    event->setDropAction(action);
    event->accept();
    return true;
}

void EntryDropSupport::highlight(const QRect& rect)
{
    if (rect == highlight_)
        return;
    highlight_ = rect;
    view_.viewport()->update();
}

void EntryDropSupport::paintHighlight()
{
    if (highlight_.isNull())
        return;
    QPainter painter(view_.viewport());
    QStyleOption option;
    option.initFrom(&view_);
    option.rect = highlight_;
    view_.style()->drawPrimitive(QStyle::PE_IndicatorItemViewItemDrop, &option, &painter, &view_);
}

} // namespace larkspan
