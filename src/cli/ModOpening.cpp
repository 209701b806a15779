#include "cli/ModOpening.h"

#include "cli/Diagnostics.h"
#include "fs/SafePath.h"

namespace larkspan::cli {

namespace {

void warnAboutClash(const ModIndex& index, const ModClash& clash)
{
    std::string holders;
    for (const EntrySource& holder : clash.holders)
        holders += (holders.empty() ? "" : ", ") + index.archive(holder).shownPath;
    reportWarning(displayName(index.path(index.entries()[clash.entry])),
                  "in archives that are not updates of one another (" + holders + "); " +
                      index.archive(clash.holders.front()).shownPath + " wins");
}

} // namespace

std::optional<ModIndex> openMod(const std::string& folder)
{
    Result<ModIndex> index = ModIndex::open(pathFromUtf8(folder));
    if (!index) {
        reportProblem(folder, "not a mod folder: " + reasonText(index.error()));
        return std::nullopt;
    }
    if (const std::optional<Error>& error = index->initConError())
        reportWarning(error->subject, reasonText(*error) + "; no other mod is used");
    for (const std::string& name : index->missingMods())
        reportWarning(folder, "init.con uses the mod " + name + ", which is not in " +
                                  index->mods().front().path.parent_path().string() + "; left out");
    if (index->archives().empty() || index->archives().front().mod != 0)
        reportWarning(folder, "holds no archives: no *.rfa below an Archives folder");
    for (const ModArchive& archive : index->archives())
        if (archive.error)
            reportWarning(archive.shownPath, reasonText(*archive.error) + "; left out");
    for (const ModClash& clash : index->clashes())
        warnAboutClash(*index, clash);
    return std::move(*index);
}

} // namespace larkspan::cli
