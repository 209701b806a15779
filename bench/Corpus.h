#pragma once

#include "base/Bytes.h"

#include <cstddef>
#include <string>
#include <vector>

namespace larkspan::bench {

// One piece of the corpus: a file's first MiB, or a synthetic piece.
struct CorpusFile {
    std::string origin; // the file's path, or "synthetic/script-N", "synthetic/binary-N"
    bool isText = false;
    Bytes bytes;
};

// About `size` bytes of ordinary desktop data, the same on every run on a
// given machine: half text, half executable code, interleaved file by file.
//
// Text is every regular file under /usr/share/common-licenses and
// /usr/include (licences, C and C++ headers); binaries are the ELF files under
// /usr/bin and /usr/lib (executables, shared libraries). Both lists are taken
// in sorted path order, each file capped at 1 MiB so that no single one
// dominates. Where a machine has too little of either, the rest is synthetic:
// game-script-like text (.con commands) and pseudo-random machine-code-like
// bytes from a fixed seed.
Bytes buildCorpus(std::size_t size);

// The pieces buildCorpus joins, in its order (the last one cut to fit).
std::vector<CorpusFile> corpusFiles(std::size_t size);

} // namespace larkspan::bench
