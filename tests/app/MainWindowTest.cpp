// The archive window wired to the document logic: undo and redo from the
// menus of its own and its viewer windows, and the questions asked before
// replacing, closing, saving without empty folders, or saving an edit that
// an update archive hides.

#include "AppTestSupport.h"

#include "app/shell/Settings.h"
#include "app/views/EntryPreview.h"
#include "app/window/DocumentFileController.h"
#include "app/window/ViewerWindows.h"
#include "document/ExternalEdit.h"
#include "mod/ArchiveListing.h"

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>

namespace larkspan {

using namespace fixtures;
using Command = RFAApplicationDelegate::Command;

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;

private slots:
    void init() { windows_ = std::make_unique<WindowFixture>(); }
    void cleanup() { windows_.reset(); }

    void undoAndRedoFromTheMenu()
    {
        MyDocument* window = windows_->open({{"bf1942/a.con", "a"}, {"bf1942/b.con", "b"}});
        window->viewers().openEntries({node(*window, "b.con")});
        const QWidget* viewer = window->viewers().viewerFor(*node(*window, "b.con"));
        QVERIFY(viewer);
        QApplication::setActiveWindow(window);
        QVERIFY(window->document()->commands().deleteNodes({node(*window, "a.con")}));
        endUserEvent();
        const auto run = [&](Command command, const QString& named, const std::string& after, bool modified) {
            QCOMPARE(windows_->app->action(command)->text(), named);
            windows_->app->action(command)->trigger();
            endUserEvent();
            QCOMPARE(tree(*window), after);
            QCOMPARE(window->isWindowModified(), modified);
            QCOMPARE(viewer->isWindowModified(), modified); // the text window shows its archive's mark
        };
        run(Command::Undo, QStringLiteral("&Undo Delete"), "bf1942{a.con,b.con}", false);
        run(Command::Redo, QStringLiteral("&Redo Delete"), "bf1942{b.con}", true);
    }

    void openRecentTellsArchivesOfOneNameApart()
    {
        for (const char* path : {"/m/One/Archives/objects.rfa", "/m/Two/Archives/objects.rfa", "/m/demo.rfa"})
            settings::noteRecentFile(QString::fromLatin1(path));
        MyDocument* window = windows_->open({{"bf1942/a.con", "a"}});
        QStringList labels;
        for (const QMenu* menu : window->menuBar()->findChildren<QMenu*>())
            if (menu->title() == QStringLiteral("Open &Recent"))
                for (const QAction* entry : menu->actions())
                    labels << entry->text();
        for (const char* label : {"demo.rfa", "objects.rfa — /m/One/Archives", "objects.rfa — /m/Two/Archives"})
            QVERIFY2(labels.contains(QString::fromUtf8(label)), qPrintable(labels.join('|')));
    }

