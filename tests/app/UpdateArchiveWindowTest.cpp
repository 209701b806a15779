// A window on a base archive whose update replaces one of its entries: what
// Save, and Save as Update Archive…, tell the modder and leave behind.

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

private slots:
    void saveAsksOnlyBeforeAnEditTheGameWouldNotRead()
    {
        WindowFixture windows;
        const QString base = writeArchive(windows.temp, "level.rfa",
                                          {{"bf1942/a.con", "a"}, {"bf1942/b.con", "b"}, {"bf1942/c.con", "c"}});
        writeArchive(windows.temp, "level_001.rfa", {{"bf1942/b.con", "b1"}, {"bf1942/c.con", "c"}});
        MyDocument* window = windows.app->openFile(base);
        QVERIFY(window);
        window->show();
        QApplication::setActiveWindow(window);
        windows.app->updateActions();
        const auto onDisk = [&](const char* archive, const std::string& entry) {
            const Result<ArchiveListing> listing = ArchiveListing::open(windows.temp / archive);
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
        windows.app->action(Command::SaveAsUpdate)->trigger();
        QMessageBox* told = waitForDialog<QMessageBox>(*window);
        QVERIFY(told && told->text().startsWith("Nothing is new"));
        QCOMPARE(told->detailedText(), QStringLiteral("bf1942/b.con (level_001.rfa)"));
        told->close();

        edit("a.con"); // no update replaces it: saved without a question
        windows.app->action(Command::Save)->trigger();
        QCOMPARE(onDisk("level.rfa", "a.con"), "edited");

        edit("b.con");
        for (const QStringList& answers : {QStringList{"Cancel"}, {"Save as Update Archive…", "Write Anyway"}}) {
            windows.app->action(Command::Save)->trigger();
            QMessageBox* asked = waitForDialog<QMessageBox>(*window);
            QVERIFY(asked);
            QVERIFY2(asked->informativeText().contains("bf1942/b.con (level_001.rfa)"),
                     qPrintable(asked->informativeText()));
            QCOMPARE(static_cast<QAbstractButton*>(asked->defaultButton()), asked->button(QMessageBox::Cancel));
            for (const QString& answer : answers) {
                QMessageBox* box = waitForDialog<QMessageBox>(*window);
                QVERIFY2(box && choose(*box, answer), qPrintable(answer));
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

QTEST_MAIN(larkspan::UpdateArchiveWindowTest)
#include "UpdateArchiveWindowTest.moc"
