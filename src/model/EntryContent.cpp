// What an entry's bytes mean: text or picture, decided by the extension.

#include "model/ChangeAnnouncement.h"
#include "imaging/ImageDecoders.h"
#include "base/Latin1.h"
#include "model/EntryKind.h"
#include "model/RFATreeNode.h"

namespace larkspan {

std::string RFATreeNode::extension() const
{
    return std::string(extensionOf(name_));
}

bool RFATreeNode::isText() const
{
    return isLeaf() && isTextKind(entryKindOf(extension()));
}

bool RFATreeNode::isImage() const
{
    return isLeaf() && isImageKind(entryKindOf(extension()));
}

std::optional<std::string> RFATreeNode::contents() const
{
    if (!isText())
        return std::nullopt;
    return latin1ToUtf8(*data());
}

SetContentsResult RFATreeNode::setContents(std::string_view text)
{
    if (!isText())
        return SetContentsResult::NotText;
    std::optional<Bytes> latin1 = utf8ToLatin1(text);
    if (!latin1)
        return SetContentsResult::BeyondLatin1;
    ChangeAnnouncement change(*this, NodeProperty::Contents);
    setData(makeSharedBytes(std::move(*latin1)));
    change.finish();
    return SetContentsResult::Changed;
}

SharedImage RFATreeNode::image(const ImageDecoderTable& decoders)
{
    if (!isImage())
        return nullptr;
    if (image_)
        return image_;
    std::optional<Image> decoded = decoders.decode(extension(), data());
    if (!decoded)
        return nullptr;
    image_ = std::make_shared<const Image>(std::move(*decoded));
    return image_;
}

} // namespace larkspan
