// An archive window of a family with update archives: Save asks before it
// writes an edit the game would never read, and Save as Update Archive…
// leaves the window saved.

#include "AppTestSupport.h"

#include "document/ExternalEdit.h"
#include "mod/ArchiveListing.h"

#include <QAction>
#include <QPushButton>

namespace larkspan {

using namespace fixtures;
using Command = RFAApplicationDelegate::Command;

class UpdateArchiveWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;

    // The entry's content in the archive on disk, "-" when it holds none.
    std::string onDisk(const std::string& archive, const std::string& entry) const
    {
        const Result<ArchiveListing> listing = ArchiveListing::open(windows_->temp / archive);
        if (!listing)
            return "<unreadable>";
        for (const RecordFields& record : listing->records())
            if (record.name == entry)
                return text(listing->content(record).value_or(nullptr));
        return "-";
    }
    MyDocument* open(const std::string& archive)
    {
        MyDocument* window = windows_->app->openFile(QString::fromStdString((windows_->temp / archive).string()));
        if (!window)
            return nullptr;
        window->show();
        QApplication::setActiveWindow(window);
        windows_->app->updateActions();
        return window;
    }
    // The entry's bytes replaced as an editor replaces them: one undoable step.
    MyDocument* openAndEdit(const std::string& archive, const std::string& entry, const std::string& content)
    {
        MyDocument* window = open(archive);
        if (!window)
            return nullptr;
        replaceEntryBytes(node(*window, entry), textBytes(content));
        endUserEvent();
        windows_->app->updateActions();
        return window;
    }
    static QMessageBox* shownBox(MyDocument& window)
    {
        QCoreApplication::processEvents();
        for (QMessageBox* box : window.findChildren<QMessageBox*>())
            if (box->isVisible())
                return box;
        return nullptr;
    }
    void trigger(Command command) { windows_->app->action(command)->trigger(); }

private slots:
    // level_001 replaces b.con of the base, level_002 c.con of level_001.
    void init()
    {
        windows_ = std::make_unique<WindowFixture>();
        writeArchive(windows_->temp, "level.rfa", {{"bf1942/a.con", "a"}, {"bf1942/b.con", "b"}});
        writeArchive(windows_->temp, "level_001.rfa", {{"bf1942/b.con", "b1"}, {"bf1942/c.con", "c1"}});
        writeArchive(windows_->temp, "level_002.rfa", {{"bf1942/c.con", "c2"}});
    }

    void saveAsksBeforeWritingAnEditALaterUpdateHides()
    {
        struct Row {
            const char* name;
            std::string archive;
            std::string entry;
            QString asked; // the entry and the update named; empty: saved without a question
            QStringList answers;
            std::string written; // the archive that holds the edit afterwards; empty: none
        };
        for (const Row& row : std::vector<Row>{
                 {"no update replaces it", "level.rfa", "a.con", {}, {}, "level.rfa"},
                 {"Cancel", "level.rfa", "b.con", "bf1942/b.con (level_001.rfa)", {"Cancel"}, ""},
                 {"Save Anyway", "level.rfa", "b.con", "bf1942/b.con (level_001.rfa)", {"Save Anyway"}, "level.rfa"},
                 {"Save as Update Archive…, over level_001's change", "level.rfa", "b.con",
                  "bf1942/b.con (level_001.rfa)", {"Save as Update Archive…", "Write Anyway"}, "level_003.rfa"},
                 {"an update under a higher one", "level_001.rfa", "c.con", "bf1942/c.con (level_002.rfa)",
                  {"Save Anyway"}, "level_001.rfa"},
                 {"an update, no higher one replaces it", "level_001.rfa", "b.con", {}, {}, "level_001.rfa"},
             }) {
            init();
            MyDocument* window = openAndEdit(row.archive, row.entry, "edited");
            QVERIFY2(window, row.name);
            trigger(Command::Save);
            QMessageBox* asked = shownBox(*window);
            QCOMPARE(asked != nullptr, !row.asked.isEmpty());
            if (asked) {
                QVERIFY2(asked->informativeText().contains(row.asked), qPrintable(asked->informativeText()));
                QCOMPARE(static_cast<QAbstractButton*>(asked->defaultButton()), asked->button(QMessageBox::Cancel));
            }
            for (const QString& answer : row.answers) {
                QMessageBox* box = waitForDialog<QMessageBox>(*window);
                QVERIFY2(box && choose(*box, answer), qPrintable(answer));
            }
            if (QMessageBox* told = shownBox(*window))
                told->close();
            for (const std::string archive : {"level.rfa", "level_001.rfa", "level_003.rfa"})
                QCOMPARE(onDisk(archive, "bf1942/" + row.entry) == "edited", archive == row.written);
            QCOMPARE(window->isModified(), row.written.empty());
            window->closeWithoutAsking();
        }
    }

    // Nothing is new for an update, yet the game reads level_001's b.con,
    // not the base's (as after Save Anyway): the box says so.
    void nothingNewNamesWhatALaterUpdateReplaces()
    {
        MyDocument* window = open("level.rfa");
        QVERIFY(window);
        trigger(Command::SaveAsUpdate);
        QMessageBox* told = waitForDialog<QMessageBox>(*window);
        QVERIFY(told && told->text().startsWith("Nothing is new"));
        QCOMPARE(told->detailedText(), QStringLiteral("bf1942/b.con (level_001.rfa)"));
        told->close();
        window->closeWithoutAsking();
    }

    void anUpdateWrittenLeavesTheWindowSaved()
    {
        MyDocument* window = openAndEdit("level.rfa", "a.con", "edited");
        QVERIFY(window && window->isWindowModified());
        trigger(Command::SaveAsUpdate);
        QMessageBox* told = waitForDialog<QMessageBox>(*window);
        QVERIFY(told && told->text().contains("level_003.rfa"));
        told->close();
        QVERIFY(!window->isModified() && !window->isWindowModified());

        window->document()->undoHistory()->undo();
        QVERIFY(window->isWindowModified());
        window->document()->undoHistory()->redo();
        QVERIFY(!window->isWindowModified());
        trigger(Command::SaveAsUpdate);
        told = waitForDialog<QMessageBox>(*window);
        QVERIFY(told && told->text().startsWith("Nothing is new"));
        told->close();

        window->close(); // nothing to ask
        QVERIFY(!window->isVisible());
        QCOMPARE(onDisk("level.rfa", "bf1942/a.con"), "a");
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::UpdateArchiveWindowTest)
#include "UpdateArchiveWindowTest.moc"
