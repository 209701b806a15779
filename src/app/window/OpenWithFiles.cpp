#include "app/window/OpenWithFiles.h"

#include "app/shell/MessageBoxes.h"
#include "app/shell/Settings.h"
#include "app/window/OpenWithDialog.h"
#include "document/ArchiveDocument.h"
#include "document/ExternalEdit.h"

#include <QCryptographicHash>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QSaveFile>
#include <QUrl>

namespace larkspan {

namespace {

constexpr int kSettleMs = 300;

QByteArray digest(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

QByteArray bytesOf(const RFATreeNode& entry)
{
    return QByteArray(reinterpret_cast<const char*>(entry.data()->data()),
                      static_cast<qsizetype>(entry.data()->size()));
}

QString nameOf(const RFATreeNode& node)
{
    return QString::fromStdString(node.name());
}

} // namespace

OpenWithFiles::OpenWithFiles(QWidget& window, std::shared_ptr<ArchiveDocument> document)
    : QObject(&window), window_(window), document_(std::move(document)),
      folder_(QDir::tempPath() + QStringLiteral("/larkspan-XXXXXX"))
{
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &OpenWithFiles::checkChanged);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &OpenWithFiles::noteChanged);
    // A program that saves by writing a new file and renaming it over the
    // old one ends the file's watch: its folder tells that a file came back.
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this](const QString& folder) {
        for (const Opened& opened : opened_)
            if (QFileInfo(opened.path).absolutePath() == folder)
                noteChanged(opened.path);
    });
}

OpenWithFiles::Opened* OpenWithFiles::find(const QString& path)
{
    for (Opened& opened : opened_)
        if (opened.path == path)
            return &opened;
    return nullptr;
}

QString OpenWithFiles::fileFor(const RFATreeNode& entry) const
{
    for (const Opened& opened : opened_)
        if (opened.entry.get() == &entry)
            return opened.path;
    return {};
}

void OpenWithFiles::chooseAndOpen(const RFATreeNode::Ptr& entry)
{
    auto* dialog = new OpenWithDialog(nameOf(*entry),
                                      settings::openWithProgram(QString::fromStdString(entry->extension())), &window_);
    connect(dialog, &OpenWithDialog::programChosen, this, [this, entry](const QString& program) {
        settings::setOpenWithProgram(QString::fromStdString(entry->extension()), program);
        open(entry, program);
    });
    dialog->open();
}

void OpenWithFiles::openWithRemembered(const RFATreeNode::Ptr& entry)
{
    open(entry, settings::openWithProgram(QString::fromStdString(entry->extension())));
}

bool OpenWithFiles::open(const RFATreeNode::Ptr& entry, const QString& program)
{
    if (!entry->isLeaf())
        return false;
    if (const Result<SharedBytes> bytes = entry->readData(); !bytes) {
        errorBox(&window_, tr("Open With"), tr("“%1” could not be read.").arg(nameOf(*entry)), bytes.error())->open();
        return false;
    }
    QString path = fileFor(*entry);
    if (path.isEmpty()) {
        // A folder per entry: two entries of one name in different folders
        // each keep their own name.
        const QString folder = folder_.filePath(QString::number(opened_.size() + 1));
        QDir().mkpath(folder);
        path = folder + QLatin1Char('/') + nameOf(*entry);
        opened_.push_back({entry, entry->parent(), path, {}, false});
    }
    Opened& opened = *find(path);
    // The file gets the entry's bytes now; a later change is the other program's.
    const QByteArray bytes = bytesOf(*entry);
    QSaveFile file(path);
    if (!folder_.isValid() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        windowModalBox(&window_, QMessageBox::Warning, tr("Open With"),
                       tr("“%1” could not be written to a temporary file.").arg(nameOf(*entry)), file.errorString())
            ->open();
        return false;
    }
    opened.seen = digest(bytes);
    watch(opened);
    const bool started = program.isEmpty() ? QDesktopServices::openUrl(QUrl::fromLocalFile(path))
                                           : QProcess::startDetached(program, {path});
    if (!started) {
        windowModalBox(&window_, QMessageBox::Warning, tr("Open With"),
                       program.isEmpty() ? tr("No application is set to open “%1”.").arg(nameOf(*entry))
                                         : tr("“%1” could not be started.").arg(program),
                       tr("Choose a program with Archive → Open With…."))
            ->open();
    }
    return started;
}

