#pragma once

#include "app/dnd/RFADragAndDropDelegate.h"

#include <QAbstractItemView>
#include <QDropEvent>
#include <QPointer>
#include <QRect>

#include <functional>
#include <optional>

namespace larkspan {

// Where a drop over an entry view lands: into `node` at `index` of its
// children (negative: onto the node, at its front), with what to highlight.
struct DropTarget {
    RFATreeNode::Ptr node;
    int index = -1;
    QRect highlight; // viewport coordinates: a row, or a line between rows (no height)
};

// Near the top or bottom edge of a row a drop goes between rows, in the
// middle onto the row: the toolkit's own rule.
enum class RowZone { Above, On, Below };
RowZone rowZone(const QRect& row, const QPoint& position);
// The line above or below a row, or the row itself.
QRect rowHighlight(const QRect& row, RowZone zone);

// The drag and drop of one entry view, carried out by the window's delegate:
// the view says where a position lands and which entries a drag carries;
// this answers the drag events and paints the highlight.
class EntryDropSupport {
public:
    using Locate = std::function<std::optional<DropTarget>(const QPoint& viewportPosition)>;

    EntryDropSupport(QAbstractItemView& view, Locate locate, DragOrigin origin);

    // No delegate, no drag and drop.
    void setDelegate(RFADragAndDropDelegate* delegate);
    RFADragAndDropDelegate* delegate() const { return delegate_; }

    void startDrag(const std::vector<RFATreeNode::Ptr>& nodes);
    void enter(QDragEnterEvent* event);
    void move(QDragMoveEvent* event);
    void leave();
    // Whether the drop was taken.
    bool drop(QDropEvent* event);
    // Over the view's own painting, on its viewport.
    void paintHighlight();

private:
    std::optional<DropTarget> validTarget(QDropEvent* event, Qt::DropAction* action) const;
    void highlight(const QRect& rect);

    QAbstractItemView& view_;
    Locate locate_;
    DragOrigin origin_;
    QPointer<RFADragAndDropDelegate> delegate_;
    QRect highlight_;
};

// An entry view whose drags and drops are carried out by the window: its
// subclass says which entries a drag carries and where a drop lands. The
// toolkit's own drag would remove the moved rows once more after a move.
template <typename View>
class EntryDragAndDropView : public View {
public:
    EntryDragAndDropView(QWidget* parent, DragOrigin origin)
        : View(parent), drops_(*this, [this](const QPoint& position) { return dropTargetAt(position); }, origin)
    {
    }

    // No delegate, no drag and drop.
    void setDragAndDrop(RFADragAndDropDelegate* delegate) { drops_.setDelegate(delegate); }

protected:
    virtual std::vector<RFATreeNode::Ptr> nodesToDrag() const = 0;
    virtual std::optional<DropTarget> dropTargetAt(const QPoint& position) const = 0;
    RFADragAndDropDelegate* dragAndDrop() const { return drops_.delegate(); }

    void startDrag(Qt::DropActions) override { drops_.startDrag(nodesToDrag()); }
    void dragEnterEvent(QDragEnterEvent* event) override
    {
        drops_.enter(event);
        if (event->isAccepted())
            this->setState(QAbstractItemView::DraggingState);
    }
    void dragMoveEvent(QDragMoveEvent* event) override
    {
        // The toolkit's handling scrolls near the edges; the answer is ours.
        View::dragMoveEvent(event);
        drops_.move(event);
    }
    void dragLeaveEvent(QDragLeaveEvent* event) override
    {
        View::dragLeaveEvent(event);
        drops_.leave();
    }
    void dropEvent(QDropEvent* event) override
    {
        drops_.drop(event);
        this->stopAutoScroll();
        this->setState(QAbstractItemView::NoState);
    }
    void paintEvent(QPaintEvent* event) override
    {
        View::paintEvent(event);
        drops_.paintHighlight();
    }

private:
    EntryDropSupport drops_;
};

} // namespace larkspan
