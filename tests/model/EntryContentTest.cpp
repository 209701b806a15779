#include "model/ChangeHub.h"
#include "imaging/ImageDecoders.h"
#include "model/RFATreeNode.h"
#include "imaging/RawHeightMap.h"

#include "fs/FileIO.h"
#include <gtest/gtest.h>

#include <tuple>

namespace larkspan {
namespace {

const ImageDecoderTable kCoreDecoders;

RFATreeNode::Ptr file(std::string name, Bytes content = {})
{
    return RFATreeNode::initWithData(makeSharedBytes(std::move(content)), std::move(name));
}

TEST(EntryContent, ClassificationIsByExactExtension)
{
    struct Case {
        const char* name;
        bool text;
        bool image;
    };
    for (const Case& c : {Case{"tank.con", true, false}, Case{"TANK.CON", false, false},
                          Case{"readme.TXT", false, false}, Case{"readme.txt", true, false},
                          Case{"a.rs", true, false}, Case{"a.ssc", true, false}, Case{"map.dds", false, true},
                          Case{"map.tga", false, true}, Case{"map.jpg", false, true}, Case{"map.bmp", false, true},
                          Case{"hm.raw", false, true}, Case{"a.png", false, true}, Case{"noextension", false, false},
                          Case{"archive.con.bak", false, false}, Case{".con", true, false},
                          Case{"hit.wav", false, false}, Case{"tank.sm", false, false}}) {
        const RFATreeNode::Ptr node = file(c.name);
        EXPECT_EQ(node->isText(), c.text) << c.name;
        EXPECT_EQ(node->isImage(), c.image) << c.name;
    }
    EXPECT_FALSE(RFATreeNode::initAsDirectory("maps.dds")->isImage()) << "a folder is never a picture";
    EXPECT_FALSE(RFATreeNode::initAsDirectory("init.con")->isText());
}

TEST(EntryContent, ContentsAreLatin1WithoutLineEndingConversion)
{
    const RFATreeNode::Ptr script = file("init.con", {0xE9, 0x0D, 0x0A});
    EXPECT_EQ(script->contents(), "\u00e9\r\n");
    EXPECT_EQ(script->setContents("\u00ff\r\nx\n"), SetContentsResult::Changed);
    EXPECT_EQ(*script->data(), (Bytes{0xFF, 0x0D, 0x0A, 'x', 0x0A}));
    EXPECT_EQ(file("empty.txt")->contents(), "");
    EXPECT_FALSE(file("map.dds")->contents());
}

TEST(EntryContent, SetContentsRefusesWhatTheEntryCannotHold)
{
    const RFATreeNode::Ptr script = file("init.con", {'a'});
    EXPECT_EQ(script->setContents("\u20ac"), SetContentsResult::BeyondLatin1);
    EXPECT_EQ(*script->data(), Bytes{'a'});
    EXPECT_TRUE(script->isLeaf());

    const RFATreeNode::Ptr texture = file("map.dds", {1, 2});
    const auto hub = std::make_shared<ChangeHub>();
    texture->setChangeHub(hub);
    int reports = 0;
    const ObserverToken token = hub->observe({}, [&](const ChangeReport&) { ++reports; });
    EXPECT_EQ(texture->setContents("x"), SetContentsResult::NotText);
    EXPECT_EQ(*texture->data(), (Bytes{1, 2}));
    EXPECT_EQ(reports, 0);
}

TEST(EntryContent, PictureCacheIsDroppedByDataChangesOnly)
{
    const RFATreeNode::Ptr map = file("hm.raw", Bytes(4, 7));
    const SharedImage first = map->image(kCoreDecoders);
    ASSERT_TRUE(first);
    EXPECT_EQ(map->image(kCoreDecoders), first) << "cached";
    map->setName("hm.png");
    EXPECT_EQ(map->image(kCoreDecoders), first) << "a rename between picture types keeps the picture";
    map->setName("hm.txt");
    EXPECT_FALSE(map->image(kCoreDecoders));
    map->setName("hm.raw");
    map->setData(makeSharedBytes(Bytes(9, 1)));
    const SharedImage second = map->image(kCoreDecoders);
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_EQ(second->width, 3u);
}

TEST(EntryContent, FailedDecodesAreNotCachedAndOnlyTheTableGivenDecodes)
{
    int calls = 0;
    ImageDecoderTable decoders;
    decoders.set("bmp", [&](const SharedBytes&) -> std::optional<Image> {
        ++calls;
        return std::nullopt;
    });
    const RFATreeNode::Ptr picture = file("broken.bmp", {1});
    EXPECT_FALSE(picture->image(decoders));
    EXPECT_FALSE(picture->image(decoders));
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(picture->image(ImageDecoderTable())) << "the core reads no bmp";
}

TEST(RawHeightMap, SizesAndDepths)
{
    struct Case {
        std::size_t length;
        std::uint32_t side; // 0: no picture
        PixelFormat format;
    };
    for (const Case& c : {Case{524288, 512, PixelFormat::Gray16}, Case{262144, 512, PixelFormat::Gray8},
                          Case{2101250, 1025, PixelFormat::Gray16}, Case{1, 1, PixelFormat::Gray8},
                          Case{2, 1, PixelFormat::Gray16}, Case{3, 1, PixelFormat::Gray8},
                          Case{0, 0, PixelFormat::Gray8}, Case{10, 3, PixelFormat::Gray8},
                          Case{8, 2, PixelFormat::Gray16}}) {
        const std::optional<Image> image = decodeRawHeightMap(Bytes(c.length, 0));
        if (c.side == 0) {
            EXPECT_FALSE(image) << c.length;
            continue;
        }
        ASSERT_TRUE(image) << c.length;
        EXPECT_EQ(image->width, c.side) << c.length;
        EXPECT_EQ(image->height, c.side) << c.length;
        EXPECT_EQ(image->format, c.format) << c.length;
        EXPECT_TRUE(image->flipped);
    }
}


RFATreeNode::Ptr fixture(const std::string& relative, std::string name)
{
    const Result<Bytes> bytes = readWholeFile(std::string(LARKSPAN_TEST_DATA) + "/" + relative);
    EXPECT_TRUE(bytes) << relative;
    return file(std::move(name), bytes.value_or(Bytes{}));
}

// Textures and TGA pictures decode through the core's table, chosen by the
// entry's name, and tell the viewer what they are.
TEST(EntryContent, PicturesDecodeByNameAndDescribeThemselves)
{
    const std::pair<std::string, PictureInfo> cases[] = {
        {"dds/dxt1_256x128_mips.dds", {"DXT1", 256, 128, 0, 9}},
        {"dds/dxt5_4x4.dds", {"DXT5", 4, 4, 0, 1}},
        {"dds/r8g8b8_13x7.dds", {"R8G8B8", 13, 7, 24, 1}},
        {"dds/a4r4g4b4_3x5.dds", {"A4R4G4B4", 3, 5, 16, 1}},
        {"tga/im_grey8_tl.tga", {"TGA", 13, 7, 8, 0}},
        {"tga/im_true32_rle_bl.tga", {"TGA", 13, 7, 32, 0}},
    };
    for (const auto& [path, expected] : cases) {
        SCOPED_TRACE(path);
        const std::string extension = path.substr(path.size() - 3);
        const RFATreeNode::Ptr node = fixture(path, "x." + extension);
        const SharedImage picture = node->image(kCoreDecoders);
        ASSERT_TRUE(picture);
        EXPECT_EQ(std::tie(picture->width, picture->height), std::tie(expected.width, expected.height));
        const std::optional<PictureInfo> info = pictureInfo(extension, node->data());
        ASSERT_TRUE(info);
        EXPECT_EQ(std::tie(info->format, info->width, info->height, info->bitsPerPixel, info->mipLevels),
                  std::tie(expected.format, expected.width, expected.height, expected.bitsPerPixel,
                           expected.mipLevels));
    }
    EXPECT_FALSE(file("broken.dds", Bytes(200, 'D'))->image(kCoreDecoders));
    EXPECT_FALSE(fixture("dds/dxt1_4x4.dds", "renamed.tga")->image(kCoreDecoders))
        << "decoded by the name, not the content";
    const std::optional<PictureInfo> raw = pictureInfo("raw", makeSharedBytes(Bytes(524288)));
    ASSERT_TRUE(raw);
    EXPECT_EQ(std::tie(raw->width, raw->bitsPerPixel), std::tuple(512u, 16u));
    EXPECT_FALSE(pictureInfo("png", makeSharedBytes(Bytes(10))));
    EXPECT_FALSE(pictureInfo("dds", makeSharedBytes(Bytes(10))));
}

} // namespace
} // namespace larkspan
