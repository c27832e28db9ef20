// The full list on the recording printer: the block of each film, the Tab
// rule for long titles, films of no known format, pages of eight films.
#include "report_fixture.h"

namespace reel::testing {
namespace {

class FullListTest : public ReportTest {
  protected:
    FilmRecord film(const std::string& title, const std::string& format) {
        return makeFilm({{Field::Title, title},
                         {Field::Director, "Jean Renoir"},
                         {Field::Star1, "Star One"},
                         {Field::Star2, "Star Two"},
                         {Field::Star3, "Star Three"},
                         {Field::Star4, "Star Four"},
                         {Field::Star5, "Star Five"},
                         {Field::Star6, "Star Six"},
                         {Field::Label, "Criterion"},
                         {Field::Format, format},
                         {Field::NumReel, "2"},
                         {Field::Genre, "DR"},
                         {Field::Time, "106"},
                         {Field::Year, "1937"},
                         {Field::CassNo, "A12"},
                         {Field::CLV, "CLV"},
                         {Field::Color, "B&W"},
                         {Field::Sound, "Mono"},
                         {Field::Awards, "Best Foreign Film"},
                         {Field::Rating, "NR"}});
    }
    void printAll(int pagesExpected = 1) {
        start();
        answer(MsgResult::Yes);
        answer(MsgResult::Ok);
        print("mnuAll");
        ASSERT_EQ(static_cast<int>(pages().size()), pagesExpected);
    }
};

TEST_F(FullListTest, BlockOfADvd) {
    FilmRecord f = film("Grand Illusion", "D");
    f.set(Field::Letter, "W");
    writeFilms({f});
    writeIndex("Titleqen.Dat", {{"Grand Illusion", 1}});
    printAll();

    EXPECT_EQ(platform.messages[0].text,
              "If you have added any new records be sure to sort files before printing!\n\nAre you "
              "sure you want to print all titles? The full list will take 1 page to print.");
    // Page start: moved down one line, the title, an empty line, the rule.
    EXPECT_EQ(lineText(0, 1),
              std::string(14, ' ') + "Reelvane Deluxe Edition All Titles Full List");
    EXPECT_EQ(lineText(0, 3), "  " + std::string(76, '_'));
    const std::vector<std::string> block = {
        at({{3, "Grand Illusion"}, {34, "Jean Renoir (Dir.)"}, {72, "REC #1"}}),
        at({{3, "Star One"}, {34, "Star Two"}, {64, "106 mins."}, {73, "1937"}}),
        at({{3, "Star Three"}, {34, "Star Four"}, {64, "B&W"}, {70, "Wide Screen"}}),
        at({{3, "Star Five"}, {34, "Star Six"}, {64, "Drama"}}),
        at({{3, "Label:Criterion"},
            {25, "DVD 2Disc(s)"},
            {43, "MPAA :NR"},
            {55, "DVD Disc"},
            {70, "SNDMono"}}),
        "  Notes/Awards: Best Foreign Film" + std::string(43, ' ') + ":  ",
    };
    for (std::size_t i = 0; i < block.size(); ++i)
        EXPECT_EQ(lineText(0, 4 + static_cast<int>(i)), block[i]) << "line " << i + 1;
    EXPECT_EQ(pages()[0].lines[9].underlineSpans(), (std::vector<std::pair<int, int>>{{3, 79}}));
    EXPECT_TRUE(pages()[0].lines[8].underlineSpans().empty());
    EXPECT_EQ(pages()[0].lines[4].boldSpans().front().first, 3);
    // Closing: empty line, total, empty line, footer with no move down.
    EXPECT_EQ(lineText(0, 10), "");
    EXPECT_EQ(lineText(0, 11), "  TOTAL FILM(S) IN LIBRARY   1 ");
    EXPECT_EQ(lineText(0, 12), "");
    EXPECT_EQ(lineText(0, 13), std::string(37, ' ') + "Page  1 ");
    EXPECT_EQ(platform.messages[1].text, "End of file!   please wait. There is 1 Page to print.");
}

TEST_F(FullListTest, FormatLinesAndFilmsOfNoKnownFormat) {
    FilmRecord laser = film("Laser Film", "L");
    FilmRecord vhs = film("Tape Film", "V");
    FilmRecord none = film("Odd Film", "X");
    writeFilms({laser, vhs, none});
    writeIndex("Titleqen.Dat", {{"Laser Film", 1}, {"Odd Film", 3}, {"Tape Film", 2}});
    printAll();
    EXPECT_EQ(lineText(0, 8), at({{3, "Label:Criterion"},
                                  {25, "Laser 2 Disc(s)"},
                                  {43, "MPAA :NR"},
                                  {55, "CLV"},
                                  {70, "SND: Mono"}}));
    // The film of no known format has five lines: awards right after line 4.
    int odd = findLine(0, "Odd Film");
    ASSERT_GT(odd, 0);
    EXPECT_EQ(lineText(0, odd + 4).rfind("  Notes/Awards: ", 0), 0u);
    EXPECT_EQ(lineText(0, odd + 5).find("Tape Film"), 2u);
    EXPECT_EQ(lineText(0, odd + 9), at({{3, "Label:Criterion"},
                                        {25, "VHS 2 Cass(s)."},
                                        {43, "MPAA :NR"},
                                        {55, "Cass# A12"},
                                        {70, "SND: Mono"}}));
}

TEST_F(FullListTest, LongTitlePushesTheDirectorToTheNextLine) {
    const std::string longTitle = "The Discreet Charm of the Bourgeoisi";  // 36 characters
    writeFilms({film(longTitle, "D"), film("Short", "D")});
    writeIndex("Titleqen.Dat", {{longTitle, 1}, {"Short", 2}});
    printAll();
    EXPECT_EQ(lineText(0, 4), "  " + longTitle);
    EXPECT_EQ(lineText(0, 5), at({{34, "Jean Renoir (Dir.)"}, {72, "REC #1"}}));
    EXPECT_EQ(lineText(0, 6).rfind("  Star One", 0), 0u);
    // 31 characters still fit before column 34.
    EXPECT_EQ(column(0, 11, "Jean Renoir"), 34);
}

TEST_F(FullListTest, AspectOfThePreviousFilmIsNotPrinted) {
    FilmRecord wide = film("A Wide Film", "D");
    wide.set(Field::Letter, "W");
    FilmRecord plain = film("B Plain Film", "D");
    writeFilms({wide, plain});
    writeIndex("Titleqen.Dat", {{"A Wide Film", 1}, {"B Plain Film", 2}});
    printAll();
    int second = findLine(0, "B Plain Film");
    ASSERT_GT(second, 0);
    EXPECT_EQ(lineText(0, second + 2), at({{3, "Star Three"}, {34, "Star Four"}, {64, "B&W"}}));
}

TEST_F(FullListTest, EightFilmsAPageWithFooterAtTheBottom) {
    std::vector<FilmRecord> films;
    std::vector<IndexRow> rows;
    for (int i = 1; i <= 9; ++i) {
        std::string title = "Film " + std::to_string(i);
        films.push_back(film(title, "V"));
        rows.push_back({title, i});
    }
    writeFilms(films);
    writeIndex("Titleqen.Dat", rows);
    printAll(2);
    const std::string estimate = "will take 1.125 pages to print.";
    const std::string& prompt = platform.messages[0].text;
    EXPECT_EQ(prompt.substr(prompt.size() - estimate.size()), estimate);
    // 8 + 48 lines: LinesOnPage 56, no move down, footer after the last block.
    EXPECT_EQ(lineText(0, 52), std::string(37, ' ') + "Page  1 ");
    EXPECT_FALSE(pages()[0].lines[52].boldSpans().empty());
    EXPECT_EQ(lineText(1, 4).find("Film 9"), 2u);
    EXPECT_EQ(platform.lastMessage(), "End of file!   please wait. There are 2 pages to print.");
}

// An entry beyond the last record (a damaged index) ends the report
// unprinted; the film after it would be one that is not in the file.
TEST_F(FullListTest, DamagedIndexDropsTheReportAndAsksForASort) {
    writeFilms({film("Film 1", "V"), film("Film 2", "D")});
    writeIndex("Titleqen.Dat", {{"Film 1", 1}, {"Film 9", 100000}, {"Film 2", 2}});
    start();
    answer(MsgResult::Yes);
    answer(MsgResult::Ok);
    print("mnuAll");
    EXPECT_TRUE(printer.abandoned());
    EXPECT_EQ(platform.lastMessage(),
              "The index file Titleqen.Dat is damaged.  It names record 100000, but the last "
              "record is 2.\n\nChoose Sort All Files in the Sort menu to rebuild the indexes.");
    EXPECT_NE(state().CurrentRecord, 100000);
}

}  // namespace
}  // namespace reel::testing
