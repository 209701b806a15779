#pragma once

#include <QString>

namespace larkspan {

// A new, empty folder for the files of one drag or copy, under the cache
// location; empty when none could be made. Every such folder stays until
// the program ends (file managers may copy after the drop) and is removed
// then.
QString makeExportFolder();

// Removes the folders of earlier processes that ended without removing
// their own (killed or crashed); call at start.
void removeStaleExportFolders();

} // namespace larkspan
