#include "document/EditSteps.h"

namespace larkspan {

const char* editStepName(EditStep step)
{
    switch (step) {
    case EditStep::NewFolder:
        return "New Folder";
    case EditStep::Rename:
        return "Rename";
    case EditStep::Delete:
        return "Delete";
    case EditStep::AddFiles:
        return "Add Files";
    case EditStep::Copy:
        return "Copy";
    case EditStep::Move:
        return "Move";
    case EditStep::Typing:
        return "Typing";
    case EditStep::OpenWith:
        return "Open With";
    }
    return "";
}

} // namespace larkspan
