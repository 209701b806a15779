#pragma once

// Update archives: BASE_NNN.rfa beside BASE.rfa gives the game new entries
// and new contents for the base's, the highest number first. An update can
// add and replace entries but never take one away.

#include "base/Error.h"
#include "model/RFAArchive.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace larkspan {

struct UpdateFamily {
    std::filesystem::path base;                 // as spelled on disk when it is there
    bool baseExists = true;
    std::vector<std::filesystem::path> updates; // beside it, lowest number first
    unsigned highestNumber = 0;                 // 0 when there is none
};

// The base's family as the game finds it: names compared without regard to
// case. UpdateOfUpdate when the base's own name is that of an update.
Result<UpdateFamily> findUpdateFamily(const std::filesystem::path& base);

// The family of any of its archives, the base or an update; the base need
// not be there (its name then follows the update's spelling).
UpdateFamily findArchiveFamily(const std::filesystem::path& archive);

// Where the next update goes: BASE_NNN.rfa (the base's spelling, N one
// above the highest, three digits); NoUpdateNumberLeft past 999.
Result<std::filesystem::path> nextUpdatePath(const UpdateFamily& family);

struct UpdatedEntry {
    ArchiveEntry entry;
    bool replaces = false; // the game sees the path already, with other content
    // Edited from the origin's version, which a higher update (this one, the
    // one the game reads it from) has replaced since: writing it puts this
    // edit over that update's content.
    std::optional<std::filesystem::path> overNewer;
};

struct UpdatePlan {
    std::vector<UpdatedEntry> entries; // new or changed, in the edited order
    // Paths the game sees that the edited archive lacks, as spelled where the
    // game finds them, sorted without regard to case: no update removes them.
    std::vector<std::string> deleted;
    bool compressed = false; // the base is (or the origin, without a base), so the update is too
};

// What an update written to `target` must hold for the game to see the edits
// made in `edited` to `origin`, the family's archive it was read from (the
// base or one of its updates): the entries `origin` lacks or holds with other
// content, unless the game already sees that content (paths compared without
// regard to case; of a path held twice, the first counts). An entry left as
// `origin` holds it is no edit, so a higher update's content stays. Deleted
// lists the origin's paths `edited` lacks. A target that is already of the
// family is being replaced, so it is left out of what the game sees now; it
// must be its highest update (UpdateHidden) and neither the base nor the
// origin (UpdateOverBase); UpdateOfUpdate when `origin` is none of the
// family's archives. CannotRead, OutOfBounds... when an archive of the
// family cannot be read; Cancelled when `progress` (over the edited entries)
// stops it.
Result<UpdatePlan> planUpdate(const UpdateFamily& family, const std::filesystem::path& origin,
                              const std::vector<ArchiveEntry>& edited, const std::filesystem::path& target,
                              const ReadProgress& progress = {});

// An entry of an archive that the game reads from a later update of the
// archive's family instead, where it has other content.
struct HiddenEntry {
    std::string path;             // as the archive spells it
    std::filesystem::path update; // the later update the game reads
    // The file on disk holds other content at this path, or none: an edit
    // made since it was read, which the game would never see.
    bool changedHere = false;
};

// The entries of `archive`, read from `origin` (the family's base or one of
// its updates) and maybe edited since, that an update above `origin`
// replaces with other content (paths compared without regard to case; of a
// path held twice, the first counts). Only those entries' bytes are read.
// Nothing when no update is above `origin` or it is none of the family's.
// CannotRead, OutOfBounds... when an archive of the family cannot be read,
// Decompression when an entry of `archive` cannot.
Result<std::vector<HiddenEntry>> findHiddenEntries(const UpdateFamily& family, const std::filesystem::path& origin,
                                                   const RFAArchive& archive);

// Whether writing may take the place of a file already at the target.
enum class ExistingTarget { Keep, Replace };

// Writes the plan's entries to `target` atomically, compressed (best) when
// the base is. CannotReplace, writing nothing, when a file is at the target
// and it is to be kept.
Result<void> writeUpdate(const UpdatePlan& plan, const std::filesystem::path& target, ExistingTarget existing,
                         const WriteProgress& progress = {});

} // namespace larkspan
