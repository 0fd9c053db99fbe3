#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Cp1251.h"

namespace {

struct Encoded {
    const char* utf8;
    std::string cp1251;
};

TEST(Cp1251, CyrillicRoundTrip) {
    const std::vector<Encoded> cases = {
        {"Мак. ном. ток А", "\xCC\xE0\xEA. \xED\xEE\xEC. \xF2\xEE\xEA \xC0"},
        {"Ёё", "\xA8\xB8"},
        {"Щит№ 7", "\xD9\xE8\xF2\xB9 7"},
        {"€", "\x88"},
        {"Untitled", "Untitled"},
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string bytes;
        ASSERT_TRUE(platform::Utf8ToCp1251(c.utf8, bytes)) << c.utf8;
        EXPECT_EQ(bytes, c.cp1251) << c.utf8;
        EXPECT_EQ(platform::Cp1251ToUtf8(bytes), c.utf8);
        EXPECT_TRUE(platform::HasCp1251Form(c.utf8)) << c.utf8;
    }
}

TEST(Cp1251, EveryByteSurvivesTheRoundTrip) {
    for (int b = 0; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = platform::Cp1251ToUtf8(byte);
        EXPECT_EQ(platform::Utf8Length(utf8), 1u) << b;
        std::string back;
        EXPECT_TRUE(platform::Utf8ToCp1251(utf8, back) && back == byte) << b;
    }
}

// 0x98 has no character in Windows-1251: it stands for U+0098, wherever it is in a text.
TEST(Cp1251, UnassignedByteIsCarriedAsU0098) {
    const std::vector<Encoded> cases = {
        {"a\xC2\x98"
         "b",
         "a\x98"
         "b"},
        {"\xC2\x98\xC2\x98", "\x98\x98"},
        {"Щ\xC2\x98", "\xD9\x98"},
        {"\xC2\x98Ё", "\x98\xA8"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::Cp1251ToUtf8(c.cp1251), c.utf8);
        std::string bytes;
        EXPECT_TRUE(platform::Utf8ToCp1251(c.utf8, bytes)) << c.utf8;
        EXPECT_EQ(bytes, c.cp1251);
    }
    // Its two UTF-8 bytes do not make a broken text whole.
    std::string out = "kept";
    EXPECT_FALSE(platform::Utf8ToCp1251("\xE2\x82\xC2\x98", out));
    EXPECT_FALSE(platform::Utf8ToCp1251("\xC2\xC2\x98", out));
    EXPECT_EQ(out, "kept");
}

TEST(Cp1251, TextWithoutFormOrBrokenUtf8IsRefused) {
    const std::vector<std::string> cases = {
        "Ω",        "Ток Ω", "中",
        "\xD0",      // cut off in the middle of a character
        "\xC0\x80",  // overlong form
        "a\xFF",
    };
    for (const auto& text : cases) {
        std::string out = "kept";
        EXPECT_FALSE(platform::Utf8ToCp1251(text, out)) << text;
        EXPECT_EQ(out, "kept");
        EXPECT_FALSE(platform::HasCp1251Form(text)) << text;
    }
}

TEST(Utf8, LengthCountsCharacters) {
    EXPECT_EQ(platform::Utf8Length(""), 0u);
    EXPECT_EQ(platform::Utf8Length("abc"), 3u);
    EXPECT_EQ(platform::Utf8Length("Мак. ном. ток А"), 15u);
    EXPECT_EQ(platform::Utf8Length("a€中"), 3u);
}

struct Left {
    const char* text;
    size_t n;
    const char* expected;
};

TEST(Utf8, LeftTakesWholeCharacters) {
    const std::vector<Left> cases = {
        {"Фазировка", 4, "Фази"}, {"Фаз", 3, "Фаз"}, {"Фаз", 10, "Фаз"},
        {"Фаз", 0, ""},           {"a€b", 2, "a€"},  {"", 5, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::Utf8Left(c.text, c.n), c.expected) << c.text << ' ' << c.n;
}

}  // namespace
