#pragma once

#include "app/views/EntryIcons.h"
#include "model/RFATreeNode.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <vector>

class QDropEvent;
class QMimeData;
class QWidget;

namespace larkspan {

class MyDocument;
class RFAApplicationDelegate;
class RFAArchive;
class RFAPasteboardOwner;
class TrashWatch;
struct PasteboardEntries;

// Where a drag started: drags from the results list and the path bar
// refresh the search results once they end.
enum class DragOrigin { Tree, SearchResults };

// What the user's gesture allows: the source's actions, narrowed to Copy
// while the copy modifier is held.
Qt::DropActions allowedActions(const QDropEvent& event);

// The drag and drop of one archive window: entries written for a drag or
// the clipboard, drops validated and carried out, drags ended (and entries
// dropped on the trash deleted), Cut, Copy and Paste.
class RFADragAndDropDelegate : public QObject {
    Q_OBJECT
public:
    RFADragAndDropDelegate(MyDocument& document, RFAApplicationDelegate& application);

    MyDocument& document() const { return document_; }

    // The entries on a pasteboard of their own, recorded as the drag's
    // entries until it ends.
    RFAPasteboardOwner* writeNodes(const std::vector<RFATreeNode::Ptr>& nodes);
    const std::vector<RFATreeNode::Ptr>& draggedNodes() const { return draggedNodes_; }

    // Runs a drag of the entries from `source` until it ends.
    void startDrag(QWidget* source, const std::vector<RFATreeNode::Ptr>& nodes, DragOrigin origin);
    // The end of a drag: `target` is the widget of ours that took the drop
    // (null for another program, or none), `pasteboard` what the drag
    // carried, whose files other programs may ask for even after this. A
    // drop in one of our windows was carried out there; entries whose files
    // are moved to the trash, now or later while this window is open, are
    // deleted; anything else was a copy.
    void dragEnded(QObject* target, const RFAPasteboardOwner& pasteboard, DragOrigin origin);

    // What a drop of `data` onto the folder `node` would do: Move, Copy or
    // nothing (Qt::IgnoreAction).
    Qt::DropAction validateDrop(const QMimeData& data, Qt::DropActions allowed, const RFATreeNode::Ptr& node) const;
    // Carries the drop out at `index` of the folder's children (negative:
    // its front); false when refused. A name conflict may still be asked.
    bool acceptDrop(const QMimeData& data, Qt::DropActions allowed, const RFATreeNode::Ptr& node, int index);

    void copy(bool cut);
    void paste();
    // The clipboard holds entries or files.
    static bool clipboardHoldsEntries();

private:
    // The archive the entries of a pasteboard come from.
    struct Source {
        MyDocument* window = nullptr;               // an open window, perhaps this one
        std::shared_ptr<const RFAArchive> fromDisk; // read anew: its window has closed
        const std::vector<RFATreeNode::Ptr>* topLevelNodes() const;
    };

    RFAPasteboardOwner* pasteboardFor(const std::vector<RFATreeNode::Ptr>& nodes, bool cut) const;
    MyDocument* openSource(const PasteboardEntries& entries) const;
    // Null, having shown why when there is something to say, when the
    // source cannot be found or an entry no longer resolves.
    std::optional<Source> findSource(const PasteboardEntries& entries) const;
    std::optional<std::vector<RFATreeNode::Ptr>> resolve(const Source& source, const QStringList& paths) const;
    void afterMovingFrom(const Source& source) const;
    // Paste found the source, but not the entries: says so, and why.
    void tellEntriesAreGone(const PasteboardEntries& entries, const Source& source) const;
    void deleteTrashedEntries(const std::vector<RFATreeNode::Ptr>& entries);
    void refreshSearch(DragOrigin origin) const;

    MyDocument& document_;
    RFAApplicationDelegate& application_;
    std::vector<RFATreeNode::Ptr> draggedNodes_;
    TrashWatch* trashWatch_;
    mutable EntryIcons icons_;
};

} // namespace larkspan
