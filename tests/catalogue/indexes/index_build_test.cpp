// "Sort All Files" end to end: the real engine library rebuilds the index
// and count files of a catalogue in a temporary directory.
#include <filesystem>

#include "data/collating_table.h"
#include "index_fixture.h"

namespace reel::testing {
namespace {

const std::string Question = std::string(28, ' ') + "Do you want to sort?";

class IndexBuildTest : public IndexTest {
  protected:
    void sortAll() {
        answer(MsgResult::Yes);
        click("mnuSortTitle");
    }
    // Titles of the entries of an index file, in order, with their record numbers.
    std::vector<std::string> entries(const std::string& file) {
        std::string bytes = readFile(file);
        std::vector<std::string> out;
        for (std::size_t at = 0; at + 49 <= bytes.size(); at += 49) {
            std::string title = bytes.substr(at, 40);
            while (!title.empty() && title.back() == ' ') title.pop_back();
            out.push_back(title + "#" + std::to_string(std::stoi(bytes.substr(at + 40, 7))));
        }
        return out;
    }
};

std::vector<FilmRecord> twelveFilms() {
    return {film("Zulu", "D"),   film("Alien", "L"),      film("Casablanca", "V"),
            film("Brazil", "D"), film("Metropolis", "L"), film("Heat", "D"),
            film("Jaws", "V"),   film("Vertigo", "L"),    film("Fargo", "D"),
            film("Psycho", "V"), film("Ran", "L"),        film("Gandhi", "D")};
}

TEST_F(IndexBuildTest, TwelveFilmsGiveTheFourIndexesCountsAndSummary) {
    writeFilms(twelveFilms());
    launch();
    sortAll();

    ASSERT_EQ(platform.messages.size(), 1u) << platform.lastMessage();
    EXPECT_EQ(platform.messages[0].text, Question);
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::None);
    EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(platform.messages[0].caption, "Reelvane Deluxe Edition Sort Program");

    EXPECT_EQ(readFile("Titleqen"), " 12\r\n");
    EXPECT_EQ(readFile("DVDqen"), " 5\r\n");
    EXPECT_EQ(readFile("Laserqen"), " 4\r\n");
    EXPECT_EQ(readFile("VHSqen"), " 3\r\n");
    EXPECT_EQ(size("Titleqen.Dat"), 588u);
    EXPECT_EQ(size("DVDqen.Dat"), 245u);
    EXPECT_EQ(size("Laserqen.Dat"), 196u);
    EXPECT_EQ(size("VHSqen.Dat"), 147u);
    EXPECT_EQ(readFile("Titleqen.Dat").substr(0, 49), indexEntry("Alien", 2));
    EXPECT_EQ(entries("DVDqen.Dat"),
              (std::vector<std::string>{"Brazil#4", "Fargo#9", "Gandhi#12", "Heat#6", "Zulu#1"}));
    EXPECT_EQ(entries("VHSqen.Dat"),
              (std::vector<std::string>{"Casablanca#3", "Jaws#7", "Psycho#10"}));

