#include "cli/Progress.h"

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace larkspan::cli {

namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

// Whether a line is on the terminal now; there is one stderr, so one line.
bool lineShown = false;

} // namespace

ProgressLine::ProgressLine(std::string label)
    : label_(std::move(label)), enabled_(::isatty(STDERR_FILENO) == 1)
{
}

ProgressLine::~ProgressLine()
{
    clearProgressLine();
}

void ProgressLine::update(std::uint64_t done, std::uint64_t total)
{
    if (!enabled_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (lineShown && done < total && now - lastDrawn_ < kRedrawInterval)
        return;
    lastDrawn_ = now;
    const std::uint64_t percent = total == 0 ? 100 : std::min(done, total) * 100 / total;
    std::fprintf(stderr, "\r%s: %3u%%\x1b[K", label_.c_str(), static_cast<unsigned>(percent));
    std::fflush(stderr);
    lineShown = true;
}

ProgressCallback ProgressLine::callback()
{
    return [this](std::uint64_t done, std::uint64_t total) { update(done, total); };
}

void clearProgressLine()
{
    if (!lineShown)
        return;
    std::fputs("\r\x1b[K", stderr);
    std::fflush(stderr);
    lineShown = false;
}

} // namespace larkspan::cli
