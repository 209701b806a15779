#pragma once

#include <QString>

namespace larkspan {

class RFATreeNode;

// "DXT1, 512 × 512, 10 mip levels": a picture entry's format and size, read
// from its header without decoding it; empty when the header says nothing.
QString pictureInfoText(const RFATreeNode& entry);

} // namespace larkspan
