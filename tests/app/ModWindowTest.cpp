// The mod window over a generated game folder, and the archive window's
// Save as Update Archive…, both through what the user reaches. The mod
// window follows the mod on disk: Reload, the archives this program writes,
// one window per mod; and it tells of the parts it leaves out.

#include "AppTestSupport.h"

#include "app/viewers/TextEditor.h"
#include "app/viewers/TextEditorWindow.h"
#include "mod/ArchiveListing.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>

namespace larkspan {

using namespace fixtures;
using Command = RFAApplicationDelegate::Command;

class ModWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;

    static QModelIndex find(const ModTreeModel& model, const QString& path)
    {
        QModelIndex at;
        for (const QString& name : path.split(QLatin1Char('/')))
            at = model.match(model.index(0, 0, at), Qt::DisplayRole, name, 1, Qt::MatchExactly).value(0);
        return at;
    }
    // The tank's row, however the winning archive spells it.
    static QModelIndex tank(const ModTreeModel& model) { return modRow(model, "bf1942/objects/tank.con"); }
    static QString fromOfTank(const ModTreeModel& model)
    {
        return model.data(tank(model).siblingAtColumn(ModTreeModel::FromColumn)).toString();
    }

private slots:
    // MyMod: an update, a damaged archive, a mod that is missing and one,
    // Base, that is there.
    void init()
    {
        windows_ = std::make_unique<WindowFixture>();
        const TemporaryFolder& game = windows_->temp;
        writeArchive(game, "Mods/MyMod/Archives/objects.rfa",
                     {{"bf1942/objects/tank.con", "base tank"}, {"bf1942/objects/jeep.con", "jeep"}});
        writeArchive(game, "Mods/MyMod/Archives/Objects_001.rfa", {{"bf1942/Objects/Tank.con", "u1 tank"}});
        game.write("Mods/MyMod/Archives/broken.rfa", std::string("\xff\xff\xff\x7f", 4));
        // No update of objects.rfa: a clash, which objects.rfa wins (its path sorts last).
        writeArchive(game, "Mods/MyMod/Archives/extra.rfa", {{"bf1942/objects/jeep.con", "extra jeep"}});
        game.write("Mods/MyMod/init.con", "game.addModPath Mods/Gone/\ngame.addModPath Mods/Base/\n");
        writeArchive(game, "Mods/Base/Archives/base.rfa",
                     {{"bf1942/objects/tank.con", "base mod tank"}, {"bf1942/base.con", "base only"}});
    }
    void cleanup() { windows_.reset(); }

    void showsTheMergedTreeWithSourcesAndOverrides()
    {
        ModWindow* window = windows_->openMod();
        const ModTreeModel& model = window->model();
        const struct {
            QString path, from;
            QStringList overridden;
        } rows[] = {
            {"bf1942/objects/Tank.con", "Mods/MyMod/Archives/Objects_001.rfa",
             {"Mods/MyMod/Archives/objects.rfa", "Mods/Base/Archives/base.rfa"}},
            {"bf1942/objects/jeep.con", "Mods/MyMod/Archives/objects.rfa", {"Mods/MyMod/Archives/extra.rfa"}},
            {"bf1942/base.con", "Mods/Base/Archives/base.rfa", {}},
        };
        for (const auto& row : rows) {
            const QModelIndex at = find(model, row.path);
            QVERIFY2(at.isValid(), qPrintable(row.path));
            QCOMPARE(at.siblingAtColumn(ModTreeModel::FromColumn).data().toString(), row.from);
            QCOMPARE(model.data(at, ModTreeModel::OverriddenRole).toStringList(), row.overridden);
        }
        QCOMPARE(model.rowCount(find(model, "bf1942/objects")), 2); // one folder for both spellings
        const auto tip = [&](const QString& path) { return model.data(find(model, path), Qt::ToolTipRole).toString(); };
        QVERIFY(tip("bf1942/objects/jeep.con").contains("A clash"));
        QVERIFY(!tip("bf1942/objects/Tank.con").contains("A clash")); // updates of one family

        // Only what the game reads is searched; results say where it comes from.
        const struct {
            QString text;
            bool names, contents;
            QStringList found; // "path from"
        } searches[] = {
            {"TANK", true, false, {"bf1942/Objects/Tank.con Mods/MyMod/Archives/Objects_001.rfa"}},
            {"base", false, true, {"bf1942/base.con Mods/Base/Archives/base.rfa"}},
        };
        for (const auto& search : searches) {
            part<QLineEdit>(*window, "searchField").setText(search.text);
            part<QCheckBox>(*window, "searchNames").setChecked(search.names);
            part<QCheckBox>(*window, "searchContents").setChecked(search.contents);
            window->search();
            const QTreeWidget& results = part<QTreeWidget>(*window, "searchResults");
            QStringList found;
            for (int i = 0; i < results.topLevelItemCount(); ++i)
                found << results.topLevelItem(i)->text(1) + ' ' + results.topLevelItem(i)->text(2);
            QCOMPARE(found, search.found);
        }

        // The winner opens, read-only.
        window->openEntries({*model.entryAt(find(model, "bf1942/objects/Tank.con"))});
        auto* viewer = window->findChild<TextEditorWindow*>();
        QVERIFY(viewer && viewer->editor()->isReadOnly());
        QCOMPARE(viewer->editor()->toPlainText(), QStringLiteral("u1 tank"));
    }

