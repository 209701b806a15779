#pragma once

// Every failure the core reports is an Error: what went wrong, what it
// concerns (a file, a folder or an entry) and, where the system said why,
// its errno. describe() is the one place that puts it into words, for the
// editor and for rfa alike. Operations that can fail return a Result: the
// value, or the Error.

#include "base/Translator.h"

#include <cstdint>
#include <string>
#include <utility>
#include <variant>

namespace larkspan {

enum class ErrorCode : std::uint8_t {
    // Files and folders on disk.
    CannotOpen,       // the file, or a temporary beside it, cannot be opened or made
    CannotRead,
    CannotWrite,      // a full disk among others
    CannotReplace,    // the finished temporary cannot take the file's name
    CannotMakeFolder,
    CannotFlush,      // the written files could not be flushed to disk
    // Names that would lead a write outside the chosen folder.
    EmptyName,
    AbsoluteName,     // starts with "/" or "\"
    EmptyComponent,   // "a//b", or a trailing "/"
    CurrentFolder,    // a "." component
    ParentFolder,     // a ".." component, also between backslashes
    Separator,        // a component holding "/" or "\"
    NulByte,          // the file system would cut the name there
    NotInWindowsName, // Windows reads ":" as a drive or a stream, "*" and "?" as wildcards
    // What stands where something is to be written.
    SymbolicLink,     // nothing is written through a link below the chosen folder
    FolderInTheWay,   // a folder where a file belongs
    FileInTheWay,     // something other than a folder where a folder belongs
    // Archives.
    OutOfBounds,      // a part of the file points at places that do not exist
    Decompression,
    ArchiveTooLarge,  // beyond the format's 32-bit sizes and offsets
    Cancelled,        // the user stopped it
    // Update archives (BASE_NNN.rfa beside BASE.rfa).
    UpdateOfUpdate,     // an update named where the archive it updates belongs
    NoUpdateNumberLeft, // BASE_999.rfa exists
    UpdateHidden,       // a higher update of the same base would hide what it holds
    UpdateOverBase,     // the update would take the base's own name
    // TGA pictures.
    TgaTruncatedHeader,
    TgaUnsupportedImageType,
    TgaUnsupportedColourMap,
    TgaUnsupportedPixelDepth,
    TgaEmptyPicture,
    TgaTruncatedIdentification,
    TgaTruncatedColourMap,
    TgaTruncatedPixelData,
    TgaIndexOutsideColourMap,
    TgaTooBig,        // the data is all there, but too big to hold
};

struct Error {
    ErrorCode code;
    std::string subject = {}; // the file, folder or entry it concerns; may be empty
    int systemError = 0;      // errno, where the system said why

    friend bool operator==(const Error&, const Error&) = default;
};

struct ErrorText {
    std::string text;   // one line: the subject, what went wrong, the system's reason
    std::string reason; // a longer explanation where there is one (archive errors)
};

// The archive reader's two failures (OutOfBounds, Decompression) have fixed
// words of their own, which the editor's alert shows when an archive cannot
// be opened; everywhere else they are put plainly, for a modder.
enum class Wording { Plain, Reader };

ErrorText describe(const Error& error, Translator translate = nullptr, Wording wording = Wording::Plain);

// The value of an operation, or why there is none.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

    explicit operator bool() const { return state_.index() == 0; }
    T& operator*() { return std::get<0>(state_); }
    const T& operator*() const { return std::get<0>(state_); }
    T* operator->() { return &std::get<0>(state_); }
    const T* operator->() const { return &std::get<0>(state_); }
    const Error& error() const { return std::get<1>(state_); }
    T value_or(T fallback) const& { return *this ? **this : std::move(fallback); }
    T value_or(T fallback) && { return *this ? std::move(std::get<0>(state_)) : std::move(fallback); }

    // A value equal to `value`; never an error.
    friend bool operator==(const Result& result, const T& value) { return result && *result == value; }

private:
    std::variant<T, Error> state_;
};

// An operation that gives nothing back but may fail.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : error_(std::move(error)), failed_(true) {}

    explicit operator bool() const { return !failed_; }
    const Error& error() const { return error_; }

private:
    Error error_{ErrorCode::Cancelled};
    bool failed_ = false;
};

} // namespace larkspan
