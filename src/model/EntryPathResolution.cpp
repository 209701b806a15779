#include "model/EntryPathResolution.h"

#include <algorithm>

namespace larkspan {

namespace {

// Names between the "/"s, each kept as it is, even empty: a folder named ""
// is "a//" inside a.
std::vector<std::string_view> components(std::string_view path)
{
    std::vector<std::string_view> names;
    for (std::size_t start = 0;;) {
        const std::size_t slash = path.find('/', start);
        names.push_back(path.substr(start, slash == std::string_view::npos ? slash : slash - start));
        if (slash == std::string_view::npos)
            return names;
        start = slash + 1;
    }
}

RFATreeNode::Ptr childNamed(const RFATreeNode& folder, std::string_view name, bool wantFolder)
{
    for (std::size_t i = 0; i < folder.countOfChildren(); ++i) {
        const RFATreeNode::Ptr& child = folder.objectInChildrenAtIndex(i);
        if (child->name() == name && child->isLeaf() != wantFolder)
            return child;
    }
    return nullptr;
}

} // namespace

RFATreeNode::Ptr resolveFullPath(const std::vector<RFATreeNode::Ptr>& topLevelNodes, std::string_view fullPath)
{
    const bool namesFolder = fullPath.ends_with('/');
    if (namesFolder)
        fullPath.remove_suffix(1);
    const std::vector<std::string_view> names = components(fullPath);
    if (names.size() < 2)
        return nullptr;
    const auto top = std::find_if(topLevelNodes.begin(), topLevelNodes.end(), [&](const RFATreeNode::Ptr& node) {
        return !node->isLeaf() && node->name() == names.front();
    });
    if (top == topLevelNodes.end())
        return nullptr;
    RFATreeNode::Ptr at = *top;
    for (std::size_t i = 1; at && i < names.size(); ++i)
        at = childNamed(*at, names[i], i + 1 < names.size() || namesFolder);
    return at;
}

} // namespace larkspan
