#include "app/window/DocumentDialogs.h"

#include "app/shell/MessageBoxes.h"
#include "app/window/FilesAndFoldersDialog.h"
#include "app/window/MyDocument.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace larkspan {

DocumentDialogs::DocumentDialogs(MyDocument& window) : QObject(&window), window_(window) {}

void DocumentDialogs::beep()
{
    QApplication::beep();
}

void DocumentDialogs::askReplace(const ReplaceQuestion& question, std::function<void(ReplaceAnswer)> answer)
{
    QMessageBox* box = windowModalBox(&window_, QMessageBox::Warning, window_.displayName(),
                                      QString::fromStdString(question.messageText),
                                      QString::fromStdString(question.informativeText), QMessageBox::NoButton);
    QPushButton* replace = box->addButton(tr("Replace"), QMessageBox::AcceptRole);
    QPushButton* keep = box->addButton(tr("Keep"), QMessageBox::RejectRole);
    box->setDefaultButton(replace);
    box->setEscapeButton(keep);
    if (question.showDoForAll)
        box->setCheckBox(new QCheckBox(tr("Do for all files."), box));
    connect(box, &QMessageBox::finished, this, [this, box, replace, answer = std::move(answer)] {
        const ReplaceAnswer given{box->clickedButton() == replace ? ReplaceChoice::Replace : ReplaceChoice::Keep,
                                  box->checkBox() && box->checkBox()->isChecked()};
        afterAnswer(this, [answer, given] { answer(given); });
    });
    box->open();
}

void DocumentDialogs::chooseFilesToAdd(std::function<void(std::optional<std::vector<std::filesystem::path>>)> chosen)
{
    auto* dialog = new FilesAndFoldersDialog(&window_, tr("Add Files"), tr("Add"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &QFileDialog::finished, this, [this, dialog, chosen = std::move(chosen)](int result) {
        std::optional<std::vector<std::filesystem::path>> paths;
        if (result == QDialog::Accepted) {
            paths.emplace();
            for (const QString& path : dialog->chosenPaths())
                paths->emplace_back(path.toStdString());
        }
        afterAnswer(this, [chosen, paths] { chosen(paths); });
    });
    dialog->open();
}

void DocumentDialogs::chooseExtractionFolder(std::function<void(std::optional<std::filesystem::path>)> chosen)
{
    auto* dialog = new QFileDialog(&window_, tr("Extract To"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setLabelText(QFileDialog::Accept, tr("Extract"));
    connect(dialog, &QFileDialog::finished, this, [this, dialog, chosen = std::move(chosen)](int result) {
        const QStringList folders = dialog->selectedFiles();
        std::optional<std::filesystem::path> folder;
        if (result == QDialog::Accepted && !folders.isEmpty())
            folder = folders.front().toStdString();
        afterAnswer(this, [chosen, folder] { chosen(folder); });
    });
    dialog->open();
}

void DocumentDialogs::explainRefusal(const std::string& reason)
{
    windowModalBox(&window_, QMessageBox::Warning, window_.displayName(), QString::fromStdString(reason))->open();
}

void DocumentDialogs::reportProblems(const std::vector<std::string>& problems)
{
    QStringList lines;
    for (const std::string& problem : problems)
        lines << QString::fromStdString(problem);
    QMessageBox* box = windowModalBox(
        &window_, QMessageBox::Warning, window_.displayName(), tr("Some entries could not be handled."),
        lines.size() <= 5 ? lines.join(QLatin1Char('\n')) : tr("%n problems.", nullptr, lines.size()));
    box->setDetailedText(lines.join(QLatin1Char('\n')));
    box->open();
}

} // namespace larkspan
