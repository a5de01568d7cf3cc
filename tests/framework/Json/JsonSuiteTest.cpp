#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "framework/Json/Json.h"
#include "framework/Secure/WholeFile.h"
#include "framework/Text/Utf.h"
#include "support/TestPaths.h"

namespace fs = std::filesystem;

namespace {

// JSON documents written by others: the test files of Debian's json-schema-test-suite.
// Each must parse; its compact text must equal what Python's JSON reader makes of the
// same file under the reader's and writer's rules (tests/data/json/canonical.py);
// writing, reading and writing again must give the same text in both layouts.
TEST(JsonSuite, OutsideDocumentsReadAndWriteLikePython) {
    const fs::path suite = "/usr/share/json-schema-test-suite";
    if (!fs::is_directory(suite)) {
        GTEST_SKIP() << "Debian package json-schema-test-suite is not installed";
    }
    if (std::system("python3 -c 'import json' > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "python3 is not available";
    }
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(suite)) {
        if (e.is_regular_file() && e.path().extension() == ".json") files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    ASSERT_GT(files.size(), 50u);

    Testing::TempDir temp;
    const fs::path expectedFile = temp.path() / "expected.txt";
    std::string command = "python3 '" + (Testing::dataDir() / "json" / "canonical.py").string() + "'";
    for (const auto& f : files) command += " '" + f.string() + "'";
    command += " > '" + expectedFile.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream expectedIn(expectedFile, std::ios::binary);
    std::vector<std::string> expected;
    for (std::string line; std::getline(expectedIn, line);) expected.push_back(line);
    ASSERT_EQ(expected.size(), files.size());

    std::size_t members = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        SCOPED_TRACE(files[i].string());
        auto bytes = Arbor::Secure::readWholeFile(files[i]);
        ASSERT_TRUE(bytes);
        const std::string_view raw(reinterpret_cast<const char*>(bytes->data()), bytes->size());
        auto root = Arbor::Json::parse(Arbor::Text::fromUtf8(Arbor::Text::skipUtf8Bom(raw)));
        ASSERT_TRUE(root.has_value());
        const std::u16string compact = Arbor::Json::write(*root, true);
        EXPECT_EQ(Arbor::Text::toUtf8(compact), expected[i]);
        // Reading sums digits into a double, so numbers of more than 15 significant
        // digits need not come back bit for bit; the fixed-point check skips them.
        std::size_t run = 0, longest = 0;
        for (char16_t c : compact) {
            run = (c >= u'0' && c <= u'9') ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        if (longest > 15) continue;
        auto again = Arbor::Json::parse(compact);
        ASSERT_TRUE(again.has_value());
        EXPECT_EQ(Arbor::Json::write(*again, true), compact);
        auto fromIndented = Arbor::Json::parse(Arbor::Json::write(*root, false));
        ASSERT_TRUE(fromIndented.has_value());
        EXPECT_EQ(Arbor::Json::write(*fromIndented, true), compact);
        members += compact.size();
    }
    EXPECT_GT(members, 100000u);
}

}  // namespace
