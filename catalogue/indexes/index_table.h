#pragma once
// The catalogue's four indexes: which master records each one holds, the
// files it lives in and the engine command that builds it.
//
// An index file is a run of 49-byte entries: the 40-byte title as the master
// record holds it, the master record number as seven digits with leading
// zeros, CR LF. Entries are in byte order of the title; equal titles keep
// master-file order. A count file beside it tells how many entries the last
// build wrote.
#include <array>
#include <string>
#include <string_view>

#include "screen/screen_state.h"

namespace reel {

struct IndexSpec {
    std::string_view viewMode;      // ViewMode of its views: "Title", "DVD", "Laser", "VHS"
    std::string_view indexFile;     // "Titleqen.Dat" ...
    std::string_view countFile;     // "Titleqen" ...
    CountSlot slot;                 // where CountText keeps its count
    std::string_view progress;      // lblSorting while it is built
    std::string_view includeValue;  // compared with the title or the format
    std::string_view prefix;        // command up to the include value
    std::string_view suffix;        // command after it
};

// In build order: titles, DVD, laser disc, VHS.
const std::array<IndexSpec, 4>& indexSpecs();
const IndexSpec& indexSpec(CountSlot slot);
// The index a view or list of this ViewMode reads ("Genre" reads the titles);
// nullptr for any other value.
const IndexSpec* indexForView(std::string_view viewMode);

// The one control statement of the index's engine run.
std::string controlStatement(const IndexSpec& index);

inline constexpr std::string_view MasterFileName = "Tavlen.Dat";
inline constexpr std::string_view SortProgramCaption = "Reelvane Deluxe Edition Sort Program";
inline constexpr std::string_view PrintProgramCaption = "Reelvane Deluxe Edition Print Program";

}  // namespace reel