    // Viewer windows carry the application's menus: they act on the
    // viewer's document, whatever window was active before.
    void aViewersShortcutsActOnItsDocument_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QKeySequence>("keys");
        const std::pair<const char*, QKeySequence::StandardKey> keys[] = {
            {"save", QKeySequence::Save}, {"undo", QKeySequence::Undo}, {"close", QKeySequence::Close}};
        for (const char* entry : {"init.con", "sky.raw", "tank.sm"})
            for (const auto& [name, key] : keys)
                QTest::addRow("%s %s", entry, name) << QString::fromLatin1(entry) << QKeySequence(key);
    }
    void aViewersShortcutsActOnItsDocument()
    {
        QFETCH(QString, entry);
        QFETCH(QKeySequence, keys);
        MyDocument* window = windows_->open(
            {{"bf1942/init.con", "run x"}, {"bf1942/sky.raw", std::string(2 * 64 * 64, '\x40')}, {"bf1942/tank.sm", "m"}});
        MyDocument* other = windows_->untitled();
        window->document()->commands().renameNode(node(*window, "init.con"), "renamed.con");
        endUserEvent();
        const RFATreeNode::Ptr shown = node(*window, entry == "init.con" ? "renamed.con" : entry.toStdString());
        window->viewers().openEntries({shown});
        QPointer<QWidget> viewer = window->viewers().viewerFor(*shown);
        QVERIFY(viewer);
        QApplication::setActiveWindow(viewer);
        QVERIFY(QTest::qWaitForWindowActive(viewer));
        QTest::keySequence(viewer->focusWidget() ? viewer->focusWidget() : viewer.data(), keys);
        if (keys == QKeySequence::Save)
            QTRY_VERIFY(!window->isModified());
        else if (keys == QKeySequence::Undo)
            QTRY_VERIFY(node(*window, "init.con"));
        else
            QTRY_VERIFY(viewer.isNull());
        QVERIFY(window->isVisible() && other->isVisible());
    }

    void addFilesAsksBeforeReplacing()
    {
        const std::filesystem::path incoming = windows_->temp.write("incoming/a.con", "new content");
        windows_->temp.write("incoming/b.con", "b");
        MyDocument* window = windows_->open({{"bf1942/a.con", "old"}});
        window->document()->insertion().startAddingFilesWithNames({incoming, windows_->temp / "incoming/b.con"},
                                                                  node(*window, ""), 1);
        QMessageBox* question = waitForDialog<QMessageBox>(*window);
        QVERIFY(question);
        QCOMPARE(question->text(), QStringLiteral("a.con already exists."));
        QCOMPARE(question->informativeText(), QStringLiteral("Do you wish to replace a.con with the new file?"));
        QVERIFY(question->checkBox());
        press(question->buttons().first()); // Replace
        QTRY_VERIFY(!window->document()->insertion().isInserting());
        QCOMPARE(text(node(*window, "a.con")->data()), "new content");
        QVERIFY(node(*window, "b.con"));
    }

    void closeAsksToSaveChanges()
    {
        MyDocument* window = windows_->open({{"bf1942/a.con", "a"}});
        QPointer<MyDocument> watch(window);
        const std::filesystem::path file = *window->document()->fileLocation();
        node(*window, "a.con")->setName("b.con");
        endUserEvent();
        for (const auto answer : {QMessageBox::Cancel, QMessageBox::Save}) {
            window->close();
            QMessageBox* prompt = waitForDialog<QMessageBox>(*window);
            QVERIFY(prompt);
            QCOMPARE(prompt->button(QMessageBox::Discard)->text(), QStringLiteral("Don't Save"));
            press(prompt->button(answer));
        }
        QTRY_VERIFY(watch.isNull());
        const auto reread = RFAArchive::initWithData(*readWholeFile(file)).value_or(nullptr);
        QCOMPARE(reread->root()->objectInChildrenAtIndex(0)->name(), "b.con");
    }

    void keyboardShortcutsListEveryKeyAlsoTheViewers()
    {
        MyDocument* window = windows_->open({{"bf1942/a.con", "a"}});
        QApplication::setActiveWindow(window);
        windows_->app->action(Command::KeyboardShortcuts)->trigger();
        auto* table = window->findChild<QTableWidget*>();
        QVERIFY(table);
        QStringList rows;
        for (int row = 0; row < table->rowCount(); ++row)
            rows << table->item(row, 0)->text() + ": " + table->item(row, 1)->text();
        for (const char* expected : {"Save: Ctrl+S", "Find Next: Ctrl+G, F3", "Find Previous: Ctrl+Shift+G, Shift+F3",
                                     "Actual Size: Ctrl+0", "Fit to Window: Ctrl+9"})
            QVERIFY2(rows.contains(expected), qPrintable(rows.join('\n')));
    }

    void savingAsksWhenAnotherProgramWroteTheFile()
    {
        MyDocument* window = windows_->open({{"bf1942/a.con", "a"}});
        const std::filesystem::path file = *window->document()->fileLocation();
        const Bytes theirs = plainArchive({{"bf1942/theirs.con", "written elsewhere"}});
        QFile other(QString::fromStdString(file.string()));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write(reinterpret_cast<const char*>(theirs.data()), qint64(theirs.size()));
        other.close();
        node(*window, "a.con")->setName("b.con");
        endUserEvent();
        const struct {
            const char* answer;
            std::string onDisk;
        } steps[] = {{"Cancel", "theirs.con"}, {"Save Anyway", "b.con"}};
        for (const auto& step : steps) {
            window->file().save();
            QMessageBox* asked = waitForDialog<QMessageBox>(*window);
            QVERIFY(asked && asked->text().endsWith("has been changed by another program since it was opened or "
                                                    "saved here."));
            QVERIFY(choose(*asked, step.answer));
            const auto reread = RFAArchive::initWithData(*readWholeFile(file)).value_or(nullptr);
            QCOMPARE(reread->root()->objectInChildrenAtIndex(0)->name(), step.onDisk);
        }
        // Written here since: saving again asks nothing.
        node(*window, "b.con")->setName("c.con");
        window->file().save();
        QVERIFY(!window->isWindowModified());
    }

    void revertBringsTheSavedArchiveBackAndCountsItAnew()
    {
        MyDocument* window = windows_->open({{"bf1942/a.con", "a"}, {"bf1942/b.con", "b"}});
        const auto statusLine = [&] { return part<QLabel>(*window, "statusLine").text(); };
        QTRY_VERIFY(!statusLine().isEmpty());
        const QString fresh = statusLine();
        node(*window, "a.con")->setName("renamed.con");
        endUserEvent();
        selectInTree(*window, {"renamed.con"});
        window->file().revertToSaved();
        QMessageBox* asked = waitForDialog<QMessageBox>(*window);
        QVERIFY(asked && choose(*asked, "Revert"));
        QCOMPARE(tree(*window), "bf1942{a.con,b.con}");
        QVERIFY(window->document()->selection().nodes().empty());
        QTRY_COMPARE(statusLine(), fresh);
    }

    void aDeletedEntryLeavesThePreview()
    {
        // The folder's only file: nothing else takes the preview.
        MyDocument* window = windows_->open({{"bf1942/a/x.con", "x"}, {"bf1942/b.con", "b"}});
        window->useBrowserView();
        const auto& preview = part<EntryPreview>(*window, "browserPreview");
        browser(*window).setCurrentIndex(treeModel(*window).indexForNode(*node(*window, "a/x.con")));
        QTRY_VERIFY(preview.entry() == node(*window, "a/x.con"));
        node(*window, "a")->removeChildNamed("x.con");
        QVERIFY(!preview.entry());
    }

    void aClosedWindowGoesWithTheApplication()
    {
        // Deleted later, it still calls the application as it goes.
        QPointer<MyDocument> closed(windows_->open({{"bf1942/a.con", "a"}}));
        closed->closeWithoutAsking();
        QVERIFY(closed);
        windows_->app.reset();
        QVERIFY(closed.isNull());
    }

    void savingAsksBeforeLeavingOutEmptyFolders_data()
    {
        QTest::addColumn<QStringList>("folders"); // made empty, below bf1942
        QTest::addColumn<QStringList>("named");   // in the question
        QTest::addColumn<bool>("answerSave");
        QTest::newRow("cancelled") << QStringList{"empty"} << QStringList{"bf1942/empty/"} << false;
        // A folder of empty folders goes as one.
        QTest::newRow("nested") << QStringList{"outer", "outer/inner", "other"}
                                << QStringList{"bf1942/outer/", "bf1942/other/"} << true;
    }
    void savingAsksBeforeLeavingOutEmptyFolders()
    {
        QFETCH(QStringList, folders);
        QFETCH(QStringList, named);
        QFETCH(bool, answerSave);
        MyDocument* window = windows_->open({{"bf1942/a.con", "a"}});
        for (const QString& path : folders) {
            const RFATreeNode::Ptr parent = node(*window, path.section('/', 0, -2).toStdString());
            parent->appendChild(RFATreeNode::initAsDirectory(path.section('/', -1).toStdString(), parent));
        }
        const std::filesystem::path file = *window->document()->fileLocation();
        const Bytes before = *readWholeFile(file);
        std::optional<bool> saved;
        window->file().save([&saved](bool ok) { saved = ok; });
        QMessageBox* box = waitForDialog<QMessageBox>(*window);
        QVERIFY(box);
        for (const QString& folder : named)
            QVERIFY2(box->informativeText().contains(folder), qPrintable(box->informativeText()));
        QCOMPARE(box->informativeText().count(QStringLiteral("bf1942/")), named.size());
        QVERIFY(!saved);
        press(box->button(answerSave ? QMessageBox::Save : QMessageBox::Cancel));
        QTRY_VERIFY(saved.has_value());
        QCOMPARE(*saved, answerSave);
        const Bytes after = *readWholeFile(file);
        if (answerSave)
            QCOMPARE(describe(*(*RFAArchive::initWithData(after))->root()), "bf1942{a.con}");
        else
            QCOMPARE(after, before);
        QCOMPARE(window->isModified(), !answerSave);
    }

    // A base archive whose update replaces one of its entries: what Save, and
    // Save as Update Archive…, tell the modder and leave behind.
    void saveAsksOnlyBeforeAnEditTheGameWouldNotRead()
    {
        const QString base = writeArchive(windows_->temp, "level.rfa",
                                          {{"bf1942/a.con", "a"}, {"bf1942/b.con", "b"}, {"bf1942/c.con", "c"}});
        writeArchive(windows_->temp, "level_001.rfa", {{"bf1942/b.con", "b1"}, {"bf1942/c.con", "c"}});
        MyDocument* window = windows_->app->openFile(base);
        QVERIFY(window);
        window->show();
        QApplication::setActiveWindow(window);
        windows_->app->updateActions();
        const auto onDisk = [&](const char* archive, const std::string& entry) {
            const Result<ArchiveListing> listing = ArchiveListing::open(windows_->temp / archive);
            for (const RecordFields& record : listing ? listing->records() : std::vector<RecordFields>{})
                if (record.name == "bf1942/" + entry)
                    return text(listing->content(record).value_or(nullptr));
            return std::string("-");
        };
        const auto edit = [&](const std::string& entry) {
            replaceEntryBytes(node(*window, entry), textBytes("edited"));
            endUserEvent();
        };

        // Nothing is new, yet the game reads level_001's b.con (not c.con: the same bytes).
        windows_->app->action(Command::SaveAsUpdate)->trigger();
        QMessageBox* told = waitForDialog<QMessageBox>(*window);
        QVERIFY(told && told->text().startsWith("Nothing is new"));
        QCOMPARE(told->detailedText(), QStringLiteral("bf1942/b.con (level_001.rfa)"));
        told->close();

        edit("a.con"); // no update replaces it: saved without a question
        windows_->app->action(Command::Save)->trigger();
        QCOMPARE(onDisk("level.rfa", "a.con"), "edited");

        edit("b.con");
        // Saved from the script's window: the questions stand over it, which stays in front.
        window->viewers().openEntries({node(*window, "b.con")});
        QWidget* script = window->viewers().viewerFor(*node(*window, "b.con"));
        for (const QStringList& answers : {QStringList{"Cancel"}, {"Save as Update Archive…", "Write Anyway"}}) {
            QApplication::setActiveWindow(script);
            windows_->app->action(Command::Save)->trigger();
            QMessageBox* asked = waitForDialog<QMessageBox>(*window);
            QVERIFY(asked && asked->parentWidget() == script);
            QVERIFY2(asked->informativeText().contains("bf1942/b.con (level_001.rfa)"),
                     qPrintable(asked->informativeText()));
            QCOMPARE(static_cast<QAbstractButton*>(asked->defaultButton()), asked->button(QMessageBox::Cancel));
            for (const QString& answer : answers) {
                QMessageBox* box = waitForDialog<QMessageBox>(*window);
                QVERIFY2(box && box->parentWidget() == script, qPrintable(answer)); // a question led to by one, too
                QVERIFY2(choose(*box, answer), qPrintable(answer));
            }
            QCOMPARE(window->isModified(), answers.size() == 1);
        }
        told = waitForDialog<QMessageBox>(*window); // the update written
        QVERIFY(told);
        told->close();
        QCOMPARE(onDisk("level.rfa", "b.con"), "b");
        QCOMPARE(onDisk("level_002.rfa", "b.con"), "edited");

        // Saved in the update: no mark in the title, until undo.
        QVERIFY(!window->isWindowModified());
        window->document()->undoHistory()->undo();
        QVERIFY(window->isWindowModified());
        window->document()->undoHistory()->redo();
        window->close(); // nothing to ask
        QVERIFY(!window->isVisible());
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::MainWindowTest)
#include "MainWindowTest.moc"
