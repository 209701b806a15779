#include "mod/ModIndex.h"

#include "base/StringAdditions.h"
#include "fs/FileIO.h"
#include "mod/ArchiveFamily.h"
#include "mod/ModFolders.h"
#include "mod/ModList.h"

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <unordered_map>

namespace larkspan {

namespace fs = std::filesystem;

Result<ModIndex> ModIndex::open(const fs::path& modFolder)
{
    std::error_code error;
    fs::path folder = fs::absolute(modFolder, error).lexically_normal();
    if (!folder.has_filename())
        folder = folder.parent_path();
    if (error || !fs::is_directory(folder, error))
        return Error{ErrorCode::CannotRead, modFolder.string(), error ? error.value() : ENOTDIR};
    ModIndex index;
    index.addMods(folder);
    for (std::size_t mod = 0; mod < index.mods_.size(); ++mod)
        index.addArchives(mod);
    index.resolve();
    return index;
}

void ModIndex::addMods(const fs::path& modFolder)
{
    mods_.push_back({genericUtf8(modFolder.filename()), modFolder});
    const std::optional<fs::path> initCon = findIgnoringCase(modFolder, "init.con", EntryType::File);
    if (!initCon)
        return;
    const Result<Bytes> text = readWholeFile(*initCon);
    if (!text) {
        initConError_ = text.error();
        return;
    }
    const auto known = [](const auto& names, const std::string& name, auto nameOf) {
        return std::any_of(names.begin(), names.end(),
                           [&](const auto& each) { return isCaseInsensitiveEqual(nameOf(each), name); });
    };
    const auto modName = [](const ModFolder& mod) -> const std::string& { return mod.name; };
    const auto itself = [](const std::string& name) -> const std::string& { return name; };
    const std::string_view content(reinterpret_cast<const char*>(text->data()), text->size());
    for (const std::string& name : listedModNames(content)) {
        if (known(mods_, name, modName) || known(missingMods_, name, itself))
            continue; // a mod counts at its first place, the opened one before all
        if (const std::optional<fs::path> found = findIgnoringCase(modFolder.parent_path(), name, EntryType::Folder))
            mods_.push_back({genericUtf8(found->filename()), *found});
        else
            missingMods_.push_back(name);
    }
}

void ModIndex::addArchives(std::size_t mod)
{
    const ModFolder& folder = mods_[mod];
    const std::string shownPrefix = genericUtf8(folder.path.parent_path().filename()) + "/" + folder.name + "/";
    const auto shown = [&](const fs::path& path) { return shownPrefix + genericUtf8(path.lexically_relative(folder.path)); };

    ModArchiveFiles files = findModArchives(folder.path);
    std::vector<ModArchive> found;
    for (ModArchiveFile& file : files.archives) {
        ModArchive archive{file.path, shown(file.path), mod, archiveFamilyKey(file.relativePath), {}, {}};
        Result<ArchiveListing> listing = ArchiveListing::open(file.path);
        if (listing)
            archive.listing = std::move(*listing);
        else
            archive.error = listing.error();
        found.push_back(std::move(archive));
    }
    for (Error& unreadable : files.unreadable)
        found.push_back({unreadable.subject, shown(unreadable.subject), mod, {}, {}, std::move(unreadable)});
    // Within one mod every shown path starts alike, so they order as the paths below Archives do.
    std::sort(found.begin(), found.end(),
              [](const ModArchive& a, const ModArchive& b) { return archiveSortsBefore(b.shownPath, a.shownPath); });
    std::move(found.begin(), found.end(), std::back_inserter(archives_));
}

void ModIndex::resolve()
{
    // Archives come strongest first, so the first record seen of a path wins.
    std::unordered_map<std::string, std::uint32_t> entryOfPath;
    std::size_t records = 0;
    for (const ModArchive& archive : archives_)
        records += archive.listing ? archive.listing->records().size() : 0;
    entryOfPath.reserve(records);
    entries_.reserve(records);
    for (std::uint32_t a = 0; a < archives_.size(); ++a) {
        if (!archives_[a].listing)
            continue;
        const std::vector<RecordFields>& records = archives_[a].listing->records();
        for (std::uint32_t r = 0; r < records.size(); ++r) {
            const EntrySource source{a, r};
            const auto [at, isNew] =
                entryOfPath.try_emplace(foldedCopy(records[r].name), static_cast<std::uint32_t>(entries_.size()));
            if (isNew)
                entries_.push_back({source, {}});
            else
                entries_[at->second].overridden.push_back(source);
        }
    }

    std::vector<std::pair<std::string_view, std::uint32_t>> order(entryOfPath.begin(), entryOfPath.end());
    std::sort(order.begin(), order.end());
    std::vector<ModEntry> sorted;
    sorted.reserve(order.size());
    for (const auto& [key, index] : order)
        sorted.push_back(std::move(entries_[index]));
    entries_ = std::move(sorted);

    for (std::size_t e = 0; e < entries_.size(); ++e) {
        const ModEntry& entry = entries_[e];
        if (entry.overridden.empty())
            continue;
        std::vector<EntrySource> sources{entry.source};
        sources.insert(sources.end(), entry.overridden.begin(), entry.overridden.end());
        // Sources come mod by mod: one run per mod, one holder per family.
        for (std::size_t start = 0; start < sources.size();) {
            const std::size_t mod = archive(sources[start]).mod;
            ModClash clash{e, {}};
            std::size_t end = start;
            for (; end < sources.size() && archive(sources[end]).mod == mod; ++end) {
                const std::string& family = archive(sources[end]).familyKey;
                if (std::none_of(clash.holders.begin(), clash.holders.end(),
                                 [&](EntrySource held) { return archive(held).familyKey == family; }))
                    clash.holders.push_back(sources[end]);
            }
            if (clash.holders.size() > 1)
                clashes_.push_back(std::move(clash));
            start = end;
        }
    }
}

const ModEntry* ModIndex::find(std::string_view path) const
{
    const std::string key = foldedCopy(path);
    const auto at = std::lower_bound(entries_.begin(), entries_.end(), key, [&](const ModEntry& entry, const std::string& k) {
        return foldedCopy(this->path(entry)) < k;
    });
    return at != entries_.end() && foldedCopy(this->path(*at)) == key ? &*at : nullptr;
}

const RecordFields& ModIndex::record(EntrySource source) const
{
    return archives_[source.archive].listing->records()[source.record];
}

std::uint64_t ModIndex::contentLength(EntrySource source) const
{
    return archives_[source.archive].listing->contentLength(record(source));
}

Result<SharedBytes> ModIndex::content(EntrySource source) const
{
    return archives_[source.archive].listing->content(record(source));
}

Result<void> ModIndex::readInPieces(EntrySource source, const SegmentSink& take, std::size_t firstLook) const
{
    return archives_[source.archive].listing->readInPieces(record(source), take, firstLook);
}

} // namespace larkspan
