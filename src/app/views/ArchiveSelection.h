#pragma once

#include "model/RFATreeNode.h"

#include <vector>

class QItemSelectionModel;

namespace larkspan {

class ArchiveColumnView;
class ArchiveOutlineView;
class ArchiveTreeModel;

// The selected entries of the tree views, in tree order (pre-order, the
// top-level nodes in the archive's order), each once. The selection model
// must be one over an ArchiveTreeModel.
//
// Read from column 0 of the selection's indexes: the column browser selects
// only that column, so rows are not "selected" as a whole.
std::vector<RFATreeNode::Ptr> selectedNodes(const QItemSelectionModel& selection);

// Shows `model` in both views with one selection model (returned, owned by
// the model). The views are given the model before the selection model
// exists, so that each view hears of a removal before the selection model
// moves the current index away from it.
QItemSelectionModel* showInViews(ArchiveTreeModel& model, ArchiveColumnView& browser, ArchiveOutlineView& outline);

} // namespace larkspan
