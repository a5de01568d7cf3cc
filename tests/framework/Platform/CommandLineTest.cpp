// The POSIX host splits command lines by the system's quoting rules.
#include <gtest/gtest.h>

#include "framework/Platform/Posix/PosixCommandLine.h"

using Arbor::Platform::Posix::splitCommandLine;
using Args = std::vector<std::string>;

TEST(CommandLineSplit, BlanksSeparateAndQuotesGroup) {
    EXPECT_EQ(splitCommandLine("  a  b\tc "), (Args{"a", "b", "c"}));
    EXPECT_EQ(splitCommandLine(R"("C:\Program Files\x.exe" -v "two words")"),
              (Args{R"(C:\Program Files\x.exe)", "-v", "two words"}));
    EXPECT_EQ(splitCommandLine(R"(a"b c"d)"), (Args{"ab cd"}));
    EXPECT_EQ(splitCommandLine(""), Args{});
    EXPECT_EQ(splitCommandLine(R"("")"), (Args{""}));
}

TEST(CommandLineSplit, BackslashesBeforeQuotes) {
    EXPECT_EQ(splitCommandLine(R"(a\\b)"), (Args{R"(a\\b)"}));
    EXPECT_EQ(splitCommandLine(R"(a\"b)"), (Args{R"(a"b)"}));
    EXPECT_EQ(splitCommandLine(R"("a\\" b)"), (Args{R"(a\)", "b"}));
    EXPECT_EQ(splitCommandLine(R"("a\\\"b")"), (Args{R"(a\"b)"}));
    EXPECT_EQ(splitCommandLine(R"("say ""hi""")"), (Args{R"(say "hi")"}));
}
