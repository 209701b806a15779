// The archive window wired to the document logic: undo from the menu, the
// questions it asks before replacing or closing, and the text editor's steps.

#include "AppTestSupport.h"

#include "app/viewers/TextEditor.h"
#include "app/viewers/TextEditorWindow.h"
#include "app/window/ViewerWindows.h"

#include <QCheckBox>
#include <QPushButton>

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

private slots:
    void initTestCase() { isolateSettings(); }
    void init()
    {
        QSettings().clear();
        windows_ = std::make_unique<WindowFixture>();
    }
    void cleanup() { windows_.reset(); }

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
};

} // namespace larkspan

QTEST_MAIN(larkspan::MainWindowTest)
#include "MainWindowTest.moc"
