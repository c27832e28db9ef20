// The director, star and genre reports.
//
// All three read the title index from its first entry and compare each
// film's field, trimmed and upper-cased, with the upper-cased search text;
// only matching films are shown and printed. The heading block (the name of
// the first match centred over underlined captions) is printed at the first
// match; the director report prints even its page title only then, so a
// search without a match prints nothing at all. The star and genre reports
// begin their page at once; when they find nothing, that begun page is
// dropped with the document.
#include "reports/selective_reports.h"

#include <cmath>

#include "data/film_record.h"
#include "reports/grid_print_device.h"
#include "reports/index_walk.h"
#include "reports/report_run.h"
#include "screen/genre_table.h"
#include "screen/screen_context.h"

namespace reel {

namespace {

enum class Search { Director, Star, Genre };

struct Selective {
    Search search;
    const char* heading;
    std::string prompt;
    int pageFull;
    int fill;
};

const Selective& selectiveFor(ReportKind kind) {
    static const Selective director{Search::Director, "Director Search Print Program",
                                    "Enter Director's Last Name. To Print List: ", 56, 58};
    static const Selective star{Search::Star, "Star Search Print Program",
                                "Enter Star's Last Name. To Print List: ", 56, 60};
    static const Selective genre{Search::Genre, "Genre Search Print Program",
                                 "Enter Genre. Use Abbr.\r\nAA   Action Adventure\r\nAD   Adult\r\n"
                                 "AN   Animation\r\nCO   Comedy\r\n See Genre List for more Abbrs.",
                                 57, 60};
    switch (kind) {
        case ReportKind::ByStars:
            return star;
        case ReportKind::ByGenre:
            return genre;
        default:
            return director;
    }
}

constexpr Field StarFields[] = {Field::Star1, Field::Star2, Field::Star3,
                                Field::Star4, Field::Star5, Field::Star6};

bool fieldMatches(const FilmRecord& record, Field field, const std::string& search) {
    return upperLatin(record.value(field)).find(search) != std::string::npos;
}

// The box whose name the report shows for a matching record; "" for none.
std::string matchingBox(const Selective& report, const FilmRecord& record,
                        const std::string& search) {
    switch (report.search) {
        case Search::Director:
            return fieldMatches(record, Field::Director, search) ? "txtDirector" : "";
        case Search::Genre:
            return fieldMatches(record, Field::Genre, search) ? "txtGenreList" : "";
        case Search::Star:
            for (Field f : StarFields)
                if (fieldMatches(record, f, search)) return std::string(fieldSpec(f).textBox);
            return "";
    }
    return "";
}

class SelectiveRun {
  public:
    SelectiveRun(ScreenContext& screen, const Selective& report)
        : screen_(screen), report_(report), run_(screen) {}

    void start();

  private:
    void pageStart(bool laterPage);
    void headingBlock();
    void filmLine();
    void endPageIfFull();
    void notFound();
    void close();

