#pragma once

#include "fs/FileWrapper.h"
#include "model/RFATreeNode.h"

#include <QMimeData>
#include <QStringList>

#include <optional>
#include <vector>

namespace larkspan {

class ImageDecoderTable;

// The private type: entries named inside their archive, read only by this
// program's windows.
inline constexpr char RFAPasteboardType[] = "application/x-org.ostmere.larkspan.pasteboard";
// How a folder is listed among the promised file types (no extension holds a "/").
inline constexpr char kPromisedFolderType[] = "inode/directory";

// What the private type carries.
struct PasteboardEntries {
    QString rfaURL;         // the source document's file as a URL; empty while untitled
    QStringList nodePaths;  // the entries' full paths, in the order given
    QStringList fileTypes;  // the promised file types, each once
    QString instance;       // the process that wrote it
    quint64 documentId = 0; // the source window in that process
    bool cut = false;       // written by Cut: pasting moves the entries
};

QByteArray encodePasteboardEntries(const PasteboardEntries& entries);
// Nothing when the data holds no private type, or an unreadable one.
std::optional<PasteboardEntries> readPasteboardEntries(const QMimeData& data);
// Tells this process apart from every other one writing the private type.
const QString& thisInstance();

// The extension of each file's name (empty without a dot) and the folder
// type for each folder, in order, each string once.
QStringList promisedFileTypes(const std::vector<RFATreeNode::Ptr>& nodes);

// Entries on a drag or the clipboard: the private type; the entries as
// files (text/uri-list, and the file managers' own clipboard types, which
// also tell a Cut from a Copy), written only when a receiver asks, into a
// fresh folder of their own; and for a single entry its text or its
// picture, decoded with the decoders given. A file manager that pastes
// files of a Cut moves the written files, never the entries.
// The files show the entries as they were when this was made.
class RFAPasteboardOwner : public QMimeData {
    Q_OBJECT
public:
    RFAPasteboardOwner(const std::vector<RFATreeNode::Ptr>& nodes, const PasteboardEntries& entries,
                       const ImageDecoderTable& decoders);

    QStringList formats() const override;
    bool hasFormat(const QString& mimeType) const override;

    // Per entry, where its file or folder was written: empty until a
    // receiver asked, and for an entry whose name could not be written.
    const std::vector<QString>& exportedPaths() const { return exportedPaths_; }
    // Whether a receiver has asked for the files: they are written, as far
    // as they could be.
    bool hasExportedFiles() const { return exported_; }

signals:
    // The files have been written, when a receiver first asked for them:
    // in another program perhaps only after the drop.
    void filesExported() const;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    void exportFiles() const;
    void writeFilesInto(const QString& folder) const;

    std::vector<FileWrapper> wrappers_;
    bool cut_;
    mutable bool exported_ = false;
    mutable std::vector<QString> exportedPaths_;
    mutable QList<QUrl> urls_;
};

} // namespace larkspan
