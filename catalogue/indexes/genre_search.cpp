// "Find By Genre": the title index walked for films whose genre code holds
// the typed letters, one film at a time, stepped with Next and Previous.
#include "data/index_cursor.h"
#include "indexes/index_module.h"
#include "indexes/text_match.h"
#include "screen/genre_table.h"
#include "screen/screen_context.h"

namespace reel {

namespace {

constexpr std::string_view GenrePrompt =
    "Enter Genre To Search:  Use 2 Letter Abbreviation \n\rAA  Action Adventure\n\rCO  "
    "Comedy\n\rDR  Drama";
constexpr std::string_view GenreTitle = "GENRE SEARCH";

}  // namespace

void IndexModule::genreSearch(ScreenContext& screen) {
    ViewCursor& view = screen.cursor();
    // The genre list shares the "Genre" view mode: it ends first, so the
    // search starts rather than stepping the list's position.
    endListOrSearch(screen, false);
    if (view.ViewMode != "Genre") {
        indexFile_.close();
        view.IndexPosition = 0;
    }
    view.SearchMode = Search::Genre;
    screen.control(Lent::PreviousButton).enabled = true;
    screen.control(Lent::NextButton).enabled = true;
    screen.control(Lent::Heading).text = "Viewing Genre File Alphabetically";
    view.ViewMode = "Genre";

    if (view.IndexPosition < 1) {
        const std::string answer = screen.platform().inputBox(GenrePrompt, "Search For Genre", "");
        if (answer.empty()) {
            screen.reset();
            return;
        }
        genreKey_ = searchKey(answer);
        // An answer that is no genre code keeps the name of the last one.
        for (const Genre& genre : genreTable())
            if (genre.code == genreKey_) genreName_ = std::string(genre.name);
        screen.setCurrentRecord(1);
        hitCount_ = 0;
        screen.control(Lent::Heading).text = "Viewing Files For " + genreName_ + " Alphabetically";
        if (!openIndex(screen, indexSpecs()[0])) {
            screen.reset();
            return;
        }
        view.IndexPosition = 1;
        view.GenreBackward = false;
    } else if (!indexFile_.isOpen() && !openIndex(screen, indexSpecs()[0])) {
        screen.reset();
        return;
    }
    walkGenre(screen);
}

void IndexModule::walkGenre(ScreenContext& screen) {
    ViewCursor& view = screen.cursor();
    Platform& platform = screen.platform();
    IndexCursor walk(indexFile_, view.IndexPosition);
    const int step = view.GenreBackward ? -1 : 1;

    for (;;) {
        if (view.GenreBackward && view.IndexPosition <= 0) {
            indexFile_.close();
            platform.beep();
            platform.messageBox("Top of file encountered!", MsgIcon::Exclamation, MsgButtons::Ok,
                                "");
            screen.setCurrentRecord(1);
            screen.reset();
            return;
        }
        // A film without a title is passed over in the direction of the
        // walk; passing it forward while walking back would bring the walk
        // back to it for ever.
        const IndexStep found = view.GenreBackward ? walk.here() : walk.forward();
        if (found.kind == IndexStep::Kind::Failed) return walkFailure(screen);
        if (view.GenreBackward && found.found() && found.entry.blankTitle()) {
            view.IndexPosition += step;
            continue;
        }
        if (found.kind == IndexStep::Kind::End) {
            indexFile_.close();
            platform.beep();
            platform.messageBox(hitCount_ > 0
                                    ? "End of file!"
                                    : "The search for \"" + genreName_ + "\" genre was not found.",
                                MsgIcon::Exclamation, MsgButtons::Ok, GenreTitle);
            screen.reset();
            return;
        }

        const std::int32_t recordNumber = found.entry.recordNumber();
        if (!entryInCatalogue(screen, recordNumber)) return;
        const FilmRecord record = recordNumber >= 1 ? screen.masterFile().readRecord(recordNumber)
                                                    : FilmRecord::pastEnd();
        if (!fieldContains(record, Field::Genre, genreKey_)) {
            view.IndexPosition += step;
            continue;
        }
        screen.setCurrentRecord(recordNumber);
        screen.setRecord(record);
        screen.showRecord();
        screen.control(Lent::Heading).text = "Viewing Files For " + genreName_ + "  Alphabetically";
        hitCount_ += 1;
        return;
    }
}

}  // namespace reel
