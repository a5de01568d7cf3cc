#include <gtest/gtest.h>

#include "framework/Platform/NativePath.h"
#include "framework/Text/Utf.h"

using namespace Arbor::Text;

TEST(Utf, RoundTripsJapaneseAndAstral) {
    const std::u16string name = u"タヴィゾー";
    EXPECT_EQ(name.size(), 5u);
    EXPECT_EQ(fromUtf8(toUtf8(name)), name);
    const std::u16string astral = u"a\U0001F600b";
    EXPECT_EQ(astral.size(), 4u);
    EXPECT_EQ(toUtf8(astral), "a\xF0\x9F\x98\x80" "b");
    EXPECT_EQ(fromUtf8("a\xF0\x9F\x98\x80" "b"), astral);
}

TEST(Utf, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(fromUtf8("\xC0\xAF"), u"\uFFFD");          // overlong '/'
    EXPECT_EQ(fromUtf8("\xED\xA0\x80"), u"\uFFFD");      // encoded surrogate
    EXPECT_EQ(fromUtf8("a\xE3\x81"), u"a\uFFFD");        // truncated at the end
    EXPECT_EQ(fromUtf8("\xFFx"), u"\uFFFDx");
    EXPECT_EQ(toUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    // A high surrogate before a unit above the low-surrogate range pairs with nothing.
    EXPECT_EQ(toUtf8(std::u16string{u'a', char16_t(0xD800), u'\uFF01'}), "a\xEF\xBF\xBD\xEF\xBC\x81");
}

TEST(Utf, ByteOrderMarkIsSkippedOnlyAtTheStart) {
    EXPECT_EQ(skipUtf8Bom("\xEF\xBB\xBFx"), "x");
    EXPECT_EQ(skipUtf8Bom("x\xEF\xBB\xBF"), "x\xEF\xBB\xBF");
}

TEST(NativePath, BackslashesMapBothWays) {
    const auto native = Arbor::Platform::toNativePath(u"Data\\abc\\x.png");
#ifdef _WIN32
    EXPECT_EQ(native.u16string(), u"Data\\abc\\x.png");
#else
    EXPECT_EQ(native.u16string(), u"Data/abc/x.png");
#endif
    EXPECT_EQ(Arbor::Platform::fromNativePath(native), u"Data\\abc\\x.png");
}
