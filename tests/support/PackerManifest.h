#pragma once

// The manifest of the packer-style archives under tests/data/archives: what
// their generator put into each entry and how it stored it.

#include "base/Bytes.h"

#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace larkspan::fixtures {

inline std::string packerArchiveFolder()
{
    return std::string(LARKSPAN_TEST_DATA) + "/archives/";
}

struct ManifestEntry {
    std::string archive; // file name inside packerArchiveFolder()
    std::string path;
    std::uint64_t size = 0;
    std::uint64_t hash = 0; // fnv1a64 of the content
    bool compressed = false;
};

inline std::vector<ManifestEntry> packerManifest()
{
    std::ifstream manifest(packerArchiveFolder() + "manifest.txt");
    if (!manifest)
        throw std::runtime_error("missing the packer archives' manifest");
    std::vector<ManifestEntry> entries;
    for (std::string line; std::getline(manifest, line);) {
        if (line.empty() || line.front() == '#')
            continue;
        std::istringstream fields(line);
        ManifestEntry entry;
        std::string hash, contentFile, storage;
        fields >> entry.archive >> entry.path >> entry.size >> hash >> contentFile >> storage;
        if (!fields || (storage != "compressed" && storage != "raw"))
            throw std::runtime_error("bad manifest line: " + line);
        entry.hash = std::stoull(hash, nullptr, 16);
        entry.compressed = storage == "compressed";
        entries.push_back(std::move(entry));
    }
    return entries;
}

inline std::uint64_t fnv1a64(ByteSpan bytes)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (std::uint8_t b : bytes)
        hash = (hash ^ b) * 0x100000001b3ull;
    return hash;
}

} // namespace larkspan::fixtures
