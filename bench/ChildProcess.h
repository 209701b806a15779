#pragma once

#include <string>
#include <vector>

namespace larkspan::bench {

// Runs a program (searched in PATH unless the name holds a "/") and waits
// for it; its exit code, or -1 when it did not exit normally. Its standard
// output goes to `stdoutPath` (or /dev/null), its standard error stays ours;
// `extraEnvironment` ("NAME=value") comes before our own variables.
int runProcess(const std::vector<std::string>& argv, const std::string& stdoutPath = "/dev/null",
               const std::vector<std::string>& extraEnvironment = {});

// The peak resident memory of this process since it started (or last
// exec'd), VmHWM in /proc/self/status, in KiB. (A spawned child's ru_maxrss
// would not do: it starts from its parent's peak.)
long peakResidentKiB();

// This very executable, to run a section of it in a fresh process.
std::string selfExecutable();

} // namespace larkspan::bench
