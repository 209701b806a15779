// The mod window as a modder leans on it: read-only viewers of every kind of
// entry that write no archive and follow a reload, honest counts,
// extraction of search results at their paths, columns that sort, a name
// search that follows typing, content hits that show their line.

#include "AppTestSupport.h"

#include "app/viewers/HexView.h"
#include "app/viewers/HexViewerWindow.h"
#include "app/viewers/TextEditor.h"
#include "app/viewers/TextEditorWindow.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMainWindow>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTreeView>
#include <QTreeWidget>

namespace larkspan {

using namespace fixtures;

class ModWindowTasksTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;
    ModWindow* window_ = nullptr;

    void put(const std::string& archive, const std::vector<std::pair<std::string, std::string>>& entries)
    {
        writeArchive(windows_->temp, "Mods/MyMod/Archives/" + archive, entries);
    }
    QModelIndex at(const std::string& path) const { return modRow(window_->model(), path); }
    QPointer<QWidget> open(const std::string& path)
    {
        window_->openEntries({entryNumber(window_->model().modIndex(), path)});
        for (QMainWindow* viewer : window_->findChildren<QMainWindow*>())
            if (viewer->windowTitle().endsWith(QString::fromStdString(path.substr(path.rfind('/') + 1))))
                return viewer;
        return nullptr;
    }
    // What a viewer shows: its text, or its bytes as Latin-1.
    static QString shown(QWidget* viewer)
    {
        if (auto* editor = qobject_cast<TextEditorWindow*>(viewer))
            return editor->editor()->toPlainText();
        const ByteSpan bytes = qobject_cast<HexViewerWindow*>(viewer)->view().bytes();
        return QString::fromLatin1(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    }

    void openLevelsMod()
    {
        put("objects.rfa", {{"bf1942/objects/tank.con", "tank"}, {"bf1942/objects/tank.sm", "mesh"},
                            {"bf1942/objects/gone.con", "gone"}});
        for (const std::string level : {"Berlin", "Kursk"})
            put("bf1942/levels/" + level + ".rfa", {{"bf1942/levels/" + level + "/init.con", level}});
        windows_->temp.write("Mods/MyMod/Archives/broken.rfa", std::string("\xff\xff\xff\x7f", 4));
        window_ = windows_->openMod();
    }
    void openObjectsMod()
    {
        put("objects.rfa", {{"bf1942/objects/b10.con", "12345"},
                            {"bf1942/objects/B9.con", std::string(30, 'x')},
                            {"bf1942/objects/c.con", "rem c\r\n\r\n  ObjectTemplate.create Spitfire\r\n" + std::string(40, 'y')},
                            {"bf1942/objects/vehicles/x.con", "x"}});
        put("z.rfa", {{"bf1942/objects/a.con", "0123456789"},
                      {"bf1942/long.con", "\t" + std::string(100, 'a') + " Spitfire " + std::string(200, 'b')}});
        window_ = windows_->openMod();
    }

private slots:
    void init() { windows_ = std::make_unique<WindowFixture>(); }
    void cleanup() { windows_.reset(); }

    void viewersWriteNoArchiveAndFollowAReload()
    {
        openLevelsMod();
        const struct {
            std::string path;
            const char* kind;
            QString after; // empty: the viewer closes
        } rows[] = {
            {"bf1942/objects/tank.con", "larkspan::TextEditorWindow", "new tank"},
            {"bf1942/objects/tank.sm", "larkspan::HexViewerWindow", "mesh2"},
            {"bf1942/objects/gone.con", "larkspan::TextEditorWindow", ""},
        };
        std::vector<QPointer<QWidget>> viewers;
        for (const auto& row : rows) {
            viewers.push_back(open(row.path));
            QVERIFY2(viewers.back() && viewers.back()->inherits(row.kind), row.path.c_str());
        }

        // Save with a viewer in front reaches no archive, not even the one used last.
        const QString other = writeArchive(windows_->temp, "other.rfa", {{"bf1942/a.con", "a"}});
        MyDocument* archive = windows_->app->openFile(other);
        QVERIFY(archive);
        QApplication::setActiveWindow(archive);
        node(*archive, "a.con")->setData(textBytes("edited"));
        QApplication::setActiveWindow(viewers.front());
        QTRY_COMPARE(QApplication::activeWindow(), viewers.front().data());
        windows_->app->action(RFAApplicationDelegate::Command::Save)->trigger();
        QCOMPARE(QFileInfo(other).size(), qint64(plainArchive({{"bf1942/a.con", "a"}}).size()));
        archive->closeWithoutAsking();

        put("objects.rfa", {{"bf1942/objects/tank.con", "tank"}, {"bf1942/objects/tank.sm", "mesh2"}});
        put("objects_001.rfa", {{"bf1942/objects/tank.con", "new tank"}});
        window_->reload();
        for (std::size_t i = 0; i < std::size(rows); ++i) {
            if (rows[i].after.isEmpty())
                QTRY_VERIFY2(viewers[i].isNull(), rows[i].path.c_str());
            else
                QTRY_COMPARE(shown(viewers[i]), rows[i].after);
        }
        QVERIFY(viewers.front()->windowTitle().startsWith("Mods/MyMod/Archives/objects_001.rfa"));
    }

    void countsUnreadableArchivesApartAndExtractsResultsAtTheirPaths()
    {
        openLevelsMod();
        QCOMPARE(part<QLabel>(*window_, "statusLine").text(),
                 QStringLiteral("Entries: 5 · Archives: 3 read, 1 could not be read · Mods: 1"));
        part<QLineEdit>(*window_, "searchField").setText("init.con");
        part<QCheckBox>(*window_, "searchNames").setChecked(true);
        window_->search();
        part<QTreeWidget>(*window_, "searchResults").selectAll();
        const auto folder = [](const std::filesystem::path& path) { return QDir(QString::fromStdString(path.string())); };
        const std::filesystem::path target = windows_->temp.path() / "out";
        std::filesystem::create_directory(target);
        for (const std::filesystem::path& startsIn : {windows_->temp.path() / "Mods/MyMod", target}) {
            window_->extract();
            auto* dialog = waitForDialog<QFileDialog>(*window_);
            QVERIFY(dialog);
            QCOMPARE(dialog->directory(), folder(startsIn)); // the mod's folder, then the last one used
            dialog->selectFile(QString::fromStdString(target.string()));
            static_cast<QDialog*>(dialog)->accept();
            QTest::qWait(20);
        }
        for (const std::string level : {"Berlin", "Kursk"}) {
            const Result<Bytes> bytes = readWholeFile(target / ("bf1942/levels/" + level + "/init.con"));
            QVERIFY2(bytes, level.c_str());
            QCOMPARE(std::string(bytes->begin(), bytes->end()), level);
        }
    }

    // Within each folder, folders first; the third click shows the paths'
    // order again; the selection stays on its entry.
    void headerClicksSortWithinEachFolder()
    {
        openObjectsMod();
        auto& outline = part<QTreeView>(*window_, "outline");
        QHeaderView& header = *outline.header();
        outline.selectionModel()->select(at("bf1942/objects/B9.con"), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        const struct {
            int column, clicks;
            QString names;
        } rows[] = {
            {ModTreeModel::NameColumn, 1, "vehicles a.con B9.con b10.con c.con"},
            {ModTreeModel::NameColumn, 2, "vehicles c.con b10.con B9.con a.con"},
            {ModTreeModel::NameColumn, 3, "a.con b10.con B9.con c.con vehicles"},
            {ModTreeModel::SizeColumn, 1, "vehicles b10.con a.con B9.con c.con"},
            {ModTreeModel::FromColumn, 1, "vehicles b10.con B9.con c.con a.con"},
        };
        for (const auto& row : rows) {
            header.setSortIndicator(-1, Qt::AscendingOrder);
            for (int click = 0; click < row.clicks; ++click)
                QTest::mouseClick(header.viewport(), Qt::LeftButton, {},
                                  {header.sectionViewportPosition(row.column) + 8, header.height() / 2});
            const QModelIndex folder = at("bf1942/objects/a.con").parent();
            QStringList names;
            for (int i = 0; i < window_->model().rowCount(folder); ++i)
                names << window_->model().index(i, 0, folder).data().toString();
            QCOMPARE(names.join(' '), row.names);
            QCOMPARE(outline.selectionModel()->selectedRows(), QModelIndexList{at("bf1942/objects/B9.con")});
        }
    }

    // Contents wait for Return; their hits show the line that matched.
    void theNameSearchFollowsTypingAndContentHitsShowTheirLine()
    {
        openObjectsMod();
        auto& field = part<QLineEdit>(*window_, "searchField");
        const auto& results = part<QTreeWidget>(*window_, "searchResults");
        const struct {
            bool contents;
            QString typed;
            bool returnPressed;
            QString found; // empty: the outline shows
        } rows[] = {
            {false, "b1", false, "b10.con"},
            {false, "B", false, "b10.con B9.con"},
            {true, "b1", false, "b10.con"}, // names follow typing with contents ticked too
            {true, "spitfire", false, ""},
            // A long line only around the match, and where it is cut.
            {true, "spitfire", true,
             "long.con 1: …" + QString(39, 'a') + " Spitfire " + QString(119, 'b') + "… c.con 3: ObjectTemplate.create Spitfire"},
        };
        for (const auto& row : rows) {
            field.clear();
            part<QCheckBox>(*window_, "searchContents").setChecked(row.contents);
            QTest::keyClicks(&field, row.typed);
            if (row.returnPressed)
                QTest::keyClick(&field, Qt::Key_Return);
            QStringList found;
            for (int i = 0; part<QStackedWidget>(*window_).currentWidget() == &results && i < results.topLevelItemCount(); ++i)
                found << (results.topLevelItem(i)->text(0) + ' ' + results.topLevelItem(i)->text(3)).trimmed();
            QCOMPARE(found.join(' '), row.found);
        }
        // What was found stays on the status line while menus are browsed.
        QStatusTipEvent leftAMenuItem{QString()};
        QApplication::sendEvent(window_, &leftAMenuItem);
        QCOMPARE(window_->statusBar()->currentMessage(), QStringLiteral("Found: 2"));
        // Typed on, the contents' hits of the text before are gone.
        QTest::keyClicks(&field, QStringLiteral("x"));
        QCOMPARE(results.topLevelItemCount(), 0);
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::ModWindowTasksTest)
#include "ModWindowTasksTest.moc"
