// At start the export folders of editors that were killed are removed, and
// nothing else.

#include "AppTestSupport.h"

#include "app/dnd/ExportFolders.h"

#include <QDir>
#include <QLockFile>

namespace larkspan {

using namespace fixtures;

class StaleExportFoldersTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { isolateSettings(); }

    void removesOnlyTheFoldersOfEditorsGone()
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

QTEST_MAIN(larkspan::StaleExportFoldersTest)
#include "StaleExportFoldersTest.moc"
