#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "base/Bytes.h"
#include "imaging/Image.h"

namespace larkspan {

class RFATreeNode;

// The observable properties of a node, stored and derived.
enum class NodeProperty : std::uint8_t {
    Name,
    Parent,
    Data,
    Children,
    UndoManager,
    Contents,
    Image,
    IsText,
    IsImage,
    FullPath,
    FullSize,
    FlattenedTree,
};
inline constexpr std::size_t kNodePropertyCount = 12;

const char* propertyName(NodeProperty property);

enum class ChangeKind { Setting, Insertion, Removal };

// A property's value before a change, for observers that ask for it;
// monostate where none is kept (children, flattenedTree, undoManager).
using ChangeValue = std::variant<std::monostate, std::string, SharedBytes, std::uint64_t, bool,
                                 std::shared_ptr<RFATreeNode>, SharedImage>;

class PropertySet {
public:
    constexpr PropertySet() = default;
    constexpr PropertySet(std::initializer_list<NodeProperty> properties)
    {
        for (NodeProperty p : properties)
            bits_ |= bit(p);
    }
    static constexpr PropertySet all()
    {
        PropertySet set;
        set.bits_ = (1u << kNodePropertyCount) - 1;
        return set;
    }
    constexpr bool contains(NodeProperty p) const { return (bits_ & bit(p)) != 0; }

private:
    static constexpr std::uint32_t bit(NodeProperty p) { return 1u << static_cast<unsigned>(p); }
    std::uint32_t bits_ = 0;
};

} // namespace larkspan
