// The archive window wired to the document logic: panes, menus, dialogs,
// undo, the close prompt and the viewer windows.

#include "AppTestSupport.h"
#include "support/PathComponents.h"

#include "app/shell/Settings.h"
#include "app/viewers/PictureView.h"
#include "app/viewers/QtImages.h"
#include "app/viewers/RFAImageViewingController.h"
#include "app/viewers/TextEditor.h"
#include "app/viewers/TextEditorWindow.h"
#include "app/views/ArchiveOutlineView.h"
#include "app/views/ArchiveTreeModel.h"
#include "app/window/PathBar.h"
#include "app/window/ViewerWindows.h"
#include "model/UndoHistory.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QToolButton>

namespace larkspan {

using namespace fixtures;
using Command = RFAApplicationDelegate::Command;

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;

    RFAApplicationDelegate& app() { return *windows_->app; }
    MyDocument* open(const std::vector<std::pair<std::string, std::string>>& entries)
    {
        return windows_->open(entries);
    }
    bool enabled(Command command) { return app().action(command)->isEnabled(); }

private slots:
    void initTestCase()
    {
        isolateSettings();
    }
    void init()
    {
        QSettings().clear();
        windows_ = std::make_unique<WindowFixture>();
    }
    void cleanup() { windows_.reset(); }

    void defaultViewModeComesFromSettings()
    {
        MyDocument* first = open({{"bf1942/a.con", "a"}});
        QVERIFY(first);
        QCOMPARE(panes(*first).currentIndex(), 0);
        QVERIFY(viewModeButton(*first, 0).isChecked());

        // The control's choice becomes the default of later windows.
        viewModeButton(*first, 1).click();
        QCOMPARE(panes(*first).currentIndex(), 1);
        QCOMPARE(settings::defaultViewMode(), 1);
        MyDocument* second = open({{"bf1942/b.con", "b"}});
        QCOMPARE(panes(*second).currentIndex(), 1);
        QVERIFY(viewModeButton(*second, 1).isChecked());

        // The menu changes only the window it acts on.
        second->activateWindow();
        QApplication::setActiveWindow(second);
        app().action(Command::UseBrowser)->trigger();
        QCOMPARE(panes(*second).currentIndex(), 0);
        QCOMPARE(settings::defaultViewMode(), 1);
        QCOMPARE(panes(*first).currentIndex(), 1);
    }

    void menusFollowTheSelectionAndTheMode()
    {
        MyDocument* window = open({{"bf1942/objects/tank.con", "t"}});
        QApplication::setActiveWindow(window);
        selectInTree(*window, {});
        QVERIFY(!enabled(Command::Delete));
        QVERIFY(!enabled(Command::NewFolder));
        QVERIFY(!enabled(Command::Extract));
        QVERIFY2(!enabled(Command::Run), "not inside a game installation");
        selectInTree(*window, {""});
        QVERIFY2(!enabled(Command::Delete), "the root folder cannot be deleted");
        QVERIFY(enabled(Command::NewFolder));
        selectInTree(*window, {"objects/tank.con"});
        QCOMPARE(statusLine(*window).text(), QStringLiteral("1 object of 1 selected, 1 Bytes"));
        QVERIFY(enabled(Command::Delete));
        QVERIFY2(enabled(Command::AddFiles), "a file selected: its folder receives");
        QVERIFY(enabled(Command::UseList));

        searchField(*window).setText(QStringLiteral("tank"));
        emit searchField(*window).textEdited(QStringLiteral("tank"));
        QCOMPARE(panes(*window).currentIndex(), 2);
        QVERIFY(!enabled(Command::UseList));
        QVERIFY(!enabled(Command::UseBrowser));
        QVERIFY(!viewModeButton(*window, 0).isEnabled());
    }

