// Drops onto the entry views of archive windows: what they would do, where
// the entries land in each view, moves and copies between windows, a source
// window closed before the drop, files from disk, and the clipboard.

#include "DragAndDropSupport.h"

#include "app/shell/Settings.h"
#include "app/views/ArchiveColumnList.h"
#include "app/views/ArchiveColumnView.h"

#include <QClipboard>
#include <QTableView>

namespace larkspan {

using namespace fixtures;

namespace {

// A point in the row of `index`: its middle, or just inside its top or
// bottom edge.
QPoint pointIn(const QAbstractItemView& view, const QModelIndex& index, RowZone zone)
{
    const QRect row = view.visualRect(index);
    switch (zone) {
    case RowZone::Above:
        return QPoint(row.center().x(), row.top() + 1);
    case RowZone::Below:
        return QPoint(row.center().x(), row.bottom() - 1);
    case RowZone::On:
        break;
    }
    return row.center();
}

// Drops files at `position`, then undoes what the drop did: what went
// wrong, or nothing. A drop that leaves the tree as `before` must be refused.
std::string dropAndUndo(MyDocument& window, QWidget* viewport, QPoint position, const QMimeData& files,
                        const std::string& expected, const std::string& before)
{
    const Qt::DropAction answer = dropAt(viewport, position, files);
    if (answer != (expected == before ? Qt::IgnoreAction : Qt::CopyAction))
        return "answered " + std::to_string(int(answer));
    if (tree(window) != expected)
        return "dropped into " + tree(window);
    endUserEvent();
    if (expected != before)
        window.document()->undoHistory()->undo();
    return tree(window) == before ? std::string() : "undone to " + tree(window);
}

ArchiveColumnList* columnShowing(MyDocument& window, const QModelIndex& folder)
{
    for (ArchiveColumnList* column : browser(window).findChildren<ArchiveColumnList*>())
        if (!column->isHidden() && column->rootIndex() == folder)
            return column;
    return nullptr;
}

} // namespace

class DropTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;
    TemporaryFolder disk_;

    std::filesystem::path diskFile(const std::string& name) { return disk_.write(name, "from disk"); }

private slots:
    void initTestCase() { isolateSettings(); }
    void init()
    {
        QSettings().clear();
        windows_ = std::make_unique<WindowFixture>();
    }
    void cleanup()
    {
        QApplication::clipboard()->clear();
        windows_.reset();
    }

    void validationAnswers()
    {
        const std::vector<std::pair<std::string, std::string>> entries{
            {"bf1942/a/x.con", "x"}, {"bf1942/a/sub/y.con", "y"}, {"bf1942/ab/z.con", "z"}, {"bf1942/f.con", "f"},
            {"bf1942/g", "g"}, {"bf1942/gh/z.con", "z"}};
        MyDocument* one = windows_->open(entries);
        MyDocument* other = windows_->open(entries);
        const std::unique_ptr<RFAPasteboardOwner> folderA = pasteboard(*one, {"a"});
        const std::unique_ptr<RFAPasteboardOwner> fileG = pasteboard(*one, {"g"});
        const std::unique_ptr<QMimeData> files = filesData({diskFile("new.con")});
        QMimeData web;
        web.setUrls({QUrl(QStringLiteral("https://example.org/new.con"))});
        const Qt::DropActions both = Qt::CopyAction | Qt::MoveAction;
        const struct {
            const char* what;
            const QMimeData& data;
            MyDocument* window;
            std::string target;
            Qt::DropActions allowed;
            Qt::DropAction expected;
        } cases[] = {
            {"a folder onto itself", *folderA, one, "a", both, Qt::IgnoreAction},
            {"a folder into its subfolder", *folderA, one, "a/sub", both, Qt::IgnoreAction},
            {"a onto its sibling ab", *folderA, one, "ab", both, Qt::MoveAction},
            {"the file g onto its sibling gh", *fileG, one, "gh", both, Qt::MoveAction},
            {"onto a file", *folderA, one, "f.con", both, Qt::IgnoreAction},
            {"into another window with the same names", *folderA, other, "a", both, Qt::MoveAction},
            {"with the copy modifier", *folderA, one, "ab", Qt::CopyAction, Qt::CopyAction},
            {"with neither copy nor move", *folderA, one, "ab", Qt::LinkAction, Qt::IgnoreAction},
            {"files from disk", *files, one, "a", both, Qt::CopyAction},
            {"files that may only be moved", *files, one, "a", Qt::MoveAction, Qt::IgnoreAction},
            {"a web address", web, one, "a", both, Qt::IgnoreAction},
        };
        for (const auto& c : cases)
            QVERIFY2(dragAndDrop(*c.window).validateDrop(c.data, c.allowed, node(*c.window, c.target)) == c.expected,
                     c.what);
        // The entries also offer their files: as entries, they are refused here.
        QVERIFY(folderA->hasUrls());
    }

