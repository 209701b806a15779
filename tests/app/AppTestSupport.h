#pragma once

#include "app/dnd/RFADragAndDropDelegate.h"
#include "app/dnd/RFAPasteboardOwner.h"
#include "app/mod/ModTreeModel.h"
#include "app/mod/ModWindow.h"
#include "app/shell/RFAApplicationDelegate.h"
#include "app/views/ArchiveColumnView.h"
#include "app/views/ArchiveOutlineView.h"
#include "app/views/ArchiveTreeModel.h"
#include "app/window/MyDocument.h"
#include "app/window/SearchResultsView.h"
#include "fs/FileIO.h"
#include "model/UndoHistory.h"
#include "support/ArchiveBytes.h"
#include "support/PathComponents.h"
#include "support/TemporaryFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>

namespace larkspan::fixtures {

// Writes an archive with these entries into `folder` and returns its path.
inline QString writeArchive(const TemporaryFolder& folder, const std::string& name,
                            const std::vector<std::pair<std::string, std::string>>& entries)
{
    const Bytes bytes = plainArchive(entries);
    return QString::fromStdString(folder.write(name, std::string(bytes.begin(), bytes.end())).string());
}

// The window-modal dialog a window shows, once it shows it; null when none
// comes within two seconds.
template <typename Dialog>
Dialog* waitForDialog(QWidget& window)
{
    for (int waited = 0; waited < 2000; waited += 20) {
        for (Dialog* dialog : window.findChildren<Dialog*>())
            if (dialog->isVisible())
                return dialog;
        QTest::qWait(20);
    }
    return nullptr;
}

// Clicks a dialog's button; what the answer starts, which waits until the
// click is over, is done when this returns.
inline void press(QAbstractButton* button)
{
    button->click();
    QCoreApplication::sendPostedEvents();
}

// Clicks the box's button of that text; the box is gone after it.
inline bool choose(QMessageBox& box, const QString& answer)
{
    const QList<QAbstractButton*> buttons = box.buttons();
    const auto chosen = std::find_if(buttons.begin(), buttons.end(),
                                     [&](QAbstractButton* button) { return button->text() == answer; });
    if (chosen == buttons.end())
        return false;
    press(*chosen);
    return true;
}

// A part of a window, found as any tool looking at the window from outside
// finds it: by its type and object name. A missing part ends the run.
template <typename Part>
Part& part(const QObject& window, const char* name = nullptr)
{
    Part* found = window.findChild<Part*>(name ? QString::fromLatin1(name) : QString());
    if (!found)
        qFatal("The window has no %s.", name ? name : Part::staticMetaObject.className());
    return *found;
}

inline ArchiveColumnView& browser(MyDocument& window) { return part<ArchiveColumnView>(window, "browser"); }
inline ArchiveOutlineView& outline(MyDocument& window) { return part<ArchiveOutlineView>(window, "outline"); }
inline SearchResultsView& searchResults(MyDocument& window) { return part<SearchResultsView>(window, "searchResults"); }
inline QLineEdit& searchField(MyDocument& window) { return part<QLineEdit>(window, "searchField"); }
inline ArchiveTreeModel& treeModel(MyDocument& window) { return part<ArchiveTreeModel>(window); }
inline RFADragAndDropDelegate& dragAndDrop(MyDocument& window) { return part<RFADragAndDropDelegate>(window); }

// Ends the current user event: the undo group closes on the next turn of
// the event loop, as after a real click.
inline void endUserEvent()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Settings and caches of the test's own, never the user's nor those of a
// test program running beside.
inline void isolateSettings()
{
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("LarkspanTests"));
    QCoreApplication::setApplicationName(QFileInfo(QCoreApplication::applicationFilePath()).baseName());
    QSettings().clear();
}

// Windows opened from archives written for the test, with isolated settings.
class WindowFixture {
public:
    WindowFixture() { isolateSettings(); }

    TemporaryFolder temp;
    std::unique_ptr<RFAApplicationDelegate> app = std::make_unique<RFAApplicationDelegate>();

    MyDocument* open(const std::vector<std::pair<std::string, std::string>>& entries)
    {
        MyDocument* window = app->openFile(writeArchive(temp, "archive" + std::to_string(++serial_) + ".rfa", entries));
        window->resize(800, 500);
        window->show();
        return window;
    }
    // The mod in this folder of the game folder, in its window; a mod that
    // does not open ends the run.
    ModWindow* openMod(const std::string& folder = "Mods/MyMod")
    {
        ModWindow* window = app->openMod(QString::fromStdString((temp / folder).string()));
        if (!window)
            qFatal("The mod in %s did not open.", folder.c_str());
        window->show();
        return window;
    }
    MyDocument* untitled()
    {
        MyDocument* window = app->newDocument();
        window->show();
        return window;
    }

private:
    int serial_ = 0;
};

// The entry the game reads at `path`, in any case; the count of entries when none.
inline std::size_t entryNumber(const ModIndex& index, const std::string& path)
{
    const ModEntry* entry = index.find(path);
    return entry ? static_cast<std::size_t>(entry - index.entries().data()) : index.entries().size();
}
inline QModelIndex modRow(const ModTreeModel& model, const std::string& path)
{
    const std::size_t entry = entryNumber(model.modIndex(), path);
    return entry < model.modIndex().entries().size() ? model.indexOfEntry(entry) : QModelIndex();
}

// "" is the root folder; "a/b.con" a path below it.
inline RFATreeNode::Ptr node(MyDocument& window, const std::string& relative)
{
    const RFATreeNode::Ptr root = window.document()->archive().root();
    return relative.empty() ? root : root->childWithPathArray(pathComponents(relative));
}

// Selects the entries at these paths in the tree views, as a click would.
inline void selectInTree(MyDocument& window, const std::vector<std::string>& paths)
{
    QItemSelectionModel& selection = *outline(window).selectionModel();
    selection.clearSelection();
    for (const std::string& path : paths)
        selection.select(treeModel(window).indexForNode(*node(window, path)),
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    endUserEvent();
}

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

inline std::string tree(MyDocument& window) { return describe(*window.document()->archive().root()); }

// The entries at these paths, written as for a drag.
inline std::unique_ptr<RFAPasteboardOwner> pasteboard(MyDocument& window, const std::vector<std::string>& paths)
{
    std::vector<RFATreeNode::Ptr> nodes;
    for (const std::string& path : paths)
        nodes.push_back(node(window, path));
    return std::unique_ptr<RFAPasteboardOwner>(dragAndDrop(window).writeNodes(nodes));
}

} // namespace larkspan::fixtures
