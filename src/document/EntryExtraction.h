#pragma once

#include "document/DocumentHost.h"
#include "base/Translator.h"
#include "fs/FileWrapper.h"
#include "model/RFATreeNode.h"

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace larkspan {

// The entries written into a folder the user chose, asking before a file
// already there is replaced, with the question insertions ask about
// entries. It lives on in the question's answer until it is done; the
// problems are reported at the end.
class EntryExtraction : public std::enable_shared_from_this<EntryExtraction> {
public:
    static void start(DocumentHost& host, Translator translate, const std::vector<RFATreeNode::Ptr>& entries,
                      const std::filesystem::path& folder);

    EntryExtraction(DocumentHost& host, Translator translate, std::vector<WriteOutItem> items,
                    const std::filesystem::path& folder);

private:
    void resume();
    void finish();
    void answer(ReplaceAnswer answer);

    DocumentHost& host_;
    Translator translate_;
    WriteOut out_;
    ExistingFiles existing_ = ExistingFiles::Ask;
};

// What went wrong with one item written out, for the user.
std::string describeWriteOutProblem(const WriteOutProblem& problem, Translator translate);

} // namespace larkspan