    void outlinePositions()
    {
        MyDocument* window = windows_->open({{"bf1942/a.con", "a"}, {"bf1942/b/x.con", "x"}, {"bf1942/c.con", "c"}});
        window->useListView();
        outline(*window).expandAll();
        QWidget* viewport = outline(*window).viewport();
        const std::unique_ptr<QMimeData> file = filesData({diskFile("n.con")});
        const auto at = [&](const std::string& path, RowZone zone) {
            return pointIn(outline(*window), treeModel(*window).indexForNode(*node(*window, path)), zone);
        };
        const std::string before = tree(*window);
        const struct {
            const char* what;
            QPoint position;
            std::string expected;
        } cases[] = {
            {"onto a folder: its front", at("b", RowZone::On), "bf1942{a.con,b{n.con,x.con},c.con}"},
            {"between two rows: that place", at("b", RowZone::Above), "bf1942{a.con,n.con,b{x.con},c.con}"},
            {"below the last row of a folder", at("b/x.con", RowZone::Below),
             "bf1942{a.con,b{x.con,n.con},c.con}"},
            {"below an open folder: its front", at("", RowZone::Below), "bf1942{n.con,a.con,b{x.con},c.con}"},
            {"onto a file: refused", at("a.con", RowZone::On), before},
            {"beside the top level: refused", at("", RowZone::Above), before},
        };
        for (const auto& c : cases) {
            const std::string failure = dropAndUndo(*window, viewport, c.position, *file, c.expected, before);
            QVERIFY2(failure.empty(), qPrintable(QString::fromLatin1(c.what) + ": " + QString::fromStdString(failure)));
        }
    }