    void searchShowsResultsAndThePathBar()
    {
        settings::setSearchFilenames(true);
        MyDocument* window = open({{"bf1942/objects/tank.con", "t"}, {"bf1942/objects/tanks/x.con", "x"}});
        emit searchField(*window).textEdited(QStringLiteral("TANK"));
        QTableView& results = searchResults(*window);
        QCOMPARE(results.model()->rowCount(), 2);
        QCOMPARE(results.model()->index(0, 1).data().toString(), QStringLiteral("bf1942/objects/tank.con"));
        results.selectRow(0);
        endUserEvent();
        QCOMPARE(pathBar(*window).components().size(), std::size_t{3});
        QCOMPARE(pathBar(*window).components().back().title, std::string("tank.con"));
        QVERIFY(pathBar(*window).components().back().isFile);
        QCOMPARE(statusLine(*window).text(), QStringLiteral("1 object of 2 selected, 1 Bytes"));
        results.selectAll();
        endUserEvent();
        QVERIFY(pathBar(*window).components().empty());

        // The field's cancel button leaves the search, back to the pane before.
        QAction* cancel = searchField(*window).actions().last();
        cancel->trigger();
        QCOMPARE(panes(*window).currentIndex(), 0);
        QVERIFY(searchField(*window).text().isEmpty());
        QVERIFY(viewModeButton(*window, 0).isEnabled());
    }

    void newFolderDeleteAndUndoFromTheMenu()
    {
        MyDocument* window = open({{"bf1942/a.con", "a"}});
        QApplication::setActiveWindow(window);
        selectInTree(*window, {""});
        app().action(Command::NewFolder)->trigger();
        endUserEvent();
        const RFATreeNode::Ptr root = node(*window, "");
        QCOMPARE(root->countOfChildren(), std::size_t{2});
        QCOMPARE(root->objectInChildrenAtIndex(1)->name(), std::string("Unnamed"));
        QVERIFY(window->isWindowModified());
        QCOMPARE(app().action(Command::Undo)->text(), QStringLiteral("&Undo New Folder"));

        selectInTree(*window, {"a.con"});
        app().action(Command::Delete)->trigger();
        endUserEvent();
        QCOMPARE(root->countOfChildren(), std::size_t{1});
        QCOMPARE(app().action(Command::Undo)->text(), QStringLiteral("&Undo Delete"));
        app().action(Command::Undo)->trigger();
        endUserEvent();
        QCOMPARE(root->countOfChildren(), std::size_t{2});
        QCOMPARE(app().action(Command::Redo)->text(), QStringLiteral("&Redo Delete"));
        app().action(Command::Undo)->trigger();
        endUserEvent();
        QCOMPARE(root->countOfChildren(), std::size_t{1});
        QVERIFY2(!window->isWindowModified(), "back at the state read from disk");
        app().action(Command::Redo)->trigger();
        endUserEvent();
        QCOMPARE(root->countOfChildren(), std::size_t{2});
    }

    void addFilesAsksBeforeReplacing()
    {
        const std::filesystem::path incoming = windows_->temp.write("incoming/a.con", "new content");
        windows_->temp.write("incoming/b.con", "b");
        MyDocument* window = open({{"bf1942/a.con", "old"}});
        window->document()->insertion().startAddingFilesWithNames({incoming, windows_->temp.path() / "incoming/b.con"},
                                                      node(*window, ""), 1);
        QMessageBox* question = waitForDialog<QMessageBox>(*window);
        QVERIFY(question);
        QCOMPARE(question->text(), QStringLiteral("a.con already exists."));
        QCOMPARE(question->informativeText(), QStringLiteral("Do you wish to replace a.con with the new file?"));
        QVERIFY(question->checkBox());
        QCOMPARE(question->checkBox()->text(), QStringLiteral("Do for all files."));
        QCOMPARE(question->windowModality(), Qt::WindowModal);
        question->buttons().first()->click(); // Replace
        QTRY_VERIFY(!window->document()->insertion().isInserting());
        QCOMPARE(node(*window, "a.con")->data()->size(), std::size_t{11});
        QVERIFY(node(*window, "b.con"));
    }

    void closeAsksToSaveChanges()
    {
        MyDocument* window = open({{"bf1942/a.con", "a"}});
        QPointer<MyDocument> watch(window);
        const std::filesystem::path file = *window->document()->fileLocation();
        node(*window, "a.con")->setName("b.con");
        endUserEvent();
        QVERIFY(window->isModified());

        window->close();
        QMessageBox* prompt = waitForDialog<QMessageBox>(*window);
        QVERIFY(prompt);
        prompt->button(QMessageBox::Cancel)->click();
        QTest::qWait(50);
        QVERIFY(watch && window->isVisible());

        window->close();
        prompt = waitForDialog<QMessageBox>(*window);
        QVERIFY(prompt);
        QCOMPARE(prompt->button(QMessageBox::Discard)->text(), QStringLiteral("Don't Save"));
        prompt->button(QMessageBox::Save)->click();
        QTRY_VERIFY(watch.isNull());
        // Saved before closing: the file holds the rename.
        const auto reread = RFAArchive::initWithData(*readWholeFile(file)).value_or(nullptr);
        QCOMPARE(reread->root()->objectInChildrenAtIndex(0)->name(), std::string("b.con"));
    }

