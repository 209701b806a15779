#include "app/window/UpdateArchiveCommand.h"

#include "app/shell/MessageBoxes.h"
#include "app/shell/RFAApplicationDelegate.h"
#include "app/window/MyDocument.h"
#include "app/window/SlowWorkProgress.h"
#include "model/UndoHistory.h"
#include "mod/UpdateArchive.h"

#include <QPushButton>
#include <QApplication>
#include <QPointer>
#include <QFileInfo>

#include <algorithm>

namespace larkspan {

namespace {

QString fileNameOf(const std::filesystem::path& path)
{
    return QFileInfo(QString::fromStdString(path.string())).fileName();
}

void appendInformation(QMessageBox& box, const QString& paragraph)
{
    box.setInformativeText(box.informativeText() + QStringLiteral("\n\n") + paragraph);
}

void appendDetails(QMessageBox& box, const QStringList& lines)
{
    const QString before = box.detailedText();
    box.setDetailedText((before.isEmpty() ? QString() : before + QStringLiteral("\n\n")) +
                        lines.join(QLatin1Char('\n')));
}

// Shows the box, and tells `done` once the user has closed it.
void openThenTell(QMessageBox* box, const std::function<void(bool)>& done, bool written)
{
    QObject::connect(box, &QMessageBox::finished, box, [done, written] { done(written); });
    box->open();
}

// The window holds what was compared with the disk: nothing changed it while
// a question was open.
bool holdsStill(const MyDocument& window, const std::vector<ArchiveEntry>& compared)
{
    const Result<std::vector<ArchiveEntry>> now = window.document()->archive().entries();
    return now && std::equal(now->begin(), now->end(), compared.begin(), compared.end(),
                             [](const ArchiveEntry& a, const ArchiveEntry& b) {
                                 return a.path == b.path && (a.content == b.content || *a.content == *b.content);
                             });
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
    appendInformation(box, tr("An update archive cannot remove entries. Entries missing here that the game still "
                              "sees: %1 (see the details).")
                               .arg(deleted.size()));
    QStringList lines;
    for (const std::string& path : deleted)
        lines << QString::fromStdString(path);
    appendDetails(box, lines);
}

// Why the game does not see some of what the window shows, though nothing
// is new: a later update replaces those entries (after Save Anyway, say).
void UpdateArchiveCommand::noteHiddenEntries(QMessageBox& box, const MyDocument& window,
                                             const std::filesystem::path& origin)
{
    // Only a note: a family that cannot be read here has told so already.
    const Result<std::vector<HiddenEntry>> hidden =
        findHiddenEntries(findArchiveFamily(origin), origin, window.document()->archive());
    if (!hidden || hidden->empty())
        return;
    appendInformation(box, tr("Later update archives replace entries of “%1”, so the game does not read them as "
                              "they are here: %2 (see the details).")
                               .arg(fileNameOf(origin))
                               .arg(hidden->size()));
    QStringList lines;
    for (const HiddenEntry& entry : *hidden)
        lines << entryInUpdate(entry.path, entry.update);
    appendDetails(box, lines);
}

void UpdateArchiveCommand::run(MyDocument& window, std::function<void(bool written)> done)
{
    if (!done)
        done = [](bool) {};
    // The window's file is a base or one of its updates: either way the
    // edits go to the family's next update.
    const std::optional<std::filesystem::path>& origin = window.document()->fileLocation();
    if (!origin) {
        QApplication::beep();
        return done(false);
    }
    const QString headline = tr("The update archive could not be written.");
    const UpdateFamily family = findArchiveFamily(*origin);
    const Result<std::filesystem::path> target = nextUpdatePath(family);
    if (!target)
        return openThenTell(errorBox(window.dialogParent(), window.displayName(), headline, target.error()), done,
                            false);
    std::vector<ArchiveEntry> edited;
    Result<UpdatePlan> plan = Error{ErrorCode::Cancelled};
    {
        SlowWorkProgress progress(window.dialogParent(), tr("Comparing with %1…").arg(fileNameOf(*origin)));
        Result<std::vector<ArchiveEntry>> entries = window.document()->archive().entries();
        if (entries)
            edited = std::move(*entries);
        plan = entries ? planUpdate(family, *origin, edited, *target,
                                    [&](std::uint64_t at, std::uint64_t total) { return progress.report(at, total); })
                       : Result<UpdatePlan>(entries.error());
    }
    if (!plan && plan.error().code == ErrorCode::Cancelled)
        return done(false);
    if (!plan)
        return openThenTell(errorBox(window.dialogParent(), window.displayName(), headline, plan.error()), done, false);
    if (plan->entries.empty()) {
        QMessageBox* box = windowModalBox(window.dialogParent(), QMessageBox::Information, window.displayName(),
                                          tr("Nothing is new or changed against “%1” and its updates.")
                                              .arg(fileNameOf(*origin)),
                                          tr("No update archive was written."));
        noteDeletions(*box, plan->deleted);
        noteHiddenEntries(*box, window, *origin);
        return openThenTell(box, done, false);
    }
    QStringList overNewer;
    for (const UpdatedEntry& updated : plan->entries)
        if (updated.overNewer)
            overNewer << entryInUpdate(updated.entry.path, *updated.overNewer);
    if (overNewer.isEmpty())
        return write(window, *origin, *target, *plan, edited, done);
    // The window shows the origin's version of these entries, not the later
    // update's the game reads: writing them silently undoes that update.
    QMessageBox* box = windowModalBox(
        window.dialogParent(), QMessageBox::Warning, window.displayName(),
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
                      plan = std::move(*plan), edited = std::move(edited), done] {
                         const bool anyway = box->clickedButton() == writeAnyway;
                         afterAnswer(QCoreApplication::instance(), [=] {
                             if (guard && anyway)
                                 write(*guard, origin, target, plan, edited, done);
                             else
                                 done(false);
                         });
                     });
    box->open();
}

void UpdateArchiveCommand::write(MyDocument& window, const std::filesystem::path& origin,
                                 const std::filesystem::path& target, const UpdatePlan& plan,
                                 const std::vector<ArchiveEntry>& compared, const std::function<void(bool)>& done)
{
    Result<void> written;
    {
        SlowWorkProgress progress(window.dialogParent(), tr("Writing %1…").arg(fileNameOf(target)));
        written = writeUpdate(plan, target, ExistingTarget::Keep,
                              [&](std::uint64_t at, std::uint64_t total) { return progress.report(at, total); });
    }
    if (!written && written.error().code == ErrorCode::Cancelled)
        return done(false);
    if (!written)
        return openThenTell(errorBox(window.dialogParent(), window.displayName(),
                                     tr("The update archive could not be written."), written.error()),
                            done, false);
    // The edits are kept in the update now: closing the window must not
    // offer to write them into the file it shows as well. Undo makes it
    // modified again.
    if (holdsStill(window, compared))
        window.document()->undoHistory()->markClean();
    window.application().archiveWritten(QString::fromStdString(target.string()));
    QMessageBox* box = windowModalBox(window.dialogParent(), QMessageBox::Information, window.displayName(),
                                      tr("“%1” was written beside “%2”.").arg(fileNameOf(target), fileNameOf(origin)),
                                      tr("New or changed entries it holds: %1.").arg(plan.entries.size()));
    noteDeletions(*box, plan.deleted);
    openThenTell(box, done, true);
}

} // namespace larkspan
