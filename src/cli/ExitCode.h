#pragma once

namespace larkspan::cli {

// What the tool tells the shell: scripts tell a broken archive from a typo.
enum class ExitCode : int {
    Success = 0,
    Failure = 1, // an archive could not be read, or an entry failed
    Usage = 2,   // the command line was wrong
    // grep's and diff's convention: 1 for a plain "no", 2 for trouble.
    NoMatch = 1,   // grep: nothing matched
    Different = 1, // diff: the archives differ
    Trouble = 2,   // grep, diff: something could not be read, or wrong usage
    Incomplete = 1, // update: some entries could not be removed by an update
};

inline constexpr char kExitCodeHelp[] = "Exit status: 0 on success, 1 when an archive cannot be "
                                        "read or an entry fails, 2 on wrong usage.";

} // namespace larkspan::cli

inline constexpr char kGrepExitCodeHelp[] = "Exit status: 0 when a line matched, 1 when none did, 2 when "
                                            "something could not be read or on wrong usage.";
inline constexpr char kUpdateExitCodeHelp[] = "Exit status: 0 when the update holds every difference (or there "
                                              "is none), 1 when EDITED lacks entries no update can remove (the rest "
                                              "is written), 2 when something could not be read or written or on "
                                              "wrong usage.";
inline constexpr char kModExitCodeHelp[] = "Exit status: 0 on success (archives left out are warnings only: the "
                                           "game passes over them too), 1 when the mod folder cannot be read, a "
                                           "path is in no archive or an entry fails, 2 on wrong usage.";
inline constexpr char kDiffExitCodeHelp[] = "Exit status: 0 when the archives hold the same, 1 when they "
                                            "differ, 2 when something could not be read or on wrong usage.";