    void browserPositions()
    {
        MyDocument* window = windows_->open({{"bf1942/a.con", "a"},
                                             {"bf1942/b.con", "b"},
                                             {"bf1942/c/p.con", "p"},
                                             {"bf1942/c/q.con", "q"},
                                             {"bf1942/c/r.con", "r"},
                                             {"bf1942/c/s.con", "s"},
                                             {"bf1942/d.con", "d"}});
        window->useBrowserView();
        const QModelIndex root = treeModel(*window).indexForNode(*node(*window, ""));
        const QModelIndex c = treeModel(*window).indexForNode(*node(*window, "c"));
        browser(*window).setCurrentIndex(c);
        QTRY_VERIFY(columnShowing(*window, c) && columnShowing(*window, root) && columnShowing(*window, {}));
        ArchiveColumnList* top = columnShowing(*window, {});
        ArchiveColumnList* rootColumn = columnShowing(*window, root);
        ArchiveColumnList* folderColumn = columnShowing(*window, c);
        const auto in = [&](ArchiveColumnList* column, const std::string& path, RowZone zone) {
            return std::make_pair(column, pointIn(*column, treeModel(*window).indexForNode(*node(*window, path)), zone));
        };
        const QRect last = folderColumn->visualRect(treeModel(*window).indexForNode(*node(*window, "c/s.con")));
        const std::unique_ptr<QMimeData> file = filesData({diskFile("n.con")});
        const std::string before = tree(*window);
        const struct {
            const char* what;
            std::pair<ArchiveColumnList*, QPoint> where;
            std::string expected;
        } cases[] = {
            {"onto the folder in row 2: its front", in(rootColumn, "c", RowZone::On),
             "bf1942{a.con,b.con,c{n.con,p.con,q.con,r.con,s.con},d.con}"},
            {"onto the file in row 2: its folder, at 2", in(folderColumn, "c/r.con", RowZone::On),
             "bf1942{a.con,b.con,c{p.con,q.con,n.con,r.con,s.con},d.con}"},
            {"between rows 2 and 3: at 3", in(folderColumn, "c/s.con", RowZone::Above),
             "bf1942{a.con,b.con,c{p.con,q.con,r.con,n.con,s.con},d.con}"},
            {"past the last row: appended", {folderColumn, QPoint(last.center().x(), last.bottom() + 20)},
             "bf1942{a.con,b.con,c{p.con,q.con,r.con,s.con,n.con},d.con}"},
            {"onto the root in the first column", in(top, "", RowZone::On),
             "bf1942{n.con,a.con,b.con,c{p.con,q.con,r.con,s.con},d.con}"},
            {"beside the root: refused", in(top, "", RowZone::Below), before},
        };
        for (const auto& c : cases) {
            const std::string failure =
                dropAndUndo(*window, c.where.first->viewport(), c.where.second, *file, c.expected, before);
            QVERIFY2(failure.empty(), qPrintable(QString::fromLatin1(c.what) + ": " + QString::fromStdString(failure)));
        }
    }

    void resultsPositionsAndRefresh()
    {
        settings::setSearchFilenames(true);
        MyDocument* window =
            windows_->open({{"bf1942/xa/k.con", "k"}, {"bf1942/xb.con", "b"}, {"bf1942/xc/m.con", "m"}});
        window->searchDefaultsChanged();
        emit searchField(*window).textEdited(QStringLiteral("x"));
        QTableView& results = searchResults(*window);
        QCOMPARE(results.model()->rowCount(), 3);
        const auto at = [&](int row, RowZone zone) { return pointIn(results, results.model()->index(row, 0), zone); };
        const std::unique_ptr<QMimeData> file = filesData({diskFile("xn.con")});
        const std::string before = tree(*window);
        const struct {
            const char* what;
            QPoint position;
            std::string expected;
        } cases[] = {
            {"onto a folder result: its front", at(0, RowZone::On), "bf1942{xa{xn.con,k.con},xb.con,xc{m.con}}"},
            {"between two results: onto the lower", at(1, RowZone::Below), "bf1942{xa{k.con},xb.con,xc{xn.con,m.con}}"},
            {"onto a file result: refused", at(1, RowZone::On), before},
            {"between results, the lower a file: refused", at(0, RowZone::Below), before},
        };
        for (const auto& c : cases) {
            const Qt::DropAction answer = dropAt(results.viewport(), c.position, *file);
            QVERIFY2(answer == (c.expected == before ? Qt::IgnoreAction : Qt::CopyAction), c.what);
            QVERIFY2(tree(*window) == c.expected, c.what);
            // The new entry matches the search: the results show it at once.
            QCOMPARE(results.model()->rowCount(), c.expected == before ? 3 : 4);
            endUserEvent();
            if (c.expected != before) {
                window->document()->undoHistory()->undo();
                window->document()->browse().updateSearchPredicate();
            }
        }
    }

