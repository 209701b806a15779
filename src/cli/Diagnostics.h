#pragma once

#include "base/Error.h"

#include <string>
#include <string_view>

namespace larkspan::cli {

// Names from an archive are shown with control characters written as \xHH,
// so that a hostile name cannot drive the terminal or split a line.
std::string displayName(std::string_view utf8);

// What went wrong, without the subject: for messages that name it already.
std::string reasonText(const Error& error);

// "rfa: " and the error's description on stderr.
void reportError(const Error& error);

// "rfa: SUBJECT: MESSAGE" on stderr (the subject is a file or a command).
void reportProblem(std::string_view subject, std::string_view message);

// "rfa: warning: SUBJECT: MESSAGE" on stderr: something worth knowing that
// does not make the command fail.
void reportWarning(std::string_view subject, std::string_view message);

// "rfa: ARCHIVE: ENTRY: MESSAGE" on stderr; the entry is shown by displayName.
void reportEntryProblem(std::string_view archive, std::string_view entry, std::string_view message);

} // namespace larkspan::cli
