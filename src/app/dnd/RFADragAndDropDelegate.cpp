#include "app/dnd/RFADragAndDropDelegate.h"

#include "app/dnd/RFAPasteboardOwner.h"
#include "app/dnd/TrashWatch.h"
#include "app/shell/MessageBoxes.h"
#include "app/shell/RFAApplicationDelegate.h"
#include "app/views/CutMarks.h"
#include "app/window/MyDocument.h"
#include "document/CommandAvailability.h"
#include "document/MoveRule.h"
#include "fs/FileIO.h"
#include "model/EntryPathResolution.h"
#include "model/RFAArchive.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QDropEvent>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

namespace larkspan {

namespace {

// The dropped files and folders, or nothing unless every URL names a local
// file: no other scheme is read as a path.
std::optional<std::vector<std::filesystem::path>> droppedFiles(const QMimeData& data)
{
    if (!data.hasUrls())
        return std::nullopt;
    const QList<QUrl> urls = data.urls();
    if (urls.isEmpty())
        return std::nullopt;
    std::vector<std::filesystem::path> paths;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            return std::nullopt;
        paths.emplace_back(url.toLocalFile().toStdString());
    }
    return paths;
}

QString fileURL(const MyDocument& window)
{
    const auto& location = window.document()->fileLocation();
    return location ? QUrl::fromLocalFile(QString::fromStdString(location->string())).toString() : QString();
}

} // namespace

Qt::DropActions allowedActions(const QDropEvent& event)
{
    Qt::DropActions allowed = event.possibleActions();
    if (event.proposedAction() == Qt::CopyAction)
        allowed &= Qt::CopyAction;
    return allowed;
}

RFADragAndDropDelegate::RFADragAndDropDelegate(MyDocument& document, RFAApplicationDelegate& application)
    : QObject(&document), document_(document), application_(application), trashWatch_(new TrashWatch(this))
{
    connect(trashWatch_, &TrashWatch::entriesTrashed, this, &RFADragAndDropDelegate::deleteTrashedEntries);
}

const std::vector<RFATreeNode::Ptr>* RFADragAndDropDelegate::Source::topLevelNodes() const
{
    if (window)
        return &window->document()->topLevelNodes();
    return fromDisk ? &fromDisk->rootNodes() : nullptr;
}

RFAPasteboardOwner* RFADragAndDropDelegate::pasteboardFor(const std::vector<RFATreeNode::Ptr>& nodes, bool cut) const
{
    PasteboardEntries entries;
    entries.rfaURL = fileURL(document_);
    for (const RFATreeNode::Ptr& node : nodes)
        entries.nodePaths << QString::fromStdString(node->fullPath());
    entries.fileTypes = promisedFileTypes(nodes);
    entries.instance = thisInstance();
    entries.documentId = document_.documentId();
    entries.cut = cut;
    return new RFAPasteboardOwner(nodes, entries, application_.imageDecoders());
}

RFAPasteboardOwner* RFADragAndDropDelegate::writeNodes(const std::vector<RFATreeNode::Ptr>& nodes)
{
    draggedNodes_ = nodes;
    return pasteboardFor(nodes, false);
}

void RFADragAndDropDelegate::startDrag(QWidget* source, const std::vector<RFATreeNode::Ptr>& nodes, DragOrigin origin)
{
    if (nodes.empty())
        return;
    RFAPasteboardOwner* pasteboard = writeNodes(nodes);
    auto* drag = new QDrag(source);
    drag->setMimeData(pasteboard);
    drag->setPixmap(icons_.iconFor(*nodes.front()).pixmap(32, 32));
    // Move is offered to everyone: the trash takes only a move. What another
    // program does with the exported files never changes the archive, save
    // for the trash, which is recognised by what it leaves.
    // The toolkit deletes the drag, and the pasteboard with it, once the
    // receiver is done: on X11 another program asks for the data only
    // after the drop, when this has long returned.
    drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    dragEnded(drag->target(), *pasteboard, origin);
}

