// The mod window as a modder expects it from the archive windows: columns
// that sort, a name search that follows typing, content hits that show
// their line, the same Open Recent and Help menus; and the command line
// fails when it opened nothing.

#include "AppTestSupport.h"

#include "app/mod/ModTreeModel.h"
#include "app/mod/ModWindow.h"

#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QMenuBar>
#include <QStackedWidget>
#include <QTreeView>
#include <QTreeWidget>

namespace larkspan {

using namespace fixtures;

class ModWindowModderTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;
    ModWindow* window_ = nullptr;

    QModelIndex objectsFolder() const
    {
        const ModTreeModel& model = window_->model();
        return model.match(model.index(0, 0, model.index(0, 0)), Qt::DisplayRole, "objects", 1, Qt::MatchExactly).value(0);
    }
    QStringList namesIn(const QModelIndex& folder) const
    {
        QStringList names;
        for (int row = 0; row < window_->model().rowCount(folder); ++row)
            names << window_->model().index(row, 0, folder).data().toString();
        return names;
    }

private slots:
    void init()
    {
        windows_ = std::make_unique<WindowFixture>();
        writeArchive(windows_->temp, "Mods/MyMod/Archives/objects.rfa",
                     {{"bf1942/objects/b10.con", "12345"},
                      {"bf1942/objects/B9.con", std::string(30, 'x')},
                      {"bf1942/objects/c.con", "rem c\r\n\r\n  ObjectTemplate.create PlaneAirframe Spitfire\r\n" +
                                                   std::string(2, 'y')},
                      {"bf1942/objects/vehicles/x.con", "x"}});
        writeArchive(windows_->temp, "Mods/MyMod/Archives/z.rfa", {{"bf1942/objects/a.con", "0123456789"}});
        windows_->temp.write("Mods/MyMod/init.con", "game.addModPath Mods/Base/\n");
        writeArchive(windows_->temp, "Mods/Base/Archives/base.rfa", {{"bf1942/base/base.con", "base"}});
        window_ = windows_->app->openMod(QString::fromStdString((windows_->temp.path() / "Mods/MyMod").string()));
        QVERIFY(window_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_));
    }
    void cleanup() { windows_.reset(); }

    // Header clicks sort within each folder (folders first, names as people
    // read them); the third shows the paths' order again; the selection
    // stays on its entry.
    void headerClicksSortWithinEachFolder()
    {
        auto& outline = part<QTreeView>(*window_, "outline");
        const QModelIndex folder = objectsFolder();
        QCOMPARE(folder.data().toString(), QStringLiteral("objects"));
        const QModelIndex nine = window_->model().index(2, 0, folder);
        QCOMPARE(nine.data().toString(), QStringLiteral("B9.con"));
        outline.selectionModel()->select(nine, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        const struct {
            int column, clicks;
            QStringList names;
        } rows[] = {
            {ModTreeModel::NameColumn, 1, {"vehicles", "a.con", "B9.con", "b10.con", "c.con"}},
            {ModTreeModel::NameColumn, 2, {"vehicles", "c.con", "b10.con", "B9.con", "a.con"}},
            {ModTreeModel::NameColumn, 3, {"a.con", "b10.con", "B9.con", "c.con", "vehicles"}},
            {ModTreeModel::SizeColumn, 1, {"vehicles", "b10.con", "a.con", "B9.con", "c.con"}},
            {ModTreeModel::FromColumn, 1, {"vehicles", "b10.con", "B9.con", "c.con", "a.con"}},
        };
        for (const auto& row : rows) {
            outline.header()->setSortIndicator(-1, Qt::AscendingOrder);
            QHeaderView& header = *outline.header();
            for (int click = 0; click < row.clicks; ++click)
                QTest::mouseClick(header.viewport(), Qt::LeftButton, {},
                                  QPoint(header.sectionViewportPosition(row.column) + 8, header.height() / 2));
            QCOMPARE(namesIn(objectsFolder()), row.names);
            const QModelIndexList selected = outline.selectionModel()->selectedRows();
            QCOMPARE(selected.size(), 1);
            QCOMPARE(selected.front().data().toString(), QStringLiteral("B9.con"));
        }
    }

    // Names follow typing, as in an archive window; contents wait for Return,
    // and their hits show the line that matched.
    void theNameSearchFollowsTypingAndContentHitsShowTheirLine()
    {
        auto& field = part<QLineEdit>(*window_, "searchField");
        const auto& results = part<QTreeWidget>(*window_, "searchResults");
        const struct {
            bool contents;
            QString typed;
            int backspaces;
            bool returnPressed;
            QStringList found; // "name" or "name line"; empty: the outline shows
        } rows[] = {
            {false, "b1", 0, false, {"b10.con"}},
            {false, "B", 0, false, {"base.con", "b10.con", "B9.con"}},
            {false, "b1", 2, false, {}},
            {true, "spitfire", 0, false, {}},
            {true, "spitfire", 0, true, {"c.con 3: ObjectTemplate.create PlaneAirframe Spitfire"}},
            {true, "b1", 0, true, {"b10.con"}},
        };
        for (const auto& row : rows) {
            field.clear();
            part<QCheckBox>(*window_, "searchContents").setChecked(row.contents);
            QTest::keyClicks(&field, row.typed);
            for (int i = 0; i < row.backspaces; ++i)
                QTest::keyClick(&field, Qt::Key_Backspace);
            if (row.returnPressed)
                QTest::keyClick(&field, Qt::Key_Return);
            const bool inResults = part<QStackedWidget>(*window_).currentWidget() == &results;
            QCOMPARE(inResults, !row.found.isEmpty());
            if (!inResults)
                continue;
            QStringList found;
            for (int i = 0; i < results.topLevelItemCount(); ++i)
                found << QStringList{results.topLevelItem(i)->text(0), results.topLevelItem(i)->text(3)}
                             .join(' ')
                             .trimmed();
            QCOMPARE(found, row.found);
        }
    }

    // The same Open Recent, kept up to date, and Help as an archive window's.
    void hasTheArchiveWindowsOpenRecentAndHelp()
    {
        const auto menuTitled = [](const QList<QAction*>& actions, const QString& title) -> QMenu* {
            for (QAction* action : actions)
                if (action->menu() && action->text() == title)
                    return action->menu();
            return nullptr;
        };
        QMenu* file = menuTitled(window_->menuBar()->actions(), "&File");
        QVERIFY(file);
        QMenu* recent = menuTitled(file->actions(), "Open &Recent");
        QVERIFY(recent);
        // Opened after the mod window was made: its menu follows.
        MyDocument* archive = windows_->open({{"bf1942/a.con", "a"}});
        QVERIFY(archive);
        const QString opened = archive->displayName();
        archive->closeWithoutAsking();
        QTRY_VERIFY(windows_->app->documents().empty());
        QAction* again = recent->actions().value(0);
        QVERIFY(again);
        QCOMPARE(again->text(), opened);
        again->trigger();
        QCOMPARE(windows_->app->documents().size(), std::size_t(1));
        QCOMPARE(windows_->app->documents().front()->displayName(), opened);

        QMenu* help = menuTitled(window_->menuBar()->actions(), "&Help");
        QVERIFY(help);
        QCOMPARE(help->actions(), (QList<QAction*>{windows_->app->action(RFAApplicationDelegate::Command::KeyboardShortcuts),
                                                   windows_->app->action(RFAApplicationDelegate::Command::About)}));
    }

    // The program fails when nothing it was asked to open opened.
    void theCommandLineSaysWhetherAnythingOpened()
    {
        const QString game = QString::fromStdString(windows_->temp.path().string());
        QDir(game).mkpath("Mods/Other");
        const struct {
            QStringList files, mods;
            bool opened;
        } rows[] = {
            {{}, {}, true}, // an untitled archive
            {{game + "/missing.rfa"}, {}, false},
            {{}, {game + "/Mods/Missing"}, false},
            {{game + "/missing.rfa"}, {game + "/Mods/Missing", game + "/Mods/Other"}, true},
        };
        for (const auto& row : rows) {
            QCOMPARE(windows_->app->openFromCommandLine(row.files, row.mods), row.opened);
            for (QWidget* window : QApplication::topLevelWidgets())
                if (qobject_cast<QMessageBox*>(window))
                    window->close();
        }
    }

    // Archives opened from a mod say whose they are: the mod that holds them.
    void editInArchiveTitlesTheArchiveWithItsMod()
    {
        const struct {
            std::string entry;
            QString title;
        } rows[] = {
            {"bf1942/objects/a.con", "z.rfa[*] — MyMod"},
            {"bf1942/base/base.con", "base.rfa[*] — Base"},
        };
        auto& outline = part<QTreeView>(*window_, "outline");
        for (const auto& row : rows) {
            const ModIndex& index = window_->model().modIndex();
            const QModelIndex at =
                window_->model().indexOfEntry(static_cast<std::size_t>(index.find(row.entry) - index.entries().data()));
            outline.selectionModel()->select(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            MyDocument* archive = window_->editInArchive();
            QVERIFY(archive);
            QCOMPARE(archive->windowTitle(), row.title);
        }
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::ModWindowModderTest)
#include "ModWindowModderTest.moc"
