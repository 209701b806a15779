// The archive window under the user's hands: searching as typing pauses, the
// first selected result, a new folder named in place, and files that open as
// no archive.

#include "AppTestSupport.h"

#include "app/shell/Settings.h"

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

    // The rule is the document's; here a new folder's name is typed into
    // the editor the window opens, and a refusal is told.
    void aNewFolderIsNamedInPlace_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("free") << QStringLiteral("maps") << QString();
        QTest::newRow("taken in another case")
            << QStringLiteral("A.CON")
            << QStringLiteral("The name \"A.CON\" is already taken by \"a.con\": the game does not tell names apart by case.");
        QTest::newRow("beyond Latin-1") << QStringLiteral("\u20ac")
                                        << QStringLiteral("\"\u20ac\" cannot be a name: it has characters an RFA archive cannot store.");
    }
    void aNewFolderIsNamedInPlace()
    {
        QFETCH(QString, typed);
        QFETCH(QString, refusal);
        MyDocument* window = openActive({{"bf1942/a.con", "a"}});
        QVERIFY(window);
        window->useListView();
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
