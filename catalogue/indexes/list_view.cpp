// The twenty-row list views of the View All menu: an index shown as a grid
// of title, year and genre, and format over the upper part of the main
// screen, paged with Next 20 and Prev 20. Every listed record is also shown
// on the main screen as its row is filled.
#include "data/count_files.h"
#include "data/index_cursor.h"
#include "indexes/index_module.h"
#include "indexes/text_match.h"
#include "screen/main_screen.h"
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

void IndexModule::fillRow(MainScreen& screen, int row) {
    Form& form = screen;
    const FilmRecord& record = screen.state.record;
    form[Form::arrayName("Text1", row)].text = record.value(Field::Title);
    form[Form::arrayName("Text2", row)].text =
        record.value(Field::Year) + std::string(14, ' ') + trimmed(form["txtGenreList"].text);
    form[Form::arrayName("Text3", row)].text = trimmed(form["txtFormat"].text);
}

void IndexModule::openList(MainScreen& screen, const std::string& kind) {
    const ListView* list = nullptr;
    for (const ListView& l : Lists)
        if (l.kind == kind) list = &l;
    const IndexSpec* index = indexForView(kind);
    if (!list || !index) return;
    ScreenState& state = screen.state;
    Form& form = screen;

    genreFilter_.clear();
    state.HeadShown = Heading::Status;
    state.SearchMode = Search::Results;
    if (indexGuard(screen, list->guard) == "0") {
        screen.reset();
        return;
    }
    state.ListKind = Listing::Grid;

    state.IndexPosition = 0;
    backMatches_ = 0;
    state.ListRow = 0;
    listPaged_ = false;
    indexFile_.close();

    form["cmdPrev20"].visible = true;
    form["cmdPrevious"].visible = false;
    for (const char* button :
         {"cmdMatch", "cmdPrevious", "cmdNext", "cmdDelete", "cmdEdit", "cmdSave"})
        form[button].enabled = true;
    if (!list->heading.empty()) form["lblHead"].text = std::string(list->heading);
    state.ViewMode = std::string(list->kind);

    if (list->genreFilter) {
        const std::string answer = screen.platform().inputBox(FilterPrompt, "Search", "");
        if (answer.empty()) {
            screen.reset();
            return;
        }
        genreFilter_ = searchKey(answer);
    }

    state.CurrentRecord = 1;
    for (std::string_view column : layout::GridColumns)
        for (int row = 0; row < layout::GridRows; ++row)
            form[Form::arrayName(column, row)].visible = true;
    state.IndexPosition = 1;
    if (!openIndex(screen, *index)) {
        screen.reset();
        return;
    }
    fillForward(screen);
}

void IndexModule::fillForward(MainScreen& screen) {
    ScreenState& state = screen.state;
    Form& form = screen;
    Platform& platform = screen.platform();
    IndexCursor cursor(indexFile_, state.IndexPosition);

    for (;;) {
        if (state.ListRow < 0 || state.ListRow >= layout::GridRows) return walkFailure(screen);
        // Reaching the end on a blank-titled entry ends the list without the beep.
        if (state.IndexPosition >= cursor.pastEnd()) platform.beep();
        const IndexStep step = cursor.forward();
        if (step.kind == IndexStep::Kind::Failed) return walkFailure(screen);
        if (step.kind == IndexStep::Kind::End) {
            // The index is exhausted: the rest of the page is emptied and
            // stays in view while the message is open.
            for (int row = state.ListRow; row < layout::GridRows; ++row)
                for (std::string_view column : layout::GridColumns)
                    form[Form::arrayName(column, row)].text.clear();
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
        state.EntryMode = false;
        if (!listMatches(state.record)) {
            state.IndexPosition += 1;
            continue;
        }
        state.CurrentRecord = recordNumber;
        screen.ShowRecord();
        fillRow(screen, state.ListRow);
        state.ListRow += 1;
        if (state.ListRow < layout::GridRows) {
            state.IndexPosition += 1;
            continue;
        }
        form["cmdNext20"].visible = true;
        form["cmdPrev20"].visible = true;
        return;
    }
}

void IndexModule::nextPage(MainScreen& screen) {
    ScreenState& state = screen.state;
    state.IndexPosition += 1;
    if (state.ListKind != Listing::Grid || state.ListRow != layout::GridRows) return;
    listPaged_ = true;
    state.ListRow = 0;
    state.SearchMode = Search::Results;
    bool warned = false;
    const std::string count = indexGuard(screen, PageGuard, &warned);
    // When the guard had to offer the build, the list is over: either the
    // build ran and reset the screen, or the index is still missing.
    if (warned) {
        if (count == "0") screen.reset();
        return;
    }
    state.HeadShown = Heading::Status;
    if (!indexFile_.isOpen()) return walkFailure(screen);
    fillForward(screen);
}

void IndexModule::previousPage(MainScreen& screen) {
    ScreenState& state = screen.state;
    Platform& platform = screen.platform();
    if (state.ListKind != Listing::Grid) return;
    if (!indexFile_.isOpen()) return walkFailure(screen);

    state.IndexPosition -= 1;
    if (listPaged_) {
        state.IndexPosition += 1;
        state.ListRow = layout::GridRows - 1;
    }

    auto topOfFile = [&] {
        platform.beep();
        platform.messageBox("Top of file encountered!", MsgIcon::Exclamation, MsgButtons::Ok, "");
        indexFile_.close();
        state.IndexPosition = 0;
        screen.reset();
    };

    IndexCursor cursor(indexFile_, state.IndexPosition);
    for (;;) {
        const IndexStep step = cursor.backward();
        if (step.kind == IndexStep::Kind::End) return topOfFile();
        if (step.kind == IndexStep::Kind::Failed) return walkFailure(screen);
        const std::int32_t recordNumber = step.entry.recordNumber();
        if (recordNumber < 1) return walkFailure(screen);
        if (!entryInCatalogue(screen, recordNumber)) return;
        readMaster(screen, recordNumber);
        state.EntryMode = false;
        screen.ShowRecord();

        // The walk passes over the matching entries of the page on screen
        // (twenty counted since the list began) before it fills rows.
        if (!listMatches(state.record)) continue;
        backMatches_ += 1;
        if (backMatches_ < 20) continue;
        if (backMatches_ == 20) backMatches_ = 21;

        if (state.ListRow < 0 || state.ListRow >= layout::GridRows) return walkFailure(screen);
        fillRow(screen, state.ListRow);
        if (state.ListRow == 0) {
            state.ListRow = layout::GridRows;
            return;
        }
        state.ListRow -= 1;
    }
}

}  // namespace reel
