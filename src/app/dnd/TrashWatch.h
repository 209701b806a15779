#pragma once

#include "app/dnd/TrashDetection.h"
#include "model/RFATreeNode.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

class QFileSystemWatcher;

namespace larkspan {

class RFAPasteboardOwner;

// The files of drags that ended in another program, watched for as long as
// this lives (its window's lifetime): a file manager may ask "Copy or
// Move?" and the user answer whenever. An entry whose file goes to the
// trash is reported, however late; a file that goes anywhere else is
// forgotten. Driven by file-system notifications, never by a deadline.
class TrashWatch : public QObject {
    Q_OBJECT
public:
    explicit TrashWatch(QObject* parent);
    ~TrashWatch() override;

    // Watches the file `pasteboard` wrote, or writes when a receiver asks,
    // for each of `nodes`.
    void watch(std::vector<RFATreeNode::Ptr> nodes, const RFAPasteboardOwner& pasteboard);

signals:
    // Entries whose files went to the trash since the last report.
    void entriesTrashed(const std::vector<RFATreeNode::Ptr>& entries);

private:
    struct WatchedFile {
        RFATreeNode::Ptr node;
        QString path;
        std::vector<TrashFolder> trashes;
        bool gone = false; // at the last look, with no trash naming it
    };

    void adopt(const std::vector<RFATreeNode::Ptr>& nodes, const std::vector<QString>& paths);
    void check();
    void watchFolders();

    std::vector<WatchedFile> files_;
    // Only while there are files to watch: each watcher holds an inotify
    // instance, of which a user has few.
    std::unique_ptr<QFileSystemWatcher> watcher_;
    QTimer settle_;
};

} // namespace larkspan
