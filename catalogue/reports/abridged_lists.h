#pragma once
// The four abridged lists: one line per film (title, year, genre, format) of
// all titles, or of the DVDs, laser discs or VHS cassettes alone.
#include "screen/screen_seams.h"

namespace reel {

class ScreenContext;

// REQUIRES: kind is AllTitles, Dvd, Laser or Vhs.
void printAbridgedList(ScreenContext& screen, ReportKind kind);

}  // namespace reel
