// An archive window of a family with update archives: Save as Update
// Archive… leaves the window saved.

#include "AppTestSupport.h"

#include "document/ExternalEdit.h"
#include "mod/ArchiveListing.h"

#include <QAction>

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
