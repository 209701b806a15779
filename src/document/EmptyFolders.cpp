#include "document/EmptyFolders.h"

namespace larkspan {

namespace {

// Whether `node` is or holds a file; the topmost folders that hold none
// are added to `empty`.
bool holdsFile(const RFATreeNode& node, std::vector<std::string>& empty)
{
    if (node.isLeaf())
        return true;
    const std::size_t before = empty.size();
    bool any = false;
    for (std::size_t i = 0; i < node.countOfChildren(); ++i)
        any = holdsFile(*node.objectInChildrenAtIndex(i), empty) || any;
    if (!any) {
        // The folder goes as a whole: its subfolders are not named apart.
        empty.resize(before);
        empty.push_back(node.fullPath());
    }
    return any;
}

} // namespace

std::vector<std::string> foldersLeftOutOnSave(const std::vector<RFATreeNode::Ptr>& topLevelNodes)
{
    std::vector<std::string> empty;
    for (const RFATreeNode::Ptr& top : topLevelNodes)
        holdsFile(*top, empty);
    return empty;
}

} // namespace larkspan
