// A Parser belongs to one thread at a time: the one that built it until another
// adopts it.
#include <gtest/gtest.h>

#include <thread>

#include "ScriptTestSupport.h"

using namespace ScriptTest;

TEST(ParserThread, TheBuilderOwnsItUntilAnotherThreadAdoptsIt) {
    Parser parser;
    EXPECT_TRUE(parser.isOwnedByCurrentThread());
    bool ownedThere = true;
    std::thread([&] { ownedThere = parser.isOwnedByCurrentThread(); }).join();
    EXPECT_FALSE(ownedThere);

    // Handed over: the adopting thread runs scripts, the builder no longer owns it.
    double result = 0;
    std::thread([&] {
        parser.adoptCurrentThread();
        Evaluation evaluation(parser);
        result = evaluation(u"6 * 7")->toNum();
    }).join();
    EXPECT_EQ(result, 42.0);
    EXPECT_FALSE(parser.isOwnedByCurrentThread());
    parser.adoptCurrentThread();
    EXPECT_TRUE(parser.isOwnedByCurrentThread());
}

#if !defined(NDEBUG) && GTEST_HAS_DEATH_TEST
TEST(ParserThreadDeathTest, DebugBuildsStopAThreadThatDoesNotOwnTheParser) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Parser parser;
    const TokenBlock block = blockOf({u"x = 1"});
    EXPECT_DEATH(std::thread([&] { runBlock(parser, block); }).join(), "does not own");
    Evaluation evaluation(parser);
    EXPECT_DEATH(std::thread([&] { evaluation(u"1 + 1"); }).join(), "does not own");
}
#endif
