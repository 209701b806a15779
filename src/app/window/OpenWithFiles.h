#pragma once

#include "model/RFATreeNode.h"

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <vector>

namespace larkspan {

class ArchiveDocument;

// Entries opened in other programs (Open With…): each is written to a file
// of its own name in the document's private temporary folder and handed to
// the desktop's application for its type, or to a program the user chose
// (remembered per extension). While the document is open, a change another
// program makes to such a file is offered back, once per change: taking it
// replaces the entry's bytes exactly as written, as one undoable step. The
// files go when the document closes.
class OpenWithFiles : public QObject {
    Q_OBJECT
public:
    OpenWithFiles(QWidget& window, std::shared_ptr<ArchiveDocument> document);

    // Asks which program, window-modal, then opens the entry with it.
    void chooseAndOpen(const RFATreeNode::Ptr& entry);
    // With the program last chosen for the extension, or the desktop's.
    void openWithRemembered(const RFATreeNode::Ptr& entry);
    // An empty program is the desktop's application for the file's type.
    // False, having said why, when the file cannot be written or the program
    // not started.
    bool open(const RFATreeNode::Ptr& entry, const QString& program);
    // Where the entry was written; empty when it has not been opened.
    QString fileFor(const RFATreeNode& entry) const;

private:
    struct Opened {
        RFATreeNode::Ptr entry;
        RFATreeNode::Ptr folder; // where a vanished entry comes back
        QString path;
        QByteArray seen;         // digest of the content last written, taken or declined
        bool asking = false;
    };
    Opened* find(const QString& path);
    void watch(const Opened& opened);
    void noteChanged(const QString& path);
    void checkChanged();
    void offer(Opened& opened, const QByteArray& bytes);
    void takeBack(Opened& opened);

    QWidget& window_;
    std::shared_ptr<ArchiveDocument> document_;
    QTemporaryDir folder_;
    QFileSystemWatcher watcher_;
    // Programs write in several steps: the file is looked at once they pause.
    QTimer settle_;
    QSet<QString> changed_;
    std::vector<Opened> opened_;
};

} // namespace larkspan
