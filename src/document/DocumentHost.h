#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace larkspan {

// The question asked when an entry to be inserted meets one of the same name.
struct ReplaceQuestion {
    std::string name;
    bool existingIsFolder = false;
    bool showDoForAll = false;   // more than one item is still pending
    std::string messageText;     // "%@ already exists.", filled and translated
    std::string informativeText; // the folder or the file wording, filled and translated
};

enum class ReplaceChoice { Replace, Keep, Dismissed };

struct ReplaceAnswer {
    ReplaceChoice choice = ReplaceChoice::Dismissed;
    bool forAll = false; // the "Do for all files." box was ticked
};

// How the document logic asks its window for things. Nothing here blocks:
// each question is answered later by calling the function handed over,
// once (or never, when the window goes away first).
class DocumentHost {
public:
    virtual ~DocumentHost() = default;

    // The refusal signal of a command that finds nothing to act on.
    virtual void beep() = 0;
    virtual void askReplace(const ReplaceQuestion& question, std::function<void(ReplaceAnswer)> answer) = 0;
    // Files and folders to add, several at once; nothing when cancelled.
    virtual void chooseFilesToAdd(std::function<void(std::optional<std::vector<std::filesystem::path>>)> chosen) = 0;
    // One folder to extract into; nothing when cancelled.
    virtual void chooseExtractionFolder(std::function<void(std::optional<std::filesystem::path>)> chosen) = 0;
    // What a command could not do (skipped names, unreadable files), in
    // the user's language, one line each.
    virtual void reportProblems(const std::vector<std::string>& problems) = 0;
    // Why a command was refused (a rename to a name that is taken), in the
    // user's language.
    virtual void explainRefusal(const std::string& reason) = 0;
};

} // namespace larkspan
