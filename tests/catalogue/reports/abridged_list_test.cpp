// The abridged lists on the recording printer: page frame, page breaks,
// totals, starting inside a viewed list, the prompt and the guard.
#include "report_fixture.h"

namespace reel::testing {
namespace {

class AbridgedListTest : public ReportTest {};

TEST_F(AbridgedListTest, FirstPageLayoutOfTheAllTitlesList) {
    catalogueOf(3, "V", "Titleqen.Dat", "Titleqen");
    start();
    answer(MsgResult::Yes);
    answer(MsgResult::Ok);
    print("mnuShort");

    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].text,
              "Are you sure you want to Print Abridged List?,  This List only prints Title, Date, "
              "Genre and Format. It will take 1 page to print.");
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Question);
    EXPECT_EQ(platform.messages[0].caption, "Reelvane Deluxe Edition Print Program");

    ASSERT_EQ(pages().size(), 1u);
    EXPECT_EQ(pages()[0].fontFamily, "Courier New");
    EXPECT_EQ(pages()[0].pointSize, 12);
    EXPECT_EQ(lineText(0, 0), "");
    EXPECT_EQ(lineText(0, 1), std::string(14, ' ') + "Reelvane Deluxe Edition Short Print List");
    EXPECT_EQ(pages()[0].lines[1].boldSpans(), (std::vector<std::pair<int, int>>{{15, 54}}));
    // Captions in columns 3, 44, 53 and 75, underlined throughout.
    EXPECT_EQ(column(0, 3, "Title"), 3);
    EXPECT_EQ(column(0, 3, "Date"), 44);
    EXPECT_EQ(column(0, 3, "Genre"), 53);
    EXPECT_EQ(column(0, 3, "Format "), 75);
    EXPECT_EQ(pages()[0].lines[3].underlineSpans(), (std::vector<std::pair<int, int>>{{3, 81}}));
    EXPECT_EQ(lineText(0, 4), "");
    // Titles start in column 1 (trimmed), in bold; the rest in its columns.
    EXPECT_EQ(lineText(0, 5), "Film 001" + std::string(35, ' ') + "1950" + std::string(5, ' ') +
                                  "Drama" + std::string(17, ' ') + "VHS");
    EXPECT_EQ(pages()[0].lines[5].boldSpans().front().first, 1);
    // Closing: empty line, the total in regular weight, then down to the footer.
    EXPECT_EQ(lineText(0, 8), "");
    EXPECT_EQ(lineText(0, 9), "TOTAL FILM(S)   3 ");
    EXPECT_TRUE(pages()[0].lines[9].boldSpans().empty());
    // LinesOnPage is 6 + 2 + 3 + 1 = 12 at the total: 46 lines down to the footer.
    int footer = findLine(0, "Page ");
    EXPECT_EQ(footer, 10 + 46);
    EXPECT_EQ(lineText(0, footer), std::string(34, ' ') + "Page  1 ");

    EXPECT_EQ(platform.messages[1].text, "End of file!   Please wait. There is 1 page to print.");
    EXPECT_EQ(platform.beeps, 1);
    EXPECT_TRUE(printer.ended());
    // Reset after the closing message.
    EXPECT_EQ(state().PageNumber, 0);
    EXPECT_EQ(state().cursor.ViewMode, "");
    EXPECT_EQ(state().cursor.IndexPosition, 0);
}

// Films per page and the page on which the total lands, per list. Where a
// page is filled exactly by the last film the page ends normally and the
// next holds only its title and the closing lines.
struct PagingCase {
    const char* menu;
    const char* format;
    const char* index;
    const char* count;
    int films;
    int pages;
    std::vector<int> filmsPerPage;
    const char* footerText;  // the footer of the last page
    int footerColumn;
};

class AbridgedPaging : public AbridgedListTest, public ::testing::WithParamInterface<PagingCase> {};

