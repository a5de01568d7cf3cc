#include "Source/Interpreter/ValueStoreFile.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/TestPaths.h"

namespace StoreFile = Quenta::Interpreter::ValueStoreFile;

// Expected bytes come from a separate Python model (zlib.crc32 of the UTF-16LE bytes of
// the password, then the generator model XORing trunc(word / 2^32 * 255)), run once.
TEST(ValueStoreFile, SeedIsTheCrcOfThePassword) {
    EXPECT_EQ(StoreFile::scrambleSeed(), 0x18bb5e10u);
}

TEST(ValueStoreFile, EncodeMatchesTheIndependentModel) {
    const std::vector<std::uint8_t> expected{0xd2, 0x8f, 0x68, 0x47, 0x7e, 0x78, 0xcb, 0x4b, 0xd1, 0x5c,
                                             0x17, 0x4c, 0xd4, 0x8e, 0x2a, 0x4f, 0x91, 0xcc, 0x38, 0xfd,
                                             0x77, 0xe4, 0x34, 0x4b, 0xdc, 0x49, 0xc6, 0x2d};
    EXPECT_EQ(StoreFile::encode(u"{\"k\":1.500000}"), expected);
    EXPECT_EQ(StoreFile::decode(expected), u"{\"k\":1.500000}");
}

TEST(ValueStoreFile, DecodeIgnoresAnOddTrailingByte) {
    auto bytes = StoreFile::encode(u"{}");
    bytes.push_back(0x41);
    EXPECT_EQ(StoreFile::decode(bytes), u"{}");
}

TEST(ValueStoreFile, QuoteEscapesBackslashAndQuoteOnly) {
    EXPECT_EQ(StoreFile::quote(u"a,\"b\"\\n"), u"\"a,\\\"b\\\"\\\\n\"");
}

TEST(ValueStoreFile, SplitsAtCommasOutsideLiterals) {
    EXPECT_EQ(StoreFile::splitEntries(u"{\"a\":1,\"b\":\"x,y\",\"c\":\"q\\\",\\\\\",\"d\":true}"),
              (std::vector<std::u16string>{u"\"a\":1", u"\"b\":\"x,y\"", u"\"c\":\"q\\\",\\\\\"", u"\"d\":true"}));
    EXPECT_EQ(StoreFile::splitEntries(u"junk{\"a\":1}tail}"), (std::vector<std::u16string>{u"\"a\":1}tail"}));
    EXPECT_EQ(StoreFile::splitEntries(u"{}"), (std::vector<std::u16string>{u""}));
    EXPECT_TRUE(StoreFile::splitEntries(u"no braces").empty());
    EXPECT_TRUE(StoreFile::splitEntries(u"}{").empty());
}

TEST(ValueStoreFile, AtomicWriteReplacesTheWholeFile) {
    Testing::TempDir dir;
    const auto file = dir.path() / "x.param";
    ASSERT_TRUE(StoreFile::writeBytesAtomically(file, {1, 2, 3, 4, 5}));
    ASSERT_TRUE(StoreFile::writeBytesAtomically(file, {9}));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(StoreFile::readBytes(file, bytes));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{9}));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "x.param.tmp"));
}

TEST(ValueStoreFile, FailedWriteKeepsTheOldFile) {
    Testing::TempDir dir;
    const auto file = dir.path() / "x.param";
    ASSERT_TRUE(StoreFile::writeBytesAtomically(file, {7, 7}));
    // A folder in the way of the temporary file makes the write fail.
    std::filesystem::create_directory(dir.path() / "x.param.tmp");
    EXPECT_FALSE(StoreFile::writeBytesAtomically(file, {1}));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(StoreFile::readBytes(file, bytes));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{7, 7}));
    EXPECT_FALSE(StoreFile::writeBytesAtomically(dir.path() / "missing" / "y.param", {1}));
    EXPECT_FALSE(StoreFile::readBytes(dir.path() / "missing.param", bytes));
}
