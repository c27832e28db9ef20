// The twenty-row list views: filling, paging both ways, the ends, the genre
// filter and the rows of blank and deleted entries.
#include "index_fixture.h"

namespace reel::testing {
namespace {

class ListViewTest : public IndexTest {
  protected:
    // n films "Film 101" ... in the master file and the titles index; every
    // third one is a drama, the others comedies.
    void catalogue(int n) {
        std::vector<FilmRecord> films;
        std::vector<std::pair<std::string, int>> entries;
        for (int i = 1; i <= n; ++i) {
            const std::string name = "Film " + std::to_string(100 + i);
            films.push_back(film({{Field::Title, name},
                                  {Field::Year, std::to_string(1900 + i)},
                                  {Field::Genre, i % 3 == 0 ? "DR" : "CO"},
                                  {Field::Format, "D"}}));
            entries.push_back({name, i});
        }
        writeFilms(films);
        writeIndex("Titleqen.Dat", "Titleqen", entries);
    }
    std::string cell(int column, int row) {
        return text("Text" + std::to_string(column) + "_" + std::to_string(row));
    }
    std::vector<std::string> column1() {
        std::vector<std::string> out;
        for (int row = 0; row < 20; ++row) out.push_back(cell(1, row));
        return out;
    }
    static std::vector<std::string> films(int first, int count) {
        std::vector<std::string> out;
        for (int i = 0; i < count; ++i) out.push_back("Film " + std::to_string(100 + first + i));
        return out;
    }
};

TEST_F(ListViewTest, FiveEntriesFillFiveRowsThenEnd) {
    catalogue(5);
    launch();
    click("mnuAllTitles");
    std::vector<std::string> expected = films(1, 5);
    expected.resize(20);
    EXPECT_EQ(column1(), expected);
    EXPECT_EQ(cell(2, 0), "1901" + std::string(14, ' ') + "Comedy");
    EXPECT_EQ(cell(3, 0), "DVD");
    EXPECT_EQ(cell(2, 5), "");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "End of file!");
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::None);
    EXPECT_EQ(platform.messages[0].caption, "");
    EXPECT_EQ(platform.beeps, 1);
    EXPECT_FALSE(shown("Text1_0"));
    EXPECT_EQ(state().cursor.ListKind, Listing::None);
    EXPECT_EQ(state().CurrentRecord, 1);
}

TEST_F(ListViewTest, FortyEntriesPageForwardAndBack) {
    catalogue(40);
    launch();
    click("mnuAllTitles");
    EXPECT_EQ(column1(), films(1, 20));
    EXPECT_EQ(state().cursor.ListKind, Listing::Grid);
    EXPECT_EQ(state().cursor.SearchMode, Search::Results);
    EXPECT_EQ(state().CurrentRecord, 20);
    EXPECT_TRUE(shown("Text3_19"));
    EXPECT_TRUE(shown("cmdNext20"));
    EXPECT_TRUE(shown("cmdPrev20"));
    EXPECT_FALSE(shown("cmdPrevious"));
    EXPECT_TRUE(platform.messages.empty());
    click("cmdNext");  // inert in a list
    EXPECT_EQ(state().CurrentRecord, 20);

    click("cmdNext20");
    EXPECT_EQ(column1(), films(21, 20));
    EXPECT_TRUE(module->listPaged());

    click("cmdPrev20");
    EXPECT_EQ(column1(), films(1, 20));
    EXPECT_EQ(state().cursor.ListRow, 20);
    EXPECT_EQ(state().cursor.IndexPosition, 1);
    click("cmdNext20");
    EXPECT_EQ(column1(), films(2, 20));
    EXPECT_TRUE(platform.messages.empty());

    // Afresh: the page after the second finds the index exhausted at once.
    click("mnuAllTitles");
    click("cmdNext20");
    EXPECT_EQ(column1(), films(21, 20));
    click("cmdNext20");
    EXPECT_EQ(column1(), std::vector<std::string>(20));
    EXPECT_EQ(platform.lastMessage(), "End of file!");
    EXPECT_FALSE(shown("Text1_0"));
    EXPECT_FALSE(module->listPaged());
}

