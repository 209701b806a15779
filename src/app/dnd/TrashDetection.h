#pragma once

#include <QString>

#include <vector>

namespace larkspan {

// A trash of the desktop: the folder of its .trashinfo files, and the folder
// its relative Path= values start from (a mount's top folder; empty for
// the home trash, whose paths are absolute).
struct TrashFolder {
    QString infoFolder;
    QString topFolder;
};

// The trashes a file at `path` may have been moved to: the home trash
// ($XDG_DATA_HOME/Trash) and those at the top of the file's mount.
std::vector<TrashFolder> trashFoldersFor(const QString& path);

// Whether a .trashinfo in one of the folders names `path` as the place its
// file came from.
bool isNamedInTrash(const QString& path, const std::vector<TrashFolder>& folders);

// Where the file or folder once at `path` has gone. Gone, with one of the
// trashes saying it came from there: it was dropped on the trash. A file
// moved anywhere else leaves no such record (file managers answer Move for
// both).
enum class FileFate { Present, Trashed, Elsewhere };
FileFate fateOf(const QString& path, const std::vector<TrashFolder>& trashes);

} // namespace larkspan
