#pragma once

// What the game sees of a mod: every entry of the mod's archives and of the
// mods its init.con names, each path given by the one archive that wins it.
// Only the archives' directories are read to build it; an entry's bytes are
// read, and decoded, when the entry is asked for.
//
// Which archive wins a path (compared without regard to case):
//  - the opened mod over every listed one, then the listed ones in the
//    order of their `game.addModPath` lines (a mod listed twice counts at
//    its first line; one that is not beside the opened mod is skipped);
//  - within one mod, the archive whose path below Archives sorts last
//    without regard to case (archiveSortsBefore): the highest update of a
//    family, then the lower ones, then the base; between families, where
//    the game's own order is not known, the later path, and the clash is
//    noted, since it is most often a mistake;
//  - within one archive, the first record of the path.

#include "base/Bytes.h"
#include "base/Error.h"
#include "mod/ArchiveListing.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace larkspan {

struct ModFolder {
    std::string name; // its folder's name on disk
    std::filesystem::path path;
};

struct ModArchive {
    std::filesystem::path path; // on disk
    // Relative to the game folder (the one that holds Mods), "/" between
    // components: how the archive is shown.
    std::string shownPath;
    std::size_t mod = 0;    // in ModIndex::mods()
    std::string familyKey;  // archiveFamilyKey of its path below Archives
    std::optional<ArchiveListing> listing; // nothing when it cannot be read
    std::optional<Error> error;            // why
};

// One record of one archive.
struct EntrySource {
    std::uint32_t archive = 0; // in ModIndex::archives()
    std::uint32_t record = 0;  // in that archive's listing
    friend bool operator==(const EntrySource&, const EntrySource&) = default;
};

struct ModEntry {
    EntrySource source;                  // the record the game reads
    std::vector<EntrySource> overridden; // the others of the same path, strongest first
};

// A path held by archives of different families of one mod.
struct ModClash {
    std::size_t entry = 0;           // in ModIndex::entries()
    std::vector<EntrySource> holders; // one per family, the winning one first
};

class ModIndex {
public:
    // The mod in `modFolder` (its parent is the Mods folder, whose parent is
    // the game folder). CannotRead when `modFolder` is not a folder; every
    // other problem is noted and the rest indexed.
    static Result<ModIndex> open(const std::filesystem::path& modFolder);

    // The opened mod first, then the listed mods found, in their order.
    const std::vector<ModFolder>& mods() const { return mods_; }
    // Names listed in init.con for which Mods holds no folder.
    const std::vector<std::string>& missingMods() const { return missingMods_; }
    // Why init.con could not be read, when it is there but could not.
    const std::optional<Error>& initConError() const { return initConError_; }
    // Strongest first: the opened mod's archives, last path first, and so on.
    const std::vector<ModArchive>& archives() const { return archives_; }
    // One per path the game sees, sorted by path without regard to case.
    const std::vector<ModEntry>& entries() const { return entries_; }
    const std::vector<ModClash>& clashes() const { return clashes_; }

    // The entry of that path (compared without regard to case), or null.
    const ModEntry* find(std::string_view path) const;

    const RecordFields& record(EntrySource source) const;
    const ModArchive& archive(EntrySource source) const { return archives_[source.archive]; }
    // The path as the winning archive spells it.
    const std::string& path(const ModEntry& entry) const { return record(entry.source).name; }
    std::uint64_t contentLength(EntrySource source) const;
    Result<SharedBytes> content(EntrySource source) const;
    // The content in pieces, as ArchiveListing::readInPieces hands it.
    Result<void> readInPieces(EntrySource source, const SegmentSink& take, std::size_t firstLook = 0) const;

private:
    void addMods(const std::filesystem::path& modFolder);
    void addArchives(std::size_t mod);
    void resolve();

    std::vector<ModFolder> mods_;
    std::vector<std::string> missingMods_;
    std::optional<Error> initConError_;
    std::vector<ModArchive> archives_;
    std::vector<ModEntry> entries_;
    std::vector<ModClash> clashes_;
};

} // namespace larkspan
