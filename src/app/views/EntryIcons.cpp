#include "app/views/EntryIcons.h"

#include "model/EntryKind.h"
#include "model/RFATreeNode.h"

#include <QMimeType>

namespace larkspan {

const QIcon& EntryIcons::iconFor(const RFATreeNode& node)
{
    return node.isLeaf() ? iconForExtension(node.extension()) : folderIcon();
}

const QIcon& EntryIcons::folderIcon()
{
    if (folder_.isNull())
        folder_ = provider_.icon(QFileIconProvider::Folder);
    return folder_;
}

const QIcon& EntryIcons::iconForExtension(const std::string& extension)
{
    auto found = byExtension_.find(extension);
    if (found == byExtension_.end())
        found = byExtension_.emplace(extension, resolve(extension)).first;
    return found->second;
}

QIcon EntryIcons::resolve(const std::string& extension)
{
    QString name;
    QString generic;
    switch (entryKindOf(extension)) {
    // The desktop knows neither the game's scripts (.rs it takes for Rust
    // source) nor its height maps (.raw it takes for a camera's photo).
    case EntryKind::Script:
        name = QStringLiteral("text-x-script");
        generic = QStringLiteral("text-x-generic");
        break;
    case EntryKind::HeightMap:
        name = generic = QStringLiteral("image-x-generic");
        break;
    default: {
        // Matched by extension alone: a name such as "README" would otherwise
        // get a type of its own that other files without extension do not share.
        const QMimeType mime =
            extension.empty() ? mimeTypes_.mimeTypeForName(QStringLiteral("application/octet-stream"))
                              : mimeTypes_.mimeTypeForFile(QStringLiteral("entry.") + QString::fromStdString(extension),
                                                           QMimeDatabase::MatchExtension);
        name = mime.iconName();
        generic = mime.genericIconName();
    }
    }
    return QIcon::fromTheme(name, QIcon::fromTheme(generic, provider_.icon(QFileIconProvider::File)));
}

} // namespace larkspan
