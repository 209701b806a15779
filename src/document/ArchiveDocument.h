#pragma once

#include "model/RFAArchive.h"
#include "document/DocumentHost.h"
#include "document/GameLaunch.h"
#include "base/Translator.h"
#include "fs/FileIO.h"
#include "model/RFATreeNode.h"

#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace larkspan {

class ChangeHub;
class UndoHistory;

// Document-level properties whose changes observers are told of, before
// (isPrior) and after.
enum class DocumentProperty {
    Archive, // replaced wholesale by reading a file
    ViewMode,
    TabToShow,
    FoundEntries,
    SaveAndRunEnabled,
    Availability, // canExtract, canDelete, canAddFiles, canMakeNewFolder
};

// Commands whose availability the document decides.
enum class DocumentAction {
    DeleteItems,
    CreateNewFolder,
    AddFiles,
    ExtractFiles,
    Run,
    SaveAndRun,
    UseBrowserView,
    UseListView,
};

// One component of the path shown for the single selected search result.
struct PathComponent {
    std::string title;
    RFATreeNode::Ptr node;
    bool isFile = false; // shown with the file-type icon of its extension
};

// One open archive without its windows: the tree, its undo history and
// change hub, the browse/search state, the selection the window reports,
// the commands, the resumable insertion, the status line and the launch
// attributes. The window shows what it says and hands it the user's
// answers through the DocumentHost.
class ArchiveDocument : public std::enable_shared_from_this<ArchiveDocument> {
public:
    // A new, untitled document: an empty archive with its "bf1942" folder.
    static std::shared_ptr<ArchiveDocument> create(DocumentHost& host, Translator translate = nullptr);
    ArchiveDocument(DocumentHost& host, Translator translate);

    const RFAArchive& archive() const { return *archive_; }
    // The top-level nodes the tree views show.
    const std::vector<RFATreeNode::Ptr>& topLevelNodes() const { return archive_->rootNodes(); }
    const std::shared_ptr<UndoHistory>& undoHistory() const { return history_; }
    const std::shared_ptr<ChangeHub>& changeHub() const { return hub_; }
    const std::optional<std::filesystem::path>& fileLocation() const { return location_; }
    bool isModified() const;

    // Replaces the archive with the one in `bytes`, read from `location`;
    // on failure nothing changes and the error says why.
    Result<void> readFromData(ByteSpan bytes, const std::optional<std::filesystem::path>& location,
                              const ReadProgress& progress = {});
    Result<void> readFromFile(const std::filesystem::path& location, const ReadProgress& progress = {});
    // The archive's bytes, or nothing when they would not fit the format.
    std::optional<Bytes> dataOfType() const;
    // Writes the archive atomically; on success this is the saved state and
    // the document's location. The old file stays whole on failure.
    Result<void> saveToFile(const std::filesystem::path& location, const ProgressCallback& progress = {},
                            DiskCalls& disk = realDisk());

    // Observation of the document-level properties.
    using Observer = std::function<void(DocumentProperty property, bool isPrior)>;
    std::uint64_t addObserver(Observer observer);
    void removeObserver(std::uint64_t id);

    // The selection as the window reports it: tree order in the tree views,
    // list order in the results.
    void setSelection(std::vector<RFATreeNode::Ptr> selection);
    const std::vector<RFATreeNode::Ptr>& selection() const { return selection_; }

    // View mode: 0 the column browser, 1 the outline list.
    std::uint32_t viewMode() const { return viewMode_; }
    void setViewMode(std::uint32_t mode);
    // 2 while searching, otherwise the view mode.
    int tabToShow() const { return inSearchMode_ ? 2 : static_cast<int>(viewMode_); }
    bool inSearchMode() const { return inSearchMode_; }

