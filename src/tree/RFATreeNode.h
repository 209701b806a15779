#pragma once

#include "tree/Bytes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace larkspan {

class RFATreeNode;
class RFATreeEnumerator;

// One node with its children's flattened trees nested as single elements:
// a root with file F and folder D holding G gives {root, [{F}, {D, [{G}]}]}.
struct FlattenedTree {
    std::shared_ptr<RFATreeNode> node;
    std::vector<FlattenedTree> children;
};

// One folder or file of an open archive. A node is a file exactly when it
// holds bytes (possibly none), a folder exactly when it does not.
class RFATreeNode : public std::enable_shared_from_this<RFATreeNode> {
    struct Token {};

public:
    using Ptr = std::shared_ptr<RFATreeNode>;

    RFATreeNode(Token, std::string name, SharedBytes data, const Ptr& parent);
    RFATreeNode(const RFATreeNode&) = delete;
    RFATreeNode& operator=(const RFATreeNode&) = delete;

    // A folder named "bf1942", as in a new archive.
    static Ptr init();
    // Neither factory inserts the new node into the parent's children.
    static Ptr initAsDirectory(std::string name, const Ptr& parent = nullptr);
    static Ptr initWithData(SharedBytes data, std::string name, const Ptr& parent = nullptr);

    Ptr parent() const { return parent_.lock(); }
    void setParent(const Ptr& parent);

    const std::string& name() const { return name_; }
    void setName(std::string name);

    // Null on a folder.
    const SharedBytes& data() const { return data_; }
    // Files only: a folder never becomes a file by a data change.
    void setData(SharedBytes data);

    bool isLeaf() const { return data_ != nullptr; }
    std::uint64_t leafCount() const;
    std::uint64_t fullSize() const;
    std::string fullPath() const;
    FlattenedTree flattenedTree();

    std::size_t countOfChildren() const { return children_.size(); }
    // Range errors (std::out_of_range) for an index at or past the count.
    const Ptr& objectInChildrenAtIndex(std::size_t index) const;
    // Index may equal the count (append); beyond it is a range error.
    void insertObject(const Ptr& child, std::size_t index);
    void removeObjectFromChildrenAtIndex(std::size_t index);
    void appendChild(const Ptr& child) { insertObject(child, countOfChildren()); }

    // First child in child order with exactly this name.
    Ptr childWithName(std::string_view name) const;
    bool hasChildWithName(std::string_view name, bool* isDirectory = nullptr) const;
    Ptr childWithPathArray(std::span<const std::string> pathArray) const;

    // Creates the file at the relative path, making folders on the way;
    // an existing file of the same name is kept beside the new one.
    // Ignored on a file. An empty path is a caller error (std::out_of_range).
    void addFileWithData(SharedBytes data, std::span<const std::string> pathArray);
    void addFileWithData(SharedBytes data, std::string_view path);

    // Removes every child of that name (Replace relies on this).
    void removeChildNamed(std::string_view name);

    bool isDescendantOf(const RFATreeNode& node) const;

    RFATreeEnumerator leafEnumerator();

private:
    std::weak_ptr<RFATreeNode> parent_;
    std::vector<Ptr> children_;
    SharedBytes data_;
    std::string name_;
};

} // namespace larkspan