    EXPECT_TRUE(shown("lblsorted"));
    EXPECT_EQ(text("lblsorted"),
              "No. Titles  12  -    No. DVDS  5  -    No.Laser discs  4  -    No.VHS  3");
    EXPECT_EQ(state().CountText, (std::array<std::string, 4>{"12", "5", "4", "3"}));
    // The closing Reset: record 1, progress and results cleared.
    EXPECT_EQ(state().CurrentRecord, 1);
    EXPECT_FALSE(shown("lblSorting"));
    EXPECT_EQ(text("lblNumrec"), "");
    EXPECT_EQ(text("lblRetcode"), "");
    EXPECT_EQ(platform.beeps, 4);
    // The window repainted during the runs and showed each run's progress.
    EXPECT_EQ(platform.progressShown,
              (std::vector<std::string>{"\n\rSorting Titles", "\n\rSorting DVD",
                                        "\n\rSorting Lasers", "\n\rSorting VHS"}));
    EXPECT_FALSE(module->building());
}

TEST_F(IndexBuildTest, BlankPunctuatedEqualAndUnknownFormatTitles) {
    writeFilms({film("Solaris", "D"), film("", "D"), film("!Bang", "V"), film("Solaris", "L"),
                film("Solaris", "X"), film("Akira", "")});
    launch();
    sortAll();
    // Blank and "!" titles do not compare above "000000": only in their format index,
    // where they sort first. Equal titles keep master-file order.
    EXPECT_EQ(entries("Titleqen.Dat"),
              (std::vector<std::string>{"Akira#6", "Solaris#1", "Solaris#4", "Solaris#5"}));
    EXPECT_EQ(entries("DVDqen.Dat"), (std::vector<std::string>{"#2", "Solaris#1"}));
    EXPECT_EQ(entries("VHSqen.Dat"), (std::vector<std::string>{"!Bang#3"}));
    EXPECT_EQ(entries("Laserqen.Dat"), (std::vector<std::string>{"Solaris#4"}));
}

TEST_F(IndexBuildTest, AnsweringNoChangesNothing) {
    writeFilms(twelveFilms());
    writeFile("Titleqen", " 7\r\n");
    launch();
    answer(MsgResult::No);
    click("mnuSortTitle");
    EXPECT_EQ(readFile("Titleqen"), " 7\r\n");
    EXPECT_FALSE(exists("Titleqen.Dat"));
    EXPECT_FALSE(exists("UPPER.ALT"));
    EXPECT_EQ(platform.beeps, 0);
}

TEST_F(IndexBuildTest, MissingCollatingTableIsProvidedBeforeTheFirstRun) {
    writeFilms(twelveFilms());
    ASSERT_FALSE(exists("UPPER.ALT"));
    launch();
    sortAll();
    ASSERT_TRUE(exists("UPPER.ALT"));
    const std::string table = readFile("UPPER.ALT");
    EXPECT_EQ(table.size(), static_cast<std::size_t>(CollatingTableSize));
    EXPECT_EQ(static_cast<unsigned char>(table[0]), CollatingTableMarker);
    EXPECT_EQ(readFile("Titleqen"), " 12\r\n");
    EXPECT_EQ(platform.messages.size(), 1u) << platform.lastMessage();
}

TEST_F(IndexBuildTest, FailedRunsAreReportedAndCountAsNotSorted) {
    writeFilms(twelveFilms());
    writeFile("UPPER.ALT", "not a table");  // the engine refuses the command
    writeFile("DVDqen.Dat", "old contents");
    launch();
    sortAll();

    ASSERT_EQ(platform.messages.size(), 2u);
    const RecordedMessage& report = platform.messages[1];
    EXPECT_EQ(report.icon, MsgIcon::Exclamation);
    EXPECT_EQ(report.caption, "Reelvane Deluxe Edition Sort Program");
    for (const char* file : {"Titleqen.Dat", "DVDqen.Dat", "Laserqen.Dat", "VHSqen.Dat"})
        EXPECT_NE(report.text.find(std::string(file) + ": return code 10055 (ALTS: "),
                  std::string::npos)
            << report.text;
    for (const char* count : {"Titleqen", "DVDqen", "Laserqen", "VHSqen"})
        EXPECT_EQ(readFile(count), " 0\r\n") << count;
    EXPECT_EQ(readFile("DVDqen.Dat"), "old contents");
    EXPECT_EQ(text("lblsorted"),
              "No. Titles  0  -    No. DVDS  0  -    No.Laser discs  0  -    No.VHS  0");

    // Every guard now reports the index as not sorted.
    answer(MsgResult::Ok);
    answer(MsgResult::No);
    click("mnuByDVD");
    EXPECT_EQ(platform.messages[2].text,
              "Records have not been sorted.  Records must be sorted before records can viewed!");
    EXPECT_EQ(platform.messages[3].text, Question);
    EXPECT_EQ(state().cursor.ViewMode, "");
}

TEST_F(IndexBuildTest, EmptyMasterFileGivesEmptyIndexesAndGuardsWarn) {
    launch();
    sortAll();
    for (const char* count : {"Titleqen", "DVDqen", "Laserqen", "VHSqen"})
        EXPECT_EQ(readFile(count), " 0\r\n") << count;
    EXPECT_EQ(size("Titleqen.Dat"), 0u);
    EXPECT_EQ(platform.messages.size(), 1u) << platform.lastMessage();

    const std::vector<std::pair<std::string, std::string>> guards = {
        {"mnuByTitle", "Reelvane Deluxe Edition Print Program"},
        {"mnuByLaser", "Reelvane Deluxe Edition"},
        {"mnuAllTitles", "Reelvane Deluxe Edition Print Program"},
        {"mnuAllVHS", "Reelvane Deluxe Edition"}};
    for (const auto& [menu, caption] : guards) {
        newMessages();
        answer(MsgResult::Ok);
        answer(MsgResult::No);
        click(menu);
        std::vector<RecordedMessage> shownNow = newMessages();
        ASSERT_EQ(shownNow.size(), 2u) << menu;
        EXPECT_EQ(shownNow[0].caption, caption) << menu;
        EXPECT_EQ(shownNow[0].icon, MsgIcon::Exclamation) << menu;
        EXPECT_EQ(shownNow[1].text, Question) << menu;
        EXPECT_EQ(state().cursor.ViewMode, "") << menu;
        EXPECT_EQ(state().cursor.ListKind, Listing::None) << menu;
    }
}

TEST_F(IndexBuildTest, GuardBuildsTheIndexWhenTheUserAgrees) {
    writeFilms(twelveFilms());
    launch();
    answer(MsgResult::Ok);   // not sorted
    answer(MsgResult::Yes);  // sort now
    click("mnuByVHS");
    EXPECT_EQ(readFile("VHSqen"), " 3\r\n");
    EXPECT_EQ(state().cursor.ViewMode, "VHS");
    EXPECT_EQ(title(), "Casablanca");
}

TEST_F(IndexBuildTest, EngineThatCannotBeLoadedTouchesNothing) {
    writeFilms(twelveFilms());
    writeFile("Titleqen", " 9\r\n");
    launch(dir + "/missing/libsorvel32.so");
    sortAll();
    ASSERT_EQ(platform.messages.size(), 2u);
    const std::string& text = platform.messages[1].text;
    EXPECT_NE(text.find("missing/libsorvel32.so"), std::string::npos) << text;
    EXPECT_NE(text.find("cannot be loaded"), std::string::npos) << text;
    EXPECT_NE(text.find("No such file"), std::string::npos) << text;  // the loader's reason
    EXPECT_EQ(readFile("Titleqen"), " 9\r\n");
    for (const char* file : {"DVDqen", "Titleqen.Dat", "UPPER.ALT"}) EXPECT_FALSE(exists(file));
}

TEST_F(IndexBuildTest, LoadsTheEngineByNameAndLeavesTheCurrentFolderAlone) {
    writeFilms(twelveFilms());
    const std::filesystem::path before = std::filesystem::current_path();
    launch("libsorvel32.so");
    sortAll();
    std::string shown;
    for (const auto& m : platform.messages) shown += m.text + "\n";
    EXPECT_EQ(readFile("Titleqen"), " 12\r\n") << shown;
    EXPECT_EQ(std::filesystem::current_path(), before);
    EXPECT_FALSE(std::filesystem::exists(before / "Titleqen.Dat"));
}

TEST_F(IndexBuildTest, BuildClosesAnOpenView) {
    writeFilms(twelveFilms());
    launch();
    sortAll();
    click("mnuByTitle");
    click("cmdNext");
    EXPECT_EQ(title(), "Brazil");
    EXPECT_TRUE(module->indexFile().isOpen());
    sortAll();
    EXPECT_EQ(state().cursor.ViewMode, "");
    EXPECT_EQ(state().cursor.IndexPosition, 0);
    EXPECT_FALSE(module->indexFile().isOpen());
    EXPECT_EQ(state().CurrentRecord, 1);
}

}  // namespace
}  // namespace reel::testing
