#pragma once

// Drag events sent to a view as the toolkit would send them, and the trees
// and pasteboards of windows opened for the test.

#include "AppTestSupport.h"
#include "ArchiveFixture.h"

#include "app/dnd/RFADragAndDropDelegate.h"
#include "app/dnd/RFAPasteboardOwner.h"
#include "app/views/ArchiveOutlineView.h"
#include "app/views/ArchiveTreeModel.h"

#include <QDropEvent>
#include <QItemSelectionModel>

#include <memory>

namespace larkspan::fixtures {

// The tree as text: names in child order, folders with their children in
// braces: "bf1942{a.con,objects{}}".
inline std::string describe(const RFATreeNode& node)
{
    if (node.isLeaf())
        return node.name();
    std::string out = node.name() + "{";
    for (std::size_t i = 0; i < node.countOfChildren(); ++i)
        out += (i ? "," : "") + describe(*node.objectInChildrenAtIndex(i));
    return out + "}";
}

// Without a drag of ours under way the toolkit proposes Copy; Shift asks
// for a move, as the plain gesture does during a drag of ours, Control
// for a copy.
inline constexpr Qt::KeyboardModifiers kMove = Qt::ShiftModifier;
inline constexpr Qt::KeyboardModifiers kCopy = Qt::ControlModifier;

// A drag over `viewport` to `position`, and a drop there: the action the
// view answered, IgnoreAction when it refused.
inline Qt::DropAction dragOver(QWidget* viewport, QPoint position, const QMimeData& data,
                               Qt::KeyboardModifiers modifiers = kMove)
{
    const Qt::DropActions possible = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(position, possible, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(position, possible, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(viewport, &move);
    return move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
}

inline Qt::DropAction dropAt(QWidget* viewport, QPoint position, const QMimeData& data,
                             Qt::KeyboardModifiers modifiers = kMove)
{
    if (dragOver(viewport, position, data, modifiers) == Qt::IgnoreAction)
        return Qt::IgnoreAction;
    QDropEvent drop(position, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(viewport, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

// Files from disk, as a file manager offers them.
inline std::unique_ptr<QMimeData> filesData(const std::vector<std::filesystem::path>& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const std::filesystem::path& path : paths)
        urls << QUrl::fromLocalFile(QString::fromStdString(path.string()));
    data->setUrls(urls);
    return data;
}

inline std::string tree(MyDocument& window)
{
    return describe(*window.document()->archive().root());
}

inline std::unique_ptr<RFAPasteboardOwner> pasteboard(MyDocument& window, const std::vector<std::string>& paths)
{
    std::vector<RFATreeNode::Ptr> nodes;
    for (const std::string& path : paths)
        nodes.push_back(node(window, path));
    return std::unique_ptr<RFAPasteboardOwner>(dragAndDrop(window).writeNodes(nodes));
}

} // namespace larkspan::fixtures
