#include "model/EntryKind.h"

#include <algorithm>
#include <array>
#include <utility>

namespace larkspan {

namespace {

constexpr std::array<std::pair<std::string_view, EntryKind>, 14> kKinds = {{
    {"con", EntryKind::Script},
    {"rs", EntryKind::Script},
    {"ssc", EntryKind::Script},
    {"txt", EntryKind::Text},
    {"dds", EntryKind::Texture},
    {"tga", EntryKind::Picture},
    {"jpg", EntryKind::Picture},
    {"bmp", EntryKind::Picture},
    {"png", EntryKind::Picture},
    {"raw", EntryKind::HeightMap},
    {"wav", EntryKind::Sound},
    {"ogg", EntryKind::Sound},
    {"sm", EntryKind::Mesh},
    {"tm", EntryKind::Mesh},
}};

} // namespace

EntryKind entryKindOf(std::string_view extension)
{
    const auto found =
        std::find_if(kKinds.begin(), kKinds.end(), [&](const auto& entry) { return entry.first == extension; });
    return found == kKinds.end() ? EntryKind::Other : found->second;
}

std::string_view extensionOf(std::string_view name)
{
    const std::size_t slash = name.rfind('/');
    const std::string_view last = slash == std::string_view::npos ? name : name.substr(slash + 1);
    const std::size_t dot = last.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : last.substr(dot + 1);
}

bool isTextKind(EntryKind kind)
{
    return kind == EntryKind::Script || kind == EntryKind::Text;
}

bool isImageKind(EntryKind kind)
{
    return kind == EntryKind::Texture || kind == EntryKind::Picture || kind == EntryKind::HeightMap;
}

} // namespace larkspan
