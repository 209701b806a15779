#include "fs/FileWrapper.h"

#include <algorithm>

namespace larkspan {

namespace fs = std::filesystem;

namespace {

void collectItems(const FileWrapper& wrapper, std::vector<std::string>& components, std::vector<WriteOutItem>& items)
{
    components.push_back(wrapper.preferredFilename);
    items.push_back({components, wrapper.contents});
    for (const auto& [name, entry] : wrapper.entries)
        collectItems(entry, components, items);
    components.pop_back();
}

} // namespace

std::vector<WriteOutItem> writeOutItems(const FileWrapper& wrapper)
{
    std::vector<WriteOutItem> items;
    std::vector<std::string> components;
    collectItems(wrapper, components, items);
    return items;
}

WriteOut::WriteOut(std::vector<WriteOutItem> items, const fs::path& folder, DiskCalls& disk)
    : items_(std::move(items)), writer_(folder, disk)
{
}

bool WriteOut::isBelowProblem(const WriteOutItem& item) const
{
    return std::any_of(problems_.begin(), problems_.end(), [&](const WriteOutProblem& problem) {
        return problem.components.size() < item.components.size() &&
               std::equal(problem.components.begin(), problem.components.end(), item.components.begin());
    });
}

void WriteOut::write(const WriteOutItem& item, bool replace)
{
    const WriteResult result = item.contents ? writer_.writeFile(item.components, *item.contents, replace)
                                             : writer_.makeFolder(item.components);
    switch (result.status) {
    case WriteStatus::Written:
        if (item.contents)
            written_.push_back(result.path);
        replacedAny_ = replacedAny_ || result.replaced;
        break;
    case WriteStatus::Exists:
        kept_.push_back(result.path);
        break;
    case WriteStatus::Failed:
        problems_.push_back({item.components, *result.error});
        break;
    case WriteStatus::Free:
        break;
    }
}

bool WriteOut::run(ExistingFiles existing)
{
    for (; next_ < items_.size(); ++next_) {
        const WriteOutItem& item = items_[next_];
        if (isBelowProblem(item))
            continue;
        if (existing == ExistingFiles::Ask && item.contents &&
            writer_.probeFile(item.components).status == WriteStatus::Exists)
            return false;
        write(item, existing == ExistingFiles::Replace);
    }
    return true;
}

void WriteOut::replacePending()
{
    write(items_[next_++], true);
}

void WriteOut::keepPending()
{
    write(items_[next_++], false);
}

bool WriteOut::flush()
{
    if (!replacedAny_ || syncFileSystemOf(writer_.root(), writer_.disk()))
        return true;
    problems_.push_back({{}, Error{ErrorCode::CannotFlush, writer_.root().string()}});
    return false;
}

WriteOut writeFileWrapper(const FileWrapper& wrapper, const fs::path& destinationFolder, DiskCalls& disk)
{
    WriteOut out(writeOutItems(wrapper), destinationFolder, disk);
    out.run(ExistingFiles::Replace);
    out.flush();
    return out;
}

} // namespace larkspan
