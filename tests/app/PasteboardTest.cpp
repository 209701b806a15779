// Entries written for a drag or the clipboard: the private type, the text or
// picture of a single entry, and the files, written only when asked for and
// never outside their folder; the folders of editors gone, removed.

#include "AppTestSupport.h"

#include "app/dnd/ExportFolders.h"
#include "app/viewers/QtImages.h"

#include <QDir>
#include <QImage>
#include <QLockFile>

namespace larkspan {

using namespace fixtures;

namespace {

QString exportRoot()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/exports/") +
           QString::number(QCoreApplication::applicationPid());
}

QStringList exportFolders()
{
    return QDir(exportRoot()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

// Every file and folder below `folder`, relative to it.
QStringList contentsOf(const QString& folder)
{
    QStringList found;
    QDir dir(folder);
    for (const QFileInfo& info : dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        found << info.fileName();
        if (info.isDir())
            for (const QString& inner : contentsOf(info.filePath()))
                found << info.fileName() + QLatin1Char('/') + inner;
    }
    found.sort();
    return found;
}

} // namespace

class PasteboardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<WindowFixture> windows_;

private slots:
    void init() { windows_ = std::make_unique<WindowFixture>(); }
    void cleanup() { windows_.reset(); }

    void contentsOfOneOrSeveralEntries_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QStringList>("formats");
        QTest::addColumn<QStringList>("fileTypes");
        const QStringList all{"text/uri-list", "x-special/gnome-copied-files", RFAPasteboardType};
        QTest::newRow("one text entry") << QStringList{"objects/tank.con"} << all + QStringList{"text/plain"} << QStringList{"con"};
        QTest::newRow("one picture") << QStringList{"menu/sky.raw"} << all + QStringList{"application/x-qt-image"} << QStringList{"raw"};
        QTest::newRow("one folder") << QStringList{"objects"} << all << QStringList{kPromisedFolderType};
        QTest::newRow("a name without a dot") << QStringList{"README"} << all << QStringList{""};
        QTest::newRow("three entries") << QStringList{"objects/tank.con", "objects/jeep.con", "menu"} << all
                                       << QStringList{"con", kPromisedFolderType};
        QTest::newRow("extensions differing in case") << QStringList{"objects/tank.con", "objects/OLD.CON"} << all
                                                      << QStringList{"con", "CON"};
    }
    void contentsOfOneOrSeveralEntries()
    {
        QFETCH(QStringList, paths);
        QFETCH(QStringList, formats);
        QFETCH(QStringList, fileTypes);
        MyDocument* window = windows_->open({{"bf1942/objects/tank.con", "caf\xE9"},
                                             {"bf1942/objects/jeep.con", "j"},
                                             {"bf1942/objects/OLD.CON", "o"},
                                             {"bf1942/menu/sky.raw", std::string(2 * 64 * 64, '\x40')},
                                             {"bf1942/README", "r"}});
        std::vector<std::string> relative;
        for (const QString& path : paths)
            relative.push_back(path.toStdString());
        const std::unique_ptr<RFAPasteboardOwner> data = pasteboard(*window, relative);

        QCOMPARE(data->formats(), formats);
        const std::optional<PasteboardEntries> entries = readPasteboardEntries(*data);
        QVERIFY(entries);
        QCOMPARE(entries->fileTypes, fileTypes);
        QStringList fullPaths;
        for (const QString& path : paths)
            fullPaths << QStringLiteral("bf1942/") + path + (node(*window, path.toStdString())->isLeaf() ? "" : "/");
        QCOMPARE(entries->nodePaths, fullPaths);
        QCOMPARE(QUrl(entries->rfaURL).toLocalFile(),
                 QString::fromStdString(window->document()->fileLocation()->string()));
        QCOMPARE(entries->documentId, window->documentId());
        QCOMPARE(dragAndDrop(*window).draggedNodes().size(), std::size_t(paths.size()));
        if (formats.contains("text/plain"))
            QCOMPARE(data->text(), QStringLiteral("café"));
        if (formats.contains("application/x-qt-image"))
            QCOMPARE(qvariant_cast<QImage>(data->imageData()).size(), QSize(64, 64));
    }

