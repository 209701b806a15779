#include "app/window/DocumentFileController.h"

#include "app/shell/MessageBoxes.h"
#include "app/shell/RFAApplicationDelegate.h"
#include "app/shell/Settings.h"
#include "app/window/MyDocument.h"
#include "app/window/SlowWorkProgress.h"
#include "document/ArchiveDocument.h"
#include "document/EmptyFolders.h"

#include <QApplication>
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
    SlowWorkProgress progress(&window_, tr("Saving %1…").arg(QFileInfo(path).fileName()));
    const Result<void> saved = document_->saveToFile(
        path.toStdString(), [&](std::uint64_t done, std::uint64_t total) { return progress.report(done, total); });
    if (!saved && saved.error().code == ErrorCode::Cancelled)
        return false;
    if (!saved) {
        errorBox(&window_, displayName(), tr("The archive could not be saved."), saved.error())->open();
        return false;
    }
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
    constexpr std::size_t kNamed = 12;
    QStringList names;
    for (std::size_t i = 0; i < std::min(leftOut.size(), kNamed); ++i)
        names << QString::fromStdString(leftOut[i]);
    if (leftOut.size() > kNamed)
        names << tr("… and %n more", nullptr, static_cast<int>(leftOut.size() - kNamed));
    QMessageBox* box = windowModalBox(
        &window_, QMessageBox::Warning, displayName(),
        tr("Empty folders cannot be saved in an RFA archive."),
        tr("An archive holds only files. These folders hold none and will be left out:\n\n%1")
            .arg(names.join(QLatin1Char('\n'))),
        QMessageBox::Save | QMessageBox::Cancel);
    box->setDefaultButton(QMessageBox::Save);
    box->setEscapeButton(QMessageBox::Cancel);
    connect(box, &QMessageBox::finished, this, [box, finish] {
        finish(box->standardButton(box->clickedButton()) == QMessageBox::Save);
    });
    box->open();
}

void DocumentFileController::save(std::function<void(bool saved)> done)
{
    if (isUntitled())
        return saveAs(std::move(done));
    confirmThenWrite(QString::fromStdString(document_->fileLocation()->string()), std::move(done));
}

void DocumentFileController::saveAs(std::function<void(bool saved)> done)
{
    auto* dialog = new QFileDialog(&window_, tr("Save As"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilter(tr("RFA archives (*.rfa)"));
    dialog->setDefaultSuffix(QStringLiteral("rfa"));
    if (!isUntitled())
        dialog->selectFile(QString::fromStdString(document_->fileLocation()->string()));
    connect(dialog, &QFileDialog::finished, this, [this, dialog, done = std::move(done)](int result) {
        const QStringList files = dialog->selectedFiles();
        if (result == QDialog::Accepted && !files.isEmpty())
            return confirmThenWrite(files.front(), done);
        if (done)
            done(false);
    });
    dialog->open();
}

void DocumentFileController::revertToSaved()
{
    if (isUntitled())
        return beep();
    QMessageBox* box = windowModalBox(&window_, QMessageBox::Question, displayName(),
                                      tr("Do you want to revert to the saved version of “%1”?").arg(displayName()),
                                      tr("Your changes since the last save will be lost."), QMessageBox::NoButton);
    QPushButton* revert = box->addButton(tr("Revert"), QMessageBox::DestructiveRole);
    box->addButton(QMessageBox::Cancel);
    connect(box, &QMessageBox::finished, this, [this, box, revert] {
        if (box->clickedButton() != static_cast<QAbstractButton*>(revert))
            return;
        const QString path = QString::fromStdString(document_->fileLocation()->string());
        if (const Result<void> read = readFile(path); !read)
            application_.showOpenError(&window_, path, read.error());
    });
    box->open();
}

void DocumentFileController::askToSaveChanges(std::function<void(bool proceed)> proceed)
{
    if (!isModified())
        return proceed(true);
    QMessageBox* box = windowModalBox(&window_, QMessageBox::Warning, displayName(),
                                      tr("Do you want to save the changes made to “%1”?").arg(displayName()),
                                      tr("Your changes will be lost if you don’t save them."),
                                      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    box->button(QMessageBox::Discard)->setText(tr("Don't Save"));
    box->setDefaultButton(QMessageBox::Save);
    box->setEscapeButton(QMessageBox::Cancel);
    connect(box, &QMessageBox::finished, this, [this, box, proceed = std::move(proceed)] {
        const QMessageBox::StandardButton choice = box->standardButton(box->clickedButton());
        if (choice == QMessageBox::Save)
            save(proceed);
        else
            proceed(choice == QMessageBox::Discard);
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
    windowModalBox(&window_, QMessageBox::Warning, displayName(), tr("The game could not be started."), program)->open();
}

void DocumentFileController::saveAndRun()
{
    if (!document_->saveAndRunEnabled())
        return beep();
    // The game starts also when the save failed, as it always has.
    save([this](bool) { run(); });
}

} // namespace larkspan
