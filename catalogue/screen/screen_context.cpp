// The controls and bounds MainScreen lends its features through ScreenContext.
#include "screen/main_screen.h"
#include "screen/screen_layout.h"

namespace reel {

namespace {

constexpr std::string_view LentNames[] = {
    "lblHead",  "lblsorted", "lblSorting",   "lblNumrec", "lblRetcode", "cmdNext",   "cmdPrevious",
    "cmdMatch", "cmdEdit",   "cmdSave",      "cmdDelete", "cmdNext20",  "cmdPrev20", "txtTitle",
    "txtYear",  "txtFormat", "txtGenreList", "txtRating", "txtLetter",  "txtAwards"};
static_assert(std::size(LentNames) == static_cast<std::size_t>(Lent::AwardsBox) + 1);

}  // namespace

Control& MainScreen::control(Lent which) {
    return (*this)[LentNames[static_cast<std::size_t>(which)]];
}

Control& MainScreen::listCell(std::string_view column, int row) {
    return (*this)[Form::arrayName(column, row)];
}

std::optional<ColourValue> MainScreen::labelColour() const {
    return (*this)[layout::ColouredLabels.front()].foreColour;
}

void MainScreen::setRecordBounds(std::int32_t recordCount, std::int32_t lastRecord) {
    state.RecordCount = recordCount;
    state.LastRecord = lastRecord;
}

}  // namespace reel
