#pragma once

#include "base/Translator.h"
#include "document/BrowseState.h"
#include "document/DocumentCommands.h"
#include "document/DocumentHost.h"
#include "document/DocumentInsertion.h"
#include "document/DocumentProperty.h"
#include "document/EntryList.h"
#include "document/GameLaunch.h"
#include "fs/FileIO.h"
#include "model/RFAArchive.h"
#include "model/RFATreeNode.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace larkspan {

class ChangeHub;
class UndoHistory;

// One open archive without its windows: the tree, its undo history and
// change hub, where it lives on disk and how it is read and written, the
// observers of its document-level properties and the launch attributes its
// location gives. The window shows what its parts say (selection, browse
// state, search results) and hands the commands and the insertion the
// user's answers through the DocumentHost.
class ArchiveDocument : public std::enable_shared_from_this<ArchiveDocument> {
public:
    // A new, untitled document: an empty archive with its "bf1942" folder.
    static std::shared_ptr<ArchiveDocument> create(DocumentHost& host, Translator translate = nullptr);
    ArchiveDocument(DocumentHost& host, Translator translate);
    // The parts hold on to the document they belong to.
    ArchiveDocument(const ArchiveDocument&) = delete;
    ArchiveDocument& operator=(const ArchiveDocument&) = delete;

    const RFAArchive& archive() const { return *archive_; }
    // The top-level nodes the tree views show.
    const std::vector<RFATreeNode::Ptr>& topLevelNodes() const { return archive_->rootNodes(); }
    const std::shared_ptr<UndoHistory>& undoHistory() const { return history_; }
    const std::shared_ptr<ChangeHub>& changeHub() const { return hub_; }
    const std::optional<std::filesystem::path>& fileLocation() const { return location_; }
    bool isModified() const;

    // Replaces the archive with the one in `bytes` (a copy is kept), read
    // from `location`; on failure nothing changes and the error says why.
    // Entries are decoded when first read (RFAArchive::Decoding::WhenRead).
    Result<void> readFromData(ByteSpan bytes, const std::optional<std::filesystem::path>& location,
                              const ReadProgress& progress = {});
    Result<void> readFromFile(const std::filesystem::path& location, const ReadProgress& progress = {});
    // The bytes a save writes, or nothing when they would not fit the format.
    std::optional<Bytes> dataOfType() const;
    // Writes the archive atomically, compressed when compressWhenSaving();
    // on success this is the saved state and the document's location. The
    // old file stays whole on failure, and when the progress callback
    // stopped the save (Cancelled): the document is then still modified.
    Result<void> saveToFile(const std::filesystem::path& location, const WriteProgress& progress = {},
                            DiskCalls& disk = realDisk());

    // Saving compresses every entry (at the best level): true for an archive
    // read compressed, false for one read uncompressed and for a new one,
    // until the user chooses.
    bool compressWhenSaving() const { return compressWhenSaving_; }
    void setCompressWhenSaving(bool compress) { compressWhenSaving_ = compress; }

    // Observation of the document-level properties.
    using Observer = Announce;
    std::uint64_t addObserver(Observer observer);
    void removeObserver(std::uint64_t id);

    // The node hangs in one of this document's trees.
    bool isInTree(const RFATreeNode& node) const;

    // Game launch, worked out from the location when a file is read: the
    // game to start for Run; nothing when it cannot run.
    bool saveAndRunEnabled() const { return launch_.canRunFile; }
    std::optional<LaunchCommand> runCommand() const;

    // The parts.
    EntryList& selection() { return selection_; }
    const EntryList& selection() const { return selection_; }
    BrowseState& browse() { return browse_; }
    const BrowseState& browse() const { return browse_; }
    const EntryList& foundEntries() const { return foundEntries_; }
    DocumentCommands& commands() { return commands_; }
    DocumentInsertion& insertion() { return insertion_; }
    const DocumentInsertion& insertion() const { return insertion_; }

private:
    void announce(DocumentProperty property, bool isPrior);
    // How the parts tell this document's observers.
    Announce announcer();
    void adoptArchive(std::unique_ptr<RFAArchive> archive);
    Result<void> readFromFileBytes(SharedBytes file, const std::optional<std::filesystem::path>& location,
                                   const ReadProgress& progress);
    WriteOptions saveOptions() const;
    std::string tr(const char* text) const { return translated(translate_, text); }

    Translator translate_;
    std::unique_ptr<RFAArchive> archive_;
    std::shared_ptr<UndoHistory> history_;
    std::shared_ptr<ChangeHub> hub_;
    std::optional<std::filesystem::path> location_;
    bool compressWhenSaving_ = false;

    std::map<std::uint64_t, Observer> observers_;
    std::uint64_t nextObserver_ = 1;

    EntryList selection_;
    EntryList foundEntries_;
    BrowseState browse_;
    DocumentInsertion insertion_;
    DocumentCommands commands_;

    const LaunchEnvironment launchEnvironment_ = LaunchEnvironment::system();
    LaunchAttributes launch_;
};

} // namespace larkspan
