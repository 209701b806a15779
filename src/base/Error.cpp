#include "base/Error.h"

#include <cstring>

namespace larkspan {

namespace {

struct Texts {
    const char* text;
    const char* reason = nullptr;
};

Texts textsFor(ErrorCode code, Wording wording)
{
    const bool plain = wording == Wording::Plain;
    switch (code) {
    case ErrorCode::CannotOpen: return {"cannot be opened"};
    case ErrorCode::CannotRead: return {"cannot be read"};
    case ErrorCode::CannotWrite: return {"cannot be written"};
    case ErrorCode::CannotReplace: return {"cannot take the place of the old file"};
    case ErrorCode::CannotMakeFolder: return {"cannot make folder %@"};
    case ErrorCode::CannotFlush: return {"the written files could not be flushed to disk"};
    case ErrorCode::EmptyName: return {"the name is empty"};
    case ErrorCode::AbsoluteName: return {"the name starts at the file-system root"};
    case ErrorCode::EmptyComponent: return {"the name has an empty component (\"//\" or a trailing \"/\")"};
    case ErrorCode::CurrentFolder: return {"the name has a \".\" component"};
    case ErrorCode::ParentFolder: return {"the name has a \"..\" component, which would climb out of the folder"};
    case ErrorCode::Separator:
        return {"a component holds a separator (a backslash separates folders on Windows)"};
    case ErrorCode::NulByte: return {"the name holds a zero byte"};
    case ErrorCode::NotInWindowsName:
        return {"the name holds a character Windows does not allow in a file name "
                "(< > : \" | ? * or a control character)"};
    case ErrorCode::SymbolicLink: return {"%@ is a symbolic link (nothing is written through one)"};
    case ErrorCode::FolderInTheWay: return {"a folder is in the way at %@"};
    case ErrorCode::FileInTheWay: return {"cannot make folder %@: a file is in the way"};
    case ErrorCode::OutOfBounds:
        if (plain)
            return {"the archive is damaged: its directory points outside the file",
                    "The file may have been cut short (a copy or download that did not finish), or it is no RFA "
                    "archive at all."};
        return {"Internal index is out of bounds",
                "A part of the file tells the app to look for data at places that do not exist."};
    case ErrorCode::Decompression:
        if (plain)
            return {"the entry is damaged: its compressed data cannot be unpacked",
                    "The archive lists the entry, but its bytes are not the compressed data the archive says they "
                    "are. The other entries can still be read."};
        return {"Some error while decompressing",
                "The file is compressed and there was an error when trying to chacnge that."};
    case ErrorCode::ArchiveTooLarge: return {"The archive is too large for the RFA format (4 GB at most)."};
    case ErrorCode::Cancelled: return {"cancelled"};
    case ErrorCode::UpdateOfUpdate: return {"%@ is an update archive itself: name the archive it updates"};
    case ErrorCode::NoUpdateNumberLeft: return {"%@ has an update numbered 999 already: no number is left"};
    case ErrorCode::UpdateHidden:
        return {"%@ lies below a higher update of the same archive, which would hide what it holds"};
    case ErrorCode::UpdateOverBase: return {"%@ is the archive being updated: its update cannot take its place"};
    case ErrorCode::TgaTruncatedHeader: return {"The file is shorter than a TGA header."};
    case ErrorCode::TgaUnsupportedImageType: return {"The TGA image type is not a supported one."};
    case ErrorCode::TgaUnsupportedColourMap: return {"The TGA colour map is not a supported one."};
    case ErrorCode::TgaUnsupportedPixelDepth: return {"The TGA pixel size does not suit its image type."};
    case ErrorCode::TgaEmptyPicture: return {"The TGA picture has no pixels."};
    case ErrorCode::TgaTruncatedIdentification: return {"The TGA image ID is cut short."};
    case ErrorCode::TgaTruncatedColourMap: return {"The TGA colour map is cut short."};
    case ErrorCode::TgaTruncatedPixelData: return {"The TGA pixel data is cut short."};
    case ErrorCode::TgaIndexOutsideColourMap: return {"A TGA pixel points outside the colour map."};
    case ErrorCode::TgaTooBig: return {"The TGA picture is too big to hold."};
    }
    return {"failed"};
}

} // namespace

ErrorText describe(const Error& error, Translator translate, Wording wording)
{
    const Texts texts = textsFor(error.code, wording);
    ErrorText described;
    // The subject stands where the text names it, or in front.
    const std::string text = translated(translate, texts.text);
    if (text.find("%@") != std::string::npos)
        described.text = fillPlaceholders(text, {error.subject});
    else
        described.text = error.subject.empty() ? text : error.subject + ": " + text;
    if (error.systemError != 0)
        described.text += std::string(": ") + std::strerror(error.systemError);
    if (texts.reason)
        described.reason = translated(translate, texts.reason);
    return described;
}

} // namespace larkspan
