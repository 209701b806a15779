#include "document/EntryExtraction.h"

namespace larkspan {

namespace {

std::string joined(const std::vector<std::string>& components)
{
    std::string path;
    for (const std::string& component : components)
        path += (path.empty() ? "" : "/") + component;
    return path;
}

} // namespace

void EntryExtraction::start(DocumentHost& host, Translator translate, const std::vector<RFATreeNode::Ptr>& entries,
                            const std::filesystem::path& folder)
{
    // Every entry's bytes before any file is written: a damaged one writes nothing.
    if (const Result<void> loaded = loadContents(entries); !loaded)
        return host.reportProblems({describe(loaded.error(), translate).text});
    std::vector<WriteOutItem> items;
    for (const RFATreeNode::Ptr& entry : entries) {
        std::vector<WriteOutItem> more = writeOutItems(*entry->fileWrapper());
        items.insert(items.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
    }
    std::make_shared<EntryExtraction>(host, translate, std::move(items), folder)->resume();
}

EntryExtraction::EntryExtraction(DocumentHost& host, Translator translate, std::vector<WriteOutItem> items,
                                 const std::filesystem::path& folder)
    : host_(host), translate_(translate), out_(std::move(items), folder)
{
}

void EntryExtraction::resume()
{
    if (!out_.run(existing_)) {
        const std::string name = out_.pending().components.back();
        ReplaceQuestion question;
        question.name = name;
        question.showDoForAll = out_.remaining() > 1;
        question.messageText = fillPlaceholders(translated(translate_, "%@ already exists."), {name});
        question.informativeText =
            fillPlaceholders(translated(translate_, "Do you wish to replace %@ with the new file?"), {name});
        host_.askReplace(question, [self = shared_from_this()](ReplaceAnswer answer) { self->answer(answer); });
        return;
    }
    finish();
}

void EntryExtraction::finish()
{
    out_.flush();
    std::vector<std::string> problems;
    for (const WriteOutProblem& problem : out_.problems())
        problems.push_back(describeWriteOutProblem(problem, translate_));
    if (!problems.empty())
        host_.reportProblems(problems);
}

void EntryExtraction::answer(ReplaceAnswer answer)
{
    switch (answer.choice) {
    case ReplaceChoice::Replace:
        out_.replacePending();
        if (answer.forAll)
            existing_ = ExistingFiles::Replace;
        break;
    case ReplaceChoice::Keep:
        out_.keepPending();
        if (answer.forAll)
            existing_ = ExistingFiles::Keep;
        break;
    case ReplaceChoice::Dismissed:
        // Closing the question stops the extraction; what is written stays.
        return finish();
    }
    resume();
}

std::string describeWriteOutProblem(const WriteOutProblem& problem, Translator translate)
{
    const std::string described = describe(problem.error, translate).text;
    if (problem.components.empty())
        return described;
    return fillPlaceholders(translated(translate, "\"%@\" was not written: %@"),
                            {joined(problem.components), described});
}

} // namespace larkspan
