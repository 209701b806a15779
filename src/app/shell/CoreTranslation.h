#pragma once

#include <string>

namespace larkspan {

// The core's English texts in the user's language (translation context
// "Core"); handed to the document logic and the size formatter.
std::string translateForCore(const char* sourceText);

} // namespace larkspan
