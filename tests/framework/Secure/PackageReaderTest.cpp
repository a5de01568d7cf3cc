#include <gtest/gtest.h>

#include "framework/Secure/PackageReader.h"
#include "framework/Secure/PackageWriter.h"
#include "framework/Secure/RawDeflate.h"
#include "framework/Secure/ResourceCache.h"
#include "framework/Secure/WholeFile.h"
#include "framework/Secure/ZipCrypto.h"
#include "PackageTestSupport.h"
#include "framework/Platform/NativePath.h"
#include "support/TestPaths.h"

using namespace Arbor::Secure;
using namespace PackageTesting;

namespace {

const std::u16string kPassword(kPackagePassword);

std::vector<std::uint8_t> onePackage(std::u16string name, const std::vector<std::uint8_t>& content, bool compress,
                                     bool encipher, const std::u16string& password = kPassword) {
    PackageWriter writer(password);
    EXPECT_TRUE(writer.add(std::move(name), content, compress, encipher));
    return *writer.build();
}

TEST(PackageReader, RoundTripsEveryCombination) {
    const auto text = textBytes(100000, 1);
    const auto noise = randomBytes(40000, 2);
    PackageWriter writer(kPassword);
    ASSERT_TRUE(writer.add(u"a.func", text, true, true));
    ASSERT_TRUE(writer.add(u"img\\b.png", noise, true, false));
    ASSERT_TRUE(writer.add(u"c.wav", noise, false, true));
    ASSERT_TRUE(writer.add(u"d.txt", text, false, false));
    auto reader = PackageReader::openMemory(*writer.build(), kPassword);
    ASSERT_TRUE(reader);
    ASSERT_EQ(reader->entries().size(), 4u);
    EXPECT_EQ(reader->readEntry(u"a.func"), text);
    EXPECT_EQ(reader->readEntry(u"img\\b.png"), noise);
    EXPECT_EQ(reader->readEntry(u"c.wav"), noise);
    EXPECT_EQ(reader->readEntry(u"d.txt"), text);
    EXPECT_EQ(reader->entries()[0].compression, kDeflated);
    EXPECT_EQ(reader->entries()[0].encipherment, kEnciphered);
    EXPECT_LT(reader->entries()[0].storedSize, text.size() / 3);  // it did compress
}

TEST(PackageReader, WriterRefusesDuplicateAndEmptyNames) {
    PackageWriter writer(kPassword);
    EXPECT_TRUE(writer.add(u"a", bytesOf("x"), true, true));
    EXPECT_FALSE(writer.add(u"a", bytesOf("y"), true, true));
    EXPECT_FALSE(writer.add(u"", bytesOf("y"), true, true));
    EXPECT_EQ(writer.count(), 1u);
}

TEST(PackageReader, NamesCompareExactly) {
    auto reader = PackageReader::openMemory(onePackage(u"Sub\\Face.png", bytesOf("face"), true, true), kPassword);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->readEntry(u"Sub\\Face.png"), bytesOf("face"));
    EXPECT_TRUE(reader->readEntry(u"sub\\face.png").empty());
    EXPECT_TRUE(reader->readEntry(u"Sub\\Face.PNG").empty());
    EXPECT_TRUE(reader->readEntry(u"Sub/Face.png").empty());
    EXPECT_TRUE(reader->readEntry(u"Face.png").empty());
    // Names are UTF-16 throughout, not just their low bytes.
    auto wide = PackageReader::openMemory(onePackage(u"絵\\顔.png", bytesOf("face"), false, false), kPassword);
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->entries()[0].name, u"絵\\顔.png");
    EXPECT_EQ(wide->readEntry(u"絵\\顔.png"), bytesOf("face"));
}

TEST(PackageReader, WrongPasswordMakesEveryEncipheredEntryNotFound) {
    PackageWriter writer(kPassword);
    ASSERT_TRUE(writer.add(u"one", textBytes(5000, 3), true, true));
    ASSERT_TRUE(writer.add(u"two", randomBytes(300, 4), false, true));
    ASSERT_TRUE(writer.add(u"open", bytesOf("plain entry"), false, false));
    auto reader = PackageReader::openMemory(*writer.build(), u"wrong");
    ASSERT_TRUE(reader);
    EXPECT_TRUE(reader->readEntry(u"one").empty());
    EXPECT_TRUE(reader->readEntry(u"two").empty());
    EXPECT_EQ(reader->readEntry(u"open"), bytesOf("plain entry"));  // not enciphered, still readable
}

