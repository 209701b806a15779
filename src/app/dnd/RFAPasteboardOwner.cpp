#include "app/dnd/RFAPasteboardOwner.h"

#include "app/dnd/ExportFolders.h"
#include "app/viewers/QtImages.h"
#include "fs/SafePath.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <QUuid>

namespace larkspan {

namespace {

const QString kUriList = QStringLiteral("text/uri-list");
// GNOME's and its kin's file clipboard: "copy" or "cut", then a URL a line.
const QString kGnomeFiles = QStringLiteral("x-special/gnome-copied-files");
// KDE's mark of a Cut beside text/uri-list: "1".
const QString kKdeCut = QStringLiteral("application/x-kde-cutselection");

QJsonArray toJson(const QStringList& texts)
{
    return QJsonArray::fromStringList(texts);
}

QStringList fromJson(const QJsonValue& value)
{
    QStringList texts;
    for (const QJsonValue& text : value.toArray())
        texts << text.toString();
    return texts;
}

} // namespace

const QString& thisInstance()
{
    static const QString instance =
        QString::number(QCoreApplication::applicationPid()) + QLatin1Char('-') + QUuid::createUuid().toString(QUuid::WithoutBraces);
    return instance;
}

QByteArray encodePasteboardEntries(const PasteboardEntries& entries)
{
    const QJsonObject object{
        {QStringLiteral("rfaURL"), entries.rfaURL},
        {QStringLiteral("nodePaths"), toJson(entries.nodePaths)},
        {QStringLiteral("fileTypes"), toJson(entries.fileTypes)},
        {QStringLiteral("instance"), entries.instance},
        {QStringLiteral("documentId"), QString::number(entries.documentId)},
        {QStringLiteral("cut"), entries.cut},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<PasteboardEntries> readPasteboardEntries(const QMimeData& data)
{
    if (!data.hasFormat(QString::fromLatin1(RFAPasteboardType)))
        return std::nullopt;
    const QJsonDocument json = QJsonDocument::fromJson(data.data(QString::fromLatin1(RFAPasteboardType)));
    if (!json.isObject() || !json.object().value(QStringLiteral("nodePaths")).isArray())
        return std::nullopt;
    const QJsonObject object = json.object();
    PasteboardEntries entries;
    entries.rfaURL = object.value(QStringLiteral("rfaURL")).toString();
    entries.nodePaths = fromJson(object.value(QStringLiteral("nodePaths")));
    entries.fileTypes = fromJson(object.value(QStringLiteral("fileTypes")));
    entries.instance = object.value(QStringLiteral("instance")).toString();
    entries.documentId = object.value(QStringLiteral("documentId")).toString().toULongLong();
    entries.cut = object.value(QStringLiteral("cut")).toBool();
    return entries;
}

QStringList promisedFileTypes(const std::vector<RFATreeNode::Ptr>& nodes)
{
    QStringList types;
    for (const RFATreeNode::Ptr& node : nodes) {
        const QString type = node->isLeaf() ? QString::fromStdString(node->extension())
                                            : QString::fromLatin1(kPromisedFolderType);
        if (!types.contains(type, Qt::CaseSensitive))
            types << type;
    }
    return types;
}

RFAPasteboardOwner::RFAPasteboardOwner(const std::vector<RFATreeNode::Ptr>& nodes, const PasteboardEntries& entries,
                                       const ImageDecoderTable& decoders)
    : cut_(entries.cut), exportedPaths_(nodes.size())
{
    // The files are described now and written later, as the entries are now.
    // An entry whose bytes cannot be decoded is left out (a wrapper without
    // a name writes nothing); the rest are decoded together, on the workers.
    (void)loadContents(nodes);
    wrappers_.reserve(nodes.size());
    for (const RFATreeNode::Ptr& node : nodes)
        wrappers_.push_back(node->fileWrapper().value_or(FileWrapper{}));
    setData(QString::fromLatin1(RFAPasteboardType), encodePasteboardEntries(entries));
    if (nodes.size() != 1)
        return;
    const RFATreeNode::Ptr& node = nodes.front();
    if (node->isText()) {
        setText(QString::fromStdString(node->contents().value_or(std::string())));
    } else if (node->isImage()) {
        if (const SharedImage picture = node->image(decoders))
            setImageData(toQImage(*picture));
    }
}

QStringList RFAPasteboardOwner::formats() const
{
    QStringList formats{kUriList, kGnomeFiles};
    if (cut_)
        formats << kKdeCut;
    return formats + QMimeData::formats();
}

bool RFAPasteboardOwner::hasFormat(const QString& mimeType) const
{
    return formats().contains(mimeType);
}

QVariant RFAPasteboardOwner::retrieveData(const QString& mimeType, QMetaType type) const
{
    if (mimeType == kKdeCut)
        return cut_ ? QByteArray("1") : QVariant();
    if (mimeType != kUriList && mimeType != kGnomeFiles)
        return QMimeData::retrieveData(mimeType, type);
    exportFiles();
    if (mimeType == kGnomeFiles) {
        QByteArray text = cut_ ? "cut" : "copy";
        for (const QUrl& url : urls_)
            text += '\n' + url.toEncoded();
        return text;
    }
    if (type.id() == QMetaType::QVariantList) {
        QVariantList list;
        for (const QUrl& url : urls_)
            list << url;
        return list;
    }
    QByteArray text;
    for (const QUrl& url : urls_)
        text += url.toEncoded() + "\r\n";
    return text;
}

void RFAPasteboardOwner::exportFiles() const
{
    if (exported_)
        return;
    exported_ = true;
    const QString folder = makeExportFolder();
    if (!folder.isEmpty())
        writeFilesInto(folder);
    emit filesExported();
}

void RFAPasteboardOwner::writeFilesInto(const QString& folder) const
{
    for (std::size_t i = 0; i < wrappers_.size(); ++i) {
        const FileWrapper& wrapper = wrappers_[i];
        // Names that would leave the folder are skipped by the writer, with
        // everything below them.
        writeFileWrapper(wrapper, std::filesystem::path(folder.toStdString()));
        if (!isSafePathComponent(wrapper.preferredFilename))
            continue;
        const QString path = folder + QLatin1Char('/') + QString::fromStdString(wrapper.preferredFilename);
        if (!QFileInfo::exists(path))
            continue;
        exportedPaths_[i] = path;
        const QUrl url = QUrl::fromLocalFile(path);
        // Two entries of one name are written to one place; the later wins.
        if (!urls_.contains(url))
            urls_ << url;
    }
}

} // namespace larkspan
