#pragma once

#include "base/Bytes.h"
#include "base/Error.h"
#include "imaging/Image.h"
#include "model/NodeProperty.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace larkspan {

class ChangeHub;
class ImageDecoderTable;
class RFATreeEnumerator;
class StoredContent;
struct FileWrapper;
class UndoHistory;

// One node with its children's flattened trees nested as single elements:
// a root with file F and folder D holding G gives {root, [{F}, {D, [{G}]}]}.
struct FlattenedTree {
    std::shared_ptr<RFATreeNode> node;
    std::vector<FlattenedTree> children;
};

enum class SetContentsResult {
    Changed,
    NotText,        // the entry is no text entry: nothing changes
    BeyondLatin1,   // the text holds a character the entry cannot store: nothing changes
};

// One folder or file of an open archive. A node is a file exactly when it
// holds bytes (possibly none), a folder exactly when it does not. A file read
// from an archive holds its bytes as stored there until they are first read.
//
// Every change goes through the setters and the two children primitives:
// they announce it (with everything derived from it) to the node's change
// hub and register its inverse with the node's undo history, when it has
// them. Both spread to a subtree when it is inserted.
class RFATreeNode : public std::enable_shared_from_this<RFATreeNode> {
    struct Token {};

public:
    using Ptr = std::shared_ptr<RFATreeNode>;
    using Predicate = std::function<bool(const RFATreeNode&)>;

    RFATreeNode(Token, std::string name, SharedBytes data, const Ptr& parent);
    RFATreeNode(const RFATreeNode&) = delete;
    RFATreeNode& operator=(const RFATreeNode&) = delete;

    // A folder named "bf1942", as in a new archive.
    static Ptr init();
    // Neither factory inserts the new node into the parent's children; both
    // take the parent's undo history and change hub.
    static Ptr initAsDirectory(std::string name, const Ptr& parent = nullptr);
    static Ptr initWithData(SharedBytes data, std::string name, const Ptr& parent = nullptr);
    static Ptr initWithStoredContent(std::shared_ptr<const StoredContent> stored, std::string name,
                                     const Ptr& parent = nullptr);

    Ptr parent() const { return parent_.lock(); }
    void setParent(const Ptr& parent);

    const std::string& name() const { return name_; }
    void setName(std::string name);

    // Null on a folder. Bytes still stored are decoded here; bytes that
    // cannot be decoded read as none. What writes or shows them reads them
    // with readData() (or loadContents()) first, which tells why.
    SharedBytes data() const;
    // The same, or Decompression (with the entry's name) for stored bytes
    // that cannot be decoded.
    Result<SharedBytes> readData() const;
    // The length of the bytes, without decoding them; 0 on a folder.
    std::uint64_t size() const;
    // Where the bytes lie in the file they were read from, while the node
    // still holds those very bytes; null otherwise.
    std::shared_ptr<const StoredContent> storedContent() const { return data_ ? nullptr : stored_; }
    // Files only: a folder never becomes a file by a data change. Drops the
    // cached picture; registers no undo.
    void setData(SharedBytes data);

    std::shared_ptr<UndoHistory> undoManager() const { return undoManager_.lock(); }
    // Gives the node and its whole subtree this history.
    void setUndoManager(const std::shared_ptr<UndoHistory>& history);
    std::shared_ptr<ChangeHub> changeHub() const { return changeHub_.lock(); }
    // Gives the node and its whole subtree this hub.
    void setChangeHub(const std::shared_ptr<ChangeHub>& hub);

    bool isLeaf() const { return data_ != nullptr || stored_ != nullptr; }
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
    // Removes this very child (not its same-named siblings); false when it
    // is not a child of this node.
    bool removeChild(const RFATreeNode& child);
    // Position among the parent's children, in constant time; nothing when
    // the node is not (any more) among them.
    std::optional<std::size_t> indexInParent() const;

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
    // Every node of the subtree, this one included, that satisfies the
    // predicate, in pre-order.
    std::vector<Ptr> nodesMatchingPredicate(const Predicate& predicate);

    // A new, unattached deep copy: same names, bytes and order, sharing
    // nothing mutable; it keeps this node's undo history until inserted.
    Ptr copy() const;

    // The node and its subtree described as files and folders, their bytes
    // decoded on the worker threads first (see loadContents).
    Result<FileWrapper> fileWrapper() const;

    // Entry content, decided by the name's extension (exact, case-sensitive).
    std::string extension() const;
    bool isText() const;
    bool isImage() const;
    // The bytes read as ISO 8859-1 (as UTF-8); nothing unless isText().
    std::optional<std::string> contents() const;
    SetContentsResult setContents(std::string_view text);
    // The decoded picture, cached until the bytes change; null when the
    // entry is no picture or cannot be decoded (failures are not cached).
    // The decoders are asked only when nothing is cached.
    SharedImage image(const ImageDecoderTable& decoders);

    // The current value of a property, as change observers receive it.
    ChangeValue valueForProperty(NodeProperty property) const;

private:
    friend class ChangeAnnouncement;

    void spreadContext(const std::shared_ptr<UndoHistory>& history, const std::shared_ptr<ChangeHub>& hub);
    void renumberChildrenFrom(std::size_t index);
    FileWrapper wrapperOfReadBytes() const;

    std::weak_ptr<RFATreeNode> parent_;
    std::vector<Ptr> children_;
    SharedBytes data_; // null while the bytes are the stored ones
    std::shared_ptr<const StoredContent> stored_;
    std::string name_;
    SharedImage image_;
    std::weak_ptr<UndoHistory> undoManager_;
    std::weak_ptr<ChangeHub> changeHub_;
    std::size_t indexInParent_ = 0;
};

// Decodes, on `workers` threads (0 for one per core), the stored bytes of
// every file below these nodes, so that reading them later costs nothing; the
// first that cannot be decoded, in tree order, gives its error.
Result<void> loadContents(std::span<const RFATreeNode::Ptr> nodes, unsigned workers = 0);
Result<void> loadContents(const RFATreeNode& node, unsigned workers = 0);

} // namespace larkspan
