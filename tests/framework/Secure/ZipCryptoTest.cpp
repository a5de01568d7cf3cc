#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>

#include "framework/Secure/RawDeflate.h"
#include "framework/Secure/ZipCrypto.h"
#include "PackageTestSupport.h"
#include "support/TestPaths.h"

using namespace Arbor::Secure;
using namespace PackageTesting;

namespace {

bool sameKeys(const ZipCrypto& a, const ZipCrypto& b) {
    return a.key0() == b.key0() && a.key1() == b.key1() && a.key2() == b.key2();
}

TEST(ZipCrypto, PasswordExpansionFeedsEachOfTheFirstNBytesTwice) {
    // "タヴィゾー" is U+30BF U+30F4 U+30A3 U+30BE U+30FC; UTF-16LE BF 30 F4 30 A3 30 ...;
    // five code units, so the first five bytes, each twice.
    const std::uint8_t expanded[] = {0xBF, 0xBF, 0x30, 0x30, 0xF4, 0xF4, 0x30, 0x30, 0xA3, 0xA3};
    EXPECT_TRUE(sameKeys(ZipCrypto::fromPassword(u"タヴィゾー"), ZipCrypto::fromPasswordBytes(expanded)));
    const std::uint8_t ab[] = {'a', 'a', 0, 0};
    EXPECT_TRUE(sameKeys(ZipCrypto::fromPassword(u"ab"), ZipCrypto::fromPasswordBytes(ab)));
    EXPECT_TRUE(sameKeys(ZipCrypto::fromPassword(u""), ZipCrypto()));
}

TEST(ZipCrypto, InitialKeysAndFirstUpdate) {
    ZipCrypto crypto;
    EXPECT_EQ(crypto.key0(), 0x12345678u);
    EXPECT_EQ(crypto.key1(), 0x23456789u);
    EXPECT_EQ(crypto.key2(), 0x34567890u);
    // key0 after one byte is the CRC-32 register step of zlib's table.
    const std::uint32_t k0 = 0x12345678u;
    std::uint32_t c = (k0 ^ 'x') & 0xFF;
    for (int i = 0; i < 8; ++i) c = (c & 1) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
    crypto.update('x');
    EXPECT_EQ(crypto.key0(), c ^ (k0 >> 8));
    EXPECT_EQ(crypto.key1(), (0x23456789u + (crypto.key0() & 0xFF)) * 134775813u + 1u);
}

TEST(ZipCrypto, EncipherIsTheInverseOfDecipher) {
    const auto plain = randomBytes(4096, 7);
    auto data = plain;
    ZipCrypto::fromPassword(u"pw").encipher(data);
    EXPECT_NE(data, plain);
    ZipCrypto::fromPassword(u"pw").decipher(data);
    EXPECT_EQ(data, plain);
}

struct ZipMember {
    std::uint16_t flags = 0, method = 0, modTime = 0;
    std::uint32_t crc = 0, compressedSize = 0, size = 0;
    std::vector<std::uint8_t> data;  // as stored, cipher header included
};

// Finds `name` through the central directory of a ZIP archive.
bool findZipMember(const std::vector<std::uint8_t>& zip, const std::string& name, ZipMember& out) {
    if (zip.size() < 22) return false;
    std::size_t eocd = zip.size() - 22;
    while (le32(zip, eocd) != 0x06054b50u) {
        if (eocd == 0) return false;
        --eocd;
    }
    const std::uint16_t count = le16(zip, eocd + 10);
    std::size_t at = le32(zip, eocd + 16);
    for (std::uint16_t i = 0; i < count; ++i) {
        if (le32(zip, at) != 0x02014b50u) return false;
        const std::uint16_t nameLength = le16(zip, at + 28);
        const std::size_t next = at + 46 + nameLength + le16(zip, at + 30) + le16(zip, at + 32);
        if (std::string(zip.begin() + at + 46, zip.begin() + at + 46 + nameLength) == name) {
            out.flags = le16(zip, at + 8);
            out.method = le16(zip, at + 10);
            out.modTime = le16(zip, at + 12);
            out.crc = le32(zip, at + 16);
            out.compressedSize = le32(zip, at + 20);
            out.size = le32(zip, at + 24);
            const std::size_t local = le32(zip, at + 42);
            if (le32(zip, local) != 0x04034b50u) return false;
            const std::size_t start = local + 30 + le16(zip, local + 26) + le16(zip, local + 28);
            out.data.assign(zip.begin() + start, zip.begin() + start + out.compressedSize);
            return true;
        }
        at = next;
    }
    return false;
}

// An archive made by Info-ZIP with a password: our cipher core, keyed with the same
// password bytes, must decipher it, and our inflater must restore the file and its CRC.
// The archiver's deciphering step (plain = stored XOR keystream, keys fed with the plain
// byte) is our encipher step read the other way round.
TEST(ZipCrypto, AgreesWithInfoZipArchives) {
    if (std::system("zip -v > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "Info-ZIP 'zip' is not installed (Debian package zip)";
    }
    Testing::TempDir dir;
    const auto text = textBytes(200000, 11);
    const auto noise = randomBytes(3000, 12);
    writeFile(dir.path() / "story.txt", text);
    writeFile(dir.path() / "noise.bin", noise);
    const std::string password = "Qu3nta-pass";
    const std::string command = "cd '" + dir.path().string() + "' && zip -q -X -P " + password +
                                " archive.zip story.txt noise.bin";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const auto zip = readFile(dir.path() / "archive.zip");

    for (const auto& [name, original] : {std::pair{std::string("story.txt"), text}, std::pair{std::string("noise.bin"), noise}}) {
        SCOPED_TRACE(name);
        ZipMember member;
        ASSERT_TRUE(findZipMember(zip, name, member));
        ASSERT_TRUE(member.flags & 1) << "not enciphered";
        ASSERT_GE(member.data.size(), ZipCrypto::kHeaderSize);
        ZipCrypto crypto = ZipCrypto::fromPasswordBytes(
            std::span(reinterpret_cast<const std::uint8_t*>(password.data()), password.size()));
        std::vector<std::uint8_t> plain(member.data.size());
        for (std::size_t i = 0; i < member.data.size(); ++i) plain[i] = crypto.encipher(member.data[i]);
        // The last header byte is the archiver's check byte: the CRC's top byte, or the
        // time's when sizes follow the data.
        const std::uint8_t check = (member.flags & 8) ? static_cast<std::uint8_t>(member.modTime >> 8)
                                                      : static_cast<std::uint8_t>(member.crc >> 24);
        EXPECT_EQ(plain[ZipCrypto::kHeaderSize - 1], check);
        std::span<const std::uint8_t> body(plain.data() + ZipCrypto::kHeaderSize, plain.size() - ZipCrypto::kHeaderSize);
        std::vector<std::uint8_t> restored;
        if (member.method == 8) {
            auto inflated = inflateRaw(body);
            ASSERT_TRUE(inflated.has_value());
            restored = std::move(*inflated);
        } else {
            ASSERT_EQ(member.method, 0);
            restored.assign(body.begin(), body.end());
        }
        EXPECT_EQ(restored.size(), member.size);
        EXPECT_EQ(crc32Of(restored), member.crc);
        EXPECT_EQ(restored, original);
    }
}

void add16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void add32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// The other direction: an archive whose entries our cipher core enciphered the
// archiver's way (stored = plain XOR keystream, keys fed with the plain byte, which is
// our decipher step) must be accepted by Info-ZIP's unzip with the same password.
TEST(ZipCrypto, InfoZipUnzipReadsWhatOurCoreEnciphered) {
    if (std::system("unzip -v > /dev/null 2>&1") != 0) {
        GTEST_SKIP() << "Info-ZIP 'unzip' is not installed (Debian package unzip)";
    }
    const std::string password = "pass-Word_7";
    const std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files = {
        {"deflated.txt", textBytes(120000, 21)}, {"stored.bin", randomBytes(5000, 22)}};
    std::vector<std::uint8_t> zip, central;
    std::mt19937 rng(23);
    for (std::size_t f = 0; f < files.size(); ++f) {
        const auto& [name, plain] = files[f];
        const bool deflate = f == 0;
        std::vector<std::uint8_t> body = deflate ? *deflateRaw(plain) : plain;
        const std::uint32_t crc = crc32Of(plain);
        std::vector<std::uint8_t> data(ZipCrypto::kHeaderSize);
        for (auto& b : data) b = static_cast<std::uint8_t>(rng());
        data.back() = static_cast<std::uint8_t>(crc >> 24);  // the archiver's check byte
        data.insert(data.end(), body.begin(), body.end());
        ZipCrypto crypto = ZipCrypto::fromPasswordBytes(
            std::span(reinterpret_cast<const std::uint8_t*>(password.data()), password.size()));
        crypto.decipher(data);  // the archiver's enciphering

        const auto offset = static_cast<std::uint32_t>(zip.size());
        const std::uint16_t method = deflate ? 8 : 0;
        add32(zip, 0x04034b50u);
        for (std::uint16_t v : {std::uint16_t{20}, std::uint16_t{1}, method, std::uint16_t{0}, std::uint16_t{0x21}}) add16(zip, v);
        add32(zip, crc);
        add32(zip, static_cast<std::uint32_t>(data.size()));
        add32(zip, static_cast<std::uint32_t>(plain.size()));
        add16(zip, static_cast<std::uint16_t>(name.size()));
        add16(zip, 0);
        zip.insert(zip.end(), name.begin(), name.end());
        zip.insert(zip.end(), data.begin(), data.end());

        add32(central, 0x02014b50u);
        for (std::uint16_t v : {std::uint16_t{20}, std::uint16_t{20}, std::uint16_t{1}, method, std::uint16_t{0}, std::uint16_t{0x21}}) add16(central, v);
        add32(central, crc);
        add32(central, static_cast<std::uint32_t>(data.size()));
        add32(central, static_cast<std::uint32_t>(plain.size()));
        add16(central, static_cast<std::uint16_t>(name.size()));
        for (int i = 0; i < 4; ++i) add16(central, 0);  // extra, comment, disk, internal attributes
        add32(central, 0);                              // external attributes
        add32(central, offset);
        central.insert(central.end(), name.begin(), name.end());
    }
    const auto centralOffset = static_cast<std::uint32_t>(zip.size());
    zip.insert(zip.end(), central.begin(), central.end());
    add32(zip, 0x06054b50u);
    add16(zip, 0);
    add16(zip, 0);
    add16(zip, static_cast<std::uint16_t>(files.size()));
    add16(zip, static_cast<std::uint16_t>(files.size()));
    add32(zip, static_cast<std::uint32_t>(central.size()));
    add32(zip, centralOffset);
    add16(zip, 0);

    Testing::TempDir dir;
    writeFile(dir.path() / "ours.zip", zip);
    const std::string command = "cd '" + dir.path().string() + "' && unzip -qq -P " + password + " ours.zip -d out";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    for (const auto& [name, plain] : files) EXPECT_EQ(readFile(dir.path() / "out" / name), plain) << name;
    // And a wrong password is refused by the archiver's check byte or CRC.
    const std::string wrong = "cd '" + dir.path().string() + "' && unzip -qq -o -P nope ours.zip -d wrong > /dev/null 2>&1";
    EXPECT_NE(std::system(wrong.c_str()), 0);
}

TEST(RawDeflate, InflatesWhatDeflateWrote) {
    const auto text = textBytes(300000, 13);
    auto deflated = deflateRaw(text);
    ASSERT_TRUE(deflated.has_value());
    auto inflated = inflateRaw(*deflated);
    ASSERT_TRUE(inflated.has_value());
    EXPECT_EQ(*inflated, text);
    EXPECT_FALSE(inflateRaw(std::span(deflated->data(), deflated->size() - 3)).has_value());
    EXPECT_FALSE(inflateRaw({}).has_value());
    EXPECT_FALSE(inflateRaw(*deflated, 1000).has_value());  // over the output bound
}

TEST(RawDeflate, CrcIsZlibs) {
    EXPECT_EQ(crc32Of(bytesOf("123456789")), 0xCBF43926u);
    EXPECT_EQ(crc32Of({}), 0u);
}

}  // namespace
