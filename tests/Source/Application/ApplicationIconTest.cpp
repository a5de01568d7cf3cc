#include "Source/Application/ApplicationIcon.h"

#include <gtest/gtest.h>

#include "support/BackendTest.h"

namespace {

using namespace Quenta::Application;

// The icon is built in as PNG bytes at configure time: a broken embedding (a wrong
// byte pattern, a missing file) shows as an icon that does not decode.
TEST(ApplicationIcon, BuiltInPictureDecodesToAnIconWithTransparentCorners) {
    Testing::BackendScope headless("Headless");
    const auto icon = makeApplicationIcon();
    ASSERT_NE(icon, nullptr);
    const auto picture = Arbor::Platform::pixelsOfTrayIcon(icon->handle());
    ASSERT_TRUE(picture.has_value());
    ASSERT_EQ(picture->width, 64);
    ASSERT_EQ(picture->height, 64);
    EXPECT_EQ(picture->pixels.front() >> 24, 0u);
    EXPECT_EQ(picture->pixels[32 * 64 + 32] >> 24, 0xFFu);
}

}  // namespace