TEST(PackageReader, OnlyTheFirstHalfOfThePasswordEncodingCounts) {
    // n code units give 2n bytes of UTF-16LE, of which only the first n key the cipher:
    // two passwords that agree in those bytes open each other's packages.
    const auto pkg = onePackage(u"x", bytesOf("secret text"), false, true, u"ABCD");
    auto reader = PackageReader::openMemory(pkg, u"ABXY");
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->readEntry(u"x"), bytesOf("secret text"));
    auto other = PackageReader::openMemory(pkg, u"AXCD");
    ASSERT_TRUE(other);
    EXPECT_TRUE(other->readEntry(u"x").empty());
}

TEST(PackageReader, CorruptedByteMakesEntryNotFound) {
    const auto content = textBytes(20000, 5);
    for (bool compress : {false, true}) {
        for (bool encipher : {false, true}) {
            auto pkg = onePackage(u"f", content, compress, encipher);
            const std::size_t storedSize = le32(pkg, directoryOffset(pkg) + 24);
            for (std::size_t at : {std::size_t{0}, std::size_t{11}, std::size_t{12}, storedSize / 2, storedSize - 1}) {
                auto bad = pkg;
                bad[at] ^= 0x40;
                auto reader = PackageReader::openMemory(bad, kPassword);
                ASSERT_TRUE(reader);
                // For enciphered entries a header byte counts too: it feeds the keys.
                EXPECT_TRUE(reader->readEntry(u"f").empty()) << compress << encipher << at;
            }
        }
    }
}

TEST(PackageReader, CrcFieldIsChecked) {
    auto pkg = onePackage(u"f", bytesOf("hello"), false, false);
    put32(pkg, directoryOffset(pkg) + 20, crc32Of(bytesOf("hello")) ^ 1u);
    auto reader = PackageReader::openMemory(pkg, kPassword);
    ASSERT_TRUE(reader);
    EXPECT_TRUE(reader->readEntry(u"f").empty());
    EXPECT_EQ(reader->decodeEntry(reader->entries()[0]).status, EntryContent::Status::CrcMismatch);
}

TEST(PackageReader, StoredPlainEntryReadsAsItsBytes) {
    auto pkg = onePackage(u"f", bytesOf("as it stands"), false, false);
    EXPECT_EQ(std::vector<std::uint8_t>(pkg.begin(), pkg.begin() + 12), bytesOf("as it stands"));
    auto reader = PackageReader::openMemory(pkg, kPassword);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->readEntry(u"f"), bytesOf("as it stands"));
}

TEST(PackageReader, EncipheredHeaderEndsWithTheCrcTopByte) {
    // Readers only run the header through the keys, but its last byte is the CRC's top
    // byte, as ZIP tools expect it.
    const auto plain = bytesOf("check byte");
    const auto pkg = onePackage(u"f", plain, false, true);
    ASSERT_EQ(le32(pkg, directoryOffset(pkg) + 24), ZipCrypto::kHeaderSize + plain.size());
    EXPECT_EQ(pkg[ZipCrypto::kHeaderSize - 1], crc32Of(plain) >> 24);
    ZipCrypto keys = ZipCrypto::fromPassword(kPassword);
    for (std::size_t i = 0; i < ZipCrypto::kHeaderSize; ++i) keys.update(pkg[i]);
    std::vector<std::uint8_t> body(pkg.begin() + ZipCrypto::kHeaderSize, pkg.begin() + ZipCrypto::kHeaderSize + plain.size());
    keys.decipher(body);
    EXPECT_EQ(body, plain);
}

TEST(PackageReader, EncipheredEntryOfStoredSizeTwelveIsEmpty) {
    auto pkg = onePackage(u"empty", {}, false, true);
    ASSERT_EQ(le32(pkg, directoryOffset(pkg) + 24), 12u);
    auto reader = PackageReader::openMemory(pkg, kPassword);
    ASSERT_TRUE(reader);
    const auto content = reader->decodeEntry(reader->entries()[0]);
    EXPECT_EQ(content.status, EntryContent::Status::Ok);  // CRC of nothing matches
    EXPECT_TRUE(content.bytes.empty());
    EXPECT_TRUE(reader->readEntry(u"empty").empty());
}

