// The argument parser main() relies on before any window exists.
#include "app/command_line.h"

#include <gtest/gtest.h>

namespace reel {
namespace {

struct ParseCase {
    std::vector<std::string> args;
    std::optional<std::string> folder;
    bool help = false;
    bool version = false;
    std::string exportValue;  // "-" when --export must not be given
    std::string error;        // a part of the expected error; empty: no error
};

class CommandLineTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CommandLineTest, Parses) {
    const ParseCase& c = GetParam();
    CommandLineParser parser;
    parser.addOption({"--export", "FILE", "write the catalogue to FILE"});
    parser.addOption({"--quiet", "", "say nothing"});
    const CommandLine line = parser.parse(c.args);
    if (!c.error.empty()) {
        EXPECT_FALSE(line.ok());
        EXPECT_NE(line.error().find(c.error), std::string::npos) << line.error();
        return;
    }
    ASSERT_TRUE(line.ok()) << line.error();
    EXPECT_EQ(line.folder(), c.folder);
    EXPECT_EQ(line.help(), c.help);
    EXPECT_EQ(line.version(), c.version);
    if (c.exportValue == "-") {
        EXPECT_FALSE(line.given("--export"));
    } else {
        EXPECT_EQ(line.value("--export"), c.exportValue);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CommandLineTest,
    ::testing::Values(
        ParseCase{{}, std::nullopt, false, false, "-", ""},
        ParseCase{{"."}, ".", false, false, "-", ""},
        ParseCase{{"/data/films"}, "/data/films", false, false, "-", ""},
        ParseCase{{"--help"}, std::nullopt, true, false, "-", ""},
        ParseCase{{"-h", "dir"}, "dir", true, false, "-", ""},
        ParseCase{{"--version"}, std::nullopt, false, true, "-", ""},
        ParseCase{{"--export", "out.csv", "dir"}, "dir", false, false, "out.csv", ""},
        ParseCase{{"dir", "--export=out.csv"}, "dir", false, false, "out.csv", ""},
        ParseCase{{"--export="}, std::nullopt, false, false, "", ""},
        // The toolkit's own options and their values are not the folder.
        ParseCase{{"-platform", "offscreen", "dir"}, "dir", false, false, "-", ""},
        ParseCase{{"-reverse", "dir"}, "dir", false, false, "-", ""},
        ParseCase{{"--", "-odd name"}, "-odd name", false, false, "-", ""},
        ParseCase{{"--helps"}, std::nullopt, false, false, "-", "unknown option --helps"},
        ParseCase{{"a", "b"}, std::nullopt, false, false, "-", "only one catalogue folder"},
        ParseCase{{"--export"}, std::nullopt, false, false, "-", "--export needs a value (FILE)"},
        ParseCase{{"--quiet=yes"}, std::nullopt, false, false, "-", "--quiet takes no value"},
        ParseCase{{"--export", "a", "--export", "b"}, std::nullopt, false, false, "-",
                  "--export was given twice"}));

TEST(CommandLineUsage, ListsEveryOptionAndWhereTheCatalogueLives) {
    CommandLineParser parser;
    parser.addOption({"--export", "FILE", "write the catalogue to FILE"});
    const std::string usage = parser.usage();
    for (const char* text : {"--help", "--version", "--export FILE", "write the catalogue to FILE",
                             "~/.local/share/reelbook"})
        EXPECT_NE(usage.find(text), std::string::npos) << text;
}

}  // namespace
}  // namespace reel
