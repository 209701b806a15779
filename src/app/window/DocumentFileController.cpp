#include "app/window/DocumentFileController.h"

#include "app/shell/MessageBoxes.h"
#include "app/shell/RFAApplicationDelegate.h"
#include "app/shell/Settings.h"
#include "app/window/MyDocument.h"
#include "app/window/SlowWorkProgress.h"
#include "app/window/UpdateArchiveCommand.h"
#include "document/ArchiveDocument.h"
#include "document/EmptyFolders.h"
#include "mod/UpdateArchive.h"

#include <QApplication>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>

namespace larkspan {

DocumentFileController::DocumentFileController(MyDocument& window, RFAApplicationDelegate& application,
                                               std::shared_ptr<ArchiveDocument> document)
    : QObject(&window), window_(window), application_(application), document_(std::move(document))
{
}

QString DocumentFileController::displayName() const
{
    return window_.displayName();
}

bool DocumentFileController::isUntitled() const
{
    return window_.isUntitled();
}

bool DocumentFileController::isModified() const
{
    return window_.isModified();
}

void DocumentFileController::beep()
{
    QApplication::beep();
}

Result<void> DocumentFileController::readFile(const QString& path)
{
    SlowWorkProgress progress(&window_, tr("Opening %1…").arg(QFileInfo(path).fileName()));
    Result<void> read = document_->readFromFile(
        path.toStdString(), [&](std::uint64_t done, std::uint64_t total) { return progress.report(done, total); });
    if (read) {
        stamp_ = stampOf(path);
        settings::noteRecentFile(QFileInfo(path).absoluteFilePath());
        updateTitle();
        // The file's form decides how it is saved.
        emit stateChanged();
    }
    return read;
}

bool DocumentFileController::writeTo(const QString& path)
{
    // Compressing takes its time: the user may stop it, and then the old
    // file stays as it was and the document unsaved.
    SlowWorkProgress progress(window_.dialogParent(), tr("Saving %1…").arg(QFileInfo(path).fileName()));
    const Result<void> saved = document_->saveToFile(
        path.toStdString(), [&](std::uint64_t done, std::uint64_t total) { return progress.report(done, total); });
    if (!saved && saved.error().code == ErrorCode::Cancelled)
        return false;
    if (!saved) {
        errorBox(window_.dialogParent(), displayName(), tr("The archive could not be saved."), saved.error())->open();
        return false;
    }
    stamp_ = stampOf(path);
    settings::noteRecentFile(QFileInfo(path).absoluteFilePath());
    updateTitle();
    emit stateChanged();
    application_.archiveWritten(path);
    return true;
}

void DocumentFileController::confirmThenWrite(const QString& path, std::function<void(bool saved)> done)
{
    const auto finish = [this, path, done = std::move(done)](bool write) {
        const bool saved = write && writeTo(path);
        if (done)
            done(saved);
    };
    const std::vector<std::string> leftOut = foldersLeftOutOnSave(document_->topLevelNodes());
    if (leftOut.empty())
        return finish(true);
    // Said before they vanish: after the save they are gone from the file,
    // and from the window on the next open.
    QStringList names;
    for (const std::string& folder : leftOut)
        names << QString::fromStdString(folder);
    QMessageBox* box = windowModalBox(
        window_.dialogParent(), QMessageBox::Warning, displayName(),
        tr("Empty folders cannot be saved in an RFA archive."),
        tr("An archive holds only files. These folders hold none and will be left out:\n\n%1").arg(listed(names)),
        QMessageBox::Save | QMessageBox::Cancel);
    box->setDefaultButton(QMessageBox::Save);
    box->setEscapeButton(QMessageBox::Cancel);
    connect(box, &QMessageBox::finished, this, [this, box, finish] {
        const bool save = box->standardButton(box->clickedButton()) == QMessageBox::Save;
        afterAnswer(this, [finish, save] { finish(save); });
    });
    box->open();
}

QString DocumentFileController::listed(const QStringList& names)
{
    constexpr qsizetype kNamed = 12;
    QStringList lines = names.mid(0, kNamed);
    if (names.size() > kNamed)
        lines << tr("… and %n more", nullptr, static_cast<int>(names.size() - kNamed));
    return lines.join(QLatin1Char('\n'));
}

DocumentFileController::FileStamp DocumentFileController::stampOf(const QString& path)
{
    const QFileInfo file(path);
    return {file.exists(), file.lastModified(), file.size()};
}

void DocumentFileController::save(std::function<void(bool saved)> done)
{
    if (isUntitled())
        return saveAs(std::move(done));
    const QString path = QString::fromStdString(document_->fileLocation()->string());
    const FileStamp now = stampOf(path);
    // Written meanwhile by another program (or another editor): saving
    // would silently drop what it wrote. A file that has gone loses nothing.
    if (!now.exists || now == stamp_)
        return saveOverFile(std::move(done));
    QMessageBox* box = windowModalBox(
        window_.dialogParent(), QMessageBox::Warning, displayName(),
        tr("“%1” has been changed by another program since it was opened or saved here.")
            .arg(QFileInfo(path).fileName()),
        tr("Saving replaces those changes with what this window shows. Revert to Saved shows them instead, and "
           "drops the changes made here."),
        QMessageBox::Cancel);
    QPushButton* anyway = box->addButton(tr("Save Anyway"), QMessageBox::DestructiveRole);
    box->setDefaultButton(QMessageBox::Cancel);
    box->setEscapeButton(QMessageBox::Cancel);
    connect(box, &QMessageBox::finished, this, [this, box, anyway, done = std::move(done)] {
        const bool overwrite = box->clickedButton() == anyway;
        afterAnswer(this, [this, overwrite, done] {
            if (overwrite)
                saveOverFile(done);
            else if (done)
                done(false);
        });
    });
    box->open();
}

void DocumentFileController::saveOverFile(std::function<void(bool saved)> done)
{
    const std::filesystem::path& location = *document_->fileLocation();
    // A family that cannot be read is no reason to keep the user's work
    // from the disk: then there is nothing to ask.
    const Result<std::vector<HiddenEntry>> hidden =
        findHiddenEntries(findArchiveFamily(location), location, document_->archive());
    QStringList changed;
    for (const HiddenEntry& entry : hidden.value_or(std::vector<HiddenEntry>{}))
        if (entry.changedHere)
            changed << UpdateArchiveCommand::entryInUpdate(entry.path, entry.update);
    const QString path = QString::fromStdString(location.string());
    if (changed.isEmpty())
        return confirmThenWrite(path, std::move(done));
    // The game reads these entries from the later update: saved here, the
    // edits would be on disk and yet never seen.
    QMessageBox* box = windowModalBox(
        window_.dialogParent(), QMessageBox::Warning, displayName(),
        tr("A later update archive replaces entries that you changed here."),
        tr("The game reads these entries from the update named beside each, not from “%1”, and would not see "
           "the changes saved here:\n\n%2\n\nAn update archive above them makes the game see the changes.")
            .arg(QFileInfo(path).fileName(), listed(changed)),
        QMessageBox::Cancel);
    QPushButton* asUpdate = box->addButton(tr("Save as Update Archive…"), QMessageBox::AcceptRole);
    QPushButton* anyway = box->addButton(tr("Save Anyway"), QMessageBox::DestructiveRole);
    box->setDefaultButton(QMessageBox::Cancel);
    box->setEscapeButton(QMessageBox::Cancel);
    connect(box, &QMessageBox::finished, this, [this, box, asUpdate, anyway, path, done = std::move(done)] {
        const QAbstractButton* clicked = box->clickedButton();
        const bool update = clicked == asUpdate;
        const bool write = clicked == anyway;
        afterAnswer(this, [this, update, write, path, done] {
            if (update)
                UpdateArchiveCommand::run(window_, done);
            else if (write)
                confirmThenWrite(path, done);
            else if (done)
                done(false);
        });
    });
    box->open();
}

void DocumentFileController::saveAs(std::function<void(bool saved)> done)
{
    auto* dialog = new QFileDialog(window_.dialogParent(), tr("Save As"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilter(tr("RFA archives (*.rfa)"));
    dialog->setDefaultSuffix(QStringLiteral("rfa"));
    if (!isUntitled())
        dialog->selectFile(QString::fromStdString(document_->fileLocation()->string()));
    connect(dialog, &QFileDialog::finished, this, [this, dialog, done = std::move(done)](int result) {
        const QStringList files = dialog->selectedFiles();
        const QString chosen = result == QDialog::Accepted && !files.isEmpty() ? files.front() : QString();
        afterAnswer(this, [this, chosen, done] {
            if (!chosen.isEmpty())
                confirmThenWrite(chosen, done);
            else if (done)
                done(false);
        });
    });
    dialog->open();
}

void DocumentFileController::revertToSaved()
{
    if (isUntitled())
        return beep();
    QMessageBox* box = windowModalBox(window_.dialogParent(), QMessageBox::Question, displayName(),
                                      tr("Do you want to revert to the saved version of “%1”?").arg(displayName()),
                                      tr("Your changes since the last save will be lost."), QMessageBox::NoButton);
    QPushButton* revert = box->addButton(tr("Revert"), QMessageBox::DestructiveRole);
    box->addButton(QMessageBox::Cancel);
    connect(box, &QMessageBox::finished, this, [this, box, revert] {
        if (box->clickedButton() != static_cast<QAbstractButton*>(revert))
            return;
        afterAnswer(this, [this] {
            const QString path = QString::fromStdString(document_->fileLocation()->string());
            if (const Result<void> read = readFile(path); !read)
                application_.showOpenError(window_.dialogParent(), path, read.error());
        });
    });
    box->open();
}

void DocumentFileController::askToSaveChanges(std::function<void(bool proceed)> proceed)
{
    if (!isModified())
        return proceed(true);
    QMessageBox* box = windowModalBox(window_.dialogParent(), QMessageBox::Warning, displayName(),
                                      tr("Do you want to save the changes made to “%1”?").arg(displayName()),
                                      tr("Your changes will be lost if you don’t save them."),
                                      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box->button(QMessageBox::Discard)->setText(tr("Don't Save"));
    box->setDefaultButton(QMessageBox::Save);
    box->setEscapeButton(QMessageBox::Cancel);
    connect(box, &QMessageBox::finished, this, [this, box, proceed = std::move(proceed)] {
        const QMessageBox::StandardButton choice = box->standardButton(box->clickedButton());
        afterAnswer(this, [this, choice, proceed] {
            if (choice == QMessageBox::Save)
                save(proceed);
            else
                proceed(choice == QMessageBox::Discard);
        });
    });
    box->open();
}

void DocumentFileController::run()
{
    const std::optional<LaunchCommand> command = document_->runCommand();
    if (!command)
        return beep();
    QStringList arguments;
    for (const std::string& argument : command->arguments)
        arguments << QString::fromStdString(argument);
    const QString program = QString::fromStdString(command->program.string());
    if (QProcess::startDetached(program, arguments, QString::fromStdString(command->workingDirectory.string())))
        return;
    windowModalBox(window_.dialogParent(), QMessageBox::Warning, displayName(), tr("The game could not be started."),
                   program)
        ->open();
}

void DocumentFileController::saveAndRun()
{
    if (!document_->saveAndRunEnabled())
        return beep();
    // The game starts also when the save failed, as it always has.
    save([this](bool) { run(); });
}

} // namespace larkspan
