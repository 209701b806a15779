#pragma once

#include <QFileIconProvider>
#include <QIcon>
#include <QMimeDatabase>
#include <QSize>

#include <string>
#include <unordered_map>

namespace larkspan {

class RFATreeNode;

// Entries are drawn with 16×16 icons in every tree view.
inline constexpr QSize kEntryIconSize(16, 16);

// The icon of an archive entry: a generic folder for folders, for files the
// icon of the MIME type their extension names, or of their kind where the
// desktop does not know the game's files; where the desktop's icon theme
// has none (or there is no theme), an icon the program brings for each kind
// of entry, and the style's plain file for other files. Resolved once per extension,
// since an archive holds many thousands of files of a handful of types.
class EntryIcons {
public:
    const QIcon& iconFor(const RFATreeNode& node);
    const QIcon& folderIcon();
    // The text after the last "." of a name; empty for a name without one.
    const QIcon& iconForExtension(const std::string& extension);

private:
    QIcon resolve(const std::string& extension);

    QFileIconProvider provider_;
    QMimeDatabase mimeTypes_;
    QIcon folder_;
    std::unordered_map<std::string, QIcon> byExtension_;
};

} // namespace larkspan
