#include "app/dnd/ExportFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QLockFile>
#include <QRegularExpression>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace larkspan {

namespace {

// Holds one folder per process, named by its process number.
QString exportsLocation()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/exports");
}

// Held by the process whose folder it is, for as long as it runs.
QString lockOf(const QString& processFolder)
{
    return processFolder + QStringLiteral("/.lock");
}

bool ownedByUser(const QFileInfo& file)
{
#ifdef Q_OS_UNIX
    return file.ownerId() == getuid();
#else
    return true; // the cache location is the user's own
#endif
}

// This process's folder of export folders, removed with what it holds
// when the program ends.
class ExportRoot {
public:
    ExportRoot()
        : path_(exportsLocation() + QLatin1Char('/') + QString::number(QCoreApplication::applicationPid())),
          lock_(lockOf(path_))
    {
        // Only a process that no longer runs leaves its lock behind.
        lock_.setStaleLockTime(0);
    }
    ~ExportRoot() { QDir(path_).removeRecursively(); }
    ExportRoot(const ExportRoot&) = delete;
    ExportRoot& operator=(const ExportRoot&) = delete;

    QString makeFolder()
    {
        if (!QDir().mkpath(path_))
            return {};
        if (!lock_.isLocked())
            lock_.tryLock(0);
        // A folder left by an earlier process of the same number is passed over.
        for (int attempts = 0; attempts < 1000; ++attempts) {
            const QString folder = path_ + QLatin1Char('/') + QString::number(++serial_);
            if (QDir().mkdir(folder))
                return folder;
        }
        return {};
    }

private:
    QString path_;
    QLockFile lock_;
    quint64 serial_ = 0;
};

} // namespace

QString makeExportFolder()
{
    static ExportRoot root;
    return root.makeFolder();
}

void removeStaleExportFolders()
{
    static const QRegularExpression processNumber(QStringLiteral("^[0-9]+$"));
    const QString own = QString::number(QCoreApplication::applicationPid());
    for (const QFileInfo& folder :
         QDir(exportsLocation()).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
        if (folder.fileName() == own || !processNumber.match(folder.fileName()).hasMatch() || !ownedByUser(folder))
            continue;
        // A running editor holds its lock; the folder of one that was killed
        // has none, or one left by a process that is gone.
        QLockFile lock(lockOf(folder.absoluteFilePath()));
        lock.setStaleLockTime(0);
        if (lock.tryLock(0))
            QDir(folder.absoluteFilePath()).removeRecursively();
    }
}

} // namespace larkspan
