#pragma once

#include "model/RFATreeNode.h"

#include <string>
#include <vector>

namespace larkspan {

// The folders an archive file cannot keep: it stores files, each under its
// path, so a folder with no file anywhere below it is not written. The
// full path of each such folder whose own folder does hold a file (its
// empty subfolders go with it), in tree order.
std::vector<std::string> foldersLeftOutOnSave(const std::vector<RFATreeNode::Ptr>& topLevelNodes);

} // namespace larkspan