    // Search.
    void search(std::string text);
    void cancelSearch();
    const std::string& searchText() const { return searchText_; }
    void setSearchDefaults(bool searchFilenames, bool searchFileContents);
    void updateSearchPredicate();
    const std::vector<RFATreeNode::Ptr>& foundEntries() const { return foundEntries_; }
    // The path of the one selected result; empty unless exactly one is selected.
    std::vector<PathComponent> searchPathComponents() const;

    std::string statusBarText() const;

    // Availability.
    bool canExtract() const;
    bool canDelete() const;
    bool canAddFiles() const;
    bool canMakeNewFolder() const;
    bool saveAndRunEnabled() const { return launch_.canRunFile; }
    bool validateAction(DocumentAction action) const;

    // Commands.
    void createNewFolder();
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
    // Writes the entries into `folder`, never outside it; the full paths of
    // the files written, in the order written. What could not be written
    // goes to `problems`.
    std::vector<std::filesystem::path> namesForFiles(const std::vector<RFATreeNode::Ptr>& entries,
                                                     const std::filesystem::path& folder,
                                                     std::vector<std::string>* problems = nullptr);

    // Insertions: one at a time per document, resumed by the answers to the
    // replacement question.
    void startAddingFilesWithNames(std::vector<std::filesystem::path> paths, RFATreeNode::Ptr node, std::size_t index);
    void startCoypingNodes(const std::vector<RFATreeNode::Ptr>& nodes, RFATreeNode::Ptr node, std::size_t index);
    void startMovingNodes(const std::vector<RFATreeNode::Ptr>& nodes, RFATreeNode::Ptr node, std::size_t index);
    bool isInserting() const { return insertion_.has_value(); }
    // The node hangs in one of this document's trees.
    bool isInTree(const RFATreeNode& node) const;

    // Game launch: worked out when a file is read.
    const LaunchAttributes& launchAttributes() const { return launch_; }
    // The game to start for Run; nothing when it cannot run.
    std::optional<LaunchCommand> runCommand() const;
    void setLaunchEnvironment(LaunchEnvironment environment) { launchEnvironment_ = std::move(environment); }

private:
    struct MovedNode {
        RFATreeNode::Ptr node;
        std::weak_ptr<RFATreeNode> origin; // where it came from, to go back when kept out
        std::size_t originIndex = 0;
    };
    struct Insertion {
        RFATreeNode::Ptr destination;
        std::size_t index = 0;
        std::deque<std::filesystem::path> paths;
        std::deque<MovedNode> nodes;
        bool fromDisk = false;
        const char* actionName = "";
        bool replaceAll = false;
        bool leaveAll = false;
        bool replaceFirst = false;
        std::vector<std::string> problems;
    };

    void announce(DocumentProperty property, bool isPrior);
    void adoptArchive(std::unique_ptr<RFAArchive> archive);
    std::optional<RFATreeNode::Ptr> destinationForNewEntries();
    std::string tr(const char* text) const { return translated(translate_, text); }

    void startInsertion(Insertion insertion);
    void continueInsertion();
    void askAboutConflict(const std::string& name, bool existingIsFolder);
    void answerConflict(ReplaceAnswer answer);
    void dropFirstPending();
    void removeConflicting(const std::string& name);
    void finishInsertion();

    DocumentHost& host_;
    Translator translate_;
    std::unique_ptr<RFAArchive> archive_;
    std::shared_ptr<UndoHistory> history_;
    std::shared_ptr<ChangeHub> hub_;
    std::optional<std::filesystem::path> location_;

    std::map<std::uint64_t, Observer> observers_;
    std::uint64_t nextObserver_ = 1;

    std::vector<RFATreeNode::Ptr> selection_;
    std::uint32_t viewMode_ = 0;
    bool inSearchMode_ = false;
    std::string searchText_;
    bool searchFilenames_ = false;
    bool searchFileContents_ = false;
    std::vector<RFATreeNode::Ptr> foundEntries_;

    std::optional<Insertion> insertion_;

    LaunchEnvironment launchEnvironment_ = LaunchEnvironment::system();
    LaunchAttributes launch_;
};

} // namespace larkspan
