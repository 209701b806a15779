#pragma once

#include "base/Translator.h"
#include "document/DocumentHost.h"
#include "model/RFATreeNode.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace larkspan {

class ArchiveDocument;

// The editing commands of the archive menu and the clipboard: New Folder,
// Rename, Delete, Paste, Add Files and Extract, each one undoable step
// named after it. Those that make entries put them in the folder of the
// first selected entry.
class DocumentCommands {
public:
    DocumentCommands(ArchiveDocument& document, DocumentHost& host, Translator translate);

    // The new folder; null when there is no folder to put it in.
    RFATreeNode::Ptr createNewFolder();
    // Renames the entry as one undoable step; false, having told the user
    // why, when the name cannot be taken.
    bool renameNode(const RFATreeNode::Ptr& node, const std::string& name);
    void deleteItems();
    // Takes the entries out of their folders as one undoable step: each by
    // identity, one inside another of them with it; roots and entries no
    // longer in this document's tree stay. False when none was taken out.
    bool deleteNodes(const std::vector<RFATreeNode::Ptr>& nodes);
    // Paste: copies of the entries (or, after Cut, the entries themselves)
    // or the files and folders from disk, appended to the folder New Folder
    // would use; a beep when there is none.
    void pasteNodes(const std::vector<RFATreeNode::Ptr>& nodes, bool move);
    void pasteFiles(std::vector<std::filesystem::path> paths);
    void addFiles();
    void extractFiles();

private:
    std::optional<RFATreeNode::Ptr> destinationForNewEntries();
    std::string tr(const char* text) const { return translated(translate_, text); }

    ArchiveDocument& document_;
    DocumentHost& host_;
    Translator translate_;
};

} // namespace larkspan
