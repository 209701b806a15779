// The read-only viewers the mod window opens: what each kind of entry gets,
// that no key in them writes an archive, and that they follow a reload.

#include "MyModWindow.h"

#include "app/mod/ModTreeModel.h"
#include "app/viewers/HexView.h"
#include "app/viewers/HexViewerWindow.h"
#include "app/viewers/TextEditor.h"
#include "app/viewers/TextEditorWindow.h"
#include "mod/ModIndex.h"

#include <QAction>
#include <QFile>
#include <QMainWindow>

namespace larkspan {

using namespace fixtures;

class ModViewersTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;

    void put(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries)
    {
        writeArchive(windows_->temp, path, entries);
    }
    static std::size_t entryAt(const ModWindow& window, const std::string& path)
    {
        const ModIndex& index = window.model().modIndex();
        return static_cast<std::size_t>(index.find(path) - index.entries().data());
    }
    // What a viewer shows: the text, or the bytes as Latin-1.
    static QString shown(QWidget* viewer)
    {
        if (auto* editor = qobject_cast<TextEditorWindow*>(viewer))
            return editor->editor()->toPlainText();
        if (auto* hex = qobject_cast<HexViewerWindow*>(viewer)) {
            const ByteSpan bytes = hex->view().bytes();
            return QString::fromLatin1(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
        }
        return QStringLiteral("<no viewer>");
    }

private slots:
    void init()
    {
        windows_ = std::make_unique<WindowFixture>();
        put("Mods/MyMod/Archives/objects.rfa", {{"bf1942/objects/tank.con", "base tank"},
                                                {"bf1942/objects/tank.sm", "mesh"},
                                                {"bf1942/objects/gone.con", "gone"}});
    }
    void cleanup() { windows_.reset(); }

    void saveInAViewerWritesNoArchive()
    {
        // An archive window used last, edited: Save reaches it only from its own windows.
        const QString other = writeArchive(windows_->temp, "other.rfa", {{"bf1942/a.con", "a"}});
        const auto onDisk = [&] {
            QFile file(other);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray before = onDisk();
        MyDocument* archive = windows_->app->openFile(other);
        QVERIFY(archive);
        archive->show();
        QApplication::setActiveWindow(archive);
        node(*archive, "a.con")->setData(textBytes("edited"));

        ModWindow* window = openMyMod(*windows_);
        QVERIFY(window);
        window->openEntries({entryAt(*window, "bf1942/objects/tank.con")});
        auto* viewer = window->findChild<TextEditorWindow*>();
        QVERIFY(viewer);
        QApplication::setActiveWindow(viewer);
        QTRY_COMPARE(QApplication::activeWindow(), viewer);
        windows_->app->updateActions();
        QTest::keySequence(viewer->windowHandle(), QKeySequence::Save);
        windows_->app->action(RFAApplicationDelegate::Command::Save)->trigger(); // a menu shared by all windows
        QTest::qWait(50);
        QCOMPARE(onDisk(), before);
        archive->closeWithoutAsking();
    }

    void viewersFollowAReload()
    {
        ModWindow* window = openMyMod(*windows_);
        QVERIFY(window);
        const struct {
            std::string path;
            const char* kind;
            QString before, after; // empty after: the viewer closes
            QString titleAfter;
        } rows[] = {
            {"bf1942/objects/tank.con", "larkspan::TextEditorWindow", "base tank", "new tank", "objects_001.rfa"},
            {"bf1942/objects/tank.sm", "larkspan::HexViewerWindow", "mesh", "mesh2", "objects.rfa"},
            {"bf1942/objects/gone.con", "larkspan::TextEditorWindow", "gone", "", ""},
        };
        std::vector<QPointer<QWidget>> viewers;
        for (const auto& row : rows) {
            window->openEntries({entryAt(*window, row.path)});
            const QString name = QString::fromStdString(row.path.substr(row.path.rfind('/') + 1));
            viewers.emplace_back();
            for (QMainWindow* viewer : window->findChildren<QMainWindow*>())
                if (viewer->windowTitle().endsWith(name))
                    viewers.back() = viewer;
            QVERIFY2(viewers.back() && viewers.back()->inherits(row.kind), row.path.c_str());
            QTRY_COMPARE(shown(viewers.back()), row.before);
        }

        put("Mods/MyMod/Archives/objects.rfa",
            {{"bf1942/objects/tank.con", "base tank"}, {"bf1942/objects/tank.sm", "mesh2"}});
        put("Mods/MyMod/Archives/objects_001.rfa", {{"bf1942/objects/tank.con", "new tank"}});
        window->reload();
        for (std::size_t i = 0; i < std::size(rows); ++i) {
            if (rows[i].after.isEmpty()) {
                QTRY_VERIFY2(viewers[i].isNull(), rows[i].path.c_str());
                continue;
            }
            QTRY_COMPARE(shown(viewers[i]), rows[i].after);
            QVERIFY2(viewers[i]->windowTitle().contains(rows[i].titleAfter), qPrintable(viewers[i]->windowTitle()));
        }
        window->openEntries({entryAt(*window, "bf1942/objects/tank.con")}); // the same window again
        QCOMPARE(window->findChildren<TextEditorWindow*>().size(), qsizetype(1));
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::ModViewersTest)
#include "ModViewersTest.moc"
