// The mod window follows the mod on disk: Reload, the archives this program
// writes, one window per mod; and what it tells of the parts it leaves out.

#include "AppTestSupport.h"

#include "app/mod/ModTreeModel.h"
#include "app/mod/ModWindow.h"
#include "app/viewers/TextEditorWindow.h"

#include <QAction>
#include <QLabel>
#include <QScreen>
#include <QTreeView>

namespace larkspan {

using namespace fixtures;
using Command = RFAApplicationDelegate::Command;

class ModReloadTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;
    std::unique_ptr<TemporaryFolder> game_;

    void put(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries)
    {
        const Bytes bytes = plainArchive(entries);
        game_->write(path, std::string(bytes.begin(), bytes.end()));
    }
    QString modFolder() const { return QString::fromStdString((game_->path() / "Mods/MyMod").string()); }
    static QModelIndex tank(const ModTreeModel& model)
    {
        const ModIndex& index = model.modIndex();
        const ModEntry* entry = index.find("bf1942/objects/tank.con");
        return entry ? model.indexOfEntry(static_cast<std::size_t>(entry - index.entries().data())) : QModelIndex();
    }
    static QString fromOfTank(const ModTreeModel& model)
    {
        return model.data(tank(model).siblingAtColumn(ModTreeModel::FromColumn)).toString();
    }

private slots:
    void init()
    {
        windows_ = std::make_unique<WindowFixture>();
        game_ = std::make_unique<TemporaryFolder>();
        put("Mods/MyMod/Archives/objects.rfa", {{"bf1942/objects/tank.con", "base tank"}});
        game_->write("Mods/MyMod/Archives/broken.rfa", std::string("\xff\xff\xff\x7f", 4));
        game_->write("Mods/MyMod/init.con", "game.addModPath Mods/Gone/\n");
    }
    void cleanup()
    {
        windows_.reset();
        game_.reset();
    }

    void reloadKeepsTheOutlineAndFindsANewUpdate()
    {
        ModWindow* window = windows_->app->openMod(modFolder());
        QVERIFY(window);
        QCOMPARE(windows_->app->openMod(modFolder() + "/"), window); // one window per mod
        window->show();
        auto& outline = part<QTreeView>(*window, "outline");
        const QModelIndex before = tank(window->model());
        outline.expand(before.parent());
        outline.selectionModel()->select(before, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);

        put("Mods/MyMod/Archives/objects_001.rfa", {{"bf1942/objects/tank.con", "new tank"}});
        part<QAction>(*window, "reload").trigger();
        const QModelIndex after = tank(window->model());
        QCOMPARE(fromOfTank(window->model()), QStringLiteral("Mods/MyMod/Archives/objects_001.rfa"));
        QVERIFY(outline.isExpanded(after.parent()));
        QCOMPARE(outline.selectionModel()->selectedRows(), QModelIndexList{after});
        window->close();
    }

    void anUpdateWrittenHereShowsAtOnce()
    {
        ModWindow* window = windows_->app->openMod(modFolder());
        QVERIFY(window);
        window->show();
        MyDocument* archive = windows_->app->openFile(
            QString::fromStdString((game_->path() / "Mods/MyMod/Archives/objects.rfa").string()));
        QVERIFY(archive);
        archive->show();
        QApplication::setActiveWindow(archive);
        node(*archive, "objects/tank.con")->setData(textBytes("edited tank"));
        windows_->app->updateActions();
        windows_->app->action(Command::SaveAsUpdate)->trigger();
        QTRY_COMPARE(fromOfTank(window->model()), QStringLiteral("Mods/MyMod/Archives/objects_001.rfa"));
        archive->closeWithoutAsking();
        window->close();
    }

    void saysAtOnceWhatIsLeftOutInPlainWords()
    {
        ModWindow* window = windows_->app->openMod(modFolder());
        QVERIFY(window);
        window->show();
        QVERIFY(part<QWidget>(*window, "problemsBar").isVisible());
        QCOMPARE(part<QLabel>(*window, "problemsSummary").text(),
                 QStringLiteral("Part of the mod is left out: archives that could not be read (1), "
                                "mods init.con names that are missing (1)."));
        QCOMPARE(window->problems().front(), QStringLiteral("Mods/MyMod/Archives/broken.rfa: the archive is damaged: "
                                                            "its directory points outside the file"));
        window->close();
    }

    void theViewerIsOnScreenAndClosesWithTheStandardKey()
    {
        ModWindow* window = windows_->app->openMod(modFolder());
        QVERIFY(window);
        window->move(-500, -500); // off the screen's edge: the viewer still lands on it
        window->show();
        window->openEntries({std::size_t(0)});
        QPointer<TextEditorWindow> viewer = window->findChild<TextEditorWindow*>();
        QVERIFY(viewer);
        QVERIFY(viewer->screen()->availableGeometry().contains(viewer->geometry()));
        QApplication::setActiveWindow(viewer);
        QTest::keySequence(viewer, QKeySequence::Close);
        QTRY_VERIFY(viewer.isNull());
        window->close();
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::ModReloadTest)
#include "ModReloadTest.moc"
