#include "document/EntryNames.h"

#include "base/Latin1.h"
#include "base/StringAdditions.h"

namespace larkspan {

RFATreeNode::Ptr childNamedIgnoringCase(const RFATreeNode& folder, std::string_view name, const RFATreeNode* except)
{
    for (std::size_t i = 0; i < folder.countOfChildren(); ++i) {
        const RFATreeNode::Ptr& child = folder.objectInChildrenAtIndex(i);
        if (child.get() != except && isCaseInsensitiveEqual(child->name(), name))
            return child;
    }
    return nullptr;
}

bool isStorableName(std::string_view name)
{
    return utf8ToLatin1(name).has_value();
}

std::optional<RefusedName> renameRefusal(const RFATreeNode& node, std::string_view name)
{
    if (name.empty())
        return RefusedName{NameRefusal::Empty, {}};
    if (name.find('/') != std::string_view::npos)
        return RefusedName{NameRefusal::Separator, {}};
    if (name == "." || name == "..")
        return RefusedName{NameRefusal::DotName, {}};
    if (!isStorableName(name))
        return RefusedName{NameRefusal::Unstorable, {}};
    const RFATreeNode::Ptr folder = node.indexInParent() ? node.parent() : nullptr;
    if (folder) {
        if (const RFATreeNode::Ptr sibling = childNamedIgnoringCase(*folder, name, &node))
            return RefusedName{NameRefusal::Taken, sibling->name()};
    }
    return std::nullopt;
}

std::string describeRefusedName(const RefusedName& refused, std::string_view name, Translator translate)
{
    switch (refused.refusal) {
    case NameRefusal::Empty:
        return translated(translate, "A name cannot be empty.");
    case NameRefusal::Separator:
        return fillPlaceholders(translated(translate, "\"%@\" cannot be a name: it contains \"/\"."), {name});
    case NameRefusal::DotName:
        return fillPlaceholders(translated(translate, "\"%@\" cannot be a name: folders on disk reserve it."), {name});
    case NameRefusal::Unstorable:
        return fillPlaceholders(
            translated(translate, "\"%@\" cannot be a name: it has characters an RFA archive cannot store."), {name});
    case NameRefusal::Taken:
        if (refused.takenBy == name)
            return fillPlaceholders(translated(translate, "The name \"%@\" is already taken."), {name});
        return fillPlaceholders(
            translated(translate,
                       "The name \"%@\" is already taken by \"%@\": the game does not tell names apart by case."),
            {name, refused.takenBy});
    }
    return {};
}

std::string unstorableNameProblem(std::string_view name, Translator translate)
{
    return fillPlaceholders(
        translated(translate, "\"%@\" was left out: its name has characters an RFA archive cannot store."), {name});
}

} // namespace larkspan