void RFADragAndDropDelegate::dragEnded(QObject* target, const RFAPasteboardOwner& pasteboard, DragOrigin origin)
{
    std::vector<RFATreeNode::Ptr> nodes = std::exchange(draggedNodes_, {});
    // A drop in one of our windows was carried out there.
    if (!target)
        trashWatch_->watch(std::move(nodes), pasteboard);
    refreshSearch(origin);
}

void RFADragAndDropDelegate::deleteTrashedEntries(const std::vector<RFATreeNode::Ptr>& entries)
{
    // Entries deleted or moved to another window meanwhile are passed over.
    // The answer may come long after the drag: the results may be shown
    // by now.
    const std::shared_ptr<ArchiveDocument>& document = document_.document();
    if (document->commands().deleteNodes(entries))
        document->browse().refreshResults();
}

void RFADragAndDropDelegate::refreshSearch(DragOrigin origin) const
{
    if (origin == DragOrigin::SearchResults)
        document_.document()->browse().updateSearchPredicate();
}

MyDocument* RFADragAndDropDelegate::openSource(const PasteboardEntries& entries) const
{
    if (entries.instance == thisInstance()) {
        for (const QPointer<MyDocument>& window : application_.documents())
            if (window && window->documentId() == entries.documentId)
                return window;
    }
    const QUrl url(entries.rfaURL);
    return url.isLocalFile() ? application_.documentForPath(url.toLocalFile()) : nullptr;
}

std::optional<RFADragAndDropDelegate::Source> RFADragAndDropDelegate::findSource(const PasteboardEntries& entries) const
{
    if (MyDocument* window = openSource(entries))
        return Source{window, nullptr};
    // Its window has closed: the file as it was saved.
    const QUrl url(entries.rfaURL);
    if (!url.isLocalFile())
        return std::nullopt;
    const QString path = url.toLocalFile();
    Result<Bytes> bytes = readWholeFile(path.toStdString());
    if (!bytes) {
        application_.showOpenError(&document_, path, bytes.error());
        return std::nullopt;
    }
    Result<std::unique_ptr<RFAArchive>> archive =
        RFAArchive::initWithFile(makeSharedBytes(std::move(*bytes)), RFAArchive::Decoding::WhileReading);
    if (!archive) {
        application_.showOpenError(&document_, path, archive.error());
        return std::nullopt;
    }
    return Source{nullptr, std::move(*archive)};
}

std::optional<std::vector<RFATreeNode::Ptr>> RFADragAndDropDelegate::resolve(const Source& source,
                                                                            const QStringList& paths) const
{
    std::vector<RFATreeNode::Ptr> nodes;
    for (const QString& path : paths) {
        RFATreeNode::Ptr node = resolveFullPath(*source.topLevelNodes(), path.toStdString());
        if (!node)
            return std::nullopt;
        nodes.push_back(std::move(node));
    }
    return nodes;
}

void RFADragAndDropDelegate::afterMovingFrom(const Source& source) const
{
    // The moved entries must leave the results of a searching source.
    if (source.window && source.window != &document_)
        source.window->document()->browse().refreshResults();
}

Qt::DropAction RFADragAndDropDelegate::validateDrop(const QMimeData& data, Qt::DropActions allowed,
                                                    const RFATreeNode::Ptr& node) const
{
    if (!node || node->isLeaf())
        return Qt::IgnoreAction;
    if (const std::optional<PasteboardEntries> entries = readPasteboardEntries(data)) {
        // Within one archive nothing goes into itself or below itself.
        if (openSource(*entries) == &document_) {
            const std::optional<std::vector<RFATreeNode::Ptr>> dragged = resolve(Source{&document_, nullptr}, entries->nodePaths);
            if (!dragged || wouldEnterItself(*dragged, *node))
                return Qt::IgnoreAction;
        }
        if (allowed & Qt::MoveAction)
            return Qt::MoveAction;
        return allowed & Qt::CopyAction ? Qt::CopyAction : Qt::IgnoreAction;
    }
    if (data.hasFormat(QString::fromLatin1(RFAPasteboardType)) || !droppedFiles(data))
        return Qt::IgnoreAction;
    return allowed & Qt::CopyAction ? Qt::CopyAction : Qt::IgnoreAction;
}

