#pragma once

#include "tree/Bytes.h"

#include <cstddef>

namespace larkspan::bench {

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

} // namespace larkspan::bench
