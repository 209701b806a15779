#pragma once

#include "document/DocumentHost.h"

#include <deque>

namespace larkspan::fixtures {

// A window that answers from a script: each question takes the next
// prepared answer, or waits (stays pending) when none is prepared.
class FakeHost : public DocumentHost {
public:
    int beeps = 0;
    std::vector<ReplaceQuestion> questions;
    std::deque<ReplaceAnswer> answers;
    std::function<void(ReplaceAnswer)> pendingAnswer;
    std::optional<std::vector<std::filesystem::path>> filesToAdd;
    std::optional<std::filesystem::path> extractionFolder;
    std::vector<std::string> problems;
    std::vector<std::string> refusals;

    void beep() override { ++beeps; }
    void askReplace(const ReplaceQuestion& question, std::function<void(ReplaceAnswer)> answer) override
    {
        questions.push_back(question);
        if (answers.empty()) {
            pendingAnswer = std::move(answer);
            return;
        }
        const ReplaceAnswer next = answers.front();
        answers.pop_front();
        answer(next);
    }
    void chooseFilesToAdd(std::function<void(std::optional<std::vector<std::filesystem::path>>)> chosen) override
    {
        chosen(filesToAdd);
    }
    void chooseExtractionFolder(std::function<void(std::optional<std::filesystem::path>)> chosen) override
    {
        chosen(extractionFolder);
    }
    void reportProblems(const std::vector<std::string>& reported) override
    {
        problems.insert(problems.end(), reported.begin(), reported.end());
    }
    void explainRefusal(const std::string& reason) override { refusals.push_back(reason); }
};

} // namespace larkspan::fixtures
