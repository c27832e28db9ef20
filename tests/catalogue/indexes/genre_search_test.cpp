// "Find By Genre": the title index walked forward and back for a genre code.
#include "index_fixture.h"

namespace reel::testing {
namespace {

class GenreSearchTest : public IndexTest {
  protected:
    void SetUp() override {
        writeFilms({film("Alien", "D", "SF"), film("Brazil", "D", "DR"),
                    film("Casablanca", "V", "DR"), film("Dumbo", "V", ""),
                    film("Eraserhead", "L", "HO"), film("Fargo", "D", "DR")});
        writeIndex("Titleqen.Dat", "Titleqen",
                   {{"Alien", 1},
                    {"Brazil", 2},
                    {"Casablanca", 3},
                    {"Dumbo", 4},
                    {"Eraserhead", 5},
                    {"Fargo", 6}});
    }
};

TEST_F(GenreSearchTest, DramaForwardAndBack) {
    launch();
    type("dr");
    click("mnuFindGenre");
    EXPECT_EQ(platform.prompts.back(),
              "Enter Genre To Search:  Use 2 Letter Abbreviation \n\rAA  Action Adventure\n\rCO  "
              "Comedy\n\rDR  Drama");
    EXPECT_NE(platform.log.front().find("[Search For Genre]"), std::string::npos);
    EXPECT_EQ(title(), "Brazil");
    EXPECT_EQ(state().cursor.SearchMode, Search::Genre);
    EXPECT_EQ(state().cursor.ViewMode, "Genre");
    EXPECT_EQ(text("lblHead"), "Viewing Files For Drama  Alphabetically");
    click("cmdNext");
    EXPECT_EQ(title(), "Casablanca");
    click("cmdNext");
    EXPECT_EQ(title(), "Fargo");
    click("cmdPrevious");
    EXPECT_EQ(title(), "Casablanca");
    click("cmdPrevious");
    EXPECT_EQ(title(), "Brazil");
    click("cmdPrevious");
    EXPECT_EQ(platform.lastMessage(), "Top of file encountered!");
    EXPECT_EQ(platform.messages.back().caption, "");
    EXPECT_EQ(state().cursor.ViewMode, "");
    EXPECT_EQ(state().CurrentRecord, 1);

    type("dr");
    click("mnuFindGenre");
    click("cmdNext");
    click("cmdNext");
    click("cmdNext");
    EXPECT_EQ(platform.lastMessage(), "End of file!");
    EXPECT_EQ(platform.messages.back().caption, "GENRE SEARCH");
}

TEST_F(GenreSearchTest, PreviousFromAHitOnTheFirstEntryGivesTheBeginningMessage) {
    launch();
    type("sf");
    click("mnuFindGenre");
    EXPECT_EQ(title(), "Alien");
    EXPECT_EQ(text("lblHead"), "Viewing Files For Science Fiction  Alphabetically");
    click("cmdPrevious");
    EXPECT_EQ(platform.lastMessage(), "Beginning of file encounter!");
    EXPECT_EQ(platform.messages.back().caption, "GENRE SEARCH");
}

TEST_F(GenreSearchTest, UnknownCodeIsNotFoundUnderThePreviousGenreName) {
    launch();
    type("X");
    click("mnuFindGenre");
    EXPECT_EQ(platform.lastMessage(), "The search for \"\" genre was not found.");
    type("ho");
    click("mnuFindGenre");
    EXPECT_EQ(title(), "Eraserhead");
    click("cmdReset");
    type("X");
    click("mnuFindGenre");
    EXPECT_EQ(platform.lastMessage(), "The search for \"Horror\" genre was not found.");
    EXPECT_EQ(platform.messages.back().caption, "GENRE SEARCH");
    EXPECT_EQ(state().cursor.ViewMode, "");
}

TEST_F(GenreSearchTest, StartsAtTheFirstEntryWhenAnAlphabeticViewIsOpen) {
    launch();
    click("mnuByTitle");
    click("cmdNext");
    click("cmdNext");
    type("dr");
    click("mnuFindGenre");
    EXPECT_EQ(title(), "Brazil");
}

TEST_F(GenreSearchTest, WalkingBackPassesBlankEntriesWithoutLooping) {
    writeIndex("Titleqen.Dat", "Titleqen",
               {{"Brazil", 2}, {"", 4}, {"Eraserhead", 5}, {"Fargo", 6}});
    launch();
    type("dr");
    click("mnuFindGenre");
    click("cmdNext");
    EXPECT_EQ(title(), "Fargo");
    click("cmdPrevious");
    EXPECT_EQ(title(), "Brazil");
}

}  // namespace
}  // namespace reel::testing
