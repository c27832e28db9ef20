#pragma once
// IndexModule: the catalogue's indexes and everything that reads them. It
// rebuilds the four index files through the sort engine ("Sort All Files"),
// shows an index film by film (the alphabetic views), searches the master
// file field by field and the title index by genre, and lists an index
// twenty films a page. It plugs into the main screen as its IndexFeatures.
//
// The routines reach the main screen only through its ScreenContext: they
// walk its ViewCursor (ViewMode, IndexPosition, ListRow, SearchMode ...),
// ask it to read, show or reset a record, and write the controls it lends;
// what only this module needs (the open index file, the search texts, the
// list's paging bookkeeping) lives here.
//
// The work is split over files by concern: index_build.cpp, index_guard.cpp,
// alphabetic_view.cpp, field_search.cpp, genre_search.cpp, list_view.cpp and
// view_handover.cpp.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/index_file.h"
#include "indexes/engine_library.h"
#include "indexes/index_table.h"
#include "screen/screen_seams.h"

namespace reel {

class FilmRecord;

// What the guard against an unbuilt index checks and says.
struct GuardRule {
    CountSlot slot;
    bool readAfresh;  // read the count file again rather than trust CountText
    std::string_view message;
    std::string_view title;
};

inline constexpr std::string_view NotSortedMessage =
    "Records have not been sorted.  Records must be sorted before records can viewed!";
inline constexpr std::string_view NotSortedMessageBe =
    "Records have not been sorted.  Records must be sorted before records can be viewed!";

class IndexModule : public IndexFeatures {
  public:
    // `enginePath`: the engine library, by name (found beside the program)
    // or by a path.
    explicit IndexModule(std::string enginePath = EngineLibrary::FileName);
    ~IndexModule() override;

    void closeIndexFile(ScreenContext&) override;
    void indexBuild(ScreenContext&) override;
    void showAlphabetic(ScreenContext&, const std::string& view) override;
    void genreSearch(ScreenContext&) override;
    void fieldSearch(ScreenContext&, const std::string& kind) override;
    void continueFieldSearch(ScreenContext&, const std::string& kind) override;
    void openList(ScreenContext&, const std::string& kind) override;
    void nextPage(ScreenContext&) override;
    void previousPage(ScreenContext&) override;
    void resetListView(ScreenContext&) override;

    // The check views and lists run before they open an index: when the
    // count says the index is not built, warn and offer the build. Returns
    // the count text afterwards ("0": the caller resets and stops);
    // `warned` tells whether the warning was shown.
    std::string indexGuard(ScreenContext& screen, const GuardRule& rule, bool* warned = nullptr);

    // Inspection, for the tests and the status of a build.
    const IndexFile& indexFile() const { return indexFile_; }
    bool building() const { return building_; }
    std::int32_t hitCount() const { return hitCount_; }
    const std::string& genreName() const { return genreName_; }
    const std::string& genreFilter() const { return genreFilter_; }
    bool listPaged() const { return listPaged_; }
    std::int32_t backMatches() const { return backMatches_; }
    bool continuing(std::string_view kind) const;

  private:
    // index_build.cpp
    void buildIndexes(ScreenContext& screen);
    std::optional<std::string> buildOneIndex(ScreenContext& screen, const std::string& directory,
                                             const IndexSpec& index);
    bool provideCollatingTable(ScreenContext& screen, const std::string& directory,
                               std::string& problem);

    // view_handover.cpp
    // Ends a list view or a field-search result that is on screen, so the
    // view or search chosen next starts afresh and Next and Previous work.
    void endListOrSearch(ScreenContext& screen, bool searchResultToo);
    // An unexpected failure while walking an index: the view ends.
    void walkFailure(ScreenContext& screen);
    bool openIndex(ScreenContext& screen, const IndexSpec& index);
    // Reads master record n into the screen's buffer.
    void readMaster(ScreenContext& screen, std::int32_t n);
    // False when an entry's record number `n` lies beyond the last record:
    // the index is damaged. The view, list or search then ends where it
    // stands (the film on screen stays) and the user is told to rebuild.
    bool entryInCatalogue(ScreenContext& screen, std::int32_t n);

    // field_search.cpp
    void runFieldSearch(ScreenContext& screen, std::size_t kind);

    // genre_search.cpp
    void walkGenre(ScreenContext& screen);

    // list_view.cpp
    void fillForward(ScreenContext& screen);
    void fillRow(ScreenContext& screen, int row);
    bool listMatches(const FilmRecord& record) const;

    EngineLibrary engine_;
    IndexFile indexFile_;
    bool building_ = false;

    // The field searches: each kind's text (Windows-1252, upper case) and
    // continuation mark; the star search also keeps the text as typed.
    std::array<std::string, 13> searchKeys_;
    std::array<bool, 13> continuing_{};
    std::string starTyped_;
    std::int32_t hitCount_ = 0;

    // The genre search.
    std::string genreKey_;
    std::string genreName_;

    // The list views.
    std::string genreFilter_;
    bool listPaged_ = false;
    std::int32_t backMatches_ = 0;
};

}  // namespace reel
