// The icon groups as the host loads them through Vemora.dll's module handle.
#include <gtest/gtest.h>

#include "icon_resources.h"
#include "plugin_library.h"

namespace vemora::standin {
namespace {

class IconResources : public ::testing::Test {
protected:
    std::unique_ptr<PluginLibrary> library = openPluginLibrary(VEMORA_SO_PATH);
    void* module() const { return library->moduleHandle(); }
};

TEST_F(IconResources, EachImageOfAGroupIsLoadedWithItsOwnSizeAndDepth) {
    const std::optional<IconGroup> cake = loadIconGroup(module(), 100);
    ASSERT_TRUE(cake);
    EXPECT_EQ(cake->failure, "");
    ASSERT_EQ(cake->images.size(), 3u);
    std::vector<int> depths;
    for (const IconImage& image : cake->images) {
        EXPECT_EQ(image.failure, "") << describeIconImage(image);
        EXPECT_EQ(image.width, 16);
        EXPECT_EQ(image.height, 16);
        EXPECT_FALSE(image.png);
        depths.push_back(image.bitsPerPixel);
    }
    EXPECT_EQ(depths, (std::vector<int>{4, 8, 24}));
}

TEST_F(IconResources, AGroupTheModuleLacksIsAFailureNotACrash) {
    const std::optional<IconGroup> missing = loadIconGroup(module(), 101);
    ASSERT_TRUE(missing);
    EXPECT_NE(missing->failure.find("not in the module"), std::string::npos) << missing->failure;
    EXPECT_TRUE(missing->images.empty());

    // A number above 0xFFFF would be taken for the address of a resource's name.
    const std::optional<IconGroup> pointer = loadIconGroup(module(), 0x10000);
    ASSERT_TRUE(pointer);
    EXPECT_NE(pointer->failure.find("not a resource number"), std::string::npos) << pointer->failure;
}

TEST(IconDescription, SaysSizeDepthAndWhatWentWrong) {
    IconImage image;
    image.width = 32;
    image.height = 32;
    image.bitsPerPixel = 32;
    image.png = true;
    image.failure = "the system cannot make an icon of it";
    EXPECT_EQ(describeIconImage(image), "32x32, 32 bits per pixel, PNG: the system cannot make an icon of it");
}

}  // namespace
}  // namespace vemora::standin
