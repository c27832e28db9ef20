// The field searches of the Find menu: the master file walked from the first
// record on for the first film whose field holds the typed text; Match goes
// on from the record after the one shown. One routine serves all thirteen
// kinds; what differs between them is in field_search_table.cpp.
#include <algorithm>

#include "data/codepage.h"
#include "indexes/field_search_table.h"
#include "indexes/index_module.h"
#include "indexes/master_scan.h"
#include "indexes/text_match.h"
#include "screen/screen_context.h"

namespace reel {

namespace {

std::string notFoundMessage(const FieldSearchKind& kind, const std::string& upperText,
                            const std::string& typed) {
    const std::string quote = "\"";
    switch (kind.wording) {
        case NotFoundWording::Title:
            return "The search for" + quote + upperText + quote + " was not found.";
        case NotFoundWording::Star:
            return "The search for " + quote + typed + quote + " was not found.";
        case NotFoundWording::Other:
            break;
    }
    return "The search for " + quote + upperText + quote + " was not found. ";
}

std::string hitHeading(const FieldSearchKind& kind, const FilmRecord& record, Field hit,
                       const std::string& ratingShown) {
    switch (kind.heading) {
        case HitHeading::Stored:
            return std::string(kind.hitPrefix) + record.field(hit);
        case HitHeading::Trimmed:
            return std::string(kind.hitPrefix) + record.value(hit);
        case HitHeading::Rating:
            return (ratingShown.starts_with("TV") ? "TV Rating is  " : "MPAA Rating is  ") +
                   record.field(hit);
        case HitHeading::None:
            break;
    }
    return {};
}

}  // namespace

void IndexModule::fieldSearch(ScreenContext& screen, const std::string& kind) {
    const int i = fieldSearchIndex(kind);
    if (i >= 0) runFieldSearch(screen, static_cast<std::size_t>(i));
}

void IndexModule::continueFieldSearch(ScreenContext& screen, const std::string& kind) {
    const int i = fieldSearchIndex(kind);
    if (i < 0) return;
    continuing_.fill(false);
    continuing_[static_cast<std::size_t>(i)] = true;
    runFieldSearch(screen, static_cast<std::size_t>(i));
}

void IndexModule::runFieldSearch(ScreenContext& screen, std::size_t k) {
    ViewCursor& view = screen.cursor();
    const FieldSearchKind& kind = fieldSearchKinds()[k];
    Platform& platform = screen.platform();

    // A list on screen ends first: its rows would cover the film found.
    endListOrSearch(screen, false);
    indexFile_.close();
    for (std::size_t other = 0; other < continuing_.size(); ++other)
        if (other != k) continuing_[other] = false;
    view.SearchMode = Search::Results;
    screen.control(Lent::Heading).text = std::string(kind.startHeading);
    screen.control(Lent::MatchButton).enabled = true;
    if (kind.setsMatchCaption) screen.control(Lent::MatchButton).text = "&Match";

    bool ask = true;
    if (view.IndexPosition >= 1)
        view.IndexPosition = 0;
    else if (continuing_[k] && screen.currentRecord() > 1)
        ask = false;

    if (ask) {
        const std::string answer = platform.inputBox(kind.prompt, kind.inputTitle, "");
        if (answer.empty()) {
            screen.reset();
            return;
        }
        searchKeys_[k] = searchKey(answer);
        if (kind.kind == "Star") starTyped_ = answer;
        screen.setCurrentRecord(1);
        hitCount_ = 0;
    }
    view.LastSearch = std::string(kind.kind);

    const std::string& key = searchKeys_[k];
    MasterScan scan(screen.masterFile(), screen.currentRecord(), screen.lastRecord());
    std::int32_t number = 0;
    std::string_view bytes;
    while (scan.next(number, bytes)) {
        for (Field field : kind.fields) {
            if (!fieldContains(bytes, field, key)) continue;
            screen.setCurrentRecord(number);
            screen.readRecord(number);
            screen.showRecord();
            hitCount_ += 1;
            if (kind.heading != HitHeading::None)
                screen.control(Lent::Heading).text =
                    hitHeading(kind, screen.record(), field, screen.control(Lent::RatingBox).text);
            return;
        }
    }

    // The master file is exhausted.
    platform.beep();
    if (hitCount_ > 0) {
        platform.messageBox("End of file!", MsgIcon::Exclamation, MsgButtons::Ok, kind.endTitle);
    } else {
        platform.messageBox(notFoundMessage(kind, cp1252ToUtf8(key), starTyped_),
                            MsgIcon::Exclamation, MsgButtons::Ok, kind.notFoundTitle);
    }
    screen.reset();
}

}  // namespace reel
