#pragma once
// The selective reports: the films whose director, star or genre code
// contains a text the user types, one line per film, with a heading that
// names the first match and a total that names the last.
#include "screen/screen_seams.h"

namespace reel {

class ScreenContext;

// REQUIRES: kind is ByDirector, ByStars or ByGenre.
void printSelectiveReport(ScreenContext& screen, ReportKind kind);

// (61 - length) / 2 (or 62 for the genre report) with halves going to the
// even neighbour: the column that centres a name line.
int centringColumn(int width, int length);

// Upper case of the Latin letters of a UTF-8 text (what the catalogue's
// code page can hold); other characters are kept.
std::string upperLatin(std::string_view text);

// The genre report's own names: those of the screen, except "Musical".
std::string reportGenreName(std::string_view code);

}  // namespace reel
