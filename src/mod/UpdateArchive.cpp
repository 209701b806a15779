#include "mod/UpdateArchive.h"

#include "base/StringAdditions.h"
#include "fs/SafePath.h"
#include "mod/ArchiveFamily.h"
#include "mod/ArchiveListing.h"
#include "mod/ModFolders.h"
#include "model/RFATreeEnumerator.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <optional>
#include <system_error>
#include <unordered_set>

namespace larkspan {

namespace fs = std::filesystem;

namespace {

constexpr unsigned kHighestUpdateNumber = 999;

std::string fileName(const fs::path& path)
{
    return genericUtf8(path.filename());
}

// The number of an update's name ("objects_003.rfa" → 3).
unsigned updateNumber(std::string_view name)
{
    const std::string_view digits = name.substr(name.size() - 7, 3);
    return unsigned(digits[0] - '0') * 100 + unsigned(digits[1] - '0') * 10 + unsigned(digits[2] - '0');
}

bool isUpdateName(const std::string& name)
{
    const std::string folded = foldedCopy(name);
    const std::string family = archiveFamilyKey(folded);
    return folded != family + ".rfa" && folded != family;
}

bool isSameFile(const fs::path& a, const fs::path& b)
{
    std::error_code error;
    const bool same = fs::equivalent(a, b, error);
    return error ? fs::absolute(a, error).lexically_normal() == fs::absolute(b, error).lexically_normal() : same;
}

// The game's view of the family's archives, strongest first: each path's
// record from the first archive that holds it.
class FamilyView {
public:
    // `isOrigin`: the archive the edits were made to.
    Result<void> add(const fs::path& path, bool isOrigin)
    {
        Result<ArchiveListing> listing = ArchiveListing::open(path);
        if (!listing)
            return listing.error();
        if (isOrigin)
            origin_ = listings_.size();
        listings_.push_back(std::move(*listing));
        return {};
    }

    void index()
    {
        for (std::size_t a = 0; a < listings_.size(); ++a)
            for (const RecordFields& record : listings_[a].records()) {
                const auto at = seen_.try_emplace(foldedCopy(record.name), Seen{a, &record}).first;
                if (a == origin_)
                    inOrigin_.try_emplace(at->first, Seen{a, &record});
            }
    }

    struct Seen {
        std::size_t listing;
        const RecordFields* record;
    };

