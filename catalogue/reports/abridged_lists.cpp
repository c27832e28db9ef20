// The abridged lists.
//
// Each page: the page title, on page 1 underlined column captions, then one
// bold line per film. LinesOnPage is the list's own model of the page: the
// title and captions add fixed amounts, each film one; when it reaches the
// page-full value the page is ruled off and its footer ("Page  2 ") printed
// near the bottom. The last page ends with the list's total line. The lists
// differ only in the values of their table below (which is why, for
// instance, the DVD list fits 50 films on page 1 and the others 49 or 48).
#include "reports/abridged_lists.h"

#include "data/count_files.h"
#include "reports/index_walk.h"
#include "reports/page_estimate.h"
#include "reports/report_run.h"
#include "screen/screen_context.h"

namespace reel {

namespace {

enum class Total { AllTitles, Dvd, Laser, Vhs };

struct AbridgedList {
    const char* listName;  // the list that reads the same index
    const char* viewMode;  // what ViewMode becomes
    std::string_view countFile;
    CountSlot countSlot;
    const char* indexFile;
    const char* heading;  // lblHead
    const char* guardMessage;
    const char* prompt;
    const char* pageTitle;
    int titleColumn;
    int titleIncrement;
    int captionIncrement;
    int pageFull;
    int footerColumn;
    bool advanceBeforeFont;  // the all-titles list moves down before setting the font
    Total total;
};

const AbridgedList AllTitlesList{
    "Title",
    "Title",
    TitleCountFile,
    TitlesCount,
    "Titleqen.Dat",
    "All Titles Abridged Print Program",
    "Records have not been sorted.  Records must be sorted before a report can be written!",
    "Are you sure you want to Print Abridged List?,  This List only prints Title, Date, Genre "
    "and Format. It will take ",
    "Reelvane Deluxe Edition Short Print List",
    15,
    6,
    2,
    57,
    35,
    true,
    Total::AllTitles};

const AbridgedList DvdList{
    "DVD",
    "DVDqen",  // names no list: Next and Previous then only show the record again
    DvdCountFile,
    DvdCount,
    "DVDqen.Dat",
    "All DVD Titles Abridged Print Program",
    "DVD Records have not been sorted, or there are no records to sort.  Records must be sorted "
    "before a report can be written!",
    "Do you want to print DVD disc library?  This list only prints Title, Date, Genre and "
    "Format. It will take ",
    "Reelvane Deluxe Edition DVD List",
    18,
    5,
    1,
    56,
    38,
    false,
    Total::Dvd};

const AbridgedList LaserList{
    "Laser",
    "Laser",
    LaserCountFile,
    LaserCount,
    "Laserqen.Dat",
    "All Laser Titles Abridged Print Program",
    "Laser Records have not been sorted, or there are no records to sort.  Records must be "
    "sorted before a report can be written!",
    "Do you want to print laser disc library?  This list only prints Title, Date, Genre and "
    "Format. It will take ",
    "Reelvane Deluxe Edition Laser List",
    17,
    6,
    2,
    56,
    38,
    false,
    Total::Laser};

const AbridgedList VhsList{
    "VHS",
    "VHS",
    VhsCountFile,
    VhsCount,
    "VHSqen.Dat",
    "All VHS Titles Abridged Print Program",
    "VHS Records have not been sorted, or there are no records to sort.  Records must be sorted "
    "before a report can be written!",
    "Do you want to print VHS library?  This list only prints Title, Date, Genre and Format. It "
    "will take ",
    "Reelvane Deluxe Edition VHS List",
    18,
    6,
    2,
    56,
    38,
    false,
    Total::Vhs};

const AbridgedList& listFor(ReportKind kind) {
    switch (kind) {
        case ReportKind::Dvd:
            return DvdList;
        case ReportKind::Laser:
            return LaserList;
        case ReportKind::Vhs:
            return VhsList;
        default:
            return AllTitlesList;
    }
}

void pageStart(ReportRun& run, const AbridgedList& list, bool firstPage) {
    if (list.advanceBeforeFont) {
        run.advanceLines(1);
        run.font();
    } else {
        run.font();
        run.advanceLines(1);
    }
    run.bold(true);
    run.line({Tab(list.titleColumn), list.pageTitle});
    run.LinesOnPage += list.titleIncrement;
    run.advanceLines(1);
    if (!firstPage) return;
    run.underline(true);
    run.line({Tab(3), "Title", std::string(36, ' '), "Date", std::string(5, ' '), "Genre",
              std::string(17, ' '), "Format "});
    run.LinesOnPage += list.captionIncrement;
    run.underline(false);
    run.line({});
    if (list.total == Total::AllTitles) run.bold(false);
}

void closingLines(ReportRun& run, const AbridgedList& list) {
    const long long films = run.FilmsPrinted;
    switch (list.total) {
        case Total::AllTitles:
            run.line({});
            run.LinesOnPage += 1;
            run.line({"TOTAL FILM(S)", "  ", Number(films)});
            break;
        case Total::Dvd:
            run.line({Tab(3), rule()});
            run.line({});
            run.LinesOnPage += 1;
            run.line({Tab(3), "TOTAL DVD FILM(S)", "  ", Number(films)});
            break;
        case Total::Laser:
            run.line({Tab(3), rule()});
            run.line({});
            run.LinesOnPage += 1;
            run.line({"TOTAL LASER FILM(S)", "  ", Number(films)});
            break;
        case Total::Vhs:
            run.line({});
            run.LinesOnPage += 1;
            run.line({"TOTAL VHS FILM(S) ", Number(films)});
            break;
    }
    run.advanceLines(58 - run.LinesOnPage);
}

}  // namespace

void printAbridgedList(ScreenContext& screen, ReportKind kind) {
    const AbridgedList& list = listFor(kind);
    Platform& platform = screen.platform();

    IndexWalk walk(screen, list.listName, list.indexFile);
    walk.begin();
    screen.cursor().ViewMode = list.viewMode;
    const std::string count = readCountFile(screen.directory(), list.countFile);
    screen.countText()[list.countSlot] = count;
    screen.control(Lent::Heading).text = list.heading;

    if (count == "0") {
        platform.messageBox(list.guardMessage, MsgIcon::Exclamation, MsgButtons::Ok,
                            PrintProgramTitle);
        screen.indexes().indexBuild(screen);
        screen.reset();
        return;
    }

    screen.pageNumber() = 1;
    MsgResult answer = platform.messageBox(std::string(list.prompt) + abridgedEstimate(count),
                                           MsgIcon::Question, MsgButtons::YesNo, PrintProgramTitle);
    if (answer != MsgResult::Yes) {
        // Nothing is printing: the screen must not go on announcing the spooler.
        screen.pageNumber() = 0;
        return;
    }

    ReportRun run(screen);
    if (!run.openPrinter(list.pageTitle)) return;
    pageStart(run, list, true);
    while (std::optional<std::int32_t> record = walk.next()) {
        run.showFilm(*record);
        run.bold(true);
        run.line({trimmed(screen.control(Lent::TitleBox).text), Tab(44),
                  trimmed(screen.control(Lent::YearBox).text), Tab(53),
                  screen.control(Lent::GenreNameBox).text, Tab(75),
                  screen.control(Lent::FormatBox).text});
        run.bold(false);
        run.FilmsPrinted += 1;
        run.LinesOnPage += 1;
        if (run.LinesOnPage >= list.pageFull) {
            run.bold(true);
            run.line({Tab(3), rule()});
            run.LinesOnPage += 1;
            run.advanceLines(58 - run.LinesOnPage);
            run.line({Tab(list.footerColumn), "Page ", Number(screen.pageNumber())});
            run.bold(false);
            run.nextPage();
            pageStart(run, list, false);
        }
        if (run.printerFailed()) return;
    }
    if (run.stoppedByDamage(walk)) return;
    closingLines(run, list);
    run.finish(list.footerColumn);
}

}  // namespace reel
