#pragma once

#include <string_view>

namespace larkspan {

// What an entry of the game holds, told by its name's extension alone: the
// one list every part of the program reads (which entries open as text or
// as pictures, which are coloured as scripts, which icon an entry gets).
enum class EntryKind { Other, Script, Text, Texture, Picture, HeightMap, Sound, Mesh };

// The text after the name's last "."; compared exactly, so TANK.CON is no
// script: the game's own tools write extensions in lower case.
EntryKind entryKindOf(std::string_view extension);

// The text after the last "." of a name's last component; empty when there
// is none.
std::string_view extensionOf(std::string_view name);

// Entries the text editor opens (scripts and plain text).
bool isTextKind(EntryKind kind);
// Entries the image viewer opens (textures, pictures, height maps).
bool isImageKind(EntryKind kind);

} // namespace larkspan
