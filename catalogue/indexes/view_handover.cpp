// What the views, searches and lists share: the index file they read, the
// hand-over from one to the next, and the way an unexpected failure ends them.
#include "data/text_file.h"
#include "indexes/damaged_index.h"
#include "indexes/field_search_table.h"
#include "indexes/index_module.h"
#include "screen/main_screen.h"
#include "screen/screen_layout.h"

namespace reel {

IndexModule::IndexModule(std::string enginePath) : engine_(std::move(enginePath)) {}

IndexModule::~IndexModule() = default;

void IndexModule::closeIndexFile(MainScreen&) {
    indexFile_.close();
}

bool IndexModule::continuing(std::string_view kind) const {
    const int i = fieldSearchIndex(kind);
    return i >= 0 && continuing_[static_cast<std::size_t>(i)];
}

void IndexModule::resetListView(MainScreen&) {
    listPaged_ = false;
}

// A list left on screen would keep Next and Previous inert and its rows over
// the record; a search result likewise keeps them inert. Both end here as
// Reset would end them, without moving off the record shown.
void IndexModule::endListOrSearch(MainScreen& screen, bool searchResultToo) {
    ScreenState& state = screen.state;
    const bool listOpen = state.ListKind == Listing::Grid;
    const bool resultShown = searchResultToo && state.SearchMode == Search::Results;
    if (!listOpen && !resultShown) return;

    Form& form = screen;
    if (listOpen) {
        for (std::string_view column : layout::GridColumns)
            for (int row = 0; row < layout::GridRows; ++row)
                form[Form::arrayName(column, row)].visible = false;
        form["cmdNext20"].visible = false;
        form["cmdPrev20"].visible = false;
        form["cmdPrevious"].visible = true;
        state.ListKind = Listing::None;
        state.ListRow = 0;
        listPaged_ = false;
    }
    if (resultShown) state.LastSearch.clear();
    state.SearchMode = Search::None;
    state.ViewMode.clear();
    state.IndexPosition = 0;
    indexFile_.close();
}

void IndexModule::walkFailure(MainScreen& screen) {
    indexFile_.close();
    screen.platform().beep();
    screen.platform().messageBox("End of file encountered!", MsgIcon::Exclamation, MsgButtons::Ok,
                                 "");
    screen.reset();
}

bool IndexModule::openIndex(MainScreen& screen, const IndexSpec& index) {
    std::string error;
    if (indexFile_.open(joinPath(screen.app().directory, index.indexFile), &error)) return true;
    screen.platform().messageBox(error, MsgIcon::Exclamation, MsgButtons::Ok, "");
    return false;
}

void IndexModule::readMaster(MainScreen& screen, std::int32_t n) {
    screen.readRecord(n);
}

bool IndexModule::entryInCatalogue(MainScreen& screen, std::int32_t n) {
    ScreenState& state = screen.state;
    if (n <= state.LastRecord) return true;
    std::string file = indexFile_.path();
    if (const std::size_t slash = file.find_last_of('/'); slash != std::string::npos)
        file.erase(0, slash + 1);
    endListOrSearch(screen, true);
    indexFile_.close();
    state.ViewMode.clear();
    state.IndexPosition = 0;
    state.SearchMode = Search::None;
    screen.platform().beep();
    screen.platform().messageBox(damagedIndexMessage(file, n, state.LastRecord),
                                 MsgIcon::Exclamation, MsgButtons::Ok, DamagedIndexCaption);
    // The film that was on screen stays, shown as outside any view.
    screen.ShowRecord();
    return false;
}

}  // namespace reel
