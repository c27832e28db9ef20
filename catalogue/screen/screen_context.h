#pragma once
// ScreenContext: what a feature module (indexes, reports, preferences,
// exchange) may do with the main screen, and nothing more.
//
// A feature asks the screen to read, show or reset a record, walks the one
// ViewCursor the screen keeps between handlers, and writes only the controls
// the screen lends it below, each by what it is for. It never sees the
// screen's other state or looks a control up by name, so the screen can
// change its internals without the features noticing, and a test can tell
// from this header everything a feature can touch.
//
// MainScreen implements it; the seams of screen_seams.h hand it to every call.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/film_record.h"
#include "data/master_file.h"
#include "platform/colour.h"
#include "platform/form.h"
#include "platform/platform.h"
#include "screen/program_captions.h"
#include "screen/screen_seams.h"
#include "screen/screen_state.h"

namespace reel {

// " 12" or "-3": a number as the window captions write it.
std::string captionNumber(std::int32_t n);

// Controls of the main screen that the features write (or read back, as the
// reports read the boxes ShowRecord has just filled).
enum class Lent {
    Heading,         // lblHead, the line above the record
    StatusLine,      // lblsorted, the four counts
    SortingNotice,   // lblSorting, what the index build is doing
    RecordsWritten,  // lblNumrec, the engine's record count
    ReturnCode,      // lblRetcode, the engine's return code
    NextButton,      // cmdNext
    PreviousButton,  // cmdPrevious
    MatchButton,     // cmdMatch
    EditButton,      // cmdEdit
    SaveButton,      // cmdSave
    DeleteButton,    // cmdDelete
    Next20Button,    // cmdNext20, the list view's paging
    Prev20Button,    // cmdPrev20
    TitleBox,        // txtTitle
    YearBox,         // txtYear
    FormatBox,       // txtFormat
    GenreNameBox,    // txtGenreList, the genre's name ShowRecord writes
    RatingBox,       // txtRating
    LetterBox,       // txtLetter
    AwardsBox,       // txtAwards
};

class ScreenContext {
  public:
    virtual ~ScreenContext() = default;

    // --- The program around the screen ---------------------------------------
    virtual Platform& platform() = 0;
    virtual const std::string& directory() const = 0;  // the catalogue's folder
    virtual MasterFile& masterFile() = 0;
    virtual void endProgram() = 0;
    virtual bool programEnded() const = 0;
    // The index module, for the features that must close its file first.
    virtual IndexFeatures& indexes() = 0;

    // --- The record --------------------------------------------------------------
    virtual const FilmRecord& record() const = 0;
    // Puts `record` into the buffer (as a search that read it itself found it).
    virtual void setRecord(const FilmRecord& record) = 0;
    // Reads record n into the buffer (a number beyond the end gives an empty record).
    virtual void readRecord(std::int32_t n) = 0;
    virtual std::int32_t currentRecord() const = 0;
    virtual void setCurrentRecord(std::int32_t n) = 0;
    virtual std::int32_t lastRecord() const = 0;
    // After the master file changed under the screen: its whole records and
    // the highest number the screen moves to.
    virtual void setRecordBounds(std::int32_t recordCount, std::int32_t lastRecord) = 0;
    virtual std::int32_t recordCount() const = 0;
    // Fills the boxes, caption and heading from the buffer.
    virtual void showRecord() = 0;
    // Back to record 1, every view and search closed (asks about unsaved work).
    virtual void reset() = 0;
    // A record is being entered or edited.
    virtual bool entering() const = 0;
    // Drops a record being entered or edited without a question.
    virtual void abandonEntry() = 0;
    // The walk shows records read from an index: they are browsed, not edited.
    virtual void stopEntering() = 0;

    // --- What views, searches, lists and reports keep between handlers ----------
    virtual ViewCursor& cursor() = 0;
    virtual void setHeadShown(Heading heading) = 0;
    virtual std::array<std::string, 4>& countText() = 0;  // see CountSlot
    // The status line as the count texts make it.
    virtual std::string statusLine() const = 0;
    // Above 0 while a report is printing: the page being printed.
    virtual int& pageNumber() = 0;

    // --- Controls the screen lends --------------------------------------------------
    virtual Control& control(Lent which) = 0;
    // What a box of the record shows now, read-only: a report prints the
    // record as ShowRecord has laid it out (`box` one of layout::Page1Boxes
    // or layout::Page2Boxes).
    virtual const std::string& shownText(std::string_view box) const = 0;
    // A cell of the list view's grid: `column` one of layout::GridColumns.
    virtual Control& listCell(std::string_view column, int row) = 0;
    // The focus goes to the title box once the handler returns.
    virtual void focusTitle() = 0;
    virtual void applyColour(ColourGroup group, ColourValue value) = 0;
    // The colour the labels' text has now (nothing while it is the default).
    virtual std::optional<ColourValue> labelColour() const = 0;
};

}  // namespace reel