    const std::map<std::string, Seen>& seen() const { return seen_; }
    const Seen* inOrigin(const std::string& key) const
    {
        const auto at = inOrigin_.find(key);
        return at == inOrigin_.end() ? nullptr : &at->second;
    }
    const ArchiveListing& listing(const Seen& seen) const { return listings_[seen.listing]; }
    bool isInOrigin(const Seen& seen) const { return seen.listing == origin_; }
    bool hasOrigin() const { return origin_.has_value(); }
    const ArchiveListing& origin() const { return listings_[*origin_]; }
    // The weakest archive: the base when it is there.
    const ArchiveListing& last() const { return listings_.back(); }

private:
    std::vector<ArchiveListing> listings_;
    std::optional<std::size_t> origin_;
    std::map<std::string, Seen> seen_;
    std::map<std::string, Seen> inOrigin_; // each path's record in the origin alone
};

// Whether the game would read other content than `content` at `seen`. An
// entry of the family that cannot be decoded counts as changed: the update
// mends it.
Result<bool> differs(const FamilyView& view, const FamilyView::Seen& seen, const Bytes& content)
{
    const ArchiveListing& listing = view.listing(seen);
    if (listing.contentLength(*seen.record) != content.size())
        return true;
    const Result<SharedBytes> old = listing.content(*seen.record);
    if (!old)
        return old.error().code == ErrorCode::Decompression ? Result<bool>(true) : Result<bool>(old.error());
    return **old != content;
}

// Whether the game's version of a path (`seen`, from a higher update)
// differs from the origin's: an edit of the origin's would undo it.
Result<bool> changedSince(const FamilyView& view, const FamilyView::Seen& inOrigin, const FamilyView::Seen& seen)
{
    const Result<SharedBytes> original = view.listing(inOrigin).content(*inOrigin.record);
    if (!original)
        return original.error().code == ErrorCode::Decompression ? Result<bool>(true) : Result<bool>(original.error());
    return differs(view, seen, **original);
}

} // namespace

Result<UpdateFamily> findUpdateFamily(const fs::path& base)
{
    if (isUpdateName(fileName(base)))
        return Error{ErrorCode::UpdateOfUpdate, base.string()};
    return findArchiveFamily(base);
}

UpdateFamily findArchiveFamily(const fs::path& archive)
{
    const std::string name = fileName(archive);
    const std::string family = archiveFamilyKey(name);
    const bool isUpdate = isUpdateName(name);
    // An update's base, when it is not there, is named as the update
    // without its number; a base named is the one meant, even beside a case
    // variant of it.
    const std::string stem = genericUtf8(archive.stem());
    UpdateFamily found{isUpdate ? archive.parent_path() /
                                      pathFromUtf8(stem.substr(0, stem.size() - 4) + genericUtf8(archive.extension()))
                                : archive,
                       false, {}, 0};
    std::error_code error;
    found.baseExists = !isUpdate && fs::is_regular_file(archive, error);
    std::vector<std::pair<unsigned, fs::path>> updates;
    const fs::path folder = archive.has_parent_path() ? archive.parent_path() : fs::path(".");
    for (fs::directory_iterator at(folder, error); !error && at != fs::directory_iterator(); at.increment(error)) {
        const std::string other = fileName(at->path());
        std::error_code statusError;
        if (!foldedCopy(other).ends_with(".rfa") || archiveFamilyKey(other) != family ||
            !fs::is_regular_file(at->path(), statusError))
            continue;
        if (isUpdateName(other)) {
            updates.emplace_back(updateNumber(other), at->path());
        } else if (isUpdate) {
            found.base = at->path();
            found.baseExists = true;
        }
    }
    std::sort(updates.begin(), updates.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first < b.first : archiveSortsBefore(fileName(a.second), fileName(b.second));
    });
    for (auto& [number, path] : updates) {
        found.updates.push_back(std::move(path));
        found.highestNumber = number;
    }
    return found;
}

Result<fs::path> nextUpdatePath(const UpdateFamily& family)
{
    if (family.highestNumber >= kHighestUpdateNumber)
        return Error{ErrorCode::NoUpdateNumberLeft, family.base.string()};
    char suffix[8];
    std::snprintf(suffix, sizeof suffix, "_%03u", family.highestNumber + 1);
    fs::path name = family.base.stem();
    name += suffix;
    name += family.base.extension();
    return family.base.parent_path() / name;
}

Result<UpdatePlan> planUpdate(const UpdateFamily& family, const fs::path& origin,
                              const std::vector<ArchiveEntry>& edited, const fs::path& target,
                              const ReadProgress& progress)
{
    if (isSameFile(target, family.base) || isSameFile(target, origin))
        return Error{ErrorCode::UpdateOverBase, target.string()};
    FamilyView view;
    for (auto update = family.updates.rbegin(); update != family.updates.rend(); ++update) {
        if (!isSameFile(target, *update)) {
            if (Result<void> added = view.add(*update, isSameFile(origin, *update)); !added)
                return added.error();
        } else if (update != family.updates.rbegin()) {
            return Error{ErrorCode::UpdateHidden, target.string()};
        }
    }
    // A base named but missing is an error only when it is the origin.
    const bool originIsBase = isSameFile(origin, family.base);
    if (family.baseExists || originIsBase)
        if (Result<void> added = view.add(family.base, originIsBase); !added)
            return added.error();
    // A file of no family the game reads (an update's name without ".rfa").
    if (!view.hasOrigin())
        return Error{ErrorCode::UpdateOfUpdate, origin.string()};
    view.index();

    UpdatePlan plan;
    plan.compressed = (family.baseExists ? view.last() : view.origin()).header().compressionFlag != 0;
    std::unordered_set<std::string> editedPaths;
    for (std::size_t i = 0; i < edited.size(); ++i) {
        if (progress && !progress(i, edited.size()))
            return Error{ErrorCode::Cancelled};
        const ArchiveEntry& entry = edited[i];
        std::string key = foldedCopy(entry.path);
        const auto at = view.seen().find(key);
        if (!editedPaths.insert(std::move(key)).second)
            continue; // the game reads the first of a path
        if (at == view.seen().end()) {
            plan.entries.push_back({entry, false, std::nullopt});
            continue;
        }
        // An entry left as the origin holds it was not edited, though a
        // higher update may have changed it since: writing it would put the
        // old content back over the newer.
        const FamilyView::Seen* inOrigin = view.inOrigin(at->first);
        if (inOrigin) {
            const Result<bool> edited = differs(view, *inOrigin, *entry.content);
            if (!edited)
                return edited.error();
            if (!*edited)
                continue;
        }
        const Result<bool> changed = differs(view, at->second, *entry.content);
        if (!changed)
            return changed.error();
        if (!*changed)
            continue;
        Result<bool> overNewer = false;
        if (inOrigin && inOrigin->listing != at->second.listing)
            overNewer = changedSince(view, *inOrigin, at->second);
        if (!overNewer)
            return overNewer.error();
        UpdatedEntry updated{entry, true, std::nullopt};
        if (*overNewer)
            updated.overNewer = view.listing(at->second).path();
        plan.entries.push_back(std::move(updated));
    }
    // Only what the origin holds can have been deleted from it; what another
    // archive of the family alone holds was never in the edited one.
    for (const auto& [key, seen] : view.seen())
        if (!editedPaths.contains(key) && view.inOrigin(key))
            plan.deleted.push_back(seen.record->name);
    return plan;
}

