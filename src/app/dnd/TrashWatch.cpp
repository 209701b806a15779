#include "app/dnd/TrashWatch.h"

#include "app/dnd/RFAPasteboardOwner.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

namespace larkspan {

namespace {

// A file manager writes the trash's record and moves the file in quick
// succession: one look after a moment, however many changes it saw.
constexpr int kSettleInterval = 100;

// The folder, or while it does not exist the nearest one above it: a
// trash's folders are made when it is first used.
QString nearestExistingFolder(QString folder)
{
    while (!QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).path();
        if (parent == folder)
            return {};
        folder = parent;
    }
    return folder;
}

} // namespace

TrashWatch::TrashWatch(QObject* parent) : QObject(parent)
{
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleInterval);
    connect(&settle_, &QTimer::timeout, this, &TrashWatch::check);
}

TrashWatch::~TrashWatch() = default;

void TrashWatch::watch(std::vector<RFATreeNode::Ptr> nodes, const RFAPasteboardOwner& pasteboard)
{
    if (pasteboard.hasExportedFiles())
        return adopt(nodes, pasteboard.exportedPaths());
    // Nothing is watched unless a receiver asks; the nodes go with the
    // pasteboard when none ever does.
    connect(
        &pasteboard, &RFAPasteboardOwner::filesExported, this,
        [this, nodes = std::move(nodes), source = &pasteboard] { adopt(nodes, source->exportedPaths()); },
        Qt::SingleShotConnection);
}

void TrashWatch::adopt(const std::vector<RFATreeNode::Ptr>& nodes, const std::vector<QString>& paths)
{
    // The files of one drag lie in one folder, on one mount.
    std::vector<TrashFolder> trashes;
    for (std::size_t i = 0; i < nodes.size() && i < paths.size(); ++i) {
        if (paths[i].isEmpty())
            continue;
        if (trashes.empty())
            trashes = trashFoldersFor(paths[i]);
        files_.push_back({nodes[i], paths[i], trashes});
    }
    check();
}

void TrashWatch::check()
{
    std::vector<RFATreeNode::Ptr> trashed;
    for (auto file = files_.begin(); file != files_.end();) {
        const FileFate fate = fateOf(file->path, file->trashes);
        if (fate == FileFate::Trashed)
            trashed.push_back(file->node);
        // Gone without a record: not every file manager writes it first,
        // so the next change decides. A file that came back is watched on.
        const bool decided = fate == FileFate::Trashed || (fate == FileFate::Elsewhere && file->gone);
        file->gone = fate == FileFate::Elsewhere;
        file = decided ? files_.erase(file) : file + 1;
    }
    watchFolders();
    if (!trashed.empty())
        emit entriesTrashed(trashed);
}

void TrashWatch::watchFolders()
{
    // What changes when a file leaves: the folder it was written to, and
    // the trash it may go to.
    QStringList folders;
    QStringList infoFolders;
    for (const WatchedFile& file : files_) {
        folders << QFileInfo(file.path).path();
        for (const TrashFolder& trash : file.trashes)
            infoFolders << trash.infoFolder;
    }
    infoFolders.removeDuplicates();
    for (const QString& info : infoFolders)
        folders << nearestExistingFolder(info);
    folders.removeDuplicates();
    folders.removeAll(QString());
    if (folders.isEmpty()) {
        watcher_.reset();
        return;
    }
    if (!watcher_) {
        watcher_ = std::make_unique<QFileSystemWatcher>();
        connect(watcher_.get(), &QFileSystemWatcher::directoryChanged, this, [this] {
            if (!settle_.isActive())
                settle_.start();
        });
    }
    const QStringList watched = watcher_->directories();
    QStringList unwanted;
    for (const QString& folder : watched)
        if (!folders.contains(folder))
            unwanted << folder;
    QStringList wanted;
    for (const QString& folder : folders)
        if (!watched.contains(folder))
            wanted << folder;
    if (!unwanted.isEmpty())
        watcher_->removePaths(unwanted);
    if (!wanted.isEmpty())
        watcher_->addPaths(wanted);
}

} // namespace larkspan
