#include "document/ArchiveDocument.h"

#include "model/ChangeHub.h"
#include "model/UndoHistory.h"

namespace larkspan {

std::shared_ptr<ArchiveDocument> ArchiveDocument::create(DocumentHost& host, Translator translate)
{
    return std::make_shared<ArchiveDocument>(host, translate);
}

ArchiveDocument::ArchiveDocument(DocumentHost& host, Translator translate)
    : translate_(translate), history_(std::make_shared<UndoHistory>()), hub_(std::make_shared<ChangeHub>()),
      selection_(announcer(), DocumentProperty::Availability),
      foundEntries_(announcer(), DocumentProperty::FoundEntries), browse_(announcer(), foundEntries_, *this),
      insertion_(*this, host, translate), commands_(*this, host, translate)
{
    adoptArchive(std::make_unique<RFAArchive>());
}

void ArchiveDocument::adoptArchive(std::unique_ptr<RFAArchive> archive)
{
    // The tree is built without history or hub, so loading registers
    // nothing; only the finished tree joins the document.
    for (const RFATreeNode::Ptr& top : archive->rootNodes()) {
        top->setChangeHub(hub_);
        top->setUndoManager(history_);
    }
    archive_ = std::move(archive);
}

bool ArchiveDocument::isModified() const
{
    return history_->isModified();
}

Result<void> ArchiveDocument::readFromData(ByteSpan bytes, const std::optional<std::filesystem::path>& location,
                                           const ReadProgress& progress)
{
    Result<std::unique_ptr<RFAArchive>> read = RFAArchive::initWithData(bytes, progress);
    if (!read)
        return read.error();
    announce(DocumentProperty::Archive, true);
    // Old undo actions refer to the old tree; they cannot apply to the new.
    history_->removeAllActions();
    selection_.clear();
    foundEntries_.clear();
    adoptArchive(std::move(*read));
    compressWhenSaving_ = archive_->readCompressed();
    history_->markClean();
    location_ = location;
    announce(DocumentProperty::Archive, false);

    announce(DocumentProperty::SaveAndRunEnabled, true);
    launch_ = location ? findLaunchAttributes(*location, launchEnvironment_) : LaunchAttributes{};
    announce(DocumentProperty::SaveAndRunEnabled, false);
    return {};
}

Result<void> ArchiveDocument::readFromFile(const std::filesystem::path& location, const ReadProgress& progress)
{
    const Result<Bytes> bytes = readWholeFile(location);
    if (!bytes)
        return bytes.error();
    return readFromData(*bytes, std::filesystem::absolute(location), progress);
}

std::optional<Bytes> ArchiveDocument::dataOfType() const
{
    return archive_->completeFileData(saveOptions());
}

WriteOptions ArchiveDocument::saveOptions() const
{
    WriteOptions options;
    if (compressWhenSaving_)
        options.compression = CompressionLevel::Best;
    return options;
}

Result<void> ArchiveDocument::saveToFile(const std::filesystem::path& location, const WriteProgress& progress,
                                         DiskCalls& disk)
{
    const std::vector<ArchiveEntry> files = archive_->entries();
    std::vector<std::uint32_t> storedSizes;
    if (const Result<void> saved = writeEntriesToFile(location, files, saveOptions(), progress, disk, &storedSizes); !saved)
        return saved;
    archive_->rememberStoredSizes(files, storedSizes);
    history_->markClean();
    location_ = std::filesystem::absolute(location);
    return {};
}

std::uint64_t ArchiveDocument::addObserver(Observer observer)
{
    const std::uint64_t id = nextObserver_++;
    observers_.emplace(id, std::move(observer));
    return id;
}

void ArchiveDocument::removeObserver(std::uint64_t id)
{
    observers_.erase(id);
}

Announce ArchiveDocument::announcer()
{
    return [this](DocumentProperty property, bool isPrior) { announce(property, isPrior); };
}

void ArchiveDocument::announce(DocumentProperty property, bool isPrior)
{
    // Observers may leave while being told.
    std::vector<std::uint64_t> ids;
    for (const auto& [id, observer] : observers_)
        ids.push_back(id);
    for (std::uint64_t id : ids)
        if (const auto found = observers_.find(id); found != observers_.end())
            found->second(property, isPrior);
}

std::optional<LaunchCommand> ArchiveDocument::runCommand() const
{
    if (!launch_.canRunFile)
        return std::nullopt;
    return launch_.command;
}

bool ArchiveDocument::isInTree(const RFATreeNode& node) const
{
    const RFATreeNode* at = &node;
    while (at->indexInParent())
        at = at->parent().get();
    for (const RFATreeNode::Ptr& top : archive_->rootNodes())
        if (top.get() == at)
            return true;
    return false;
}

} // namespace larkspan
