// The twenty-row list views of the View All menu: an index shown as a grid
// of title, year and genre, and format over the upper part of the main
// screen, paged with Next 20 and Prev 20. Every listed record is also shown
// on the main screen as its row is filled.
#include "data/count_files.h"
#include "data/index_cursor.h"
#include "indexes/index_module.h"
#include "indexes/text_match.h"
#include "screen/screen_context.h"
#include "screen/screen_layout.h"

namespace reel {

namespace {

struct ListView {
    std::string_view kind;  // ViewMode while it is open
    GuardRule guard;
    std::string_view heading;  // "" sets none
    bool genreFilter;
};

constexpr std::string_view Edition = "Reelvane Deluxe Edition";

constexpr ListView Lists[] = {
    {"Title", {TitlesCount, true, NotSortedMessage, PrintProgramCaption}, "", false},
    {"DVD", {DvdCount, true, NotSortedMessage, Edition}, "    Viewing All DVD Titles", false},
    {"Laser", {LaserCount, true, NotSortedMessageBe, Edition}, "    Viewing All Titles", false},
    {"VHS", {VhsCount, true, NotSortedMessageBe, Edition}, "    Viewing All Titles", false},
    {"Genre",
     {TitlesCount, true, NotSortedMessage, PrintProgramCaption},
     "    Viewing Files For Genre",
     true},
};

// Every page turn checks the titles index, whatever the list shows.
constexpr GuardRule PageGuard = {TitlesCount, true, NotSortedMessage, PrintProgramCaption};

constexpr std::string_view FilterPrompt =
    "Enter Genre To Search:  Use 2 Letter Abreviation\rExamples\rAA  Action Adventure \rDR  "
    "Drama\rCO  Comedy\rupper or lower case";

std::string trimmed(const std::string& s) {
    const std::size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

}  // namespace

bool IndexModule::listMatches(const FilmRecord& record) const {
    return genreFilter_.empty() || fieldContains(record, Field::Genre, genreFilter_);
}

void IndexModule::fillRow(ScreenContext& screen, int row) {
    const FilmRecord& record = screen.record();
    screen.listCell("Text1", row).text = record.value(Field::Title);
    screen.listCell("Text2", row).text = record.value(Field::Year) + std::string(14, ' ') +
                                         trimmed(screen.control(Lent::GenreNameBox).text);
    screen.listCell("Text3", row).text = trimmed(screen.control(Lent::FormatBox).text);
}

void IndexModule::openList(ScreenContext& screen, const std::string& kind) {
    ViewCursor& view = screen.cursor();
    const ListView* list = nullptr;
    for (const ListView& l : Lists)
        if (l.kind == kind) list = &l;
    const IndexSpec* index = indexForView(kind);
    if (!list || !index) return;

    genreFilter_.clear();
    screen.setHeadShown(Heading::Status);
    view.SearchMode = Search::Results;
    if (indexGuard(screen, list->guard) == "0") {
        screen.reset();
        return;
    }
    view.ListKind = Listing::Grid;

    view.IndexPosition = 0;
    backMatches_ = 0;
    view.ListRow = 0;
    listPaged_ = false;
    indexFile_.close();

    screen.control(Lent::Prev20Button).visible = true;
    screen.control(Lent::PreviousButton).visible = false;
    for (Lent button : {Lent::MatchButton, Lent::PreviousButton, Lent::NextButton,
                        Lent::DeleteButton, Lent::EditButton, Lent::SaveButton})
        screen.control(button).enabled = true;
    if (!list->heading.empty()) screen.control(Lent::Heading).text = std::string(list->heading);
    view.ViewMode = std::string(list->kind);

    if (list->genreFilter) {
        const std::string answer = screen.platform().inputBox(FilterPrompt, "Search", "");
        if (answer.empty()) {
            screen.reset();
            return;
        }
        genreFilter_ = searchKey(answer);
    }

    screen.setCurrentRecord(1);
    for (std::string_view column : layout::GridColumns)
        for (int row = 0; row < layout::GridRows; ++row)
            screen.listCell(column, row).visible = true;
    view.IndexPosition = 1;
    if (!openIndex(screen, *index)) {
        screen.reset();
        return;
    }
    fillForward(screen);
}

void IndexModule::fillForward(ScreenContext& screen) {
    ViewCursor& view = screen.cursor();
    Platform& platform = screen.platform();
    IndexCursor walk(indexFile_, view.IndexPosition);

    for (;;) {
        if (view.ListRow < 0 || view.ListRow >= layout::GridRows) return walkFailure(screen);
        // Reaching the end on a blank-titled entry ends the list without the beep.
        if (view.IndexPosition >= walk.pastEnd()) platform.beep();
        const IndexStep step = walk.forward();
        if (step.kind == IndexStep::Kind::Failed) return walkFailure(screen);
        if (step.kind == IndexStep::Kind::End) {
            // The index is exhausted: the rest of the page is emptied and
            // stays in view while the message is open.
            for (int row = view.ListRow; row < layout::GridRows; ++row)
                for (std::string_view column : layout::GridColumns)
                    screen.listCell(column, row).text.clear();
            platform.messageBox("End of file!", MsgIcon::None, MsgButtons::Ok, "");
            listPaged_ = false;
            indexFile_.close();
            screen.reset();
            return;
        }

        const std::int32_t recordNumber = step.entry.recordNumber();
        if (recordNumber < 1) return walkFailure(screen);
        if (!entryInCatalogue(screen, recordNumber)) return;
        readMaster(screen, recordNumber);
        screen.stopEntering();
        if (!listMatches(screen.record())) {
            view.IndexPosition += 1;
            continue;
        }
        screen.setCurrentRecord(recordNumber);
        screen.showRecord();
        fillRow(screen, view.ListRow);
        view.ListRow += 1;
        if (view.ListRow < layout::GridRows) {
            view.IndexPosition += 1;
            continue;
        }
        screen.control(Lent::Next20Button).visible = true;
        screen.control(Lent::Prev20Button).visible = true;
        return;
    }
}

void IndexModule::nextPage(ScreenContext& screen) {
    ViewCursor& view = screen.cursor();
    view.IndexPosition += 1;
    if (view.ListKind != Listing::Grid || view.ListRow != layout::GridRows) return;
    listPaged_ = true;
    view.ListRow = 0;
    view.SearchMode = Search::Results;
    bool warned = false;
    const std::string count = indexGuard(screen, PageGuard, &warned);
    // When the guard had to offer the build, the list is over: either the
    // build ran and reset the screen, or the index is still missing.
    if (warned) {
        if (count == "0") screen.reset();
        return;
    }
    screen.setHeadShown(Heading::Status);
    if (!indexFile_.isOpen()) return walkFailure(screen);
    fillForward(screen);
}

void IndexModule::previousPage(ScreenContext& screen) {
    ViewCursor& view = screen.cursor();
    Platform& platform = screen.platform();
    if (view.ListKind != Listing::Grid) return;
    if (!indexFile_.isOpen()) return walkFailure(screen);

    view.IndexPosition -= 1;
    if (listPaged_) {
        view.IndexPosition += 1;
        view.ListRow = layout::GridRows - 1;
    }

    auto topOfFile = [&] {
        platform.beep();
        platform.messageBox("Top of file encountered!", MsgIcon::Exclamation, MsgButtons::Ok, "");
        indexFile_.close();
        view.IndexPosition = 0;
        screen.reset();
    };

    IndexCursor walk(indexFile_, view.IndexPosition);
    for (;;) {
        const IndexStep step = walk.backward();
        if (step.kind == IndexStep::Kind::End) return topOfFile();
        if (step.kind == IndexStep::Kind::Failed) return walkFailure(screen);
        const std::int32_t recordNumber = step.entry.recordNumber();
        if (recordNumber < 1) return walkFailure(screen);
        if (!entryInCatalogue(screen, recordNumber)) return;
        readMaster(screen, recordNumber);
        screen.stopEntering();
        screen.showRecord();

        // The walk passes over the matching entries of the page on screen
        // (twenty counted since the list began) before it fills rows.
        if (!listMatches(screen.record())) continue;
        backMatches_ += 1;
        if (backMatches_ < 20) continue;
        if (backMatches_ == 20) backMatches_ = 21;

        if (view.ListRow < 0 || view.ListRow >= layout::GridRows) return walkFailure(screen);
        fillRow(screen, view.ListRow);
        if (view.ListRow == 0) {
            view.ListRow = layout::GridRows;
            return;
        }
        view.ListRow -= 1;
    }
}

}  // namespace reel
