#include <gtest/gtest.h>

#include "framework/Secure/WholeFile.h"
#include "support/TestPaths.h"
#include "ToolRunner.h"

using ToolTesting::runTool;

namespace {

void writeText(const std::filesystem::path& p, std::string_view text) {
    ASSERT_TRUE(Arbor::Secure::writeWholeFile(p, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())));
}

TEST(JsonTool, PrintsCompactOrIndented) {
    Testing::TempDir dir;
    const auto file = dir.path() / "t.ctpl";
    writeText(file, "\xEF\xBB\xBF{ \"name\" : \"タヴィゾー\", \"n\" : [1, 2.5, 1e400, true] }");
    auto compact = runTool({"json", file.string()}, dir.path());
    EXPECT_EQ(compact.exitCode, 0);
    EXPECT_EQ(compact.out, "{\"name\":\"タヴィゾー\",\"n\":[1,2.500000,null,true]}\n");
    auto indented = runTool({"json", file.string(), "--indent"}, dir.path());
    EXPECT_EQ(indented.exitCode, 0);
    EXPECT_EQ(indented.out,
              "{\n    \"name\": \"タヴィゾー\",\n    \"n\": [\n        1,\n        2.500000,\n        null,\n        true\n    ]\n}\n");
}

TEST(JsonTool, InvalidDocuments) {
    Testing::TempDir dir;
    const auto file = dir.path() / "bad.json";
    for (std::string_view text : {"[1,]", "", "\"root\"", "{\"a\" 1}"}) {
        writeText(file, text);
        auto result = runTool({"json", file.string()}, dir.path());
        EXPECT_EQ(result.exitCode, 1) << text;
        EXPECT_EQ(result.out, "invalid\n") << text;
    }
    EXPECT_EQ(runTool({"json", (dir.path() / "missing.json").string()}, dir.path()).exitCode, 1);
    EXPECT_EQ(runTool({"json"}, dir.path()).exitCode, 2);
}

}  // namespace