TEST_P(AbridgedPaging, FilmsPerPageAndTheLastPage) {
    const PagingCase& c = GetParam();
    catalogueOf(c.films, c.format, c.index, c.count);
    start();
    answer(MsgResult::Yes);
    answer(MsgResult::Ok);
    print(c.menu);

    ASSERT_EQ(static_cast<int>(pages().size()), c.pages);
    for (int p = 0; p < c.pages; ++p) {
        int films = 0;
        for (const GridLine& line : pages()[static_cast<std::size_t>(p)].lines)
            if (line.text().rfind("Film ", 0) == 0) ++films;
        EXPECT_EQ(films, c.filmsPerPage[static_cast<std::size_t>(p)]) << "page " << p + 1;
        // Column captions on page 1 only.
        EXPECT_EQ(findLine(p, "Title   ") >= 0, p == 0) << "page " << p + 1;
    }
    const int last = c.pages - 1;
    int footer = findLine(last, "Page ");
    ASSERT_GE(footer, 0);
    EXPECT_EQ(column(last, footer, "Page "), c.footerColumn);
    EXPECT_EQ(lineText(last, footer).substr(c.footerColumn - 1), c.footerText);
    EXPECT_GE(findLine(last, "TOTAL"), 0);
    EXPECT_LT(findLine(last, "TOTAL"), footer);
    std::string closing = c.pages == 1
                              ? "There is 1 page to print."
                              : "There are " + std::to_string(c.pages) + " pages to print.";
    EXPECT_EQ(platform.lastMessage(), "End of file!   Please wait. " + closing);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, AbridgedPaging,
    ::testing::Values(
        // 49 titles fill page 1 exactly (6 + 2 + 49 = 57): the total goes on page 2.
        PagingCase{"mnuShort", "V", "Titleqen.Dat", "Titleqen", 49, 2, {49, 0}, "Page  2 ", 35},
        PagingCase{"mnuShort", "V", "Titleqen.Dat", "Titleqen", 50, 2, {49, 1}, "Page  2 ", 35},
        PagingCase{"mnuShort", "V", "Titleqen.Dat", "Titleqen", 48, 1, {48}, "Page  1 ", 35},
        PagingCase{"mnuDVD", "D", "DVDqen.Dat", "DVDqen", 50, 2, {50, 0}, "Page  2 ", 38},
        PagingCase{"mnuDVD", "D", "DVDqen.Dat", "DVDqen", 102, 3, {50, 51, 1}, "Page  3 ", 38},
        PagingCase{"mnuLaser", "L", "Laserqen.Dat", "Laserqen", 49, 2, {48, 1}, "Page  2 ", 38},
        PagingCase{"mnuVHS", "V", "VHSqen.Dat", "VHSqen", 97, 2, {48, 49}, "Page  2 ", 38}));

TEST_F(AbridgedListTest, PageEndIsRuledAndFootedInBold) {
    catalogueOf(50, "V", "Titleqen.Dat", "Titleqen");
    start();
    answer(MsgResult::Yes);
    answer(MsgResult::Ok);
    print("mnuShort");
    ASSERT_EQ(pages().size(), 2u);
    int ruleLine = findLine(0, "____");
    ASSERT_GT(ruleLine, 0);
    EXPECT_EQ(lineText(0, ruleLine), "  " + std::string(76, '_'));
    // LinesOnPage is 58 after the rule: the footer follows at once.
    EXPECT_EQ(lineText(0, ruleLine + 1), std::string(34, ' ') + "Page  1 ");
    EXPECT_FALSE(pages()[0].lines[static_cast<std::size_t>(ruleLine + 1)].boldSpans().empty());
    // Page 2: title, then the 50th film right after the empty line.
    EXPECT_EQ(lineText(1, 1).find("Short Print List") != std::string::npos, true);
    EXPECT_EQ(lineText(1, 3).rfind("Film 050", 0), 0u);
    EXPECT_EQ(platform.lastMessage(), "End of file!   Please wait. There are 2 pages to print.");
}