    void moveBetweenWindowsAndUndoInTheReceiver()
    {
        MyDocument* source = windows_->open({{"bf1942/a/x.con", "x"}, {"bf1942/b.con", "b"}});
        MyDocument* receiver = windows_->open({{"bf1942/c/z.con", "z"}});
        receiver->useListView();
        outline(*receiver).expandAll();
        const std::string sourceBefore = tree(*source);
        const std::string receiverBefore = tree(*receiver);
        const QPoint ontoC =
            pointIn(outline(*receiver), treeModel(*receiver).indexForNode(*node(*receiver, "c")), RowZone::On);

        const std::unique_ptr<RFAPasteboardOwner> moved = pasteboard(*source, {"a"});
        QCOMPARE(dropAt(outline(*receiver).viewport(), ontoC, *moved), Qt::MoveAction);
        // The drop was ours: the source only forgets what it dragged.
        dragAndDrop(*source).dragEnded(outline(*receiver).viewport(), *moved, DragOrigin::Tree);
        endUserEvent();
        QCOMPARE(tree(*source), std::string("bf1942{b.con}"));
        QCOMPARE(tree(*receiver), std::string("bf1942{c{a{x.con},z.con}}"));
        QVERIFY(dragAndDrop(*source).draggedNodes().empty());
        QVERIFY(source->isWindowModified() && receiver->isWindowModified());

        receiver->document()->undoHistory()->undo();
        endUserEvent();
        QCOMPARE(tree(*source), sourceBefore);
        QCOMPARE(tree(*receiver), receiverBefore);
        QVERIFY(!source->isWindowModified() && !receiver->isWindowModified());

        // With the copy modifier both keep their entries.
        const std::unique_ptr<RFAPasteboardOwner> copied = pasteboard(*source, {"b.con"});
        QCOMPARE(dropAt(outline(*receiver).viewport(), ontoC, *copied, kCopy), Qt::CopyAction);
        QCOMPARE(tree(*source), sourceBefore);
        QCOMPARE(tree(*receiver), std::string("bf1942{c{b.con,z.con}}"));
    }

    void untitledWindowsFindEachOther()
    {
        MyDocument* source = windows_->untitled();
        MyDocument* receiver = windows_->untitled();
        const RFATreeNode::Ptr root = node(*source, "");
        root->appendChild(RFATreeNode::initWithData(textBytes("t"), "t.con", root));
        const std::unique_ptr<RFAPasteboardOwner> data = pasteboard(*source, {"t.con"});
        QVERIFY(dragAndDrop(*receiver).acceptDrop(*data, Qt::MoveAction, node(*receiver, ""), 0));
        QCOMPARE(tree(*source), std::string("bf1942{}"));
        QCOMPARE(tree(*receiver), std::string("bf1942{t.con}"));
    }

    void aClosedSourceIsReadFromItsFile()
    {
        MyDocument* receiver = windows_->open({{"bf1942/c/z.con", "z"}});
        const RFATreeNode::Ptr target = node(*receiver, "c");
        const auto closeWindow = [&](MyDocument* window) {
            window->closeWithoutAsking();
            QTRY_COMPARE(windows_->app->documents().size(), std::size_t{1});
        };

        MyDocument* source = windows_->open({{"bf1942/a/x.con", "x"}});
        const QString file = QString::fromStdString(source->document()->fileLocation()->string());
        node(*source, "a")->setName("renamed, never saved");
        const std::unique_ptr<RFAPasteboardOwner> saved = pasteboard(*source, {"renamed, never saved/x.con"});
        const std::unique_ptr<RFAPasteboardOwner> asOnDisk = pasteboard(*source, {"renamed, never saved"});
        closeWindow(source);
        // Resolved in the file as saved: the unsaved name is not there.
        QVERIFY(!dragAndDrop(*receiver).acceptDrop(*saved, Qt::MoveAction, target, 0));
        QVERIFY(!dragAndDrop(*receiver).acceptDrop(*asOnDisk, Qt::MoveAction, target, 0));
        QCOMPARE(tree(*receiver), std::string("bf1942{c{z.con}}"));

        MyDocument* again = windows_->app->openFile(file);
        const std::unique_ptr<RFAPasteboardOwner> entry = pasteboard(*again, {"a/x.con"});
        closeWindow(again);
        QVERIFY(dragAndDrop(*receiver).acceptDrop(*entry, Qt::MoveAction, target, 0));
        QCOMPARE(tree(*receiver), std::string("bf1942{c{x.con,z.con}}"));

        // The file has gone meanwhile: the receiver says why it refuses.
        QVERIFY(QFile::remove(file));
        QVERIFY(!dragAndDrop(*receiver).acceptDrop(*entry, Qt::MoveAction, target, 0));
        QMessageBox* why = waitForDialog<QMessageBox>(*receiver);
        QVERIFY(why);
        QVERIFY(why->text().contains(QStringLiteral("could not be opened")));
        why->close();

        // An untitled window leaves nothing to read.
        MyDocument* untitled = windows_->untitled();
        const std::unique_ptr<RFAPasteboardOwner> lost = pasteboard(*untitled, {});
        closeWindow(untitled);
        QVERIFY(!dragAndDrop(*receiver).acceptDrop(*lost, Qt::MoveAction, target, 0));
    }

