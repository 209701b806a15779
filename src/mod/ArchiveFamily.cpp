#include "mod/ArchiveFamily.h"

#include "base/StringAdditions.h"

#include <cctype>
#include <tuple>

namespace larkspan {

namespace {

bool isUpdateSuffix(std::string_view stem)
{
    if (stem.size() < 4 || stem[stem.size() - 4] != '_')
        return false;
    for (std::size_t i = stem.size() - 3; i < stem.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(stem[i])))
            return false;
    return true;
}

} // namespace

std::string archiveFamilyKey(std::string_view relativePath)
{
    std::string key = foldedCopy(relativePath);
    if (key.ends_with(".rfa"))
        key.resize(key.size() - 4);
    const std::size_t nameStart = key.rfind('/') == std::string::npos ? 0 : key.rfind('/') + 1;
    // "_001.rfa" alone is a base archive named "_001", not an update of nothing.
    if (key.size() - nameStart > 4 && isUpdateSuffix(key))
        key.resize(key.size() - 4);
    return key;
}

bool archiveSortsBefore(std::string_view a, std::string_view b)
{
    const std::string foldedA = foldedCopy(a), foldedB = foldedCopy(b);
    return std::tie(foldedA, a) < std::tie(foldedB, b);
}

} // namespace larkspan
