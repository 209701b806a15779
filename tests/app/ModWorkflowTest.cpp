// A modder's way through the mod window: an update of an update from the
// archive window Edit in Archive opened, honest counts, and extraction of
// search results that keeps where each entry lives.

#include "MyModWindow.h"

#include "mod/ArchiveListing.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QTreeWidget>

namespace larkspan {

using namespace fixtures;
using Command = RFAApplicationDelegate::Command;

class ModWorkflowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;

    std::filesystem::path archives() const { return windows_->temp.path() / "Mods/MyMod/Archives"; }

private slots:
    void init()
    {
        windows_ = std::make_unique<WindowFixture>();
        const TemporaryFolder& game = windows_->temp;
        writeArchive(game, "Mods/MyMod/Archives/objects.rfa", {{"bf1942/a.con", "a0"}, {"bf1942/b.con", "b0"}});
        writeArchive(game, "Mods/MyMod/Archives/objects_003.rfa", {{"bf1942/a.con", "a3"}});
        for (const std::string level : {"Berlin", "Kursk"})
            writeArchive(game, "Mods/MyMod/Archives/bf1942/levels/" + level + ".rfa",
                         {{"bf1942/levels/" + level + "/init.con", level}});
        game.write("Mods/MyMod/Archives/broken.rfa", std::string("\xff\xff\xff\x7f", 4));
    }
    void cleanup() { windows_.reset(); }

    void saveAsUpdateFromAnUpdateWritesTheFamilysNext()
    {
        MyDocument* window = windows_->app->openFile(QString::fromStdString((archives() / "objects_003.rfa").string()));
        QVERIFY(window);
        window->show();
        QApplication::setActiveWindow(window);
        node(*window, "a.con")->setData(textBytes("a4"));
        windows_->app->updateActions();
        windows_->app->action(Command::SaveAsUpdate)->trigger();

        QMessageBox* told = waitForDialog<QMessageBox>(*window);
        QVERIFY(told);
        QVERIFY2(told->text().contains("objects_004.rfa"), qPrintable(told->text()));
        told->close();
        Result<ArchiveListing> written = ArchiveListing::open(archives() / "objects_004.rfa");
        QVERIFY(written);
        QCOMPARE(written->records().size(), std::size_t(1));
        QCOMPARE(text(*written->content(written->records().front())), "a4");
        window->closeWithoutAsking();
    }

    void theStatusLineCountsUnreadableArchivesApart()
    {
        ModWindow* window = openMyMod(*windows_);
        QVERIFY(window);
        QCOMPARE(part<QLabel>(*window, "statusLine").text(),
                 QStringLiteral("Entries: 4 · Archives: 4 read, 1 could not be read · Mods: 1"));
        window->close();
    }

    void extractingSearchResultsKeepsTheirPaths()
    {
        ModWindow* window = openMyMod(*windows_);
        QVERIFY(window);
        part<QLineEdit>(*window, "searchField").setText("init.con");
        part<QCheckBox>(*window, "searchNames").setChecked(true);
        window->search();
        auto& results = part<QTreeWidget>(*window, "searchResults");
        QCOMPARE(results.topLevelItemCount(), 2);
        results.selectAll();
        window->extract();
        auto* dialog = waitForDialog<QFileDialog>(*window);
        QVERIFY(dialog);
        const auto folderOf = [](const std::filesystem::path& path) {
            return QDir(QString::fromStdString(path.string()));
        };
        QCOMPARE(dialog->directory(), folderOf(windows_->temp.path() / "Mods/MyMod")); // not the process's
        const std::filesystem::path target = windows_->temp.path() / "out";
        std::filesystem::create_directory(target);
        dialog->selectFile(QString::fromStdString(target.string()));
        static_cast<QDialog*>(dialog)->accept();

        const struct {
            const char* path;
            std::string content;
        } written[] = {{"bf1942/levels/Berlin/init.con", "Berlin"}, {"bf1942/levels/Kursk/init.con", "Kursk"}};
        for (const auto& file : written) {
            const Result<Bytes> bytes = readWholeFile(target / file.path);
            QVERIFY2(bytes, file.path);
            QCOMPARE(std::string(bytes->begin(), bytes->end()), file.content);
        }
        // The next dialogs start where the last ones ended.
        window->extract();
        dialog = waitForDialog<QFileDialog>(*window);
        QVERIFY(dialog);
        QCOMPARE(dialog->directory(), folderOf(target));
        dialog->close();
        windows_->app->action(Command::OpenMod)->trigger();
        QFileDialog* openMod = nullptr;
        for (QWidget* shown : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QFileDialog*>(shown); dialog && dialog->isVisible())
                openMod = dialog;
        QVERIFY(openMod);
        QCOMPARE(openMod->directory(), folderOf(windows_->temp.path() / "Mods"));
        openMod->close();
        window->close();
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::ModWorkflowTest)
#include "ModWorkflowTest.moc"
