#pragma once

namespace larkspan::cli {

// What the tool tells the shell: scripts tell a broken archive from a typo.
enum class ExitCode : int {
    Success = 0,
    Failure = 1, // an archive could not be read, or an entry failed
    Usage = 2,   // the command line was wrong
};

inline constexpr char kExitCodeHelp[] = "Exit status: 0 on success, 1 when an archive cannot be "
                                        "read or an entry fails, 2 on wrong usage.";

} // namespace larkspan::cli
