#pragma once

#include "document/DocumentHost.h"

namespace larkspan::bench {

// A window that is never asked anything in these benchmarks.
class QuietHost : public DocumentHost {
public:
    void beep() override {}
    void askReplace(const ReplaceQuestion&, std::function<void(ReplaceAnswer)>) override {}
    void chooseFilesToAdd(std::function<void(std::optional<std::vector<std::filesystem::path>>)>) override {}
    void chooseExtractionFolder(std::function<void(std::optional<std::filesystem::path>)>) override {}
    void reportProblems(const std::vector<std::string>&) override {}
    void explainRefusal(const std::string&) override {}
};

} // namespace larkspan::bench
