#pragma once

#include "app/dnd/EntryDropSupport.h"

#include <QTableView>

namespace larkspan {

class SearchResultsModel;

// The search results: drags of the selected results, drops into a result
// folder, carried out by the window.
class SearchResultsView final : public EntryDragAndDropView<QTableView> {
    Q_OBJECT
public:
    explicit SearchResultsView(QWidget* parent = nullptr) : EntryDragAndDropView(parent, DragOrigin::SearchResults) {}

    // The selected results in list order, whatever order they were clicked in.
    std::vector<RFATreeNode::Ptr> selectedNodes() const;

protected:
    std::vector<RFATreeNode::Ptr> nodesToDrag() const override { return selectedNodes(); }
    // Onto a result: into it, at its front (a file refuses). Between two
    // results: onto the lower one. Past the last: nowhere.
    std::optional<DropTarget> dropTargetAt(const QPoint& position) const override;
    // Whatever the answer, the results are searched for again.
    void dropEvent(QDropEvent* event) override;

private:
    const SearchResultsModel* results() const;
};

} // namespace larkspan
