// The core's texts, listed for the translation tools: the core is plain C++
// and cannot mark them itself. It shows them through translateForCore
// (context "Core"); keep this list in step with the core.

#include <QtGlobal>

namespace {

[[maybe_unused]] constexpr const char* kCoreTexts[] = {
    // Reading archives.
    QT_TRANSLATE_NOOP("Core", "Internal index is out of bounds"),
    QT_TRANSLATE_NOOP("Core", "A part of the file tells the app to look for data at places that do not exist."),
    QT_TRANSLATE_NOOP("Core", "Some error while decompressing"),
    QT_TRANSLATE_NOOP("Core", "The file is compressed and there was an error when trying to chacnge that."),
    QT_TRANSLATE_NOOP("Core", "The archive is too large for the RFA format (4 GB at most)."),
    // Sizes and the status line.
    QT_TRANSLATE_NOOP("Core", "%u Bytes"),
    QT_TRANSLATE_NOOP("Core", "%u KB"),
    QT_TRANSLATE_NOOP("Core", "%.1f MB"),
    QT_TRANSLATE_NOOP("Core", "%.2f GB"),
    QT_TRANSLATE_NOOP("Core", "1 object, %@"),
    QT_TRANSLATE_NOOP("Core", "%lu objects, %@"),
    QT_TRANSLATE_NOOP("Core", "1 object of %lu selected, %@"),
    QT_TRANSLATE_NOOP("Core", "%lu objects of %lu selected, %@"),
    // Commands and the replacement question.
    QT_TRANSLATE_NOOP("Core", "Unnamed"),
    QT_TRANSLATE_NOOP("Core", "Unnamed %lu"),
    QT_TRANSLATE_NOOP("Core", "%@ already exists."),
    QT_TRANSLATE_NOOP("Core", "Do you wish to replace %@? All it's contents will be replaced with those of the new folder."),
    QT_TRANSLATE_NOOP("Core", "Do you wish to replace %@ with the new file?"),
    QT_TRANSLATE_NOOP("Core", "\"%@\" was not written: its name would leave the folder."),
    QT_TRANSLATE_NOOP("Core", "\"%@\" could not be read and was left out."),
    QT_TRANSLATE_NOOP("Core", "\"%@\" no longer exists."),
    QT_TRANSLATE_NOOP("Core", "\"%@\" was left out: its name has characters an RFA archive cannot store."),
    QT_TRANSLATE_NOOP("Core", "\"%@\" was not written: \"%@\" is a symbolic link, and nothing is written through one."),
    QT_TRANSLATE_NOOP("Core", "\"%@\" was not written: a folder of that name is in the way."),
    QT_TRANSLATE_NOOP("Core", "\"%@\" was not written: \"%@\" is in the way of its folder."),
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
};

} // namespace
