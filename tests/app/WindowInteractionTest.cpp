// The archive window under the user's hands: searching as typing pauses, a
// new folder named in place, and files that open as no archive.

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
        QApplication::setActiveWindow(window);
        return QTest::qWaitForWindowActive(window) ? window : nullptr;
    }

private slots:
    void init() { windows_ = std::make_unique<WindowFixture>(); }
    void cleanup() { windows_.reset(); }

    void contentsAreSearchedOnceTypingPauses()
    {
        settings::setSearchFileContents(true);
        MyDocument* window = openActive({{"bf1942/a.con", "the needle"}, {"bf1942/b.con", "needles in hay"}});
        QVERIFY(window);
        QLineEdit& field = searchField(*window);
        const QAbstractItemModel& results = *searchResults(*window).model();
        field.setFocus();
        QTest::keyClicks(&field, QStringLiteral("needle"));
        QCOMPARE(results.rowCount(), 0); // the keys did not wait for a search
        QTRY_COMPARE(results.rowCount(), 2);
        QTest::keyClicks(&field, QStringLiteral("s"));
        QTRY_COMPARE(results.rowCount(), 1);
        QTest::keyClick(&field, Qt::Key_Backspace);
        QTest::keyClick(&field, Qt::Key_Escape);
        QTest::qWait(300);
        QVERIFY2(results.rowCount() < 2, "a search that was left shows nothing later");
    }

    // The naming rule is the document's; a name typed into the editor the
    // window opens for a new folder goes by it, and a refusal is told.
    void aNewFolderIsNamedInPlace()
    {
        MyDocument* window = openActive({{"bf1942/a.con", "a"}});
        QVERIFY(window);
        window->useListView();
        selectInTree(*window, {""});
        windows_->app->action(Command::NewFolder)->trigger();
        const RFATreeNode::Ptr folder = node(*window, "Unnamed");
        QVERIFY(folder);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor && outline(*window).isAncestorOf(editor));
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("A.CON"));
        QTest::keyClick(editor, Qt::Key_Return);
        endUserEvent();
        QMessageBox* box = waitForDialog<QMessageBox>(*window);
        QVERIFY(box);
        QCOMPARE(box->text(), QStringLiteral("The name \"A.CON\" is already taken by \"a.con\": the game does not tell "
                                             "names apart by case."));
        QCOMPARE(folder->name(), "Unnamed");
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
        const auto shown = [&box] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if ((box = qobject_cast<QMessageBox*>(top)) && box->isVisible())
                    return true;
            return false;
        };
        QTRY_VERIFY(shown());
        QCOMPARE(box->text(), headline);
        QCOMPARE(box->informativeText(), detail);
        box->close();
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::WindowInteractionTest)
#include "WindowInteractionTest.moc"
