// Icon pictures kept for backends without native icons: a handle reads back only while
// its image lives, and stray values read as nothing.
#include <gtest/gtest.h>

#include "framework/Platform/TrayIcon.h"

using namespace Arbor::Platform;

TEST(TrayIconImage, AHandleReadsBackItsPictureOnlyWhileTheImageLives) {
    TrayIconPixels picture;
    picture.width = 3;
    picture.height = 1;
    picture.pixels = {1, 2, 3};
    void* handle = nullptr;
    {
        auto image = makePixelTrayIcon(picture);
        ASSERT_TRUE(image);
        handle = image->handle();
        const auto back = pixelsOfTrayIcon(handle);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->pixels, picture.pixels);
        EXPECT_EQ(back->width, 3);
    }
    EXPECT_FALSE(pixelsOfTrayIcon(handle)) << "a deleted image";
    EXPECT_FALSE(pixelsOfTrayIcon(nullptr));
    int unrelated = 0;
    EXPECT_FALSE(pixelsOfTrayIcon(&unrelated)) << "a value that is no image of ours";

    picture.height = 2;  // words for one row only
    EXPECT_FALSE(makePixelTrayIcon(picture));
}
