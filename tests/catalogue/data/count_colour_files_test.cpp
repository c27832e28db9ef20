#include <gtest/gtest.h>

#include <filesystem>

#include "data/colour_files.h"
#include "data/count_files.h"
#include "temp_dir.h"

namespace reel {
namespace {

using testing::TempDir;

TEST(CountFiles, WriteTheCountAsABlankDigitsAndLineEnd) {
    struct Case {
        std::int32_t count;
        const char* bytes;
        const char* readBack;
    } cases[] = {
        {0, " 0\r\n", "0"},
        {214, " 214\r\n", "214"},
        {2147483647, " 2147483647\r\n", "2147483647"},
        {-3, "-3\r\n", "-3"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        ASSERT_TRUE(writeCountFile(dir.path(), TitleCountFile, c.count));
        EXPECT_EQ(dir.read("Titleqen"), c.bytes);
        EXPECT_EQ(readCountFile(dir.path(), TitleCountFile), c.readBack);
    }
    // Only the count file itself is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(CountFiles, ReadTheFirstItemAsText) {
    struct Case {
        const char* bytes;
        const char* text;
    } cases[] = {
        {" 12\r\n", "12"},      {"12", "12"},
        {"\t  7 , 9\r\n", "7"}, {"abc def\r\nsecond line", "abc def"},
        {" 5\n", "5"},          {"", "0"},
        {"\r\n", "0"},          {"caf\xE9\r\n", "caf\xC3\xA9"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        dir.write("DVDqen", c.bytes);
        EXPECT_EQ(readCountFile(dir.path(), DvdCountFile), c.text) << c.bytes;
    }
}

TEST(CountFiles, MissingFileReadsAsZero) {
    TempDir dir;
    EXPECT_EQ(readCountFile(dir.path(), VhsCountFile), "0");
    std::filesystem::create_directory(dir.file("Laserqen"));
    EXPECT_EQ(readCountFile(dir.path(), LaserCountFile), "0");
}

TEST(CountFiles, WriteIntoAMissingFolderFailsNamingTheFile) {
    TempDir dir;
    const IoResult result = writeCountFile(dir.file("gone"), VhsCountFile, 4);
    EXPECT_FALSE(result);
    EXPECT_NE(result.message.find(dir.file("gone") + "/VHSqen"), std::string::npos)
        << result.message;
}

TEST(ColourFiles, DefaultColoursAreWrittenAsDecimalLines) {
    struct Case {
        std::string_view name;
        ColourValue value;
        const char* bytes;
    } cases[] = {
        {BackgroundColourFile, DefaultBackground, "16711680\r\n"},
        {TextBoxBackColourFile, DefaultTextBoxBack, "16777215\r\n"},
        {TextColourFile, DefaultText, "16711680\r\n"},
        {LabelColourFile, DefaultLabel, "65535\r\n"},
        {BackgroundColourFile, 0, "0\r\n"},
    };
    TempDir dir;
    for (const auto& c : cases) {
        ASSERT_TRUE(writeColourFile(dir.path(), c.name, c.value));
        EXPECT_EQ(dir.read(c.name), c.bytes);
        EXPECT_EQ(readColourFile(dir.path(), c.name, 123), c.value);
    }
}

TEST(ColourFiles, ReadingFallsBackWhenTheFileIsMissingOrNotANumber) {
    struct Case {
        const char* bytes;  // nullptr: no file
        ColourValue expected;
    } cases[] = {
        {nullptr, 777},           {"", 777},
        {"blue\r\n", 777},        {"12ab\r\n", 777},
        {"99999999999\r\n", 777}, {"  255 ,1\r\n", 255},
        {"+65280\r\n", 65280},    {"-1\r\n", -1},
    };
    for (const auto& c : cases) {
        TempDir dir;
        if (c.bytes) dir.write("tagForColor", c.bytes);
        EXPECT_EQ(readColourFile(dir.path(), LabelColourFile, 777), c.expected)
            << (c.bytes ? c.bytes : "(missing)");
    }
}

TEST(ColourFiles, ValuesThatAreNoColourAreRefusedAndChangeNothing) {
    TempDir dir;
    ASSERT_TRUE(writeColourFile(dir.path(), TextColourFile, 42));
    for (const ColourValue bad : {-1, 0x1000000}) {
        EXPECT_FALSE(writeColourFile(dir.path(), TextColourFile, bad));
        EXPECT_EQ(dir.read("txtForColor"), "42\r\n");
    }
}

}  // namespace
}  // namespace reel
