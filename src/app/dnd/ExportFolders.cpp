#include "app/dnd/ExportFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace larkspan {

namespace {

// This process's folder of export folders, removed with what it holds
// when the program ends.
class ExportRoot {
public:
    ExportRoot()
        : path_(QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/exports/") +
                QString::number(QCoreApplication::applicationPid()))
    {
    }
    ~ExportRoot() { QDir(path_).removeRecursively(); }
    ExportRoot(const ExportRoot&) = delete;
    ExportRoot& operator=(const ExportRoot&) = delete;

    QString makeFolder()
    {
        if (!QDir().mkpath(path_))
            return {};
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
    quint64 serial_ = 0;
};

} // namespace

QString makeExportFolder()
{
    static ExportRoot root;
    return root.makeFolder();
}

} // namespace larkspan
