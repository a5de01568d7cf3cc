#include <gtest/gtest.h>

#include "Source/Application/ApplicationIdentity.h"
#include "Source/Application/CommandLine.h"

using Quenta::Application::ApplicationIdentity;
using Quenta::Application::CommandLine;

TEST(CommandLine, WaitSwitchIsRecognisedWithEitherPrefixAndAnyCase) {
    EXPECT_EQ(CommandLine::parse({u"/WAITTERMINATE", u"1234"}).waitTerminateProcessId, 1234u);
    EXPECT_EQ(CommandLine::parse({u"-waitterminate", u"1234"}).waitTerminateProcessId, 1234u);
    EXPECT_EQ(CommandLine::parse({u"x", u"/WaitTerminate", u"77", u"y"}).waitTerminateProcessId, 77u);
}

TEST(CommandLine, WaitSwitchAtTheEndWithoutIdIsIgnored) {
    EXPECT_EQ(CommandLine::parse({u"/waitterminate"}).waitTerminateProcessId, 0u);
    EXPECT_EQ(CommandLine::parse({u"--headless", u"-waitterminate"}).waitTerminateProcessId, 0u);
    EXPECT_TRUE(CommandLine::parse({u"--headless", u"-waitterminate"}).headless);
}

TEST(CommandLine, IdStopsAtTheFirstNonDigitAndZeroIsIgnored) {
    EXPECT_EQ(CommandLine::parse({u"/waitterminate", u"42abc"}).waitTerminateProcessId, 42u);
    EXPECT_EQ(CommandLine::parse({u"/waitterminate", u"abc"}).waitTerminateProcessId, 0u);
    EXPECT_EQ(CommandLine::parse({u"/waitterminate", u"0"}).waitTerminateProcessId, 0u);
    // An id too large for a process id must not wrap around into a small one.
    EXPECT_EQ(CommandLine::parse({u"/waitterminate", u"99999999999999999999"}).waitTerminateProcessId,
              0xFFFFFFFFu);
}

TEST(CommandLine, TheIdIsConsumedWithTheSwitch) {
    // "--frames" after the switch is the switch's id argument, not an option.
    const CommandLine c = CommandLine::parse({u"/waitterminate", u"--frames", u"5"});
    EXPECT_EQ(c.waitTerminateProcessId, 0u);
    EXPECT_FALSE(c.frameLimit.has_value());
}

TEST(CommandLine, OtherSpellingsAreNotTheSwitch) {
    EXPECT_EQ(CommandLine::parse({u"waitterminate", u"5"}).waitTerminateProcessId, 0u);
    EXPECT_EQ(CommandLine::parse({u"/waitterminatex", u"5"}).waitTerminateProcessId, 0u);
    EXPECT_EQ(CommandLine::parse({u"//waitterminate", u"5"}).waitTerminateProcessId, 0u);
}

TEST(CommandLine, HostOptions) {
    const CommandLine c = CommandLine::parse({u"--headless", u"--frames", u"90", u"--message-log", u"m.txt"});
    EXPECT_TRUE(c.headless);
    ASSERT_TRUE(c.frameLimit.has_value());
    EXPECT_EQ(*c.frameLimit, 90u);
    EXPECT_EQ(c.messageLog, u"m.txt");
    EXPECT_FALSE(CommandLine::parse({u"--frames", u"9x"}).frameLimit.has_value());
    EXPECT_FALSE(CommandLine::parse({u"--frames"}).frameLimit.has_value());
    EXPECT_FALSE(CommandLine::parse({}).headless);
}

TEST(ApplicationIdentity, NamesFormedFromTheDisplayName) {
    EXPECT_EQ(ApplicationIdentity::displayName.size(), 5u);
    EXPECT_EQ(ApplicationIdentity::mainWindowTitle(), u"タヴィゾー_Main_Window");
    EXPECT_EQ(ApplicationIdentity::objectWindowTitle(), u"タヴィゾー_Object_Window");
    EXPECT_EQ(ApplicationIdentity::mutexName(), u"タヴィゾー_Mutex");
}
