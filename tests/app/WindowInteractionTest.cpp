// The archive window under the user's hands: the search field's keys and
// its hint, the first selected result, the path bar's buttons, right-click
// menus, inline renaming, and files that open as no archive.

#include "AppTestSupport.h"

#include "app/shell/Settings.h"

#include <QListView>
#include <QMenu>
#include <QPushButton>

namespace larkspan {

using namespace fixtures;
using Command = RFAApplicationDelegate::Command;

class WindowInteractionTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;

    MyDocument* openActive(const std::vector<std::pair<std::string, std::string>>& entries)
    {
        MyDocument* window = windows_->open(entries);
        if (window) {
            QApplication::setActiveWindow(window);
            if (!QTest::qWaitForWindowActive(window))
                return nullptr;
        }
        return window;
    }

    // A name editor is open in the view.
    static bool editing(const QAbstractItemView& view)
    {
        const QList<QLineEdit*> editors = view.findChildren<QLineEdit*>();
        return std::any_of(editors.begin(), editors.end(), [](const QLineEdit* e) { return e->isVisible(); });
    }

    static QMessageBox* shownMessageBox()
    {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible())
                return box;
        return nullptr;
    }

private slots:
    void initTestCase() { isolateSettings(); }
    void init()
    {
        QSettings().clear();
        windows_ = std::make_unique<WindowFixture>();
    }
    void cleanup() { windows_.reset(); }

    void theSearchFieldsKeysAndTheHintWhenNothingIsSearched()
    {
        MyDocument* window = openActive({{"bf1942/objects/tank.con", "t"}});
        QVERIFY(window);
        QLineEdit& field = searchField(*window);
        auto& hint = part<QWidget>(*window, "searchOffHint");
        field.setFocus();
        QTest::keyClicks(&field, QStringLiteral("con"));
        QCOMPARE(panes(*window).currentIndex(), 2);
        QVERIFY(hint.isVisible());
        QCOMPARE(searchResults(*window).model()->rowCount(), 0);

        QTest::mouseClick(&part<QPushButton>(*window, "searchNamesButton"), Qt::LeftButton);
        QVERIFY(settings::searchFilenames());
        QVERIFY(!hint.isVisible());
        QCOMPARE(searchResults(*window).model()->rowCount(), 1);

        QTest::keyClick(&field, Qt::Key_Escape);
        QCOMPARE(panes(*window).currentIndex(), 0);
        QVERIFY(field.text().isEmpty());
        QTest::keyClick(&field, Qt::Key_Return);
        QCOMPARE(panes(*window).currentIndex(), 2);
    }

    void contentsAreSearchedOnceTypingPauses()
    {
        settings::setSearchFileContents(true);
        MyDocument* window = openActive({{"bf1942/a.con", "the needle"}, {"bf1942/b.con", "hay"}});
        QVERIFY(window);
        QLineEdit& field = searchField(*window);
        const QAbstractItemModel& results = *searchResults(*window).model();
        field.setFocus();
        QTest::keyClicks(&field, QStringLiteral("needle"));
        QCOMPARE(panes(*window).currentIndex(), 2);
        QCOMPARE(results.rowCount(), 0); // the keys did not wait for a search
        QTRY_COMPARE(results.rowCount(), 1);
        QTest::keyClicks(&field, QStringLiteral("s"));
        QTRY_COMPARE(results.rowCount(), 0);
        QTest::keyClick(&field, Qt::Key_Backspace);
        QTest::keyClick(&field, Qt::Key_Escape);
        QTest::qWait(300);
        QCOMPARE(results.rowCount(), 0); // a search that was left shows nothing later
    }

    void theFirstSelectedResultIsTheFirstInTheList()
    {
        settings::setSearchFilenames(true);
        MyDocument* window = openActive({{"bf1942/zone.con", "z"}, {"bf1942/zones/x.txt", "x"}});
        QVERIFY(window);
        emit searchField(*window).textEdited(QStringLiteral("zone"));
        SearchResultsView& results = searchResults(*window);
        QCOMPARE(results.model()->rowCount(), 2);
        // The folder below is clicked before the file above it.
        for (int row : {1, 0})
            results.selectionModel()->select(results.model()->index(row, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
        endUserEvent();
        QCOMPARE(window->document()->selection().nodes().front()->name(), std::string("zone.con"));
        QVERIFY2(!windows_->app->action(Command::NewFolder)->isEnabled(), "a file comes first");
    }

    void aPathBarButtonShowsItsEntryInTheTree_data()
    {
        QTest::addColumn<int>("viewMode");
        QTest::newRow("browser") << 0;
        QTest::newRow("list") << 1;
    }
    void aPathBarButtonShowsItsEntryInTheTree()
    {
        QFETCH(int, viewMode);
        settings::setSearchFilenames(true);
        MyDocument* window = openActive({{"bf1942/objects/tank.con", "t"}, {"bf1942/other.con", "o"}});
        QVERIFY(window);
        viewModeButton(*window, viewMode).click();
        emit searchField(*window).textEdited(QStringLiteral("tank"));
        searchResults(*window).selectRow(0);
        endUserEvent();
        QToolButton* objects = nullptr;
        for (QToolButton* button : pathBar(*window).findChildren<QToolButton*>())
            if (button->text() == QLatin1String("objects"))
                objects = button;
        QVERIFY(objects);
        QTest::mouseClick(objects, Qt::LeftButton);
        endUserEvent();
        QCOMPARE(panes(*window).currentIndex(), viewMode);
        QVERIFY(searchField(*window).text().isEmpty());
        const std::vector<RFATreeNode::Ptr> selected = window->document()->selection().nodes();
        QCOMPARE(selected.size(), std::size_t{1});
        QCOMPARE(selected.front(), node(*window, "objects"));
    }

    void aRightClickOffersTheCommandsOnTheEntries_data()
    {
        QTest::addColumn<int>("pane");
        QTest::newRow("browser") << 0;
        QTest::newRow("list") << 1;
        QTest::newRow("results") << 2;
    }
    void aRightClickOffersTheCommandsOnTheEntries()
    {
        QFETCH(int, pane);
        const QStringList expected = QStringList{QStringLiteral("Open"), QStringLiteral("Open With…")} +
                                     (pane == 2 ? QStringList{QStringLiteral("Show in Folder")} : QStringList()) +
                                     QStringList{QStringLiteral("Extract…"), QStringLiteral("Rename"),
                                                 QStringLiteral("Delete"), QStringLiteral("New Folder"),
                                                 QStringLiteral("Add Files…"), QStringLiteral("Cut"),
                                                 QStringLiteral("Copy"), QStringLiteral("Paste")};
        settings::setSearchFilenames(true);
        MyDocument* window = openActive({{"bf1942/objects/tank.con", "t"}});
        QVERIFY(window);
        QAbstractItemView* view = &searchResults(*window);
        QModelIndex clicked = searchResults(*window).model()->index(0, 0);
        if (pane == 2) {
            emit searchField(*window).textEdited(QStringLiteral("tank"));
            clicked = view->model()->index(0, 0);
            searchResults(*window).selectRow(0);
        } else {
            viewModeButton(*window, pane).click();
            clicked = treeModel(*window).indexForNode(*node(*window, "objects/tank.con"));
            outline(*window).selectionModel()->setCurrentIndex(
                clicked, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            view = &outline(*window);
            for (QListView* column : browser(*window).findChildren<QListView*>())
                if (pane == 0 && column->rootIndex() == clicked.parent())
                    view = column;
        }
        endUserEvent();
        emit view->customContextMenuRequested(view->visualRect(clicked).center());
        QMenu* menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
        QStringList texts;
        for (QAction* action : menu->actions())
            if (!action->isSeparator())
                texts << action->text().remove(QLatin1Char('&'));
        QCOMPARE(texts, expected);
        QVERIFY(!menu->actions().constLast()->isEnabled()); // nothing to paste
        QVERIFY(windows_->app->action(Command::Delete)->isEnabled());
        menu->close();
    }

    void aClickOnASelectedRowStartsNoRename()
    {
        MyDocument* window = openActive({{"bf1942/a.con", "a"}});
        QVERIFY(window);
        viewModeButton(*window, 1).click();
        ArchiveOutlineView& list = outline(*window);
        list.expandAll();
        selectInTree(*window, {"a.con"});
        const QRect row = list.visualRect(treeModel(*window).indexForNode(*node(*window, "a.con")));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, row.center());
        QTest::qWait(QApplication::doubleClickInterval() + 100);
        QVERIFY(!editing(list));
        windows_->app->action(Command::Rename)->trigger();
        QVERIFY(editing(list));
    }

    // The rule is the document's; here a new folder's name is typed into
    // the editor the window opens, and a refusal is told.
    void aNewFolderIsNamedInPlace_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("free") << QStringLiteral("maps") << QString();
        QTest::newRow("its own name in another case") << QStringLiteral("UNNAMED") << QString();
        QTest::newRow("taken") << QStringLiteral("a.con") << QStringLiteral("The name \"a.con\" is already taken.");
        QTest::newRow("taken in another case")
            << QStringLiteral("A.CON")
            << QStringLiteral("The name \"A.CON\" is already taken by \"a.con\": the game does not tell names apart by case.");
        QTest::newRow("slash") << QStringLiteral("x/y") << QStringLiteral("\"x/y\" cannot be a name: it contains \"/\".");
        QTest::newRow("empty") << QString() << QStringLiteral("A name cannot be empty.");
        QTest::newRow("beyond Latin-1") << QStringLiteral("\u20ac")
                                        << QStringLiteral("\"\u20ac\" cannot be a name: it has characters an RFA archive cannot store.");
    }
    void aNewFolderIsNamedInPlace()
    {
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        MyDocument* window = openActive({{"bf1942/a.con", "a"}});
        QVERIFY(window);
        viewModeButton(*window, 1).click();
        selectInTree(*window, {""});
        windows_->app->action(Command::NewFolder)->trigger();
        const RFATreeNode::Ptr folder = node(*window, "Unnamed");
        QVERIFY(folder);
        QCOMPARE(window->document()->selection().nodes(), std::vector<RFATreeNode::Ptr>{folder});
        QVERIFY(editing(outline(*window)));
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        editor->insert(typed); // as typed: the test's keyboard knows no €
        QTest::keyClick(editor, Qt::Key_Return);
        endUserEvent();
        if (refusal.isEmpty()) {
            QCOMPARE(folder->name(), typed.toStdString());
            return;
        }
        QMessageBox* box = waitForDialog<QMessageBox>(*window);
        QVERIFY(box);
        QCOMPARE(box->text(), refusal);
        QCOMPARE(folder->name(), std::string("Unnamed"));
    }

    void aFileThatHoldsNoArchiveOpensNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("headline");
        QTest::addColumn<QString>("detail");
        QTest::newRow("not an archive")
            << QByteArray("\xff\xff\xff\x7f", 4) << QStringLiteral("“file.rfa” could not be read as an RFA archive.")
            << QStringLiteral("Internal index is out of bounds\n\n"
                              "A part of the file tells the app to look for data at places that do not exist.");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("“file.rfa” is empty.")
                               << QStringLiteral("The file holds no bytes, so there is no archive to open.");
    }
    void aFileThatHoldsNoArchiveOpensNothing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, headline);
        QFETCH(QString, detail);
        const std::filesystem::path file = windows_->temp.write("file.rfa", bytes.toStdString());
        QVERIFY(!windows_->app->openFile(QString::fromStdString(file.string())));
        QVERIFY(windows_->app->documents().empty());
        QMessageBox* box = nullptr;
        QTRY_VERIFY((box = shownMessageBox()));
        QCOMPARE(box->text(), headline);
        QCOMPARE(box->informativeText(), detail);
        box->close();
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::WindowInteractionTest)
#include "WindowInteractionTest.moc"
