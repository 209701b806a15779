#include "model/RFATreeNode.h"

#include "model/ChangeAnnouncement.h"
#include "model/ChangeHub.h"
#include "model/RFATreeEnumerator.h"
#include "model/UndoHistory.h"
#include "format/StoredContent.h"
#include "fs/FileWrapper.h"

#include <stdexcept>
#include <utility>

namespace larkspan {

RFATreeNode::RFATreeNode(Token, std::string name, SharedBytes data, const Ptr& parent)
    : parent_(parent), data_(std::move(data)), name_(std::move(name))
{
    if (parent) {
        undoManager_ = parent->undoManager_;
        changeHub_ = parent->changeHub_;
    }
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

RFATreeNode::Ptr RFATreeNode::initWithStoredContent(std::shared_ptr<const StoredContent> stored, std::string name,
                                                    const Ptr& parent)
{
    if (!stored)
        throw std::invalid_argument("A file node needs bytes");
    Ptr node = std::make_shared<RFATreeNode>(Token{}, std::move(name), nullptr, parent);
    node->stored_ = std::move(stored);
    return node;
}

void RFATreeNode::setParent(const Ptr& parent)
{
    ChangeAnnouncement change(*this, NodeProperty::Parent);
    parent_ = parent;
    change.finish();
}

void RFATreeNode::setName(std::string name)
{
    ChangeAnnouncement change(*this, NodeProperty::Name);
    std::string old = std::exchange(name_, std::move(name));
    if (const std::shared_ptr<UndoHistory> history = undoManager()) {
        history->registerUndo([self = shared_from_this(), old = std::move(old)]() mutable {
            self->setName(std::move(old));
        });
    }
    change.finish();
}

void RFATreeNode::setData(SharedBytes data)
{
    if (!isLeaf() || !data)
        throw std::logic_error("Only a file's bytes can be replaced, and only by bytes");
    ChangeAnnouncement change(*this, NodeProperty::Data);
    image_.reset();
    // Bytes given back (by an undo) are the stored ones again.
    data_ = stored_ && data == stored_->decoded() ? nullptr : std::move(data);
    change.finish();
}

void RFATreeNode::setUndoManager(const std::shared_ptr<UndoHistory>& history)
{
    spreadContext(history, changeHub());
}

void RFATreeNode::setChangeHub(const std::shared_ptr<ChangeHub>& hub)
{
    std::vector<RFATreeNode*> pending{this};
    while (!pending.empty()) {
        RFATreeNode* node = pending.back();
        pending.pop_back();
        node->changeHub_ = hub;
        for (const Ptr& child : node->children_)
            pending.push_back(child.get());
    }
}

void RFATreeNode::spreadContext(const std::shared_ptr<UndoHistory>& history, const std::shared_ptr<ChangeHub>& hub)
{
    changeHub_ = hub;
    ChangeAnnouncement change(*this, NodeProperty::UndoManager);
    undoManager_ = history;
    change.finish();
    for (const Ptr& child : children_)
        child->spreadContext(history, hub);
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
        return size();
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

void RFATreeNode::renumberChildrenFrom(std::size_t index)
{
    for (std::size_t i = index; i < children_.size(); ++i)
        children_[i]->indexInParent_ = i;
}

void RFATreeNode::insertObject(const Ptr& child, std::size_t index)
{
    if (index > children_.size())
        throw std::out_of_range("Insertion index beyond the end of the children");
    if (isLeaf())
        throw std::logic_error("A file cannot hold children");
    if (child.get() == this || isDescendantOf(*child))
        throw std::logic_error("A folder cannot be placed inside itself");
    if (child->indexInParent())
        throw std::logic_error("A node must leave its folder before it enters another");
    ChangeAnnouncement change(*this, NodeProperty::Children, ChangeKind::Insertion, index);
    children_.insert(children_.begin() + static_cast<std::ptrdiff_t>(index), child);
    renumberChildrenFrom(index);
    if (const std::shared_ptr<UndoHistory> history = undoManager()) {
        history->registerUndo([self = shared_from_this(), index] { self->removeObjectFromChildrenAtIndex(index); });
    }
    child->spreadContext(undoManager(), changeHub());
    child->setParent(shared_from_this());
    change.finish();
}

void RFATreeNode::removeObjectFromChildrenAtIndex(std::size_t index)
{
    if (index >= children_.size())
        throw std::out_of_range("Removal index beyond the end of the children");
    ChangeAnnouncement change(*this, NodeProperty::Children, ChangeKind::Removal, index);
    if (const std::shared_ptr<UndoHistory> history = undoManager()) {
        history->registerUndo([self = shared_from_this(), child = children_[index], index] {
            self->insertObject(child, index);
        });
    }
    children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(index));
    renumberChildrenFrom(index);
    change.finish();
}

bool RFATreeNode::removeChild(const RFATreeNode& child)
{
    const std::optional<std::size_t> index = child.indexInParent();
    if (!index || child.parent_.lock().get() != this)
        return false;
    removeObjectFromChildrenAtIndex(*index);
    return true;
}

std::optional<std::size_t> RFATreeNode::indexInParent() const
{
    const Ptr folder = parent();
    if (!folder || indexInParent_ >= folder->children_.size() ||
        folder->children_[indexInParent_].get() != this)
        return std::nullopt;
    return indexInParent_;
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

std::vector<RFATreeNode::Ptr> RFATreeNode::nodesMatchingPredicate(const Predicate& predicate)
{
    std::vector<Ptr> matches;
    std::vector<RFATreeNode*> pending{this};
    while (!pending.empty()) {
        RFATreeNode* node = pending.back();
        pending.pop_back();
        if (predicate(*node))
            matches.push_back(node->shared_from_this());
        for (auto child = node->children_.rbegin(); child != node->children_.rend(); ++child)
            pending.push_back(child->get());
    }
    return matches;
}

RFATreeNode::Ptr RFATreeNode::copy() const
{
    Ptr copied = std::make_shared<RFATreeNode>(Token{}, name_, data_, nullptr);
    copied->stored_ = stored_;
    copied->children_.reserve(children_.size());
    for (const Ptr& child : children_) {
        Ptr childCopy = child->copy();
        childCopy->parent_ = copied;
        childCopy->indexInParent_ = copied->children_.size();
        copied->children_.push_back(std::move(childCopy));
    }
    copied->setUndoManager(undoManager());
    return copied;
}

ChangeValue RFATreeNode::valueForProperty(NodeProperty property) const
{
    switch (property) {
    case NodeProperty::Name:
        return name_;
    case NodeProperty::Parent:
        return parent();
    case NodeProperty::Data:
        return data();
    case NodeProperty::Contents:
        if (std::optional<std::string> text = contents())
            return std::move(*text);
        return {};
    case NodeProperty::Image:
        return image_;
    case NodeProperty::IsText:
        return isText();
    case NodeProperty::IsImage:
        return isImage();
    case NodeProperty::FullPath:
        return fullPath();
    case NodeProperty::FullSize:
        return fullSize();
    case NodeProperty::Children:
    case NodeProperty::UndoManager:
    case NodeProperty::FlattenedTree:
        break;
    }
    return {};
}

Result<FileWrapper> RFATreeNode::fileWrapper() const
{
    if (const Result<void> loaded = loadContents(*this); !loaded)
        return loaded.error();
    return wrapperOfReadBytes();
}

FileWrapper RFATreeNode::wrapperOfReadBytes() const
{
    FileWrapper wrapper{name_, data(), {}};
    if (isLeaf())
        return wrapper;
    // Of two children with one name, the later one is kept: a folder on disk
    // cannot hold both.
    for (const Ptr& child : children_)
        wrapper.entries.insert_or_assign(child->name_, child->wrapperOfReadBytes());
    return wrapper;
}

} // namespace larkspan
