// The mod window over a generated game folder, and the archive window's
// Save as Update Archive…, both through what the user reaches.

#include "AppTestSupport.h"

#include "app/mod/ModTreeModel.h"
#include "app/mod/ModWindow.h"
#include "app/viewers/TextEditor.h"
#include "app/viewers/TextEditorWindow.h"
#include "document/ArchiveDocument.h"
#include "mod/ArchiveListing.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>

namespace larkspan {

using namespace fixtures;
using Command = RFAApplicationDelegate::Command;
using Entries = std::vector<std::pair<std::string, std::string>>;

class ModWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;
    TemporaryFolder game_;

    void put(const std::string& path, const Entries& entries)
    {
        const Bytes bytes = plainArchive(entries);
        game_.write(path, std::string(bytes.begin(), bytes.end()));
    }
    QModelIndex find(const ModTreeModel& model, const QString& path)
    {
        QModelIndex at;
        for (const QString& name : path.split(QLatin1Char('/'))) {
            const QModelIndexList found = model.match(model.index(0, 0, at), Qt::DisplayRole, name, 1, Qt::MatchExactly);
            if (found.isEmpty())
                return {};
            at = found.front();
        }
        return at;
    }
    ModWindow* openMod()
    {
        ModWindow* window = windows_->app->openMod(QString::fromStdString((game_.path() / "Mods/MyMod").string()));
        if (window)
            window->show();
        return window;
    }

private slots:
    void initTestCase()
    {
        isolateSettings();
        windows_ = std::make_unique<WindowFixture>();
        put("Mods/MyMod/Archives/objects.rfa", {{"bf1942/objects/tank.con", "base tank"}, {"bf1942/objects/jeep.con", "jeep"}});
        put("Mods/MyMod/Archives/Objects_001.rfa", {{"bf1942/Objects/Tank.con", "u1 tank"}});
        game_.write("Mods/MyMod/Archives/broken.rfa", std::string("\xff\xff\xff\x7f", 4));
        game_.write("Mods/MyMod/init.con", "game.addModPath Mods/Base/\n");
        put("Mods/Base/Archives/base.rfa", {{"bf1942/objects/tank.con", "base mod tank"}, {"bf1942/base.con", "base only"}});
    }
    void cleanupTestCase() { windows_.reset(); }

    void showsTheMergedTreeWithSourcesAndOverrides()
    {
        ModWindow* window = openMod();
        QVERIFY(window);
        const ModTreeModel& model = window->model();
        struct Row {
            QString path, from;
            QStringList overridden;
        };
        for (const Row& row : std::vector<Row>{
                 {"bf1942/objects/Tank.con", "Mods/MyMod/Archives/Objects_001.rfa",
                  {"Mods/MyMod/Archives/objects.rfa", "Mods/Base/Archives/base.rfa"}},
                 {"bf1942/objects/jeep.con", "Mods/MyMod/Archives/objects.rfa", {}},
                 {"bf1942/base.con", "Mods/Base/Archives/base.rfa", {}},
             }) {
            const QModelIndex at = find(model, row.path);
            QVERIFY2(at.isValid(), qPrintable(row.path));
            QCOMPARE(model.data(at.siblingAtColumn(ModTreeModel::FromColumn)).toString(), row.from);
            QCOMPARE(model.data(at, ModTreeModel::OverriddenRole).toStringList(), row.overridden);
            QCOMPARE(model.data(at.siblingAtColumn(ModTreeModel::FromColumn), Qt::DecorationRole).isNull(),
                     row.overridden.isEmpty());
        }
        QCOMPARE(model.rowCount(find(model, "bf1942/objects")), 2); // one folder for both spellings
        QVERIFY(window->findChild<QPushButton*>("problemsButton")->isVisibleTo(window));
        QVERIFY(window->problems().join('\n').contains("broken.rfa"));

        // Only what the game reads is searched; results say where it comes from.
        struct Search {
            QString text;
            bool names, contents;
            QStringList found; // "path from"
        };
        for (const Search& search : std::vector<Search>{
                 {"TANK", true, false, {"bf1942/Objects/Tank.con Mods/MyMod/Archives/Objects_001.rfa"}},
                 {"base", false, true, {"bf1942/base.con Mods/Base/Archives/base.rfa"}},
             }) {
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
        part<QLineEdit>(*window, "searchField").clear();
        window->openEntries({*model.entryAt(find(model, "bf1942/objects/Tank.con"))});
        auto* viewer = window->findChild<TextEditorWindow*>();
        QVERIFY(viewer);
        QVERIFY(viewer->editor()->isReadOnly());
        QCOMPARE(viewer->editor()->toPlainText(), QStringLiteral("u1 tank"));
        window->close();
    }

    void editInArchiveOpensTheProvidingArchiveWithTheEntrySelected()
    {
        // An untouched untitled window takes the archive, as from File → Open.
        MyDocument* untitled = windows_->untitled();
        QApplication::setActiveWindow(untitled);
        ModWindow* window = openMod();
        QVERIFY(window);
        auto& outline = part<QTreeView>(*window, "outline");
        outline.selectionModel()->select(find(window->model(), "bf1942/objects/Tank.con"),
                                         QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        MyDocument* archive = window->editInArchive();
        QVERIFY(archive);
        QCOMPARE(archive, untitled);
        QCOMPARE(QFileInfo(archive->displayName()).fileName(), QStringLiteral("Objects_001.rfa"));
        const std::vector<RFATreeNode::Ptr> selected = archive->document()->selection().nodes();
        QCOMPARE(selected.size(), std::size_t(1));
        QCOMPARE(selected.front()->fullPath(), std::string("bf1942/Objects/Tank.con"));
        archive->closeWithoutAsking();
        window->close();
    }

    void saveAsUpdateWritesTheNextUpdateAndNamesWhatItCannotRemove()
    {
        MyDocument* untitled = windows_->untitled();
        QApplication::setActiveWindow(untitled);
        windows_->app->updateActions();
        QVERIFY2(!windows_->app->action(Command::SaveAsUpdate)->isEnabled(), "nothing on disk to update");
        untitled->closeWithoutAsking();

        const QString base = writeArchive(windows_->temp, "level.rfa", {{"bf1942/a.con", "a"}, {"bf1942/b.con", "b"}, {"bf1942/c.con", "c"}});
        writeArchive(windows_->temp, "level_001.rfa", {{"bf1942/a.con", "a1"}});
        MyDocument* window = windows_->app->openFile(base);
        QVERIFY(window);
        window->show();
        QApplication::setActiveWindow(window);
        node(*window, "a.con")->setData(textBytes("a1")); // as the update has it already
        node(*window, "b.con")->setData(textBytes("b2"));
        node(*window, "")->removeChildNamed("c.con");
        windows_->app->updateActions();
        windows_->app->action(Command::SaveAsUpdate)->trigger();

        QMessageBox* told = waitForDialog<QMessageBox>(*window);
        QVERIFY(told);
        QVERIFY2(told->text().contains("level_002.rfa"), qPrintable(told->text()));
        QCOMPARE(told->detailedText(), QStringLiteral("bf1942/c.con"));
        told->close();
        Result<ArchiveListing> written = ArchiveListing::open(windows_->temp / "level_002.rfa");
        QVERIFY(written);
        QCOMPARE(written->records().size(), std::size_t(1));
        QCOMPARE(written->records().front().name, std::string("bf1942/b.con"));
        QCOMPARE(text(*written->content(written->records().front())), std::string("b2"));
        window->closeWithoutAsking();
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::ModWindowTest)
#include "ModWindowTest.moc"
