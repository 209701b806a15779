#pragma once

#include <set>
#include <string>

class QModelIndex;
class QTreeView;

namespace larkspan {

class ModTreeModel;

// What the user made of a mod's outline (folders expanded, items selected,
// the current one, how far it is scrolled), kept by path across the model's
// reset when the mod is read again; what no longer exists is let go.
class OutlineState {
public:
    OutlineState(const QTreeView& outline, const ModTreeModel& model);
    void restore(QTreeView& outline, const ModTreeModel& model) const;

private:
    void collectExpanded(const QTreeView& outline, const ModTreeModel& model, const QModelIndex& parent);
    void restoreBelow(QTreeView& outline, const ModTreeModel& model, const QModelIndex& parent) const;

    std::set<std::string> expanded_, selected_;
    std::string current_;
    int scrolled_ = 0;
};

} // namespace larkspan