void OpenWithFiles::watch(const Opened& opened)
{
    if (!watcher_.files().contains(opened.path))
        watcher_.addPath(opened.path);
    const QString folder = QFileInfo(opened.path).absolutePath();
    if (!watcher_.directories().contains(folder))
        watcher_.addPath(folder);
}

void OpenWithFiles::noteChanged(const QString& path)
{
    changed_.insert(path);
    settle_.start();
}

void OpenWithFiles::checkChanged()
{
    const QSet<QString> changed = std::exchange(changed_, {});
    for (const QString& path : changed) {
        Opened* opened = find(path);
        QFile file(path);
        if (!opened || !file.open(QIODevice::ReadOnly))
            continue; // gone for now; its folder says when it is back
        watch(*opened);
        const QByteArray bytes = file.readAll();
        if (digest(bytes) != opened->seen && !opened->asking)
            offer(*opened, bytes);
    }
}

void OpenWithFiles::offer(Opened& opened, const QByteArray& bytes)
{
    const QString name = nameOf(*opened.entry);
    const bool inArchive = document_->isInTree(*opened.entry);
    if (!inArchive && (!opened.folder || !document_->isInTree(*opened.folder))) {
        opened.seen = digest(bytes);
        windowModalBox(&window_, QMessageBox::Warning, tr("Open With"),
                       tr("“%1” was changed by another program, but it is no longer in the archive.").arg(name),
                       tr("The folder it was in has been removed too, so the change cannot be taken back."))
            ->open();
        return;
    }
    opened.asking = true;
    QMessageBox* box =
        inArchive
            ? windowModalBox(&window_, QMessageBox::Question, tr("Open With"),
                             tr("“%1” was changed by another program.").arg(name),
                             tr("Do you want to take the changed file back into the archive?"), QMessageBox::Cancel)
            : windowModalBox(
                  &window_, QMessageBox::Question, tr("Open With"),
                  tr("“%1” was changed by another program, but it is no longer in the archive.").arg(name),
                  tr("Do you want to add the changed file to “%1” as a new entry?").arg(nameOf(*opened.folder)),
                  QMessageBox::Cancel);
    QPushButton* take = box->addButton(inArchive ? tr("Take Back") : tr("Add"), QMessageBox::AcceptRole);
    box->setDefaultButton(take);
    box->button(QMessageBox::Cancel)->setText(tr("Ignore"));
    connect(box, &QMessageBox::finished, this, [this, box, take, path = opened.path] {
        Opened* answered = find(path);
        if (!answered)
            return;
        answered->asking = false;
        if (box->clickedButton() == take) {
            takeBack(*answered);
        } else {
            QFile file(path);
            if (file.open(QIODevice::ReadOnly))
                answered->seen = digest(file.readAll());
        }
        // A change made while the question was open is a change of its own.
        noteChanged(path);
    });
    box->open();
}

void OpenWithFiles::takeBack(Opened& opened)
{
    QFile file(opened.path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    opened.seen = digest(bytes);
    const TakeBackResult result =
        takeBackExternalEdit(*document_, opened.entry, opened.folder, opened.entry->name(),
                             makeSharedBytes(ByteSpan(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                                      static_cast<std::size_t>(bytes.size()))));
    if (result.entry) {
        // A new entry is the one the file belongs to from now on.
        opened.entry = result.entry;
        return;
    }
    const QString folder = opened.folder ? nameOf(*opened.folder) : QString();
    windowModalBox(&window_, QMessageBox::Warning, tr("Open With"),
                   result.outcome == TakeBack::NameTaken
                       ? tr("“%1” already holds an entry named “%2”.").arg(folder, nameOf(*opened.entry))
                       : tr("The folder “%1” is no longer in the archive.").arg(folder),
                   tr("The change was not taken back."))
        ->open();
}

} // namespace larkspan
