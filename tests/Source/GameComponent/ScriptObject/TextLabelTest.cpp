// Debug labels: a hit area's name in the outline colour, rendered once to its own size.
#include <gtest/gtest.h>

#include "Source/GameComponent/ScriptObject/TextLabel.h"
#include "TextTestSupport.h"

using namespace Quenta::GameComponent;

namespace {

using Label = TextTest::HeadlessText;

TEST_F(Label, NameInTheOutlineColour) {
    TextLabel label(u"Head", 8, 0xFFAA0000u);
    ASSERT_NE(label.image(), nullptr);
    EXPECT_GT(label.width(), 10);
    EXPECT_GE(label.height(), 8);
    EXPECT_LT(label.height(), 20);  // 8 points, not the default 14
    int solid = 0;
    for (int y = 0; y < label.height(); ++y) {
        for (int x = 0; x < label.width(); ++x) {
            const auto p = label.image()->pixelAt({x, y});
            EXPECT_EQ(p & 0xFFFF, 0u);  // only red and alpha: the colour at some coverage
            solid += p == 0xFFAA0000u;
        }
    }
    EXPECT_GT(solid, 0);
    EXPECT_EQ(TextLabel(u"", 8, 0xFFAA0000u).image(), nullptr);
}

}  // namespace
