#include "tree/RFATreeNode.h"

#include "tree/RFATreeEnumerator.h"

#include <stdexcept>

namespace larkspan {

RFATreeNode::RFATreeNode(Token, std::string name, SharedBytes data, const Ptr& parent)
    : parent_(parent), data_(std::move(data)), name_(std::move(name))
{
}

RFATreeNode::Ptr RFATreeNode::init()
{
    return initAsDirectory("bf1942");
}

RFATreeNode::Ptr RFATreeNode::initAsDirectory(std::string name, const Ptr& parent)
{
    return std::make_shared<RFATreeNode>(Token{}, std::move(name), nullptr, parent);
}

RFATreeNode::Ptr RFATreeNode::initWithData(SharedBytes data, std::string name, const Ptr& parent)
{
    if (!data)
        throw std::invalid_argument("A file node needs bytes");
    return std::make_shared<RFATreeNode>(Token{}, std::move(name), std::move(data), parent);
}

void RFATreeNode::setParent(const Ptr& parent)
{
    parent_ = parent;
}

void RFATreeNode::setName(std::string name)
{
    name_ = std::move(name);
}

void RFATreeNode::setData(SharedBytes data)
{
    if (!isLeaf() || !data)
        throw std::logic_error("Only a file's bytes can be replaced, and only by bytes");
    data_ = std::move(data);
}

std::uint64_t RFATreeNode::leafCount() const
{
    if (isLeaf())
        return 1;
    std::uint64_t count = 0;
    for (const Ptr& child : children_)
        count += child->leafCount();
    return count;
}

std::uint64_t RFATreeNode::fullSize() const
{
    if (isLeaf())
        return data_->size();
    std::uint64_t size = 0;
    for (const Ptr& child : children_)
        size += child->fullSize();
    return size;
}

std::string RFATreeNode::fullPath() const
{
    std::string path = parent_.expired() ? std::string() : parent()->fullPath();
    path += name_;
    if (!isLeaf())
        path += '/';
    return path;
}

FlattenedTree RFATreeNode::flattenedTree()
{
    FlattenedTree tree{shared_from_this(), {}};
    tree.children.reserve(children_.size());
    for (const Ptr& child : children_)
        tree.children.push_back(child->flattenedTree());
    return tree;
}

const RFATreeNode::Ptr& RFATreeNode::objectInChildrenAtIndex(std::size_t index) const
{
    if (index >= children_.size())
        throw std::out_of_range("Child index beyond the end of the children");
    return children_[index];
}

void RFATreeNode::insertObject(const Ptr& child, std::size_t index)
{
    if (index > children_.size())
        throw std::out_of_range("Insertion index beyond the end of the children");
    if (isLeaf())
        throw std::logic_error("A file cannot hold children");
    children_.insert(children_.begin() + static_cast<std::ptrdiff_t>(index), child);
    child->setParent(shared_from_this());
}

void RFATreeNode::removeObjectFromChildrenAtIndex(std::size_t index)
{
    if (index >= children_.size())
        throw std::out_of_range("Removal index beyond the end of the children");
    children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(index));
}

RFATreeNode::Ptr RFATreeNode::childWithName(std::string_view name) const
{
    for (const Ptr& child : children_)
        if (child->name_ == name)
            return child;
    return nullptr;
}

bool RFATreeNode::hasChildWithName(std::string_view name, bool* isDirectory) const
{
    const Ptr child = childWithName(name);
    if (child && isDirectory)
        *isDirectory = !child->isLeaf();
    return child != nullptr;
}

RFATreeNode::Ptr RFATreeNode::childWithPathArray(std::span<const std::string> pathArray) const
{
    if (pathArray.empty())
        return nullptr;
    Ptr child = childWithName(pathArray.front());
    if (pathArray.size() == 1 || !child)
        return child;
    return child->childWithPathArray(pathArray.subspan(1));
}

void RFATreeNode::addFileWithData(SharedBytes data, std::span<const std::string> pathArray)
{
    if (isLeaf())
        return;
    if (pathArray.empty())
        throw std::out_of_range("An entry path needs at least a file name");
    if (pathArray.size() == 1) {
        appendChild(initWithData(std::move(data), pathArray.front(), shared_from_this()));
        return;
    }
    Ptr folder;
    for (const Ptr& child : children_) {
        if (!child->isLeaf() && child->name_ == pathArray.front()) {
            folder = child;
            break;
        }
    }
    if (!folder) {
        folder = initAsDirectory(pathArray.front(), shared_from_this());
        appendChild(folder);
    }
    folder->addFileWithData(std::move(data), pathArray.subspan(1));
}

void RFATreeNode::addFileWithData(SharedBytes data, std::string_view path)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = path.find('/', start);
        names.emplace_back(path.substr(start, slash - start));
        if (slash == std::string_view::npos)
            break;
        start = slash + 1;
    }
    addFileWithData(std::move(data), names);
}

void RFATreeNode::removeChildNamed(std::string_view name)
{
    for (std::size_t i = 0; i < children_.size();) {
        if (children_[i]->name_ == name)
            removeObjectFromChildrenAtIndex(i);
        else
            ++i;
    }
}

bool RFATreeNode::isDescendantOf(const RFATreeNode& node) const
{
    for (Ptr ancestor = parent(); ancestor; ancestor = ancestor->parent())
        if (ancestor.get() == &node)
            return true;
    return false;
}

RFATreeEnumerator RFATreeNode::leafEnumerator()
{
    return RFATreeEnumerator(shared_from_this());
}

} // namespace larkspan
