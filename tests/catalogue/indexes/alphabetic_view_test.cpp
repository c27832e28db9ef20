// The alphabetic views over hand-made index files: stepping, the ends, the
// blank-entry skip, empty indexes and the hand-over from other views.
#include "index_fixture.h"

namespace reel::testing {
namespace {

class AlphabeticViewTest : public IndexTest {
  protected:
    void SetUp() override {
        writeFilms({film("Vertigo", "D"), film("Alien", "L"), film("Heat", "V"), film("", "D"),
                    film("Brazil", "D"), film("", "D")});
    }
};

TEST_F(AlphabeticViewTest, StepsThroughTheIndexAndEndsWithEndOfFile) {
    writeIndex("Titleqen.Dat", "Titleqen", {{"Alien", 2}, {"Brazil", 5}, {"Heat", 3}});
    launch();
    click("mnuByTitle");
    EXPECT_EQ(state().cursor.ViewMode, "Title");
    EXPECT_EQ(state().cursor.IndexPosition, 1);
    EXPECT_EQ(state().CurrentRecord, 2);
    EXPECT_EQ(title(), "Alien");
    EXPECT_EQ(text("lblHead"), "Viewing All Titles Alphabetically");
    EXPECT_EQ(state().HeadShown, Heading::View);
    click("cmdNext");
    click("cmdNext");
    EXPECT_EQ(title(), "Heat");
    click("cmdPrevious");
    EXPECT_EQ(title(), "Brazil");
    click("cmdNext");
    click("cmdNext");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "End of file!");
    EXPECT_EQ(platform.messages[0].caption, "ALPHA TITLE SEARCH");
    EXPECT_EQ(platform.beeps, 1);
    EXPECT_EQ(state().cursor.ViewMode, "");
    EXPECT_EQ(state().CurrentRecord, 1);
    EXPECT_FALSE(module->indexFile().isOpen());
}

struct OneEntryCase {
    const char* menu;
    const char* file;
    const char* count;
    const char* beginning;
    const char* caption;
};

TEST_F(AlphabeticViewTest, OneEntryIndexEndsBothWays) {
    const OneEntryCase cases[] = {
        {"mnuByTitle", "Titleqen.Dat", "Titleqen", "Beginning of file encounter!",
         "ALPHA TITLE SEARCH"},
        {"mnuByDVD", "DVDqen.Dat", "DVDqen", "Begining of file encountered!",
         "ALPHA DVD TITLE SEARCH"},
        {"mnuByLaser", "Laserqen.Dat", "Laserqen", "Beginning of file encounter!",
         "ALPHA LASER TITLE SEARCH"},
        {"mnuByVHS", "VHSqen.Dat", "VHSqen", "Beginning of file encounter!",
         "ALPHA VHS TITLE SEARCH"},
    };
    for (const OneEntryCase& c : cases) writeIndex(c.file, c.count, {{"Brazil", 5}});
    launch();
    for (const OneEntryCase& c : cases) {
        newMessages();
        click(c.menu);
        EXPECT_EQ(title(), "Brazil") << c.menu;
        click("cmdNext");
        auto shownNow = newMessages();
        ASSERT_EQ(shownNow.size(), 1u) << c.menu;
        EXPECT_EQ(shownNow[0].text, "End of file!");
        EXPECT_EQ(shownNow[0].caption, c.caption);
        EXPECT_EQ(state().cursor.ViewMode, "");

        click(c.menu);
        click("cmdPrevious");
        shownNow = newMessages();
        ASSERT_EQ(shownNow.size(), 1u) << c.menu;
        EXPECT_EQ(shownNow[0].text, c.beginning);
        EXPECT_EQ(shownNow[0].caption, c.caption);
        EXPECT_EQ(shownNow[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(state().cursor.ViewMode, "");
        EXPECT_EQ(state().CurrentRecord, 1);
    }
}

TEST_F(AlphabeticViewTest, OfTwoBlankEntriesTheFirstIsSkippedTheSecondShown) {
    writeIndex("DVDqen.Dat", "DVDqen", {{"", 4}, {"", 6}, {"Brazil", 5}});
    launch();
    click("mnuByDVD");
    EXPECT_EQ(state().cursor.IndexPosition, 2);
    EXPECT_EQ(state().CurrentRecord, 6);
    EXPECT_EQ(title(), "");
    click("cmdNext");
    EXPECT_EQ(title(), "Brazil");
    // Back from the entry after a blank one lands on it, skips forward: the same film.
    click("cmdPrevious");
    EXPECT_EQ(state().cursor.IndexPosition, 3);
    EXPECT_EQ(title(), "Brazil");
}

TEST_F(AlphabeticViewTest, DeletedRecordShowsBlankAndZeroNumberFocusesTitle) {
    writeIndex("Titleqen.Dat", "Titleqen", {{"Gone", 6}, {"Odd", 0}});
    launch();
    click("mnuByTitle");
    EXPECT_EQ(state().CurrentRecord, 6);
    EXPECT_EQ(title(), "");
    click("cmdNext");
    EXPECT_EQ(state().cursor.IndexPosition, 2);
    EXPECT_EQ(state().CurrentRecord, 6);
    EXPECT_EQ(main().focus(), "txtTitle");
}

TEST_F(AlphabeticViewTest, EmptyFormatIndexes) {
    writeFile("DVDqen.Dat", "");
    writeFile("DVDqen", " 2\r\n");
    writeFile("Laserqen.Dat", "");
    writeFile("Laserqen", " 2\r\n");
    launch();
    click("mnuByDVD");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.lastMessage(),
              "There are No DVD Discs in Library or Files need to Be Sorted");
    EXPECT_EQ(platform.messages[0].caption, "ALPHA DVD TITLE SEARCH");
    EXPECT_EQ(state().cursor.ViewMode, "");
    // The laser view does not reset; Next then meets the end.
    click("mnuByLaser");
    EXPECT_EQ(platform.lastMessage(),
              "There are No Laser Discs in Library or Files need to Be Sorted");
    EXPECT_EQ(state().cursor.ViewMode, "Laser");
    click("cmdNext");
    EXPECT_EQ(platform.lastMessage(), "End of file!");
    EXPECT_EQ(state().cursor.ViewMode, "");
}

TEST_F(AlphabeticViewTest, TitlesCountedButIndexEmptyEndsTheView) {
    writeFile("Titleqen", " 3\r\n");
    launch();
    click("mnuByTitle");
    EXPECT_EQ(platform.lastMessage(), "End of file!");
    EXPECT_EQ(state().cursor.ViewMode, "");
    EXPECT_EQ(state().CurrentRecord, 1);
}

TEST_F(AlphabeticViewTest, ChoosingTheOpenViewShowsTheSameFilmAnotherStartsAfresh) {
    writeIndex("Titleqen.Dat", "Titleqen", {{"Alien", 2}, {"Brazil", 5}, {"Heat", 3}});
    writeIndex("VHSqen.Dat", "VHSqen", {{"Heat", 3}});
    launch();
    click("mnuByTitle");
    click("cmdNext");
    click("mnuByTitle");
    EXPECT_EQ(title(), "Brazil");
    EXPECT_EQ(state().cursor.IndexPosition, 2);
    click("mnuByVHS");
    EXPECT_EQ(state().cursor.ViewMode, "VHS");
    EXPECT_EQ(state().cursor.IndexPosition, 1);
    EXPECT_EQ(title(), "Heat");
    EXPECT_EQ(main().caption, "Reelvane Deluxe Record  3/ 6        VHS  Sorted");
}

TEST_F(AlphabeticViewTest, UnbuiltTitleIndexUsesTheCountInMemory) {
    writeIndex("Titleqen.Dat", "Titleqen", {{"Alien", 2}});
    launch();
    writeFile("Titleqen", " 0\r\n");  // changed behind the program's back
    click("mnuByTitle");
    EXPECT_EQ(title(), "Alien");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(AlphabeticViewTest, OpeningAViewEndsASearchResult) {
    writeIndex("Titleqen.Dat", "Titleqen", {{"Alien", 2}, {"Brazil", 5}, {"Heat", 3}});
    launch();
    type("vert");
    click("mnuFindTitle");
    EXPECT_EQ(state().cursor.SearchMode, Search::Results);
    click("mnuByTitle");
    EXPECT_EQ(state().cursor.SearchMode, Search::None);
    EXPECT_EQ(state().cursor.LastSearch, "");
    EXPECT_EQ(title(), "Alien");
    click("cmdNext");
    EXPECT_EQ(title(), "Brazil");
}

}  // namespace
}  // namespace reel::testing
