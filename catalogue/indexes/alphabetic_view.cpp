// The alphabetic views: one index shown film by film in title order on the
// main screen, stepped with Next and Previous. The screen's Next adds 1 to
// IndexPosition and Previous subtracts 1 before they come back here;
// Previous handles the first entry itself.
#include "data/index_cursor.h"
#include "indexes/index_module.h"
#include "screen/screen_context.h"

namespace reel {

namespace {

struct AlphabeticView {
    std::string_view viewMode;
    GuardRule guard;
    std::string_view heading;       // lblHead until a record is shown
    std::string_view messageTitle;  // of its end messages
    std::string_view emptyMessage;  // "" for the titles view
    bool resetWhenEmpty;
};

constexpr std::string_view Edition = "Reelvane Deluxe Edition";

// The titles view trusts the count in memory; the others read theirs afresh.
constexpr AlphabeticView Views[] = {
    {"Title",
     {TitlesCount, false, NotSortedMessage, PrintProgramCaption},
     "    Viewing All Titles Alphabetically",
     "ALPHA TITLE SEARCH",
     "",
     false},
    {"DVD",
     {DvdCount, true, NotSortedMessage, Edition},
     "Viewing All DVD Titles Alphabetically",
     "ALPHA DVD TITLE SEARCH",
     "There are No DVD Discs in Library or Files need to Be Sorted",
     true},
    {"Laser",
     {LaserCount, true, NotSortedMessageBe, Edition},
     "Viewing All Laser Disc Titles Alphabetically",
     "ALPHA LASER TITLE SEARCH",
     "There are No Laser Discs in Library or Files need to Be Sorted",
     false},
    {"VHS",
     {VhsCount, true, NotSortedMessageBe, Edition},
     "  Viewing All VHS Titles Alphabetically",
     "ALPHA VHS TITLE SEARCH",
     "There are No VHS Tapes in Library or Files need to Be Sorted",
     true},
};

const AlphabeticView* findView(std::string_view viewMode) {
    for (const AlphabeticView& v : Views)
        if (v.viewMode == viewMode) return &v;
    return nullptr;
}

}  // namespace

void IndexModule::showAlphabetic(ScreenContext& screen, const std::string& viewMode) {
    ViewCursor& cursor = screen.cursor();
    const AlphabeticView* view = findView(viewMode);
    const IndexSpec* index = indexForView(viewMode);
    if (!view || !index) return;
    Platform& platform = screen.platform();

    // Only a menu command finds a list or a search result on screen (Next
    // and Previous are inert then); the view starts afresh.
    endListOrSearch(screen, true);

    if (indexGuard(screen, view->guard) == "0") {
        screen.reset();
        return;
    }
    screen.control(Lent::PreviousButton).enabled = true;
    screen.setHeadShown(Heading::View);
    screen.abandonEntry();

    if (cursor.ViewMode != view->viewMode) {
        indexFile_.close();
        cursor.IndexPosition = 0;
    }
    cursor.ViewMode = std::string(view->viewMode);
    screen.control(Lent::Heading).text = std::string(view->heading);

    auto endOfFile = [&] {
        indexFile_.close();
        platform.beep();
        platform.messageBox("End of file!", MsgIcon::Exclamation, MsgButtons::Ok,
                            view->messageTitle);
        screen.reset();
    };

    // A view coming back after a search closed its file opens it again.
    if ((cursor.IndexPosition < 1 || !indexFile_.isOpen()) && !openIndex(screen, *index)) {
        screen.reset();
        return;
    }
    const std::int32_t entries = indexFile_.entryCount();
    if (cursor.IndexPosition < 1) {
        if (entries == 0) {
            if (view->emptyMessage.empty()) {
                // Titles counted but none in the file: the files are out of
                // step, and the view has nothing to show.
                endOfFile();
                return;
            }
            platform.messageBox(view->emptyMessage, MsgIcon::Exclamation, MsgButtons::Ok,
                                view->messageTitle);
            if (view->resetWhenEmpty) screen.reset();
            return;
        }
        cursor.IndexPosition = 1;
    }

    // Past the end (or beyond it) is the end of the view.
    const IndexStep step = IndexCursor(indexFile_, cursor.IndexPosition).forward();
    if (step.kind == IndexStep::Kind::Failed) return walkFailure(screen);
    if (step.kind == IndexStep::Kind::End) {
        endOfFile();
        return;
    }

    const std::int32_t recordNumber = step.entry.recordNumber();
    if (recordNumber == 0) {
        screen.focusTitle();
        return;
    }
    if (!entryInCatalogue(screen, recordNumber)) return;
    readMaster(screen, recordNumber);
    screen.setCurrentRecord(recordNumber);
    screen.showRecord();
}

}  // namespace reel