TEST_F(AbridgedListTest, ClosingLinesOfEachList) {
    struct Case {
        const char* menu;
        const char* format;
        const char* index;
        const char* count;
        std::vector<std::string> closing;  // from the line after the last film
    };
    const Case cases[] = {
        {"mnuDVD",
         "D",
         "DVDqen.Dat",
         "DVDqen",
         {"  " + std::string(76, '_'), "", "  TOTAL DVD FILM(S)   2 "}},
        {"mnuLaser",
         "L",
         "Laserqen.Dat",
         "Laserqen",
         {"  " + std::string(76, '_'), "", "TOTAL LASER FILM(S)   2 "}},
        {"mnuVHS", "V", "VHSqen.Dat", "VHSqen", {"", "TOTAL VHS FILM(S)  2 "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.menu);
        printer = RecordingPrintDevice();
        app.reset();
        catalogueOf(2, c.format, c.index, c.count);
        start();
        answer(MsgResult::Yes);
        answer(MsgResult::Ok);
        print(c.menu);
        ASSERT_EQ(pages().size(), 1u);
        int second = findLine(0, "Film 002");
        ASSERT_GT(second, 0);
        for (std::size_t i = 0; i < c.closing.size(); ++i)
            EXPECT_EQ(lineText(0, second + 1 + static_cast<int>(i)), c.closing[i]);
    }
}

TEST_F(AbridgedListTest, StartsAtTheViewedListsPositionOnlyForItsOwnList) {
    catalogueOf(6, "D", "DVDqen.Dat", "DVDqen");
    writeIndex("VHSqen.Dat", {{"Film 001", 1}});
    writeCount("VHSqen", 1);
    start();

    // The DVD list is being viewed at its fourth entry.
    state().cursor.ViewMode = "DVD";
    state().cursor.IndexPosition = 4;
    answer(MsgResult::Yes);
    answer(MsgResult::Ok);
    print("mnuDVD");
    EXPECT_EQ(indexCloses, 1);  // only by the closing Reset
    ASSERT_EQ(pages().size(), 1u);
    EXPECT_EQ(lineText(0, 5).rfind("Film 004", 0), 0u);
    EXPECT_EQ(findLine(0, "Film 003"), -1);
    EXPECT_GE(findLine(0, "TOTAL DVD FILM(S)   3 "), 0);

    // While the VHS list is viewed the DVD list starts from its first entry.
    printer = RecordingPrintDevice();
    indexCloses = 0;
    state().cursor.ViewMode = "VHS";
    state().cursor.IndexPosition = 1;
    answer(MsgResult::Yes);
    answer(MsgResult::Ok);
    print("mnuDVD");
    EXPECT_EQ(indexCloses, 2);  // the VHS list's index, then Reset
    EXPECT_EQ(lineText(0, 5).rfind("Film 001", 0), 0u);
    EXPECT_GE(findLine(0, "TOTAL DVD FILM(S)   6 "), 0);
}

TEST_F(AbridgedListTest, NoAtThePromptPrintsNothingAndDoesNotReset) {
    catalogueOf(54, "D", "DVDqen.Dat", "DVDqen");
    start();
    state().CurrentRecord = 7;
    answer(MsgResult::No);
    print("mnuDVD");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              "Do you want to print DVD disc library?  This list only prints Title, Date, Genre "
              "and Format. It will take 1.018 pages to print.");
    EXPECT_TRUE(jobs.empty());
    EXPECT_TRUE(pages().empty());
    EXPECT_EQ(state().CurrentRecord, 7);
    EXPECT_EQ(state().cursor.ViewMode, "DVDqen");
    EXPECT_EQ(text("lblHead"), "All DVD Titles Abridged Print Program");
    // Nothing prints, so nothing may announce the spooler afterwards.
    EXPECT_EQ(state().PageNumber, 0);
}

TEST_F(AbridgedListTest, UnsortedListWarnsSortsAndResets) {
    writeNumberedFilms(3);
    start();
    state().CurrentRecord = 3;
    answer(MsgResult::Ok);
    print("mnuLaser");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              "Laser Records have not been sorted, or there are no records to sort.  Records must "
              "be sorted before a report can be written!");
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(indexBuilds, 1);
    EXPECT_EQ(state().CurrentRecord, 1);  // Reset
    EXPECT_TRUE(jobs.empty());
}

TEST_F(AbridgedListTest, ScreenShowsEachFilmAndThePrintingHeading) {
    catalogueOf(2, "L", "Laserqen.Dat", "Laserqen");
    start();
    answer(MsgResult::Yes);
    answer(MsgResult::Ok);
    print("mnuLaser");
    ASSERT_FALSE(headsWhilePrinting.empty());
    EXPECT_EQ(headsWhilePrinting.back(), "Please wait print spooler is loading files.");
    EXPECT_GE(platform.refreshes, 2);
    EXPECT_EQ(jobs, (std::vector<std::string>{"Reelvane Deluxe Edition Laser List"}));
}

TEST_F(AbridgedListTest, EmptyIndexWithACountPrintsAnEmptyList) {
    writeNumberedFilms(2);
    writeCount("VHSqen", 2);  // out of step: no index file at all
    start();
    answer(MsgResult::Yes);
    answer(MsgResult::Ok);
    print("mnuVHS");
    ASSERT_EQ(pages().size(), 1u);
    EXPECT_GE(findLine(0, "TOTAL VHS FILM(S)  0 "), 0);
}

TEST_F(AbridgedListTest, PrinterFailureIsReportedAndResets) {
    catalogueOf(60, "V", "Titleqen.Dat", "Titleqen");
    start();
    printer.failAtNextPage("The printer went away.");
    answer(MsgResult::Yes);
    answer(MsgResult::Ok);
    print("mnuShort");
    EXPECT_EQ(platform.lastMessage(), "The report could not be printed: The printer went away.");
    EXPECT_TRUE(printer.abandoned());
    EXPECT_EQ(state().PageNumber, 0);
    EXPECT_EQ(platform.beeps, 0);
}

TEST_F(AbridgedListTest, NoPrinterTellsTheUserAndResets) {
    catalogueOf(2, "V", "Titleqen.Dat", "Titleqen");
    start();
    platform.printerFactory = nullptr;
    answer(MsgResult::Yes);
    answer(MsgResult::Ok);
    print("mnuShort");
    EXPECT_EQ(platform.lastMessage(), "The report cannot be printed.");
    EXPECT_EQ(state().PageNumber, 0);
}

}  // namespace
}  // namespace reel::testing