bool RFADragAndDropDelegate::acceptDrop(const QMimeData& data, Qt::DropActions allowed, const RFATreeNode::Ptr& node,
                                        int index)
{
    if (validateDrop(data, allowed, node) == Qt::IgnoreAction)
        return false;
    const std::size_t at = static_cast<std::size_t>(std::max(index, 0));
    const std::shared_ptr<ArchiveDocument>& document = document_.document();
    if (const std::optional<PasteboardEntries> entries = readPasteboardEntries(data)) {
        const std::optional<Source> source = findSource(*entries);
        const std::optional<std::vector<RFATreeNode::Ptr>> nodes = source ? resolve(*source, entries->nodePaths) : std::nullopt;
        if (!nodes)
            return false;
        // Entries read anew from a closed window's file can only be copied.
        if (source->window && (allowed & Qt::MoveAction)) {
            document->insertion().startMovingNodes(*nodes, node, at);
            afterMovingFrom(*source);
        } else {
            document->insertion().startCoypingNodes(*nodes, node, at);
        }
        return true;
    }
    document->insertion().startAddingFilesWithNames(*droppedFiles(data), node, at);
    return true;
}

void RFADragAndDropDelegate::copy(bool cut)
{
    const std::vector<RFATreeNode::Ptr>& selection = document_.document()->selection().nodes();
    if (selection.empty() || (cut && !canDelete(*document_.document())))
        return QApplication::beep();
    RFAPasteboardOwner* pasteboard = pasteboardFor(selection, cut);
    QApplication::clipboard()->setMimeData(pasteboard);
    if (cut)
        document_.cutMarks().mark(selection, pasteboard);
}

bool RFADragAndDropDelegate::clipboardHoldsEntries()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data && (data->hasFormat(QString::fromLatin1(RFAPasteboardType)) || data->hasUrls());
}

void RFADragAndDropDelegate::tellEntriesAreGone(const PasteboardEntries& entries, const Source& source) const
{
    const QString archive = source.window ? source.window->displayName()
                                          : QFileInfo(QUrl(entries.rfaURL).toLocalFile()).fileName();
    windowModalBox(document_.dialogParent(), QMessageBox::Information, document_.displayName(),
                   tr("The entries on the clipboard are no longer in “%1”.").arg(archive),
                   source.window ? tr("They were deleted, moved or renamed there after they were copied.")
                                 : tr("Their window has closed, and the archive as saved does not hold them "
                                      "under the names they had when they were copied."))
        ->open();
}

void RFADragAndDropDelegate::paste()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data)
        return QApplication::beep();
    const std::shared_ptr<ArchiveDocument>& document = document_.document();
    if (const std::optional<PasteboardEntries> entries = readPasteboardEntries(*data)) {
        const std::optional<Source> source = findSource(*entries);
        if (!source)
            return QApplication::beep();
        const std::optional<std::vector<RFATreeNode::Ptr>> nodes = resolve(*source, entries->nodePaths);
        if (!nodes)
            return tellEntriesAreGone(*entries, *source);
        // Cut entries stay where they are until they are pasted.
        const bool move = entries->cut && source->window;
        document->commands().pasteNodes(*nodes, move);
        if (move) {
            afterMovingFrom(*source);
            // Moved once: the clipboard's paths name nothing any more.
            QApplication::clipboard()->clear();
        }
        return;
    }
    if (data->hasFormat(QString::fromLatin1(RFAPasteboardType)))
        return QApplication::beep();
    if (std::optional<std::vector<std::filesystem::path>> files = droppedFiles(*data))
        return document->commands().pasteFiles(std::move(*files));
    QApplication::beep();
}

} // namespace larkspan
