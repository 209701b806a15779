#include "app/views/EntryIcons.h"

#include "model/EntryKind.h"
#include "model/RFATreeNode.h"

#include <QMimeType>

#include <utility>

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

namespace {

// The icon drawn for the kind, bundled with the program; null for other files.
QIcon bundledIcon(EntryKind kind)
{
    static constexpr std::pair<EntryKind, const char*> kNames[] = {
        {EntryKind::Script, "script"},   {EntryKind::Text, "text"},        {EntryKind::Texture, "texture"},
        {EntryKind::Picture, "picture"}, {EntryKind::HeightMap, "heightmap"}, {EntryKind::Sound, "sound"},
        {EntryKind::Mesh, "mesh"},
    };
    QIcon icon;
    for (const auto& [each, name] : kNames)
        if (each == kind)
            for (const int size : {16, 32})
                icon.addFile(QStringLiteral(":/entry-icons/%1-%2.png").arg(QLatin1String(name)).arg(size), QSize(size, size));
    return icon;
}

} // namespace

QIcon EntryIcons::resolve(const std::string& extension)
{
    const EntryKind kind = entryKindOf(extension);
    // Without a theme, or where it has no icon: the one drawn for the kind.
    QIcon fallback = bundledIcon(kind);
    if (fallback.isNull())
        fallback = provider_.icon(QFileIconProvider::File);
    QString name;
    QString generic;
    switch (kind) {
    // The desktop knows neither the game's scripts (.rs it takes for Rust
    // source) nor its height maps (.raw it takes for a camera's photo), nor
    // has it icons for meshes.
    case EntryKind::Script:
        name = QStringLiteral("text-x-script");
        generic = QStringLiteral("text-x-generic");
        break;
    case EntryKind::HeightMap:
        name = generic = QStringLiteral("image-x-generic");
        break;
    case EntryKind::Mesh:
        return fallback;
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
    return QIcon::fromTheme(name, QIcon::fromTheme(generic, fallback));
}

} // namespace larkspan