    void filesAreWrittenOnlyWhenAReceiverAsks()
    {
        MyDocument* window = windows_->open({{"bf1942/objects/tank.con", "tank"}, {"bf1942/objects/parts/w.con", "w"}});
        const QStringList before = exportFolders();
        const std::unique_ptr<RFAPasteboardOwner> data = pasteboard(*window, {"objects", "objects/tank.con"});
        QVERIFY(data->hasUrls());
        QCOMPARE(exportFolders(), before);

        // The entry changes after the drag began: the files show it as it was.
        node(*window, "objects/tank.con")->setData(textBytes("changed"));
        const QList<QUrl> urls = data->urls();
        QCOMPARE(urls.size(), 2);
        const QString folder = QFileInfo(urls.front().toLocalFile()).absolutePath();
        QVERIFY(folder.startsWith(exportRoot()));
        QCOMPARE(contentsOf(folder), (QStringList{"objects", "objects/parts", "objects/parts/w.con", "objects/tank.con",
                                                  "tank.con"}));
        QFile tank(folder + QStringLiteral("/tank.con"));
        QVERIFY(tank.open(QIODevice::ReadOnly));
        QCOMPARE(tank.readAll(), QByteArray("tank"));
        QCOMPARE(data->exportedPaths(), (std::vector<QString>{folder + "/objects", folder + "/tank.con"}));

        // Asked again, the same files; each drag its own folder.
        QCOMPARE(data->data(QStringLiteral("text/uri-list")),
                 urls[0].toEncoded() + "\r\n" + urls[1].toEncoded() + "\r\n");
        const std::unique_ptr<RFAPasteboardOwner> next = pasteboard(*window, {"objects/tank.con"});
        QVERIFY(QFileInfo(next->urls().front().toLocalFile()).absolutePath() != folder);
    }

    void hostileNamesAreNeitherWrittenNorOffered()
    {
        MyDocument* window = windows_->open({{"bf1942/safe.con", "s"}});
        const RFATreeNode::Ptr root = node(*window, "");
        const RFATreeNode::Ptr climbing = RFATreeNode::initAsDirectory("..", root);
        climbing->appendChild(RFATreeNode::initWithData(textBytes("evil"), "escaped.con", climbing));
        for (const char* name : {"..", "a\\..\\b.con", "", "."})
            root->appendChild(RFATreeNode::initWithData(textBytes("evil"), name, root));
        root->appendChild(climbing);
        std::vector<RFATreeNode::Ptr> nodes;
        for (std::size_t i = 0; i < root->countOfChildren(); ++i)
            nodes.push_back(root->objectInChildrenAtIndex(i));

        const std::unique_ptr<RFAPasteboardOwner> data(dragAndDrop(*window).writeNodes(nodes));
        const QList<QUrl> urls = data->urls();
        QCOMPARE(urls.size(), 1);
        const QString folder = QFileInfo(urls.front().toLocalFile()).absolutePath();
        QCOMPARE(contentsOf(folder), QStringList{"safe.con"});
        QCOMPARE(data->exportedPaths()[0], folder + "/safe.con");
        for (std::size_t i = 1; i < nodes.size(); ++i)
            QVERIFY(data->exportedPaths()[i].isEmpty());
    }

    // At start the export folders of editors that were killed are removed.
    void staleExportFoldersGoAtStartAndNothingElse()
    {
        const QDir exports(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/exports"));
        const QString own = makeExportFolder();
        QVERIFY(!own.isEmpty());
        // Process numbers above any system's limit: no such process runs.
        const QStringList made{"999999991/1", "999999992", "notes/1", "999999993/1"};
        for (const QString& folder : made)
            QVERIFY(exports.mkpath(folder));
        QFile leftLock(exports.filePath("999999992/.lock"));
        QVERIFY(leftLock.open(QIODevice::WriteOnly));
        leftLock.write("999999992\nlarkspan\n\n");
        leftLock.close();
        QLockFile running(exports.filePath("999999993/.lock")); // another editor still at work
        QVERIFY(running.tryLock(0));

        removeStaleExportFolders();
        for (const auto& [folder, stays] : std::vector<std::pair<QString, bool>>{
                 {"999999991", false}, {"999999992", false}, {"notes", true}, {"999999993", true}}) {
            QVERIFY2(exports.exists(folder) == stays, qPrintable(folder));
        }
        QVERIFY(QDir(own).exists());
        for (const char* kept : {"notes", "999999993"})
            QDir(exports.filePath(kept)).removeRecursively();
    }
};

} // namespace larkspan

QTEST_MAIN(larkspan::PasteboardTest)
#include "PasteboardTest.moc"
