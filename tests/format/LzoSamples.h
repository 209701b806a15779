#pragma once

#include "base/Bytes.h"

#include <string>
#include <vector>

namespace larkspan::test {

// Contents that exercise LZO1X coders: sizes around the opcode limits, text,
// runs, incompressible bytes, long matches and matches at the distance limits
// of each instruction form.
struct LzoSample {
    std::string name;
    Bytes content;
};

std::vector<LzoSample> lzoSamples();

} // namespace larkspan::test
