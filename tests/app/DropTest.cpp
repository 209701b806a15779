// Drops onto the entry views of archive windows: what they would do, where
// the entries land in each view, moves and copies between windows, a source
// window closed before the drop, files from disk, and the clipboard.

#include "AppTestSupport.h"

#include "app/dnd/EntryDropSupport.h"
#include "app/shell/Settings.h"
#include "app/views/ArchiveColumnList.h"

#include <QClipboard>
#include <QDropEvent>
#include <QTableView>

namespace larkspan {

using namespace fixtures;
using enum RowZone;

namespace {

// A point in the row of `index`: its middle, or just inside its top or
// bottom edge.
QPoint pointIn(const QAbstractItemView& view, const QModelIndex& index, RowZone zone = On)
{
    const QRect row = view.visualRect(index);
    return {row.center().x(), zone == Above ? row.top() + 1 : zone == Below ? row.bottom() - 1 : row.center().y()};
}

// A drag over `viewport` to `position` and a drop there, as the toolkit
// sends them: the action the view answered, IgnoreAction when it refused.
// Without a drag of ours under way the toolkit proposes Copy; Shift asks
// for a move, as the plain gesture does during a drag of ours.
Qt::DropAction dropAt(QWidget* viewport, QPoint position, const QMimeData& data,
                      Qt::KeyboardModifiers modifiers = Qt::ShiftModifier)
{
    const Qt::DropActions possible = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(position, possible, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(position, possible, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(viewport, &move);
    if (!move.isAccepted())
        return Qt::IgnoreAction;
    QDropEvent drop(position, possible, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(viewport, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

// Files from disk, as a file manager offers them.
std::unique_ptr<QMimeData> filesData(const std::vector<std::filesystem::path>& paths)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const std::filesystem::path& path : paths)
        urls << QUrl::fromLocalFile(QString::fromStdString(path.string()));
    data->setUrls(urls);
    return data;
}

struct DropCase {
    const char* what;
    QWidget* viewport;
    QPoint position;
    std::string expected; // the tree after the drop; unchanged: refused
};

// Drops `files` as each case says, then undoes what the drop did.
void expectDrops(MyDocument& window, const QMimeData& files, const std::vector<DropCase>& cases)
{
    const std::string before = tree(window);
    for (const DropCase& c : cases) {
        const Qt::DropAction answer = dropAt(c.viewport, c.position, files);
        QVERIFY2(answer == (c.expected == before ? Qt::IgnoreAction : Qt::CopyAction), c.what);
        QVERIFY2(tree(window) == c.expected, (c.what + (": " + tree(window))).c_str());
        endUserEvent();
        if (c.expected != before)
            window.document()->undoHistory()->undo();
        QVERIFY2(tree(window) == before, c.what);
    }
}

ArchiveColumnList* columnShowing(MyDocument& window, const QModelIndex& folder)
{
    for (ArchiveColumnList* column : browser(window).findChildren<ArchiveColumnList*>())
        if (!column->isHidden() && column->rootIndex() == folder)
            return column;
    return nullptr;
}

// What a file manager reads of the clipboard: GNOME's verb and KDE's cut mark.
QByteArray fileManagerMark()
{
    const QMimeData& data = *QApplication::clipboard()->mimeData();
    const QList<QByteArray> lines = data.data(QStringLiteral("x-special/gnome-copied-files")).split('\n');
    if (lines.size() < 2 || !QFileInfo::exists(QUrl(QString::fromLatin1(lines[1])).toLocalFile()))
        return "no file";
    return lines[0] + '/' + data.data(QStringLiteral("application/x-kde-cutselection"));
}

} // namespace

class DropTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;
    TemporaryFolder disk_;

    std::filesystem::path diskFile(const std::string& name) { return disk_.write(name, "from disk"); }
    QPoint pointAt(QAbstractItemView& view, MyDocument& window, const std::string& path, RowZone zone = On)
    {
        return pointIn(view, treeModel(window).indexForNode(*node(window, path)), zone);
    }

private slots:
    void init() { windows_ = std::make_unique<WindowFixture>(); }
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
        ArchiveOutlineView& view = outline(*window);
        view.expandAll();
        QWidget* in = view.viewport();
        const auto at = [&](const std::string& path, RowZone zone) { return pointAt(view, *window, path, zone); };
        const std::string before = tree(*window);
        expectDrops(*window, *filesData({diskFile("n.con")}),
                    {{"onto a folder: its front", in, at("b", On), "bf1942{a.con,b{n.con,x.con},c.con}"},
                     {"between two rows: that place", in, at("b", Above), "bf1942{a.con,n.con,b{x.con},c.con}"},
                     {"below the last row of a folder", in, at("b/x.con", Below), "bf1942{a.con,b{x.con,n.con},c.con}"},
                     {"below an open folder: its front", in, at("", Below), "bf1942{n.con,a.con,b{x.con},c.con}"},
                     {"onto a file: refused", in, at("a.con", On), before},
                     {"beside the top level: refused", in, at("", Above), before}});
    }

    void browserPositions()
    {
        MyDocument* window = windows_->open({{"bf1942/a.con", "a"}, {"bf1942/b.con", "b"}, {"bf1942/c/p.con", "p"},
                                             {"bf1942/c/q.con", "q"}, {"bf1942/c/r.con", "r"}, {"bf1942/c/s.con", "s"},
                                             {"bf1942/d.con", "d"}});
        window->useBrowserView();
        const QModelIndex root = treeModel(*window).indexForNode(*node(*window, ""));
        const QModelIndex c = treeModel(*window).indexForNode(*node(*window, "c"));
        browser(*window).setCurrentIndex(c);
        QTRY_VERIFY(columnShowing(*window, c) && columnShowing(*window, root) && columnShowing(*window, {}));
        const auto in = [&](const QModelIndex& folder, const std::string& path, RowZone zone) {
            ArchiveColumnList* column = columnShowing(*window, folder);
            return std::make_pair(column->viewport(), pointAt(*column, *window, path, zone));
        };
        const auto [folder, last] = in(c, "c/s.con", Below);
        const std::string before = tree(*window);
        const std::pair<QWidget*, QPoint> places[] = {in(root, "c", On), in(c, "c/r.con", On), in(c, "c/s.con", Above),
                                                      {folder, last + QPoint(0, 20)}, in({}, "", On), in({}, "", Below)};
        expectDrops(*window, *filesData({diskFile("n.con")}),
                    {{"onto the folder in row 2: its front", places[0].first, places[0].second,
                      "bf1942{a.con,b.con,c{n.con,p.con,q.con,r.con,s.con},d.con}"},
                     {"onto the file in row 2: its folder, at 2", places[1].first, places[1].second,
                      "bf1942{a.con,b.con,c{p.con,q.con,n.con,r.con,s.con},d.con}"},
                     {"between rows 2 and 3: at 3", places[2].first, places[2].second,
                      "bf1942{a.con,b.con,c{p.con,q.con,r.con,n.con,s.con},d.con}"},
                     {"past the last row: appended", places[3].first, places[3].second,
                      "bf1942{a.con,b.con,c{p.con,q.con,r.con,s.con,n.con},d.con}"},
                     {"onto the root in the first column", places[4].first, places[4].second,
                      "bf1942{n.con,a.con,b.con,c{p.con,q.con,r.con,s.con},d.con}"},
                     {"beside the root: refused", places[5].first, places[5].second, before}});
    }

    void resultsPositionsAndRefresh()
    {
        settings::setSearchFilenames(true);
        MyDocument* window = windows_->open({{"bf1942/xa/k.con", "k"}, {"bf1942/xb.con", "b"}, {"bf1942/xc/m.con", "m"}});
        window->searchDefaultsChanged();
        emit searchField(*window).textEdited(QStringLiteral("x"));
        QTableView& results = searchResults(*window);
        QCOMPARE(results.model()->rowCount(), 3);
        QWidget* in = results.viewport();
        const auto at = [&](int row, RowZone zone) { return pointIn(results, results.model()->index(row, 0), zone); };
        const std::unique_ptr<QMimeData> file = filesData({diskFile("xn.con")});
        const std::string before = tree(*window);
        expectDrops(*window, *file,
                    {{"onto a file result: refused", in, at(1, On), before},
                     {"between results, the lower a file: refused", in, at(0, Below), before},
                     {"between two results: onto the lower", in, at(1, Below), "bf1942{xa{k.con},xb.con,xc{xn.con,m.con}}"}});
        window->document()->browse().updateSearchPredicate();
        QCOMPARE(dropAt(in, at(0, On), *file), Qt::CopyAction);
        QCOMPARE(tree(*window), "bf1942{xa{xn.con,k.con},xb.con,xc{m.con}}");
        // The new entry matches the search: the results show it at once.
        QCOMPARE(results.model()->rowCount(), 4);
    }

    void moveBetweenWindowsAndUndoInTheReceiver()
    {
        MyDocument* source = windows_->open({{"bf1942/a/x.con", "x"}, {"bf1942/b.con", "b"}});
        MyDocument* receiver = windows_->open({{"bf1942/c/z.con", "z"}});
        receiver->useListView();
        outline(*receiver).expandAll();
        const std::string sourceBefore = tree(*source);
        const std::string receiverBefore = tree(*receiver);
        QWidget* viewport = outline(*receiver).viewport();
        const QPoint ontoC = pointAt(outline(*receiver), *receiver, "c");

        const std::unique_ptr<RFAPasteboardOwner> moved = pasteboard(*source, {"a"});
        QCOMPARE(dropAt(viewport, ontoC, *moved), Qt::MoveAction);
        // The drop was ours: the source only forgets what it dragged.
        dragAndDrop(*source).dragEnded(viewport, *moved, DragOrigin::Tree);
        endUserEvent();
        QCOMPARE(tree(*source), "bf1942{b.con}");
        QCOMPARE(tree(*receiver), "bf1942{c{a{x.con},z.con}}");
        QVERIFY(dragAndDrop(*source).draggedNodes().empty());
        QVERIFY(source->isWindowModified() && receiver->isWindowModified());

        receiver->document()->undoHistory()->undo();
        endUserEvent();
        QCOMPARE(tree(*source), sourceBefore);
        QCOMPARE(tree(*receiver), receiverBefore);
        QVERIFY(!source->isWindowModified() && !receiver->isWindowModified());

        // With the copy modifier both keep their entries.
        const std::unique_ptr<RFAPasteboardOwner> copied = pasteboard(*source, {"b.con"});
        QCOMPARE(dropAt(viewport, ontoC, *copied, Qt::ControlModifier), Qt::CopyAction);
        QCOMPARE(tree(*source), sourceBefore);
        QCOMPARE(tree(*receiver), "bf1942{c{b.con,z.con}}");
    }

    void aClosedSourceIsReadFromItsFile()
    {
        MyDocument* receiver = windows_->open({{"bf1942/c/z.con", "z"}});
        const RFATreeNode::Ptr target = node(*receiver, "c");
        const auto close = [&](MyDocument* window) {
            window->closeWithoutAsking();
            QTRY_COMPARE(windows_->app->documents().size(), std::size_t{1});
        };
        const auto accepted = [&](const RFAPasteboardOwner& data) {
            return dragAndDrop(*receiver).acceptDrop(data, Qt::MoveAction, target, 0);
        };

        MyDocument* source = windows_->open({{"bf1942/a/x.con", "x"}});
        const QString file = QString::fromStdString(source->document()->fileLocation()->string());
        node(*source, "a")->setName("renamed, never saved");
        const std::unique_ptr<RFAPasteboardOwner> unsaved = pasteboard(*source, {"renamed, never saved/x.con"});
        close(source);
        // Resolved in the file as saved: the unsaved name is not there.
        QVERIFY(!accepted(*unsaved));
        QCOMPARE(tree(*receiver), "bf1942{c{z.con}}");

        MyDocument* again = windows_->app->openFile(file);
        const std::unique_ptr<RFAPasteboardOwner> entry = pasteboard(*again, {"a/x.con"});
        close(again);
        QVERIFY(accepted(*entry));
        QCOMPARE(tree(*receiver), "bf1942{c{x.con,z.con}}");

        // The file has gone meanwhile: the receiver says why it refuses.
        QVERIFY(QFile::remove(file));
        QVERIFY(!accepted(*entry));
        QMessageBox* why = waitForDialog<QMessageBox>(*receiver);
        QVERIFY(why && why->text().contains(QStringLiteral("could not be opened")));
        why->close();

    }

    void clipboardCopyCutAndPaste()
    {
        MyDocument* source = windows_->open({{"bf1942/a/x.con", "x"}, {"bf1942/b.con", "b"}});
        MyDocument* receiver = windows_->open({{"bf1942/c/z.con", "z"}});
        const auto pasteIntoC = [&] {
            selectInTree(*receiver, {"c"});
            receiver->paste();
            endUserEvent();
        };
        selectInTree(*source, {"b.con"});
        source->copy();
        QCOMPARE(fileManagerMark(), "copy/");
        pasteIntoC();
        QCOMPARE(tree(*source), "bf1942{a{x.con},b.con}");
        QCOMPARE(tree(*receiver), "bf1942{c{z.con,b.con}}");

        // Cut entries stay until they are pasted, and once only.
        selectInTree(*source, {"a"});
        source->cut();
        QCOMPARE(fileManagerMark(), "cut/1");
        QCOMPARE(tree(*source), "bf1942{a{x.con},b.con}");
        pasteIntoC();
        pasteIntoC();
        QCOMPARE(tree(*source), "bf1942{b.con}");
        QCOMPARE(tree(*receiver), "bf1942{c{z.con,b.con,a{x.con}}}");
        receiver->document()->undoHistory()->undo();
        endUserEvent();

        // Escape abandons a cut: a later paste moves nothing.
        selectInTree(*source, {"a"});
        source->cut();
        outline(*source).setFocus();
        QTest::keyClick(&outline(*source), Qt::Key_Escape);
        pasteIntoC();
        QCOMPARE(tree(*source), "bf1942{a{x.con},b.con}");

        // Files copied in a file manager.
        QApplication::clipboard()->setMimeData(filesData({diskFile("n.con")}).release());
        pasteIntoC();
        QCOMPARE(tree(*receiver), "bf1942{c{z.con,b.con,n.con}}");

        // Renamed, copied, closed unsaved: the saved file lacks them, and paste says so.
        node(*source, "a")->setName("renamed");
        selectInTree(*source, {"renamed"});
        source->copy();
        source->closeWithoutAsking();
        pasteIntoC();
        QMessageBox* told = waitForDialog<QMessageBox>(*receiver);
        QVERIFY(told && told->text() == QStringLiteral("The entries on the clipboard are no longer in “archive1.rfa”."));
        QCOMPARE(tree(*receiver), "bf1942{c{z.con,b.con,n.con}}");
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::DropTest)
#include "DropTest.moc"