    // Chosen from the right-click menu. Opening the archive keeps the events
    // flowing (it shows its progress): the menu must outlive the click.
    void editInArchiveOpensTheProvidingArchiveWithTheEntrySelected()
    {
        // An untouched untitled window takes the archive, as from File → Open.
        MyDocument* untitled = windows_->untitled();
        QApplication::setActiveWindow(untitled);
        ModWindow* window = windows_->openMod();
        auto& outline = part<QTreeView>(*window, "outline");
        outline.selectionModel()->select(find(window->model(), "bf1942/objects/Tank.con"),
                                         QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        emit outline.customContextMenuRequested({4, 4});
        auto* menu = window->findChild<QMenu*>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(menu && menu->isVisible());
        QAction* edit = menu->actions().at(1);
        QCOMPARE(edit->text(), QStringLiteral("Edit in Archive"));
        bool clicking = true;
        bool deletedWhileClicking = false;
        connect(menu, &QObject::destroyed, this, [&] { deletedWhileClicking = clicking; });
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(edit).center());
        clicking = false;
        QVERIFY(!deletedWhileClicking);

        QCOMPARE(QFileInfo(untitled->displayName()).fileName(), QStringLiteral("Objects_001.rfa"));
        const std::vector<RFATreeNode::Ptr> selected = untitled->document()->selection().nodes();
        QCOMPARE(selected.size(), std::size_t(1));
        QCOMPARE(selected.front()->fullPath(), "bf1942/Objects/Tank.con");
        untitled->closeWithoutAsking();
    }

    void saveAsUpdateWritesTheNextUpdateAndNamesWhatItCannotRemove()
    {
        const QString base =
            writeArchive(windows_->temp, "level.rfa", {{"bf1942/a.con", "a"}, {"bf1942/b.con", "b"}, {"bf1942/c.con", "c"}});
        writeArchive(windows_->temp, "level_001.rfa", {{"bf1942/a.con", "a1"}, {"bf1942/b.con", "b1"}});
        MyDocument* window = windows_->app->openFile(base);
        QVERIFY(window);
        window->show();
        QApplication::setActiveWindow(window);
        node(*window, "a.con")->setData(textBytes("a1")); // as the update has it already
        node(*window, "b.con")->setData(textBytes("b2"));
        node(*window, "")->removeChildNamed("c.con");
        windows_->app->updateActions();
        // b.con was edited from the base's version, which level_001 has changed since: asked first.
        for (const QString answer : {"Cancel", "Write Anyway"}) {
            windows_->app->action(Command::SaveAsUpdate)->trigger();
            QMessageBox* asked = waitForDialog<QMessageBox>(*window);
            QVERIFY(asked && asked->icon() == QMessageBox::Warning);
            QCOMPARE(asked->detailedText(), QStringLiteral("bf1942/b.con (level_001.rfa)"));
            QVERIFY(choose(*asked, answer));
            QCOMPARE(QFileInfo::exists(QString::fromStdString((windows_->temp / "level_002.rfa").string())),
                     answer != "Cancel");
        }

        QMessageBox* told = waitForDialog<QMessageBox>(*window);
        QVERIFY(told);
        QVERIFY2(told->text().contains("level_002.rfa"), qPrintable(told->text()));
        QCOMPARE(told->detailedText(), QStringLiteral("bf1942/c.con"));
        told->close();
        Result<ArchiveListing> written = ArchiveListing::open(windows_->temp / "level_002.rfa");
        QVERIFY(written);
        QCOMPARE(written->records().size(), std::size_t(1));
        QCOMPARE(written->records().front().name, "bf1942/b.con");
        QCOMPARE(text(*written->content(written->records().front())), "b2");
        window->closeWithoutAsking();
    }

