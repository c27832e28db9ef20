#pragma once
// The full list: every film of the title index with nearly all its data, in
// a block of six lines (five for a film of no known format), eight films a
// page.
namespace reel {

class ScreenContext;

void printFullList(ScreenContext& screen);

}  // namespace reel
