// What the views, searches and lists share: the index file they read, the
// hand-over from one to the next, and the way an unexpected failure ends them.
#include "data/text_file.h"
#include "indexes/damaged_index.h"
#include "indexes/field_search_table.h"
#include "indexes/index_module.h"
#include "screen/screen_context.h"
#include "screen/screen_layout.h"

namespace reel {

IndexModule::IndexModule(std::string enginePath) : engine_(std::move(enginePath)) {}

IndexModule::~IndexModule() = default;

void IndexModule::closeIndexFile(ScreenContext&) {
    indexFile_.close();
}

bool IndexModule::continuing(std::string_view kind) const {
    const int i = fieldSearchIndex(kind);
    return i >= 0 && continuing_[static_cast<std::size_t>(i)];
}

void IndexModule::resetListView(ScreenContext&) {
    listPaged_ = false;
}

// A list left on screen would keep Next and Previous inert and its rows over
// the record; a search result likewise keeps them inert. Both end here as
// Reset would end them, without moving off the record shown.
void IndexModule::endListOrSearch(ScreenContext& screen, bool searchResultToo) {
    ViewCursor& view = screen.cursor();
    const bool listOpen = view.ListKind == Listing::Grid;
    const bool resultShown = searchResultToo && view.SearchMode == Search::Results;
    if (!listOpen && !resultShown) return;
    if (listOpen) {
        for (std::string_view column : layout::GridColumns)
            for (int row = 0; row < layout::GridRows; ++row)
                screen.listCell(column, row).visible = false;
        screen.control(Lent::Next20Button).visible = false;
        screen.control(Lent::Prev20Button).visible = false;
        screen.control(Lent::PreviousButton).visible = true;
        view.ListKind = Listing::None;
        view.ListRow = 0;
        listPaged_ = false;
    }
    if (resultShown) view.LastSearch.clear();
    view.SearchMode = Search::None;
    view.ViewMode.clear();
    view.IndexPosition = 0;
    indexFile_.close();
}

void IndexModule::walkFailure(ScreenContext& screen) {
    indexFile_.close();
    screen.platform().beep();
    screen.platform().messageBox("End of file encountered!", MsgIcon::Exclamation, MsgButtons::Ok,
                                 "");
    screen.reset();
}

bool IndexModule::openIndex(ScreenContext& screen, const IndexSpec& index) {
    std::string error;
    if (indexFile_.open(joinPath(screen.directory(), index.indexFile), &error)) return true;
    screen.platform().messageBox(error, MsgIcon::Exclamation, MsgButtons::Ok, "");
    return false;
}

void IndexModule::readMaster(ScreenContext& screen, std::int32_t n) {
    screen.readRecord(n);
}

bool IndexModule::entryInCatalogue(ScreenContext& screen, std::int32_t n) {
    ViewCursor& view = screen.cursor();
    if (n <= screen.lastRecord()) return true;
    std::string file = indexFile_.path();
    if (const std::size_t slash = file.find_last_of('/'); slash != std::string::npos)
        file.erase(0, slash + 1);
    endListOrSearch(screen, true);
    indexFile_.close();
    view.ViewMode.clear();
    view.IndexPosition = 0;
    view.SearchMode = Search::None;
    screen.platform().beep();
    screen.platform().messageBox(damagedIndexMessage(file, n, screen.lastRecord()),
                                 MsgIcon::Exclamation, MsgButtons::Ok, DamagedIndexCaption);
    // The film that was on screen stays, shown as outside any view.
    screen.showRecord();
    return false;
}

}  // namespace reel
