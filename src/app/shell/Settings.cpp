#include "app/shell/Settings.h"

#include <QFileInfo>
#include <QSettings>

namespace larkspan::settings {

namespace {

constexpr int kRecentFileLimit = 10;

} // namespace

int defaultViewMode()
{
    const int mode = QSettings().value(QStringLiteral("defaultViewMode"), 0).toInt();
    return mode == 1 ? 1 : 0;
}

void setDefaultViewMode(int mode)
{
    QSettings().setValue(QStringLiteral("defaultViewMode"), mode);
}

bool searchFilenames()
{
    return QSettings().value(QStringLiteral("searchFilenames"), false).toBool();
}

void setSearchFilenames(bool on)
{
    QSettings().setValue(QStringLiteral("searchFilenames"), on);
}

bool searchFileContents()
{
    return QSettings().value(QStringLiteral("searchFileContents"), false).toBool();
}

void setSearchFileContents(bool on)
{
    QSettings().setValue(QStringLiteral("searchFileContents"), on);
}

QStringList recentFiles()
{
    return QSettings().value(QStringLiteral("recentFiles")).toStringList();
}

void noteRecentFile(const QString& path)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kRecentFileLimit)
        files.removeLast();
    QSettings().setValue(QStringLiteral("recentFiles"), files);
}

void clearRecentFiles()
{
    QSettings().remove(QStringLiteral("recentFiles"));
}

bool showPreview()
{
    return QSettings().value(QStringLiteral("showPreview"), false).toBool();
}

void setShowPreview(bool on)
{
    QSettings().setValue(QStringLiteral("showPreview"), on);
}

namespace {

QString openWithKey(const QString& extension)
{
    // A name without an extension has a key of its own.
    return QStringLiteral("openWith/") + (extension.isEmpty() ? QStringLiteral("-") : QStringLiteral(".") + extension);
}

} // namespace

QString openWithProgram(const QString& extension)
{
    return QSettings().value(openWithKey(extension)).toString();
}

void setOpenWithProgram(const QString& extension, const QString& program)
{
    QSettings().setValue(openWithKey(extension), program);
}

QString lastFolder(const QString& purpose, const QString& fallback)
{
    const QString folder = QSettings().value(QStringLiteral("lastFolder/") + purpose).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : fallback;
}

void setLastFolder(const QString& purpose, const QString& folder)
{
    QSettings().setValue(QStringLiteral("lastFolder/") + purpose, folder);
}

QByteArray windowGeometry()
{
    return QSettings().value(QStringLiteral("windowGeometry")).toByteArray();
}

void setWindowGeometry(const QByteArray& geometry)
{
    QSettings().setValue(QStringLiteral("windowGeometry"), geometry);
}

} // namespace larkspan::settings
