#pragma once

class QMenu;
class QWidget;

namespace larkspan {

// A new right-click menu of `owner`, to fill and pop up. It stays until the
// owner's next one replaces it (or the owner goes), not only until it
// closes: a command chosen from it may keep the events flowing while it
// works (a progress dialog), and a menu set to delete itself on closing
// would be deleted then, in the middle of handling the click that chose
// the command.
QMenu* replaceContextMenu(QWidget& owner);

} // namespace larkspan
