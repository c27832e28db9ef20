#include "data/codepage.h"

#include <gtest/gtest.h>

namespace reel {
namespace {

struct Conversion {
    const char* utf8;
    const char* cp1252;
};

TEST(CodePage, ConvertsBothWaysForMappableText) {
    const Conversion cases[] = {
        {"Casablanca", "Casablanca"},
        {"Am\xC3\xA9lie", "Am\xE9lie"},                        // e acute, Latin-1 range
        {"\xC3\x80 bout de souffle", "\xC0 bout de souffle"},  // A grave
        {"Price \xE2\x82\xAC"
         "20",
         "Price \x80"
         "20"},                                                // euro sign, 0x80
        {"\xE2\x80\x9CQuoted\xE2\x80\x9D", "\x93Quoted\x94"},  // curly double quotes
        {"\xC5\xA0ibenik \xC5\xBD", "\x8Aibenik \x8E"},        // S and Z with caron
        {"\xC3\xBF\xC5\xB8", "\xFF\x9F"},                      // y and Y with diaeresis
    };
    for (const auto& c : cases) {
        EXPECT_EQ(utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
        EXPECT_EQ(cp1252ToUtf8(c.cp1252), c.utf8) << c.utf8;
    }
}

TEST(CodePage, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(CodePage, UnmappableAndMalformedInputBecomesQuestionMarks) {
    const Conversion cases[] = {
        {"\xE4\xB8\x83\xE4\xBA\xBA", "??"},  // two CJK characters: one "?" each
        {"Ok \xF0\x9F\x8E\xAC!", "Ok ?!"},   // a four-byte emoji
        {"\xC4\x8C"
         "apek",
         "?apek"},  // C with caron is not in the code page
        {"\x80"
         "x",
         "?x"},                   // stray continuation byte
        {"\xC3", "?"},            // truncated sequence
        {"\xC0\xAF", "??"},       // overlong slash
        {"\xED\xA0\x80", "???"},  // surrogate
        {"\xC2\x80", "?"},        // U+0080 has no byte in the code page
    };
    for (const auto& c : cases) EXPECT_EQ(utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
}

TEST(CodePage, FitToWidthCutsAndPadsByCharacters) {
    struct Case {
        const char* utf8;
        int width;
        const char* expected;
    } cases[] = {
        {"Ran", 6, "Ran   "},
        {"Casablanca", 4, "Casa"},
        {"", 3, "   "},
        {"abc", 0, ""},
        {"abc", -2, ""},
        // Each accented letter is one byte on file, so the cut falls after the
        // fourth character, never inside a UTF-8 sequence.
        {"\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9", 4, "\xE9\xE9\xE9\xE9"},
        {"\xE2\x82\xAC\xE2\x82\xAC", 3, "\x80\x80 "},
        {"\xE4\xB8\x83\xE4\xB8\x83\xE4\xB8\x83", 2, "??"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fitToWidth(c.utf8, c.width), c.expected) << c.utf8 << " / " << c.width;
    }
}

}  // namespace
}  // namespace reel
