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

struct ScreenState {
    FilmRecord record;               // the record shown (or being entered)
    std::int32_t CurrentRecord = 1;  // number of the record in the buffer
    std::int32_t LastRecord = 1;     // highest number the screen moves to
    std::int32_t RecordCount = 0;    // whole records in the master file

    // "" while moving through the master file by number; "Title", "DVD",
    // "Laser", "VHS" in an alphabetical view; "Genre" in the genre search or
    // genre list. A report may leave a value that names no list.
    std::string ViewMode;

    bool EntryMode = false;  // a record is being entered or edited
    bool NewEntry = false;   // a new record is being entered (guided flow)
    int GuidedStep = 0;      // 1 from New until the colour picker, then 2; 0 otherwise
    bool NotesPage = false;  // page 2 is shown

    int SearchMode = 0;  // 1 field-search result or list view shown, 3 genre search
    int ListKind = 0;    // 2 while a twenty-row list view is shown
    int HeadShown = 0;   // 0 until the status line is filled, and again after Reset

    std::string LastSearch;  // kind of the last field search, for Match
    std::array<std::string, 4> CountText{"0", "0", "0", "0"};  // see CountSlot

    // Index views, genre search and list views.
    int IndexPosition = 0;       // entry of the open index last read; 0: none open
    int ListRow = 0;             // next list-view row to fill
    bool GenreBackward = false;  // the genre search steps backwards

    int PageNumber = 0;  // above 0 while a report is printing

    std::int32_t JumpRecord = 0;  // number asked for by Find By File No.
    std::string JumpText;         // what the user typed for it
};

}  // namespace reel
