#include "app/views/ArchiveSelection.h"

#include "app/views/ArchiveColumnView.h"
#include "app/views/ArchiveOutlineView.h"
#include "app/views/ArchiveTreeModel.h"

#include <QItemSelectionModel>

#include <algorithm>

namespace larkspan {

namespace {

// Positions in the archive from the top level down, whatever order the
// views list them in: sorting these gives tree order.
std::vector<int> rowPath(const ArchiveTreeModel& model, QModelIndex index)
{
    std::vector<int> path;
    for (; index.isValid(); index = index.parent())
        path.push_back(model.archiveRow(index));
    std::reverse(path.begin(), path.end());
    return path;
}

} // namespace

std::vector<RFATreeNode::Ptr> selectedNodes(const QItemSelectionModel& selection)
{
    const auto* model = qobject_cast<const ArchiveTreeModel*>(selection.model());
    if (!model)
        return {};
    std::vector<std::pair<std::vector<int>, RFATreeNode::Ptr>> found;
    for (const QModelIndex& index : selection.selection().indexes())
        if (index.column() == ArchiveTreeModel::NameColumn)
            found.emplace_back(rowPath(*model, index), model->nodeForIndex(index));
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    found.erase(std::unique(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
                found.end());
    std::vector<RFATreeNode::Ptr> nodes;
    nodes.reserve(found.size());
    for (auto& entry : found)
        nodes.push_back(std::move(entry.second));
    return nodes;
}

QItemSelectionModel* showInViews(ArchiveTreeModel& model, ArchiveColumnView& browser, ArchiveOutlineView& outline)
{
    browser.setModel(&model);
    outline.setModel(&model);
    auto* shared = new QItemSelectionModel(&model, &model);
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(&browser), static_cast<QAbstractItemView*>(&outline)}) {
        QItemSelectionModel* own = view->selectionModel();
        view->setSelectionModel(shared);
        if (own && own != shared)
            own->deleteLater();
    }
    return shared;
}

} // namespace larkspan