    void anEntryOpensOneWindow()
    {
        MyDocument* window = open({{"bf1942/sky.raw", std::string(2 * 64 * 64, '\x40')}});
        const RFATreeNode::Ptr sky = node(*window, "sky.raw");
        window->viewers().openEntries({sky});
        window->viewers().openEntries({sky});
        QCOMPARE(window->findChildren<RFAImageViewingController*>().size(), qsizetype{1});
        QWidget* viewer = window->viewers().viewerFor(*sky);
        QVERIFY(viewer);
        QCOMPARE(viewer->windowTitle(), window->displayName() + QStringLiteral(" \u2014 sky.raw"));
        sky->setName("moved.raw");
        window->viewers().openEntries({sky});
        QCOMPARE(window->viewers().viewerFor(*sky), viewer); // "found by the entry, not its name"
        QCOMPARE(viewer->windowTitle(), window->displayName() + QStringLiteral(" \u2014 moved.raw"));
        window->viewers().openEntries({node(*window, "")});
        QCOMPARE(window->findChildren<RFAImageViewingController*>().size(), qsizetype{1});
    }

    void typingInTheEditorIsUndoneFromTheMenu()
    {
        const std::string script = "rem caf\xE9\r\nrun x\n\tend\r";
        MyDocument* window = open({{"bf1942/init.con", script}});
        QApplication::setActiveWindow(window);
        const RFATreeNode::Ptr entry = node(*window, "init.con");
        window->viewers().openEntries({entry});
        auto* editorWindow = qobject_cast<TextEditorWindow*>(window->viewers().viewerFor(*entry));
        QVERIFY(editorWindow);
        QVERIFY(QTest::qWaitForWindowExposed(editorWindow));
        TextEditor& editor = *editorWindow->editor();
        QCOMPARE(*entry->data(), Bytes(script.begin(), script.end()));
        QTextCursor cursor = editor.textCursor();
        cursor.movePosition(QTextCursor::End);
        editor.setTextCursor(cursor);
        QTest::keyClicks(&editor, QStringLiteral("ok"));
        endUserEvent();
        const std::string typed = script + "ok";
        QCOMPARE(*entry->data(), Bytes(typed.begin(), typed.end()));
        QVERIFY(window->isWindowModified());
        QCOMPARE(app().action(Command::Undo)->text(), QStringLiteral("&Undo Typing"));
        app().action(Command::Undo)->trigger();
        endUserEvent();
        QCOMPARE(*entry->data(), Bytes(script.begin(), script.end()));
        QVERIFY(!window->isWindowModified());
    }

    void imageViewerFitsThePicture()
    {
        MyDocument* window = open({{"bf1942/wide.raw", std::string(2 * 64 * 64, '\x10')}});
        const RFATreeNode::Ptr wide = node(*window, "wide.raw");
        window->viewers().openEntries({wide});
        auto* viewer = qobject_cast<RFAImageViewingController*>(window->viewers().viewerFor(*wide));
        QVERIFY(viewer);
        QVERIFY(QTest::qWaitForWindowExposed(viewer));
        // At least as high as the picture, which is fitted to the window.
        QVERIFY(viewer->pictureView().height() >= 64);
        QCOMPARE(viewer->pictureView().pictureRect().height(), viewer->pictureView().height());
        QVERIFY(viewer->infoText().contains(QStringLiteral("RAW, 64 × 64, 16 bits")));
        // New bytes, a new picture and a window sized to it.
        wide->setData(makeSharedBytes(Bytes(32 * 32, 0x20)));
        QCOMPARE(viewer->pictureView().picture().size(), QSize(32, 32));
        viewer->resize(400, 150);
        QTRY_COMPARE(viewer->pictureView().pictureRect().height(), viewer->pictureView().height());
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::MainWindowTest)
#include "MainWindowTest.moc"
