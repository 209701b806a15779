#pragma once

#include "model/RFAArchive.h"

#include <chrono>
#include <cstdint>
#include <string>

namespace larkspan::cli {

// A one-line report of long work on stderr, redrawn in place. It appears
// only when stderr is a terminal, so logs and pipes stay clean.
class ProgressLine {
public:
    explicit ProgressLine(std::string label);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void update(std::uint64_t done, std::uint64_t total);
    ProgressCallback callback();

private:
    std::string label_;
    bool enabled_;
    std::chrono::steady_clock::time_point lastDrawn_{};
};

// Wipes a progress line off the terminal before a message is printed.
void clearProgressLine();

} // namespace larkspan::cli