TEST(PackageReader, EncipheredEntryShorterThanItsHeaderIsEmpty) {
    auto pkg = onePackage(u"e", bytesOf("abc"), false, false);
    put16(pkg, directoryOffset(pkg) + 10, kEnciphered);  // 3 stored bytes, all header
    auto reader = PackageReader::openMemory(pkg, kPassword);
    ASSERT_TRUE(reader);
    EXPECT_TRUE(reader->readEntry(u"e").empty());
}

TEST(PackageReader, UnknownCompressionIsUnreadable) {
    auto pkg = onePackage(u"f", bytesOf("data"), false, false);
    put16(pkg, directoryOffset(pkg) + 8, 12);
    auto reader = PackageReader::openMemory(pkg, kPassword);
    ASSERT_TRUE(reader);
    EXPECT_TRUE(reader->readEntry(u"f").empty());
    EXPECT_EQ(reader->decodeEntry(reader->entries()[0]).status, EntryContent::Status::BadCompression);
}

TEST(PackageReader, OtherEnciphermentValuesLeaveBytesAsStored) {
    auto pkg = onePackage(u"f", bytesOf("data"), false, false);
    put16(pkg, directoryOffset(pkg) + 10, 1);
    auto reader = PackageReader::openMemory(pkg, kPassword);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->readEntry(u"f"), bytesOf("data"));
}

TEST(PackageReader, TruncatedDeflateStreamIsNotFound) {
    const auto content = textBytes(50000, 6);
    auto pkg = onePackage(u"f", content, true, false);
    const std::size_t dir = directoryOffset(pkg);
    put32(pkg, dir + 24, le32(pkg, dir + 24) / 2);
    auto reader = PackageReader::openMemory(pkg, kPassword);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->decodeEntry(reader->entries()[0]).status, EntryContent::Status::InflateFailed);
}

TEST(PackageReader, WrongTrailerMagicRefusesThePackage) {
    auto pkg = onePackage(u"f", bytesOf("data"), false, false);
    pkg[pkg.size() - 20] = 'X';
    EXPECT_FALSE(PackageReader::openMemory(pkg, kPassword));
}

TEST(PackageReader, WrongEntryMagicRefusesTheDirectory) {
    PackageWriter writer(kPassword);
    ASSERT_TRUE(writer.add(u"a", bytesOf("1"), false, false));
    ASSERT_TRUE(writer.add(u"b", bytesOf("2"), false, false));
    auto pkg = *writer.build();
    const std::size_t second = directoryOffset(pkg) + kEntryHeaderSize + 2;
    ASSERT_EQ(pkg[second + 3], 'H');
    pkg[second + 3] = 'h';
    EXPECT_FALSE(PackageReader::openMemory(pkg, kPassword));
}

TEST(PackageReader, TooShortFilesAreRefused) {
    EXPECT_FALSE(PackageReader::openMemory({}, kPassword));
    EXPECT_FALSE(PackageReader::openMemory(bytesOf("QNDF"), kPassword));
    auto pkg = onePackage(u"f", bytesOf("data"), false, false);
    EXPECT_FALSE(PackageReader::openMemory(std::vector<std::uint8_t>(pkg.end() - 19, pkg.end()), kPassword));
}

TEST(PackageReader, EmptyDirectoryOpens) {
    PackageWriter writer(kPassword);
    auto pkg = *writer.build();
    EXPECT_EQ(pkg.size(), kTrailerSize);
    auto reader = PackageReader::openMemory(pkg, kPassword);
    ASSERT_TRUE(reader);
    EXPECT_TRUE(reader->entries().empty());
    EXPECT_TRUE(reader->readEntry(u"anything").empty());
}

TEST(PackageReader, DirectoryOffsetBeyondTheFileIsRefused) {
    auto pkg = onePackage(u"f", bytesOf("data"), false, false);
    put32(pkg, pkg.size() - 4, static_cast<std::uint32_t>(pkg.size() + 1));
    EXPECT_FALSE(PackageReader::openMemory(pkg, kPassword));
    put32(pkg, pkg.size() - 4, 0xFFFFFFFFu);
    EXPECT_FALSE(PackageReader::openMemory(pkg, kPassword));
}

TEST(PackageReader, EntryCountThatCannotFitIsRefusedWithoutAllocating) {
    auto pkg = onePackage(u"f", bytesOf("data"), false, false);
    put32(pkg, pkg.size() - 12, 0xFFFFFFFFu);
    EXPECT_FALSE(PackageReader::openMemory(pkg, kPassword));
    put32(pkg, pkg.size() - 12, 2);  // one entry more than is there
    EXPECT_FALSE(PackageReader::openMemory(pkg, kPassword));
}

