// The director, star and genre reports on the recording printer.
#include "report_fixture.h"
#include "reports/selective_reports.h"

namespace reel::testing {
namespace {

class SelectiveReportTest : public ReportTest {
  protected:
    // Films in title order; record numbers follow the vector.
    void catalogue(const std::vector<FilmRecord>& films) {
        std::vector<IndexRow> rows;
        for (std::size_t i = 0; i < films.size(); ++i)
            rows.push_back({films[i].value(Field::Title), static_cast<int>(i + 1)});
        writeFilms(films);
        writeIndex("Titleqen.Dat", rows);
        writeCount("Titleqen", static_cast<int>(films.size()));
        start();
    }
    void run(const std::string& menu, const std::string& search) {
        platform.inputs.push_back(search);
        answer(MsgResult::Ok);
        print(menu);
    }
};

FilmRecord withDirector(const std::string& title, const std::string& director) {
    return makeFilm({{Field::Title, title},
                     {Field::Director, director},
                     {Field::Year, "1960"},
                     {Field::Genre, "DR"},
                     {Field::Format, "D"}});
}

FilmRecord withGenre(const std::string& title, const std::string& genre) {
    return makeFilm({{Field::Title, title},
                     {Field::Genre, genre},
                     {Field::Year, "1970"},
                     {Field::Format, "V"}});
}

TEST_F(SelectiveReportTest, DirectorReportNamesFirstMatchInHeadingAndLastInTotal) {
    catalogue({withDirector("Boudu", "Jean Renoir"), withDirector("Other", "Someone Else"),
               withDirector("Zazie", "Pierre Renoirx")});
    run("mnuDirector", "renoir");
    EXPECT_EQ(platform.prompts.at(0), "Enter Director's Last Name. To Print List: ");
    EXPECT_EQ(state().PageNumber, 0);  // Reset at the end
    ASSERT_EQ(pages().size(), 1u);
    EXPECT_EQ(lineText(0, 2), at({{18, "Reelvane Deluxe Edition Directors List"}}));
    // "Jean Renoir" is 11 long: (61 - 11) / 2 = 25, plus 3.
    EXPECT_EQ(lineText(0, 4), at({{28, "Films Directed by Jean Renoir"}}));
    EXPECT_EQ(column(0, 6, "Date"), 43);
    EXPECT_EQ(column(0, 6, "Genre"), 50);
    EXPECT_EQ(column(0, 6, "Format "), 72);
    EXPECT_EQ(pages()[0].lines[6].underlineSpans(), (std::vector<std::pair<int, int>>{{3, 78}}));
    EXPECT_EQ(lineText(0, 8), at({{3, "Boudu"}, {43, "1960"}, {50, "Drama"}, {72, "DVD"}}));
    EXPECT_EQ(lineText(0, 9).substr(2, 5), "Zazie");
    EXPECT_EQ(findLine(0, "Other"), -1);
    // The last match is the director the total names.
    EXPECT_EQ(lineText(0, 10), "");
    EXPECT_EQ(lineText(0, 11),
              "  TOTAL FILM(S) DIRECTED BY PIERRE RENOIRX IN YOUR COLLECTION IS 2.");
    EXPECT_FALSE(pages()[0].lines[11].boldSpans().empty());
    // LinesOnPage 6 + 2 + 1 = 9: 49 lines down, then the footer.
    EXPECT_EQ(lineText(0, 12 + 49), at({{38, "Page  1 "}}));
    EXPECT_EQ(platform.lastMessage(), "End of file!   Please wait. There is 1 page to print.");
    EXPECT_EQ(platform.beeps, 1);
}

TEST_F(SelectiveReportTest, DirectorReportLaterPagesCarryOnlyTheTitle) {
    std::vector<FilmRecord> films;
    for (int i = 1; i <= 51; ++i) {
        char title[16];
        std::snprintf(title, sizeof title, "Film %03d", i);
        films.push_back(withDirector(title, "Jean Renoir"));
    }
    catalogue(films);
    run("mnuDirector", "Renoir");
    ASSERT_EQ(pages().size(), 2u);
    // 50 films reach 56; the rule makes 57, one line down to the footer.
    int ruleLine = findLine(0, "____");
    EXPECT_EQ(ruleLine, 8 + 50);
    EXPECT_EQ(lineText(0, ruleLine + 2), at({{38, "Page  1 "}}));
    EXPECT_EQ(lineText(1, 2), at({{15, "Reelvane Deluxe Edition Directors List"}}));
    EXPECT_EQ(lineText(1, 4).substr(2, 8), "Film 051");
    EXPECT_EQ(platform.lastMessage(), "End of file!   Please wait. There are 2 pages to print.");
}

TEST_F(SelectiveReportTest, DirectorMatchingOnlyTheLastEntryAndNoMatchAtAll) {
    catalogue({withDirector("Alpha", "Someone"), withDirector("Omega", "Fritz Lang")});
    run("mnuDirector", "lang");
    ASSERT_EQ(pages().size(), 1u);
    EXPECT_EQ(lineText(0, 8).substr(2, 5), "Omega");

    printer = RecordingPrintDevice();
    run("mnuDirector", "welles");
    EXPECT_EQ(platform.lastMessage(), "No films directed by \"WELLES\" found!");
    EXPECT_TRUE(pages().empty());
    EXPECT_EQ(state().PageNumber, 0);
}

TEST_F(SelectiveReportTest, StarMatchingTwoStarsOfOneFilmPrintsItOnceNamingTheFirst) {
    FilmRecord film = makeFilm({{Field::Title, "Rules of the Game"},
                                {Field::Star1, "Nora Gregor"},
                                {Field::Star3, "Marcel Dalio"},
                                {Field::Star5, "Marcel Dalix"},
                                {Field::Genre, "CO"},
                                {Field::Year, "1939"},
                                {Field::Format, "L"}});
    catalogue({film});
    run("mnuStars", "MARCEL");
    ASSERT_EQ(pages().size(), 1u);
    EXPECT_EQ(lineText(0, 2), at({{19, "Reelvane Deluxe Edition Stars List"}}));
    // "Marcel Dalio" is 12 long: (61 - 12) / 2 = 24.5 goes to 24, plus 3.
    EXPECT_EQ(lineText(0, 5), at({{27, "Films starring Marcel Dalio"}}));
    int films = 0;
    for (const GridLine& line : pages()[0].lines)
        if (line.text().find("Rules of the Game") != std::string::npos) ++films;
    EXPECT_EQ(films, 1);
    EXPECT_EQ(lineText(0, 9),
              at({{3, "Rules of the Game"}, {43, "1939"}, {50, "Comedy"}, {72, "Laser"}}));
    EXPECT_EQ(lineText(0, 11), "  TOTAL FILM(S) STARRING MARCEL DALIO IN YOUR COLLECTION IS 1.");
    // LinesOnPage 5 + 1 + 1 + 1 + 1 + 1 = 10: 50 lines down to the footer.
    EXPECT_EQ(lineText(0, 12 + 50), at({{38, "Page  1 "}}));
}

TEST_F(SelectiveReportTest, StarWithoutMatchDropsTheBegunPage) {
    catalogue({makeFilm({{Field::Title, "Alone"}, {Field::Star1, "Nobody"}})});
    run("mnuStars", "gabin");
    EXPECT_EQ(platform.lastMessage(), "No films Staring \"GABIN\" found!");
    EXPECT_TRUE(printer.abandoned());
    EXPECT_FALSE(printer.ended());
    EXPECT_TRUE(pages().empty());
    EXPECT_EQ(state().cursor.IndexPosition, 0);
}

TEST_F(SelectiveReportTest, GenreOfOneLetterListsEveryCodeContainingIt) {
    catalogue({withGenre("A Film", "AA"), withGenre("B Film", "DR"), withGenre("C Film", "an"),
               withGenre("D Film", "FA"), withGenre("E Film", "NA"), withGenre("F Film", "CO")});
    run("mnuGenre", "a");
    EXPECT_EQ(platform.prompts.at(0),
              "Enter Genre. Use Abbr.\r\nAA   Action Adventure\r\nAD   Adult\r\nAN   "
              "Animation\r\nCO   Comedy\r\n See Genre List for more Abbrs.");
    ASSERT_EQ(pages().size(), 1u);
    EXPECT_EQ(lineText(0, 2), at({{17, "Reelvane Deluxe Edition Genre List"}}));
    // "Action Adventure" is 16 long: (62 - 16) / 2 = 23.
    EXPECT_EQ(lineText(0, 4), at({{23, "A list of Action Adventure Films"}}));
    EXPECT_EQ(lineText(0, 5), "");
    std::vector<std::string> titles;
    for (int line = 8; line < 12; ++line) titles.push_back(lineText(0, line).substr(2, 6));
    EXPECT_EQ(titles, (std::vector<std::string>{"A Film", "C Film", "D Film", "E Film"}));
    // Film lines are bold, the genre report's total is not.
    EXPECT_FALSE(pages()[0].lines[8].boldSpans().empty());
    EXPECT_EQ(lineText(0, 13), "  TOTAL Nature Films  4 ");
    EXPECT_TRUE(pages()[0].lines[13].boldSpans().empty());
    EXPECT_EQ(platform.messages.back().text,
              "End of file! Please wait.  There is 1 page to print.");
    EXPECT_EQ(platform.messages.back().caption, "Reelvane Print Program");
}

TEST_F(SelectiveReportTest, GenreNotFoundUsesTheReportsOwnNames) {
    catalogue({withGenre("A Film", "DR")});
    run("mnuGenre", "mu");
    EXPECT_EQ(platform.lastMessage(), "No  \"Musical\" genre found!");
    run("mnuGenre", "zz");
    EXPECT_EQ(platform.lastMessage(), "No  \"\" genre found!");
    EXPECT_TRUE(pages().empty());
}

TEST_F(SelectiveReportTest, EmptySearchEndsQuietly) {
    catalogue({withGenre("A Film", "DR")});
    state().CurrentRecord = 1;
    platform.inputs.push_back("");
    print("mnuGenre");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(jobs.empty());
    EXPECT_EQ(state().cursor.ViewMode, "");
    EXPECT_EQ(state().PageNumber, 0);
    EXPECT_EQ(text("lblHead"), "Genre Search Print Program");
}

TEST(ReportHelpers, CentringRoundsHalvesToEvenAndUpperCaseKeepsOtherCharacters) {
    EXPECT_EQ(centringColumn(61, 11), 25);
    EXPECT_EQ(centringColumn(61, 12), 24);  // 24.5
    EXPECT_EQ(centringColumn(61, 10), 26);  // 25.5
    EXPECT_EQ(centringColumn(62, 16), 23);
    EXPECT_EQ(upperLatin("Truffaut é ß 1"), "TRUFFAUT É ß 1");
    EXPECT_EQ(reportGenreName("MU"), "Musical");
    EXPECT_EQ(reportGenreName("DR"), "Drama");
}

}  // namespace
}  // namespace reel::testing
