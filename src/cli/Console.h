#pragma once

#include <string>
#include <vector>

namespace larkspan::cli {

// The command line in UTF-8, the program's name first. Windows hands a
// program its arguments in the system's code page, which loses every
// character beyond it; there they are read in UTF-16 instead.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// Makes the console take what the tool prints as it is on every system:
// bytes passed unchanged (no "\r\n" for "\n", which would also garble
// `rfa cat`), UTF-8 shown as such and the progress line's escapes obeyed.
void prepareConsole();

} // namespace larkspan::cli