TEST(PackageReader, NameLengthThatCannotFitIsRefused) {
    auto pkg = onePackage(u"f", bytesOf("data"), false, false);
    const std::size_t dir = directoryOffset(pkg);
    put32(pkg, dir + 32, 0x7FFFFFFFu);
    EXPECT_FALSE(PackageReader::openMemory(pkg, kPassword));
    put32(pkg, dir + 32, 0xFFFFFFFFu);
    EXPECT_FALSE(PackageReader::openMemory(pkg, kPassword));
}

TEST(PackageReader, EntryOutsideTheFileIsNotFound) {
    auto pkg = onePackage(u"f", bytesOf("data"), false, false);
    const std::size_t dir = directoryOffset(pkg);
    auto farOffset = pkg;
    put32(farOffset, dir + 36, 0xFFFFFFF0u);
    auto reader = PackageReader::openMemory(farOffset, kPassword);
    ASSERT_TRUE(reader);
    EXPECT_TRUE(reader->readEntry(u"f").empty());
    EXPECT_EQ(reader->decodeEntry(reader->entries()[0]).status, EntryContent::Status::OutsideFile);

    auto hugeSize = pkg;
    put32(hugeSize, dir + 24, 0xFFFFFFFFu);
    reader = PackageReader::openMemory(hugeSize, kPassword);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->decodeEntry(reader->entries()[0]).status, EntryContent::Status::OutsideFile);

    auto pastEnd = pkg;
    put32(pastEnd, dir + 24, static_cast<std::uint32_t>(pkg.size()) + 1);
    put32(pastEnd, dir + 36, 0);
    reader = PackageReader::openMemory(pastEnd, kPassword);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->decodeEntry(reader->entries()[0]).status, EntryContent::Status::OutsideFile);
}

TEST(PackageReader, FirstOfTwoEqualNamesWins) {
    auto a = onePackage(u"n", bytesOf("first"), false, false);
    // Append a second directory entry with the same name pointing at other bytes.
    PackageWriter writer(kPassword);
    ASSERT_TRUE(writer.add(u"n", bytesOf("first"), false, false));
    ASSERT_TRUE(writer.add(u"m", bytesOf("second"), false, false));
    auto pkg = *writer.build();
    const std::size_t second = directoryOffset(pkg) + kEntryHeaderSize + 2;
    put16(pkg, second + kEntryHeaderSize, u'n');
    auto reader = PackageReader::openMemory(pkg, kPassword);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->entries()[1].name, u"n");
    EXPECT_EQ(reader->readEntry(u"n"), bytesOf("first"));
}

TEST(PackageReader, OpensFilesAndFailsOnMissingOnes) {
    Testing::TempDir dir;
    const auto path = dir.path() / "p.qnd";
    writeFile(path, onePackage(u"x", bytesOf("file data"), true, true));
    auto reader = openPackage(Arbor::Platform::fromNativePath(path), kPassword);
    ASSERT_TRUE(reader);
    EXPECT_EQ(readEntry(*reader, u"x"), bytesOf("file data"));
    EXPECT_FALSE(openPackage(Arbor::Platform::fromNativePath(dir.path() / "missing.qnd"), kPassword));
}

TEST(PackageWriter, WritesWholeThroughATemporaryFile) {
    Testing::TempDir dir;
    const auto path = dir.path() / "out.qnd";
    writeFile(path, bytesOf("old"));
    PackageWriter writer(kPassword);
    ASSERT_TRUE(writer.add(u"x", bytesOf("new"), true, true));
    ASSERT_TRUE(writer.writeTo(path));
    EXPECT_EQ(readFile(path), *writer.build());
    auto reader = PackageReader::openMemory(readFile(path), kPassword);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->readEntry(u"x"), bytesOf("new"));
    // Nothing but the package is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
    // A folder that does not exist: nothing written, failure reported.
    EXPECT_FALSE(writer.writeTo(dir.path() / "no" / "such" / "out.qnd"));
    // Reading back: an empty file is empty content, a missing one is no content.
    writeFile(dir.path() / "empty", {});
    const auto empty = readWholeFile(dir.path() / "empty");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
    EXPECT_EQ(readWholeFile(path), *writer.build());
    EXPECT_FALSE(readWholeFile(dir.path() / "missing"));
}

}  // namespace
