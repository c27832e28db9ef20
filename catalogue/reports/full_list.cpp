// The full list.
//
// Block of one film (columns are fixed, so a title longer than 31
// characters pushes the director to column 34 of a line of its own, which
// the page model does not count):
//   title                         director (Dir.)                        REC #n
//   star 1                        star 2                        time mins. year
//   star 3                        star 4                        colour aspect
//   star 5                        star 6                        genre
//   label, number of discs or cassettes, rating, disc or cassette, sound
//   Notes/Awards: (60 characters, underlined to column 79, so it rules the film off)
#include "reports/full_list.h"

#include "data/film_record.h"
#include "reports/index_walk.h"
#include "reports/page_estimate.h"
#include "reports/report_run.h"
#include "screen/screen_context.h"

namespace reel {

namespace {

constexpr const char* PageTitle = "Reelvane Deluxe Edition All Titles Full List";

void pageStart(ReportRun& run) {
    run.advanceLines(1);
    run.bold(true);
    run.font();
    run.line({Tab(15), PageTitle});
    run.LinesOnPage += 6;
    run.line({});
    run.LinesOnPage += 1;
    run.line({Tab(3), rule()});
    run.LinesOnPage += 1;
    run.bold(false);
}

void printBlock(ReportRun& run) {
    ScreenContext& s = run.screen;
    auto box = [&s](const char* name) { return trimmed(s.shownText(name)); };
    auto counted = [&run](std::initializer_list<PrintItem> items) {
        run.line(items);
        run.LinesOnPage += 1;
    };

    counted({Tab(3), box("txtTitle"), Tab(34), box("txtDirector"), " (Dir.)", Tab(72), "REC #",
             std::to_string(s.currentRecord())});
    run.FilmsPrinted += 1;
    counted({Tab(3), box("txtStar1"), Tab(34), box("txtStar2"), Tab(64), box("txtTime"), " mins.",
             Tab(73), s.shownText("txtYear")});
    counted({Tab(3), box("txtStar3"), Tab(34), box("txtStar4"), Tab(64), box("txtColor1"), Tab(70),
             box("txtLetter")});
    counted({Tab(3), box("txtStar5"), Tab(34), box("txtStar6"), Tab(64), box("txtGenreList")});

    const std::string& format = s.shownText("txtFormat");
    if (format == "DVD") {
        counted({Tab(3), "Label:", box("txtLabel"), Tab(25), "DVD ", box("txtNumReel"), "Disc(s)",
                 Tab(43), "MPAA :", box("txtRating"), Tab(55), "DVD Disc", Tab(70), "SND",
                 box("txtSound")});
    } else if (format == "Laser") {
        counted({Tab(3), "Label:", box("txtLabel"), Tab(25), "Laser ", box("txtNumReel"),
                 " Disc(s)", Tab(43), "MPAA :", box("txtRating"), Tab(55), box("txtCLV1"), Tab(70),
                 "SND: ", box("txtSound")});
    } else if (format == "VHS") {
        counted({Tab(3), "Label:", box("txtLabel"), Tab(25), "VHS ", box("txtNumReel"), " Cass(s).",
                 Tab(43), "MPAA :", box("txtRating"), Tab(55), "Cass# ", box("txtCassNo"), Tab(70),
                 "SND: ", box("txtSound")});
    }

    run.underline(true);
    counted({Tab(3), "Notes/Awards: ", s.shownText("txtAwards"), Tab(77), ":  "});
}

}  // namespace

void printFullList(ScreenContext& screen) {
    Platform& platform = screen.platform();

    IndexWalk walk(screen, "Title", "Titleqen.Dat");
    walk.begin();
    screen.cursor().ViewMode = "Title";
    screen.control(Lent::Heading).text = "All Titles Full List Print Program";

    screen.pageNumber() = 1;
    MsgResult answer = platform.messageBox(
        "If you have added any new records be sure to sort files before printing!\n\nAre you sure "
        "you want to print all titles? The full list will take " +
            fullListEstimate(screen.lastRecord()),
        MsgIcon::Question, MsgButtons::YesNo, PrintProgramTitle);
    if (answer != MsgResult::Yes) {
        screen.pageNumber() = 0;
        return;
    }

    ReportRun run(screen);
    if (!run.openPrinter(PageTitle)) return;
    pageStart(run);
    while (std::optional<std::int32_t> record = walk.next()) {
        // A film without an aspect letter must not inherit the one shown before.
        screen.control(Lent::LetterBox).text.clear();
        run.showFilm(*record);
        screen.control(Lent::RatingBox).text = screen.record().field(Field::Rating);
        screen.control(Lent::AwardsBox).text = screen.record().field(Field::Awards);
        run.bold(true);
        printBlock(run);
        run.bold(false);
        run.underline(false);
        if (run.LinesOnPage >= 55) {
            run.bold(true);
            run.advanceLines(56 - run.LinesOnPage);
            run.line({Tab(38), "Page ", Number(screen.pageNumber())});
            run.bold(false);
            run.nextPage();
            pageStart(run);
        }
        if (run.printerFailed()) return;
    }
    if (run.stoppedByDamage(walk)) return;
    run.line({});
    run.LinesOnPage += 1;
    run.line({Tab(3), "TOTAL FILM(S) IN LIBRARY", "  ", Number(run.FilmsPrinted)});
    run.line({});
    run.finish(38, {"End of file!   please wait. ", " Page to print.", PrintProgramTitle});
}

}  // namespace reel
