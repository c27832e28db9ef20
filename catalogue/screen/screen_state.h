#pragma once
// ScreenState: what the main screen remembers between handlers.
//
// The catalogue's handlers share this state instead of passing arguments: the
// record buffer and its number, the mode flags that decide what Next,
// Previous, the pickers and the record display do, and the bookkeeping of the
// index views, searches, list views and reports that plug into the screen.
// Names follow the screen's own vocabulary so handlers read like the rules
// they implement.
#include <array>
#include <cstdint>
#include <string>

#include "data/film_record.h"

namespace reel {

// Slots of CountText, in the order the status line and the index build use.
enum CountSlot { TitlesCount = 0, DvdCount = 1, LaserCount = 2, VhsCount = 3 };

// What kind of search holds Next, Previous and Match. The values are the
// screen's own numbers for them.
enum class Search : int {
    None = 0,
    Results = 1,  // a field-search result or a list view is shown
    Genre = 3,    // the genre search steps with Next and Previous
};

// Whether a twenty-row list view covers the upper part of the screen.
enum class Listing : int { None = 0, Grid = 2 };

// What the heading above the record says: nothing of its own yet (it
// prompts for a new record), the status line, or an alphabetic view's title.
// None until the status line is filled, and again after Reset.
enum class Heading : int { None = 0, Status = 1, View = 2 };

// Where the guided entry of a new record stands: from New until the colour
// picker, then after it; Off while no new record is entered.
enum class Guided : int { Off = 0, BeforeColour = 1, AfterColour = 2 };

// ViewCursor: where the alphabetic view, field or genre search, or list view
// on screen stands. The screen's Next, Previous, Match and Reset move and
// clear it; the index module walks from it.
struct ViewCursor {
    // "" while moving through the master file by number; "Title", "DVD",
    // "Laser", "VHS" in an alphabetical view; "Genre" in the genre search or
    // genre list. A report may leave a value that names no list.
    std::string ViewMode;

    Search SearchMode = Search::None;
    Listing ListKind = Listing::None;
    std::string LastSearch;  // kind of the last field search, for Match

    std::int32_t IndexPosition = 0;  // entry of the open index last read; 0: none open
    int ListRow = 0;                 // next list-view row to fill
    bool GenreBackward = false;      // the genre search steps backwards
};

struct ScreenState {
    FilmRecord record;               // the record shown (or being entered)
    std::int32_t CurrentRecord = 1;  // number of the record in the buffer
    std::int32_t LastRecord = 1;     // highest number the screen moves to
    std::int32_t RecordCount = 0;    // whole records in the master file

    ViewCursor cursor;

    bool EntryMode = false;  // a record is being entered or edited
    bool NewEntry = false;   // a new record is being entered (guided flow)
    Guided GuidedStep = Guided::Off;
    bool NotesPage = false;  // page 2 is shown

    Heading HeadShown = Heading::None;

    std::array<std::string, 4> CountText{"0", "0", "0", "0"};  // see CountSlot

    int PageNumber = 0;  // above 0 while a report is printing

    std::int32_t JumpRecord = 0;  // number asked for by Find By File No.
    std::string JumpText;         // what the user typed for it
};

}  // namespace reel
