#pragma once

#include <QByteArray>
#include <QStringList>

namespace larkspan {

// The user's settings, under the keys the editor has always used.
namespace settings {

// View mode of new windows: 0 the column browser, 1 the outline list.
int defaultViewMode();
void setDefaultViewMode(int mode);

// What the search tests; both false until the user turns them on.
bool searchFilenames();
void setSearchFilenames(bool on);
bool searchFileContents();
void setSearchFileContents(bool on);

// Most recent first.
QStringList recentFiles();
void noteRecentFile(const QString& path);
void clearRecentFiles();

// The preview docked beside the outline list; off until the user turns it on.
bool showPreview();
void setShowPreview(bool on);

// The program Open With uses for files of this extension; empty for the
// desktop's application.
QString openWithProgram(const QString& extension);
void setOpenWithProgram(const QString& extension, const QString& program);

// Where a file dialog for `purpose` ("openMod", "modExtract") last settled,
// while that folder is still there; otherwise `fallback`.
QString lastFolder(const QString& purpose, const QString& fallback);
void setLastFolder(const QString& purpose, const QString& folder);

QByteArray windowGeometry();
void setWindowGeometry(const QByteArray& geometry);

} // namespace settings
} // namespace larkspan