TEST_F(ListViewTest, PreviousTwentyOnTheFirstPageEndsAtTheTop) {
    catalogue(40);
    launch();
    click("mnuAllTitles");
    click("cmdPrev20");
    EXPECT_EQ(platform.lastMessage(), "Top of file encountered!");
    EXPECT_EQ(platform.messages.back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(platform.messages.back().caption, "");
    EXPECT_EQ(state().cursor.ListKind, Listing::None);
    EXPECT_FALSE(shown("Text1_0"));
    EXPECT_FALSE(shown("cmdPrev20"));
}

TEST_F(ListViewTest, GenreListFiltersOnTheTypedCode) {
    catalogue(70);
    launch();
    type("dr");
    click("mnuFindAllGenre");
    EXPECT_EQ(platform.prompts.back(),
              "Enter Genre To Search:  Use 2 Letter Abreviation\rExamples\rAA  Action Adventure "
              "\rDR  Drama\rCO  Comedy\rupper or lower case");
    EXPECT_NE(platform.log.front().find("[Search]"), std::string::npos);
    EXPECT_EQ(module->genreFilter(), "DR");
    EXPECT_EQ(cell(1, 0), "Film 103");
    EXPECT_EQ(cell(1, 19), "Film 160");
    EXPECT_EQ(cell(2, 19), "1960" + std::string(14, ' ') + "Drama");
    EXPECT_EQ(text("lblHead"), "Viewing All Drama Files Alphabetically");
    click("cmdNext20");
    EXPECT_EQ(cell(1, 0), "Film 163");
    EXPECT_EQ(cell(1, 2), "Film 169");
    EXPECT_EQ(cell(1, 3), "");
    EXPECT_EQ(platform.lastMessage(), "End of file!");

    // "A" is in no code here: an empty genre code is never listed either.
    app.reset();
    writeFilms({film("Film 101", "D", ""), film("Film 102", "D", "AA")});
    writeIndex("Titleqen.Dat", "Titleqen", {{"Film 101", 1}, {"Film 102", 2}});
    launch();
    type("A");
    click("mnuFindAllGenre");
    EXPECT_EQ(cell(1, 0), "Film 102");
    EXPECT_EQ(cell(1, 1), "");
}

TEST_F(ListViewTest, PagingBackInAFilteredListFillsTheTwentyMatchesBefore) {
    catalogue(130);  // dramas: films 103, 106, ..., 129 ... every third
    launch();
    type("DR");
    click("mnuFindAllGenre");
    click("cmdNext20");
    EXPECT_EQ(cell(1, 0), "Film 163");
    click("cmdPrev20");
    EXPECT_EQ(cell(1, 0), "Film 103");
    EXPECT_EQ(cell(1, 19), "Film 160");
    EXPECT_EQ(module->backMatches(), 40);
}

TEST_F(ListViewTest, BlankAndDeletedEntriesInRows) {
    writeFilms({film({{Field::Title, "Alpha"}, {Field::Year, "1950"}, {Field::Format, "V"}}),
                film("", "L"), film("", "L"), FilmRecord()});
    writeIndex("Titleqen.Dat", "Titleqen", {{"", 2}, {"", 3}, {"Alpha", 1}, {"Gone", 4}});
    launch();
    click("mnuAllTitles");
    EXPECT_EQ(cell(1, 0), "");
    EXPECT_EQ(cell(3, 0), "Laser");
    EXPECT_EQ(cell(1, 1), "Alpha");
    EXPECT_EQ(cell(2, 1), "1950" + std::string(14, ' '));
    EXPECT_EQ(cell(3, 1), "VHS");
    EXPECT_EQ(cell(1, 2), "");
    EXPECT_EQ(cell(2, 2), std::string(14, ' '));
    EXPECT_EQ(platform.lastMessage(), "End of file!");
}

TEST_F(ListViewTest, RecordNumberZeroIsAFailure) {
    writeFilms({film("Alpha")});
    writeIndex("DVDqen.Dat", "DVDqen", {{"Alpha", 1}, {"Odd", 0}});
    launch();
    click("mnualldvd");
    EXPECT_EQ(platform.lastMessage(), "End of file encountered!");
    EXPECT_EQ(platform.messages.back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(state().cursor.ListKind, Listing::None);
}

TEST_F(ListViewTest, FormatListsUseTheirIndexGuardAndHeading) {
    catalogue(3);
    writeFile("VHSqen", " 0\r\n");
    launch();
    answer(MsgResult::Ok);
    answer(MsgResult::No);
    click("mnuAllVHS");
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].text,
              "Records have not been sorted.  Records must be sorted before records can be "
              "viewed!");
    EXPECT_EQ(platform.messages[0].caption, "Reelvane Deluxe Edition");
    EXPECT_EQ(state().cursor.ListKind, Listing::None);
    EXPECT_FALSE(shown("Text1_0"));
}

TEST_F(ListViewTest, AnAlphabeticViewOrGenreSearchEndsTheList) {
    catalogue(40);
    launch();
    click("mnuAllTitles");
    click("mnuByTitle");
    EXPECT_FALSE(shown("Text1_0"));
    EXPECT_FALSE(shown("cmdNext20"));
    EXPECT_EQ(state().cursor.SearchMode, Search::None);
    EXPECT_EQ(state().cursor.IndexPosition, 1);
    EXPECT_EQ(title(), "Film 101");
    click("cmdNext");
    EXPECT_EQ(title(), "Film 102");

    type("dr");
    click("mnuFindAllGenre");
    type("dr");
    click("mnuFindGenre");
    EXPECT_EQ(state().cursor.ListKind, Listing::None);
    EXPECT_EQ(title(), "Film 103");
    click("cmdNext");
    EXPECT_EQ(title(), "Film 106");
}

}  // namespace
}  // namespace reel::testing
