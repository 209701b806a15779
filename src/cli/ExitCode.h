#pragma once

namespace larkspan::cli {

// What the tool tells the shell: scripts tell a broken archive from a typo.
enum class ExitCode : int {
    Success = 0,
    Failure = 1, // an archive could not be read, or an entry failed
    Usage = 2,   // the command line was wrong
};

} // namespace larkspan::cli