    void reloadKeepsTheOutlineAndFindsANewUpdate()
    {
        ModWindow* window = windows_->openMod();
        QCOMPARE(windows_->openMod("Mods/MyMod/"), window); // one window per mod
        auto& outline = part<QTreeView>(*window, "outline");
        const QModelIndex before = tank(window->model());
        outline.expand(before.parent());
        outline.selectionModel()->select(before, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);

        writeArchive(windows_->temp, "Mods/MyMod/Archives/objects_002.rfa", {{"bf1942/objects/tank.con", "new tank"}});
        part<QAction>(*window, "reload").trigger();
        const QModelIndex after = tank(window->model());
        QCOMPARE(fromOfTank(window->model()), QStringLiteral("Mods/MyMod/Archives/objects_002.rfa"));
        QVERIFY(outline.isExpanded(after.parent()));
        QCOMPARE(outline.selectionModel()->selectedRows(), QModelIndexList{after});
    }

    void anUpdateWrittenHereShowsAtOnce()
    {
        ModWindow* window = windows_->openMod();
        MyDocument* archive = windows_->app->openFile(
            QString::fromStdString((windows_->temp / "Mods/MyMod/Archives/objects.rfa").string()));
        QVERIFY(archive);
        archive->show();
        QApplication::setActiveWindow(archive);
        node(*archive, "objects/tank.con")->setData(textBytes("edited tank"));
        windows_->app->updateActions();
        windows_->app->action(Command::SaveAsUpdate)->trigger();
        QMessageBox* asked = waitForDialog<QMessageBox>(*archive); // Objects_001 has changed the tank since
        QVERIFY(asked && choose(*asked, "Write Anyway"));
        QTRY_COMPARE(fromOfTank(window->model()), QStringLiteral("Mods/MyMod/Archives/objects_002.rfa"));
        archive->closeWithoutAsking();
    }

    void saysAtOnceWhatIsLeftOutInPlainWords()
    {
        ModWindow* window = windows_->openMod();
        QVERIFY(part<QWidget>(*window, "problemsBar").isVisible());
        QCOMPARE(part<QLabel>(*window, "problemsSummary").text(),
                 QStringLiteral("Part of the mod is left out: archives that could not be read (1), "
                                "mods init.con names that are missing (1)."));
        QCOMPARE(window->problems().front(), QStringLiteral("Mods/MyMod/Archives/broken.rfa: the archive is damaged: "
                                                            "its directory points outside the file"));
        // Closed, it stays closed through a reload that leaves out the same.
        part<QWidget>(*window, "problemsBar").findChild<QToolButton*>()->click();
        window->reload();
        QVERIFY(part<QWidget>(*window, "problemsBar").isHidden());
    }

    void theViewerIsOnScreenAndClosesWithTheStandardKey()
    {
        ModWindow* window = windows_->openMod();
        window->move(-500, -500); // off the screen's edge: the viewer still lands on it
        window->openEntries({std::size_t(0)});
        QPointer<TextEditorWindow> viewer = window->findChild<TextEditorWindow*>();
        QVERIFY(viewer);
        QVERIFY(viewer->screen()->availableGeometry().contains(viewer->geometry()));
        QApplication::setActiveWindow(viewer);
        QTest::keySequence(viewer, QKeySequence::Close);
        QTRY_VERIFY(viewer.isNull());
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::ModWindowTest)
#include "ModWindowTest.moc"