    ScreenContext& screen_;
    const Selective& report_;
    ReportRun run_;
    std::string search_;
    std::string shownName_;
    int centring_ = 0;
    int matchCount_ = 0;
};

void SelectiveRun::start() {
    screen_.indexes().closeIndexFile(screen_);
    screen_.cursor().IndexPosition = 0;
    screen_.pageNumber() = 1;
    screen_.control(Lent::Heading).text = report_.heading;
    if (report_.search != Search::Star) screen_.cursor().ViewMode = "Title";

    std::string typed = screen_.platform().inputBox(report_.prompt, PrintProgramTitle, "");
    if (typed.empty()) {
        screen_.cursor().ViewMode.clear();
        // Nothing is printing: the screen must not go on announcing the spooler.
        screen_.pageNumber() = 0;
        return;
    }
    search_ = upperLatin(typed);

    if (!run_.openPrinter(report_.heading)) return;
    if (report_.search != Search::Director) pageStart(false);

    IndexWalk walk(screen_, "Title", "Titleqen.Dat");
    int passed = 0;
    while (std::optional<std::int32_t> record = walk.next()) {
        FilmRecord film =
            *record >= 1 ? screen_.masterFile().readRecord(*record) : FilmRecord::pastEnd();
        std::string box = matchingBox(report_, film, search_);
        if (box.empty()) {
            // Keep the window painted on long stretches without a match.
            if (++passed % 50 == 0) screen_.platform().refresh();
            continue;
        }
        ++matchCount_;
        run_.showFilm(*record);
        shownName_ = trimmed(screen_.shownText(box));
        centring_ = centringColumn(report_.search == Search::Genre ? 62 : 61,
                                   static_cast<int>(utf8Characters(shownName_).size()));
        if (report_.search == Search::Star)
            screen_.control(Lent::Heading).text = "Please Wait Print Spooler is loading Files";
        if (matchCount_ == 1) headingBlock();
        filmLine();
        endPageIfFull();
        if (run_.printerFailed()) return;
    }
    if (run_.stoppedByDamage(walk)) return;
    if (matchCount_ == 0) {
        notFound();
        return;
    }
    close();
}

void SelectiveRun::pageStart(bool laterPage) {
    switch (report_.search) {
        case Search::Director:
            if (!laterPage) run_.font();
            run_.bold(true);
            run_.advanceLines(2);
            run_.line({Tab(laterPage ? 15 : 18), "Reelvane Deluxe Edition Directors List"});
            run_.LinesOnPage += 3;
            run_.advanceLines(1);
            break;
        case Search::Star:
            run_.font();
            run_.bold(true);
            run_.advanceLines(2);
            run_.line({Tab(19), "Reelvane Deluxe Edition Stars List"});
            run_.LinesOnPage += 3;
            run_.advanceLines(2);
            run_.LinesOnPage += 2;
            break;
        case Search::Genre:
            run_.advanceLines(2);
            run_.font();
            run_.bold(true);
            run_.line({Tab(17), "Reelvane Deluxe Edition Genre List"});
            run_.LinesOnPage += 3;
            run_.advanceLines(1);
            if (run_.FilmsPrinted > 0)
                screen_.control(Lent::Heading).text = "Please Wait Print Spooler is loading Files";
            break;
    }
}

void SelectiveRun::headingBlock() {
    switch (report_.search) {
        case Search::Director:
            pageStart(false);
            run_.line({Tab(centring_ + 3), "Films Directed by ", shownName_});
            run_.LinesOnPage += 2;
            run_.line({});
            break;
        case Search::Star:
            run_.line({Tab(centring_ + 3), "Films starring ", shownName_});
            run_.LinesOnPage += 1;
            run_.line({});
            break;
        case Search::Genre:
            run_.line({Tab(centring_), "A list of ", shownName_, " Films"});
            run_.LinesOnPage += 1;
            run_.line({});
            run_.LinesOnPage += 1;
            break;
    }
    run_.underline(true);
    run_.line({Tab(3), "Title", std::string(35, ' '), "Date", std::string(3, ' '), "Genre",
               std::string(17, ' '), "Format "});
    run_.LinesOnPage += 1;
    run_.underline(false);
    run_.line({});
}

void SelectiveRun::filmLine() {
    if (report_.search == Search::Director) run_.font();
    run_.bold(true);
    run_.line({Tab(3), trimmed(screen_.control(Lent::TitleBox).text), Tab(43),
               trimmed(screen_.control(Lent::YearBox).text), Tab(50),
               screen_.control(Lent::GenreNameBox).text, Tab(72),
               screen_.control(Lent::FormatBox).text});
    run_.LinesOnPage += 1;
    run_.FilmsPrinted += 1;
    if (report_.search == Search::Genre && run_.LinesOnPage < report_.pageFull) run_.bold(false);
}

void SelectiveRun::endPageIfFull() {
    if (run_.LinesOnPage < report_.pageFull) return;
    run_.bold(true);
    if (report_.search != Search::Star) {
        run_.line({Tab(3), rule()});
        run_.LinesOnPage += 1;
    }
    run_.advanceLines(report_.fill - run_.LinesOnPage);
    run_.line({Tab(38), "Page ", Number(screen_.pageNumber())});
    run_.nextPage();
    pageStart(true);
}

void SelectiveRun::notFound() {
    std::string text;
    switch (report_.search) {
        case Search::Director:
            text = "No films directed by \"" + search_ + "\" found!";
            break;
        case Search::Star:
            text = "No films Staring \"" + search_ + "\" found!";
            break;
        case Search::Genre:
            text = "No  \"" + reportGenreName(search_) + "\" genre found!";
            break;
    }
    run_.abandon();
    screen_.platform().messageBox(text, MsgIcon::Exclamation, MsgButtons::Ok, PrintProgramTitle);
    screen_.indexes().closeIndexFile(screen_);
    screen_.cursor().IndexPosition = 0;
    screen_.reset();
}

void SelectiveRun::close() {
    screen_.platform().beep();
    run_.line({});
    run_.LinesOnPage += 1;
    const std::string films = std::to_string(run_.FilmsPrinted);
    switch (report_.search) {
        case Search::Director:
            run_.line({Tab(3), "TOTAL FILM(S) DIRECTED BY ", upperLatin(shownName_),
                       " IN YOUR COLLECTION IS ", films, "."});
            break;
        case Search::Star:
            run_.line({Tab(3), "TOTAL FILM(S) STARRING ", upperLatin(shownName_),
                       " IN YOUR COLLECTION IS ", films, "."});
            run_.LinesOnPage += 1;
            break;
        case Search::Genre:
            run_.bold(false);
            run_.line({Tab(3), "TOTAL ", shownName_, " Films ", Number(run_.FilmsPrinted)});
            break;
    }
    run_.advanceLines(report_.fill - run_.LinesOnPage);
    if (report_.search == Search::Genre)
        run_.finish(38, {"End of file! Please wait.  ", " page to print.", "Reelvane Print Program",
                         false});
    else
        run_.finish(38, {.beep = false});
}

}  // namespace

int centringColumn(int width, int length) {
    return static_cast<int>(std::nearbyint((width - length) / 2.0));
}

std::string upperLatin(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 'a' && c <= 'z') {
            out += static_cast<char>(c - 'a' + 'A');
        } else if (c == 0xC3 && i + 1 < text.size()) {
            // U+00E0..U+00FE (but not U+00F7, the division sign) upper-case
            // by moving down 0x20: à -> À, ø -> Ø.
            unsigned char d = static_cast<unsigned char>(text[i + 1]);
            if (d >= 0xA0 && d <= 0xBE && d != 0xB7) d = static_cast<unsigned char>(d - 0x20);
            out += static_cast<char>(c);
            out += static_cast<char>(d);
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string reportGenreName(std::string_view code) {
    if (code == "MU") return "Musical";
    return genreName(code);
}

void printSelectiveReport(ScreenContext& screen, ReportKind kind) {
    SelectiveRun run(screen, selectiveFor(kind));
    run.start();
}

}  // namespace reel