    void filesFromDiskAreAddedAsCopies()
    {
        MyDocument* window = windows_->open({{"bf1942/c/z.con", "z"}});
        disk_.write("folder/inner.con", "i");
        const std::unique_ptr<QMimeData> files = filesData({diskFile("one.con"), disk_.path() / "folder"});
        QVERIFY(dragAndDrop(*window).acceptDrop(*files, Qt::CopyAction | Qt::MoveAction, node(*window, "c"), -1));
        QCOMPARE(tree(*window), std::string("bf1942{c{one.con,folder{inner.con},z.con}}"));
    }

    void clipboardCopyCutAndPaste()
    {
        MyDocument* source = windows_->open({{"bf1942/a/x.con", "x"}, {"bf1942/b.con", "b"}});
        MyDocument* receiver = windows_->open({{"bf1942/c/z.con", "z"}});
        using Command = RFAApplicationDelegate::Command;
        const auto run = [&](MyDocument* window, Command command) {
            QApplication::setActiveWindow(window);
            outline(*window).setFocus();
            windows_->app->updateActions();
            QVERIFY(windows_->app->action(command)->isEnabled());
            windows_->app->action(command)->trigger();
            endUserEvent();
        };
        selectInTree(*receiver, {"c"});
        windows_->app->updateActions();
        QVERIFY2(!windows_->app->action(Command::Paste)->isEnabled(), "nothing to paste");

        selectInTree(*source, {"b.con"});
        run(source, Command::Copy);
        run(receiver, Command::Paste);
        QCOMPARE(tree(*source), std::string("bf1942{a{x.con},b.con}"));
        QCOMPARE(tree(*receiver), std::string("bf1942{c{z.con,b.con}}"));

        // Cut entries stay until they are pasted.
        selectInTree(*source, {"a"});
        run(source, Command::Cut);
        QCOMPARE(tree(*source), std::string("bf1942{a{x.con},b.con}"));
        selectInTree(*receiver, {"c"});
        run(receiver, Command::Paste);
        QCOMPARE(tree(*source), std::string("bf1942{b.con}"));
        QCOMPARE(tree(*receiver), std::string("bf1942{c{z.con,b.con,a{x.con}}}"));
        receiver->document()->undoHistory()->undo();
        endUserEvent();
        QCOMPARE(tree(*source), std::string("bf1942{a{x.con},b.con}"));

        // Files copied in a file manager.
        QApplication::clipboard()->setMimeData(filesData({diskFile("n.con")}).release());
        run(receiver, Command::Paste);
        QCOMPARE(tree(*receiver), std::string("bf1942{c{z.con,b.con,n.con}}"));
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::DropTest)
#include "DropTest.moc"
