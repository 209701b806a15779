#include "app/window/UpdateArchiveCommand.h"

#include "app/shell/MessageBoxes.h"
#include "app/shell/RFAApplicationDelegate.h"
#include "app/window/MyDocument.h"
#include "app/window/SlowWorkProgress.h"
#include "mod/UpdateArchive.h"

#include <QPushButton>
#include <QApplication>
#include <QPointer>
#include <QFileInfo>

namespace larkspan {

namespace {

QString fileNameOf(const std::filesystem::path& path)
{
    return QFileInfo(QString::fromStdString(path.string())).fileName();
}

} // namespace

QString UpdateArchiveCommand::entryInUpdate(const std::string& path, const std::filesystem::path& update)
{
    return tr("%1 (%2)").arg(QString::fromStdString(path), fileNameOf(update));
}

// The box's words and list for the entries the window lacks.
void UpdateArchiveCommand::noteDeletions(QMessageBox& box, const std::vector<std::string>& deleted)
{
    if (deleted.empty())
        return;
    box.setInformativeText(box.informativeText() + QStringLiteral("\n\n") +
                           tr("An update archive cannot remove entries. Entries missing here that the game still "
                              "sees: %1 (see the details).")
                               .arg(deleted.size()));
    QStringList lines;
    for (const std::string& path : deleted)
        lines << QString::fromStdString(path);
    box.setDetailedText(lines.join(QLatin1Char('\n')));
}

void UpdateArchiveCommand::run(MyDocument& window)
{
    // The window's file is a base or one of its updates: either way the
    // edits go to the family's next update.
    const std::optional<std::filesystem::path>& origin = window.document()->fileLocation();
    if (!origin)
        return QApplication::beep();
    const QString headline = tr("The update archive could not be written.");
    const UpdateFamily family = findArchiveFamily(*origin);
    const Result<std::filesystem::path> target = nextUpdatePath(family);
    if (!target) {
        errorBox(&window, window.displayName(), headline, target.error())->open();
        return;
    }
    Result<UpdatePlan> plan = Error{ErrorCode::Cancelled};
    {
        SlowWorkProgress progress(&window, tr("Comparing with %1…").arg(fileNameOf(*origin)));
        const Result<std::vector<ArchiveEntry>> entries = window.document()->archive().entries();
        plan = entries ? planUpdate(family, *origin, *entries, *target,
                                    [&](std::uint64_t done, std::uint64_t total) { return progress.report(done, total); })
                       : Result<UpdatePlan>(entries.error());
    }
    if (!plan) {
        if (plan.error().code != ErrorCode::Cancelled)
            errorBox(&window, window.displayName(), headline, plan.error())->open();
        return;
    }
    if (plan->entries.empty()) {
        QMessageBox* box = windowModalBox(&window, QMessageBox::Information, window.displayName(),
                                          tr("Nothing is new or changed against “%1” and its updates.")
                                              .arg(fileNameOf(*origin)),
                                          tr("No update archive was written."));
        noteDeletions(*box, plan->deleted);
        box->open();
        return;
    }
    QStringList overNewer;
    for (const UpdatedEntry& updated : plan->entries)
        if (updated.overNewer)
            overNewer << entryInUpdate(updated.entry.path, *updated.overNewer);
    if (overNewer.isEmpty())
        return write(window, *origin, *target, *plan);
    // The window shows the origin's version of these entries, not the later
    // update's the game reads: writing them silently undoes that update.
    QMessageBox* box = windowModalBox(
        &window, QMessageBox::Warning, window.displayName(),
        tr("A later update archive has changed entries that you edited here."),
        tr("“%1” would put the versions edited here over the later ones, and the game would no longer see those "
           "changes. Entries concerned: %2 (see the details).")
            .arg(fileNameOf(*target))
            .arg(overNewer.size()),
        QMessageBox::Cancel);
    QPushButton* writeAnyway = box->addButton(tr("Write Anyway"), QMessageBox::DestructiveRole);
    box->setDefaultButton(QMessageBox::Cancel);
    box->setDetailedText(overNewer.join(QLatin1Char('\n')));
    QObject::connect(box, &QMessageBox::finished,
                     [box, writeAnyway, guard = QPointer<MyDocument>(&window), origin = *origin, target = *target,
                      plan = std::move(*plan)] {
                         if (guard && box->clickedButton() == writeAnyway)
                             write(*guard, origin, target, plan);
                     });
    box->open();
}

void UpdateArchiveCommand::write(MyDocument& window, const std::filesystem::path& origin,
                                 const std::filesystem::path& target, const UpdatePlan& plan)
{
    Result<void> written;
    {
        SlowWorkProgress progress(&window, tr("Writing %1…").arg(fileNameOf(target)));
        written = writeUpdate(plan, target, ExistingTarget::Keep,
                              [&](std::uint64_t done, std::uint64_t total) { return progress.report(done, total); });
    }
    if (!written) {
        if (written.error().code != ErrorCode::Cancelled)
            errorBox(&window, window.displayName(), tr("The update archive could not be written."), written.error())
                ->open();
        return;
    }
    window.application().archiveWritten(QString::fromStdString(target.string()));
    QMessageBox* box = windowModalBox(&window, QMessageBox::Information, window.displayName(),
                                      tr("“%1” was written beside “%2”.").arg(fileNameOf(target), fileNameOf(origin)),
                                      tr("New or changed entries it holds: %1.").arg(plan.entries.size()));
    noteDeletions(*box, plan.deleted);
    box->open();
}

} // namespace larkspan
