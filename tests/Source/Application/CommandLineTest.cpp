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

TEST(CommandLine, HeadlessRunOptions) {
    const CommandLine c = CommandLine::parse({u"--headless", u"--screen", u"640x480", u"--clock", u"2024-02-29T23:59:59",
                                              u"--seed", u"4294967295", u"--events", u"e.txt", u"--screenshot",
                                              u"s.png", u"--record", u"rec", u"--trace", u"t.tsv", u"--realtime"});
    EXPECT_EQ(c.error, "");
    EXPECT_EQ(c.screenWidth, 640);
    EXPECT_EQ(c.screenHeight, 480);
    EXPECT_EQ(c.clock, (Quenta::Application::ClockSetting{2024, 2, 29, 23, 59, 59}));
    EXPECT_EQ(c.seed, 4294967295u);
    EXPECT_EQ(c.eventsFile, u"e.txt");
    EXPECT_EQ(c.screenshotFile, u"s.png");
    EXPECT_EQ(c.recordDirectory, u"rec");
    EXPECT_EQ(c.traceFile, u"t.tsv");
    EXPECT_TRUE(c.realtime);
    const CommandLine d = CommandLine::parse({u"--headless"});
    EXPECT_EQ(d.screenWidth, 1920);
    EXPECT_EQ(d.screenHeight, 1080);
    EXPECT_EQ(d.clock, (Quenta::Application::ClockSetting{2026, 1, 1, 12, 0, 0}));
    EXPECT_FALSE(d.seed.has_value());
    EXPECT_FALSE(d.realtime);
}

TEST(CommandLine, UnknownOptionsAndBadValuesAreRefusedByName) {
    auto error = [](std::vector<std::u16string> args) { return CommandLine::parse(args).error; };
    EXPECT_EQ(error({u"--headles"}), "unknown option \"--headles\" (tavizo --help lists the options)");
    EXPECT_EQ(error({u"--"}), "unknown option \"--\" (tavizo --help lists the options)");
    EXPECT_EQ(error({u"--frames", u"9x"}), "--frames needs a count, not \"9x\"");
    EXPECT_EQ(error({u"--frames"}), "--frames needs a value");
    EXPECT_EQ(error({u"--headless", u"--screen", u"0x10"}), "--screen needs WIDTHxHEIGHT (1 to 16384 each), not \"0x10\"");
    EXPECT_EQ(error({u"--headless", u"--screen", u"100X10"}), "--screen needs WIDTHxHEIGHT (1 to 16384 each), not \"100X10\"");
    EXPECT_EQ(error({u"--headless", u"--clock", u"2025-02-29T00:00:00"}),
              "--clock needs a date and time as YYYY-MM-DDTHH:MM:SS, not \"2025-02-29T00:00:00\"");
    EXPECT_EQ(error({u"--headless", u"--clock", u"2025-01-01 00:00:00"}),
              "--clock needs a date and time as YYYY-MM-DDTHH:MM:SS, not \"2025-01-01 00:00:00\"");
    EXPECT_EQ(error({u"--seed", u"4294967296"}), "--seed needs a number from 0 to 4294967295, not \"4294967296\"");
    EXPECT_EQ(error({u"--headless", u"--trace", u""}), "--trace needs a file or folder name");
    EXPECT_EQ(error({u"--record", u"dir"}), "--record needs --headless");
    EXPECT_EQ(error({u"--realtime"}), "--realtime needs --headless");
    EXPECT_EQ(error({u"--seed", u"7", u"--frames", u"3"}), "") << "both serve runs with a display too";
    // The program's own switch, and plain arguments, are not options.
    EXPECT_EQ(error({u"-waitterminate", u"5", u"-x", u"/y", u"z"}), "");
    EXPECT_TRUE(CommandLine::parse({u"--help"}).help);
    EXPECT_TRUE(CommandLine::parse({u"--version"}).version);
}

TEST(ApplicationIdentity, NamesFormedFromTheDisplayName) {
    EXPECT_EQ(ApplicationIdentity::displayName.size(), 5u);
    EXPECT_EQ(ApplicationIdentity::mainWindowTitle(), u"タヴィゾー_Main_Window");
    EXPECT_EQ(ApplicationIdentity::objectWindowTitle(), u"タヴィゾー_Object_Window");
    EXPECT_EQ(ApplicationIdentity::mutexName(), u"タヴィゾー_Mutex");
}
