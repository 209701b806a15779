#include "app/dnd/TrashDetection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QUrl>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace larkspan {

namespace {

QString homeDataFolder()
{
    const QString configured = qEnvironmentVariable("XDG_DATA_HOME");
    return configured.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : configured;
}

// The original location a .trashinfo names, or empty.
QString originalPath(const QString& infoFile, const QString& topFolder)
{
    QFile file(infoFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    bool inSection = false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine(64 * 1024).trimmed();
        if (line.startsWith('['))
            inSection = line == "[Trash Info]";
        else if (inSection && line.startsWith("Path=")) {
            const QString path = QUrl::fromPercentEncoding(line.mid(5));
            if (QDir::isAbsolutePath(path))
                return QDir::cleanPath(path);
            return topFolder.isEmpty() ? QString() : QDir::cleanPath(topFolder + QLatin1Char('/') + path);
        }
    }
    return {};
}

} // namespace

std::vector<TrashFolder> trashFoldersFor(const QString& path)
{
    std::vector<TrashFolder> folders{{homeDataFolder() + QStringLiteral("/Trash/info"), {}}};
#ifdef Q_OS_UNIX
    const QString top = QStorageInfo(QFileInfo(path).absolutePath()).rootPath();
    if (!top.isEmpty()) {
        const QString uid = QString::number(getuid());
        folders.push_back({QDir::cleanPath(top + QStringLiteral("/.Trash-") + uid + QStringLiteral("/info")), top});
        folders.push_back({QDir::cleanPath(top + QStringLiteral("/.Trash/") + uid + QStringLiteral("/info")), top});
    }
#endif
    return folders;
}

bool isNamedInTrash(const QString& path, const std::vector<TrashFolder>& folders)
{
    const QString wanted = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    // Info files are named after the trashed file, with a number put in
    // when that name was taken ("a.2.con"): only those that start alike
    // are read.
    const QString stem = QFileInfo(wanted).fileName().section(QLatin1Char('.'), 0, 0);
    for (const TrashFolder& folder : folders) {
        const QDir info(folder.infoFolder);
        for (const QString& entry : info.entryList({QStringLiteral("*.trashinfo")}, QDir::Files | QDir::Hidden)) {
            if (entry.startsWith(stem) && originalPath(info.filePath(entry), folder.topFolder) == wanted)
                return true;
        }
    }
    return false;
}

FileFate fateOf(const QString& path, const std::vector<TrashFolder>& trashes)
{
    // A link left in its place, even a broken one, is something still there.
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return FileFate::Present;
    return isNamedInTrash(path, trashes) ? FileFate::Trashed : FileFate::Elsewhere;
}

} // namespace larkspan