Result<std::vector<HiddenEntry>> findHiddenEntries(const UpdateFamily& family, const fs::path& origin,
                                                   const RFAArchive& archive)
{
    // The updates above the origin, strongest first; the base is below them all.
    std::vector<fs::path> above;
    for (auto update = family.updates.rbegin(); update != family.updates.rend(); ++update) {
        if (isSameFile(origin, *update))
            break;
        above.push_back(*update);
    }
    const bool ofTheFamily = above.size() < family.updates.size() || isSameFile(origin, family.base);
    if (above.empty() || !ofTheFamily)
        return std::vector<HiddenEntry>{};
    FamilyView view;
    for (const fs::path& update : above)
        if (Result<void> added = view.add(update, false); !added)
            return added.error();
    if (Result<void> added = view.add(origin, true); !added)
        return added.error();
    view.index();

    // The archive's files in the order it writes them, which the game reads.
    std::vector<RFATreeNode::Ptr> files;
    for (const RFATreeNode::Ptr& top : archive.rootNodes()) {
        if (top->isLeaf())
            files.push_back(top);
        for (RFATreeEnumerator below = top->leafEnumerator(); RFATreeNode::Ptr file = below.nextObject();)
            files.push_back(std::move(file));
    }
    std::vector<HiddenEntry> hidden;
    std::unordered_set<std::string> walked;
    for (const RFATreeNode::Ptr& file : files) {
        std::string path = file->fullPath();
        const std::string key = foldedCopy(path);
        if (!walked.insert(key).second)
            continue; // the game reads the first of a path
        const auto at = view.seen().find(key);
        if (at == view.seen().end() || view.isInOrigin(at->second))
            continue; // no update above holds it
        const Result<SharedBytes> content = file->readData();
        if (!content)
            return content.error();
        const Result<bool> replaced = differs(view, at->second, **content);
        if (!replaced)
            return replaced.error();
        if (!*replaced)
            continue; // the game reads these very bytes
        const FamilyView::Seen* onDisk = view.inOrigin(key);
        const Result<bool> changedHere = onDisk ? differs(view, *onDisk, **content) : Result<bool>(true);
        if (!changedHere)
            return changedHere.error();
        hidden.push_back({std::move(path), view.listing(at->second).path(), *changedHere});
    }
    return hidden;
}

Result<void> writeUpdate(const UpdatePlan& plan, const fs::path& target, ExistingTarget existing,
                         const WriteProgress& progress)
{
    std::error_code error;
    if (existing == ExistingTarget::Keep && fs::exists(fs::symlink_status(target, error)))
        return Error{ErrorCode::CannotReplace, target.string(), EEXIST};
    std::vector<ArchiveEntry> entries;
    entries.reserve(plan.entries.size());
    for (const UpdatedEntry& updated : plan.entries)
        entries.push_back(updated.entry);
    WriteOptions options;
    if (plan.compressed)
        options.compression = CompressionLevel::Best;
    return writeEntriesToFile(target, entries, options, progress);
}

} // namespace larkspan
