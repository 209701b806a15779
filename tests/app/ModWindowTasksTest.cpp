// The mod window as a modder leans on it: read-only viewers of every kind of
// entry that write no archive and follow a reload, honest counts, and
// extraction of search results at their paths.

#include "AppTestSupport.h"

#include "app/mod/ModTreeModel.h"
#include "app/mod/ModWindow.h"
#include "app/viewers/HexView.h"
#include "app/viewers/HexViewerWindow.h"
#include "app/viewers/TextEditor.h"
#include "app/viewers/TextEditorWindow.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QMainWindow>
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
    QPointer<QWidget> open(const std::string& path)
    {
        const ModIndex& index = window_->model().modIndex();
        window_->openEntries({static_cast<std::size_t>(index.find(path) - index.entries().data())});
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

private slots:
    void init()
    {
        windows_ = std::make_unique<WindowFixture>();
        put("objects.rfa", {{"bf1942/objects/tank.con", "tank"}, {"bf1942/objects/tank.sm", "mesh"},
                            {"bf1942/objects/gone.con", "gone"}});
        for (const std::string level : {"Berlin", "Kursk"})
            put("bf1942/levels/" + level + ".rfa", {{"bf1942/levels/" + level + "/init.con", level}});
        windows_->temp.write("Mods/MyMod/Archives/broken.rfa", std::string("\xff\xff\xff\x7f", 4));
        window_ = windows_->app->openMod(QString::fromStdString((windows_->temp.path() / "Mods/MyMod").string()));
        QVERIFY(window_);
        window_->show();
    }
    void cleanup() { windows_.reset(); }

    void viewersWriteNoArchiveAndFollowAReload()
    {
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
};

} // namespace larkspan

QTEST_MAIN(larkspan::ModWindowTasksTest)
#include "ModWindowTasksTest.moc"
