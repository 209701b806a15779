#pragma once

#include "base/Bytes.h"
#include "model/RFATreeNode.h"

#include <string>

namespace larkspan {

class ArchiveDocument;

// What became of a file another program changed, taken back into the archive.
enum class TakeBack {
    Replaced,   // the entry holds the file's bytes
    AddedAsNew, // the entry had left the archive: a new one stands in its old folder
    FolderGone, // neither the entry nor its old folder is in the archive: nothing changed
    NameTaken,  // the entry left, and another of its name is in the folder: nothing changed
};

struct TakeBackResult {
    TakeBack outcome;
    RFATreeNode::Ptr entry; // the entry holding the bytes now; null when nothing changed
};

// Takes the bytes back as one undoable step named "Open With": into the
// entry while it is in the document's tree, else as a new entry `name` in
// `folder`, the folder it was in when it was opened.
TakeBackResult takeBackExternalEdit(ArchiveDocument& document, const RFATreeNode::Ptr& entry,
                              const RFATreeNode::Ptr& folder, const std::string& name, SharedBytes bytes);

// Replaces the entry's bytes, registering the inverse with its undo history
// (undoing registers the redo the same way).
void replaceEntryBytes(const RFATreeNode::Ptr& entry, SharedBytes bytes);

} // namespace larkspan
