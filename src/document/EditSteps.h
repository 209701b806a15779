#pragma once

namespace larkspan {

// The kinds of edit the user undoes, each as one step of the history. Their
// names, shown after Undo and Redo in the Edit menu, are English source
// texts that the menu translates.
enum class EditStep { NewFolder, Rename, Delete, AddFiles, Copy, Move, Typing, OpenWith };

const char* editStepName(EditStep step);

} // namespace larkspan
