#include "format/UnpackError.h"

namespace larkspan {

UnpackError UnpackError::make(UnpackFailure failure)
{
    if (failure == UnpackFailure::OutOfBounds)
        return {failure, "unpack", 1, "Internal index is out of bounds",
                "A part of the file tells the app to look for data at places that do not exist."};
    if (failure == UnpackFailure::Cancelled)
        return {failure, "unpack", 0, "Opening was cancelled", ""};
    return {failure, "unpack", 1, "Some error while decompressing",
            "The file is compressed and there was an error when trying to chacnge that."};
}

} // namespace larkspan
