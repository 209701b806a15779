// The core's texts, listed for the translation tools: the core is plain C++
// and cannot mark them itself. It shows them through translateForCore
// (context "Core"); keep this list in step with the core.

#include <QtGlobal>

namespace {

[[maybe_unused]] constexpr const char* kCoreTexts[] = {
    // Errors (base/Error.cpp).
    QT_TRANSLATE_NOOP("Core", "cannot be opened"),
    QT_TRANSLATE_NOOP("Core", "cannot be read"),
    QT_TRANSLATE_NOOP("Core", "cannot be written"),
    QT_TRANSLATE_NOOP("Core", "cannot take the place of the old file"),
    QT_TRANSLATE_NOOP("Core", "cannot make folder %@"),
    QT_TRANSLATE_NOOP("Core", "the written files could not be flushed to disk"),
    QT_TRANSLATE_NOOP("Core", "the name is empty"),
    QT_TRANSLATE_NOOP("Core", "the name starts at the file-system root"),
    QT_TRANSLATE_NOOP("Core", "the name has an empty component (\"//\" or a trailing \"/\")"),
    QT_TRANSLATE_NOOP("Core", "the name has a \".\" component"),
    QT_TRANSLATE_NOOP("Core", "the name has a \"..\" component, which would climb out of the folder"),
    QT_TRANSLATE_NOOP("Core", "a component holds a separator (a backslash separates folders on Windows)"),
    QT_TRANSLATE_NOOP("Core", "the name holds a zero byte"),
    QT_TRANSLATE_NOOP("Core", "the name holds a character Windows does not allow in a file name (< > : \" | ? * or a control character)"),
    QT_TRANSLATE_NOOP("Core", "%@ is a symbolic link (nothing is written through one)"),
    QT_TRANSLATE_NOOP("Core", "a folder is in the way at %@"),
    QT_TRANSLATE_NOOP("Core", "cannot make folder %@: a file is in the way"),
    QT_TRANSLATE_NOOP("Core", "Internal index is out of bounds"),
    QT_TRANSLATE_NOOP("Core", "A part of the file tells the app to look for data at places that do not exist."),
    QT_TRANSLATE_NOOP("Core", "Some error while decompressing"),
    QT_TRANSLATE_NOOP("Core", "The file is compressed and there was an error when trying to chacnge that."),
    QT_TRANSLATE_NOOP("Core", "the archive is damaged: its directory points outside the file"),
    QT_TRANSLATE_NOOP("Core", "The file may have been cut short (a copy or download that did not finish), or it is no RFA archive at all."),
    QT_TRANSLATE_NOOP("Core", "the entry is damaged: its compressed data cannot be unpacked"),
    QT_TRANSLATE_NOOP("Core", "The archive lists the entry, but its bytes are not the compressed data the archive says they are. The other entries can still be read."),
    QT_TRANSLATE_NOOP("Core", "The archive is too large for the RFA format (4 GB at most)."),
    QT_TRANSLATE_NOOP("Core", "cancelled"),
    QT_TRANSLATE_NOOP("Core", "%@ is an update archive itself: name the archive it updates"),
    QT_TRANSLATE_NOOP("Core", "%@ has an update numbered 999 already: no number is left"),
    QT_TRANSLATE_NOOP("Core", "%@ lies below a higher update of the same archive, which would hide what it holds"),
    QT_TRANSLATE_NOOP("Core", "%@ is the archive being updated: its update cannot take its place"),
    QT_TRANSLATE_NOOP("Core", "\"%@\" was not written: %@"),
    // Sizes and the status line.
    QT_TRANSLATE_NOOP("Core", "%u Bytes"),
    QT_TRANSLATE_NOOP("Core", "%u KB"),
    QT_TRANSLATE_NOOP("Core", "%.1f MB"),
    QT_TRANSLATE_NOOP("Core", "%.2f GB"),
    QT_TRANSLATE_NOOP("Core", "1 object, %@"),
    QT_TRANSLATE_NOOP("Core", "%lu objects, %@"),
    QT_TRANSLATE_NOOP("Core", "1 object of %lu selected, %@"),
    QT_TRANSLATE_NOOP("Core", "%lu objects of %lu selected, %@"),
    QT_TRANSLATE_NOOP("Core", "1 object"),
    QT_TRANSLATE_NOOP("Core", "%lu objects"),
    QT_TRANSLATE_NOOP("Core", "1 object of %lu selected"),
    QT_TRANSLATE_NOOP("Core", "%lu objects of %lu selected"),
    // Commands and the replacement question.
    QT_TRANSLATE_NOOP("Core", "Unnamed"),
    QT_TRANSLATE_NOOP("Core", "Unnamed %lu"),
    QT_TRANSLATE_NOOP("Core", "%@ already exists."),
    QT_TRANSLATE_NOOP("Core", "Do you wish to replace %@? All it's contents will be replaced with those of the new folder."),
    QT_TRANSLATE_NOOP("Core", "Do you wish to replace %@ with the new file?"),
    QT_TRANSLATE_NOOP("Core", "\"%@\" could not be read and was left out."),
    QT_TRANSLATE_NOOP("Core", "\"%@\" no longer exists."),
    QT_TRANSLATE_NOOP("Core", "\"%@\" was left out: its name has characters an RFA archive cannot store."),
    // Refused names.
    QT_TRANSLATE_NOOP("Core", "A name cannot be empty."),
    QT_TRANSLATE_NOOP("Core", "\"%@\" cannot be a name: it contains \"/\"."),
    QT_TRANSLATE_NOOP("Core", "\"%@\" cannot be a name: folders on disk reserve it."),
    QT_TRANSLATE_NOOP("Core", "\"%@\" cannot be a name: it has characters an RFA archive cannot store."),
    QT_TRANSLATE_NOOP("Core", "The name \"%@\" is already taken."),
    QT_TRANSLATE_NOOP("Core", "The name \"%@\" is already taken by \"%@\": the game does not tell names apart by case."),
    // Names of undo steps ("Undo Delete").
    QT_TRANSLATE_NOOP("Core", "New Folder"),
    QT_TRANSLATE_NOOP("Core", "Delete"),
    QT_TRANSLATE_NOOP("Core", "Add Files"),
    QT_TRANSLATE_NOOP("Core", "Copy"),
    QT_TRANSLATE_NOOP("Core", "Move"),
    QT_TRANSLATE_NOOP("Core", "Rename"),
    QT_TRANSLATE_NOOP("Core", "Typing"),
    QT_TRANSLATE_NOOP("Core", "Open With"),
};

} // namespace
