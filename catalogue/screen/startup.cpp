// The main screen's start-up: colours, counts, the master file, record 1.
#include "data/colour_files.h"
#include "data/count_files.h"
#include "screen/main_screen.h"
#include "screen/screen_layout.h"
#include "screen/title_screen.h"

namespace reel {

std::string MainScreen::statusLine() const {
    const auto& c = state.CountText;
    return "No. Titles  " + c[TitlesCount] + " -    No. DVDS  " + c[DvdCount] +
           " -    No.Laser discs  " + c[LaserCount] + " -    No.VHS " + c[VhsCount];
}

void MainScreen::applyColour(ColourGroup group, ColourValue value) {
    auto eachTextBox = [this](auto&& apply) {
        for (std::string_view box : layout::Page1Boxes) apply((*this)[box]);
        for (std::string_view box : layout::Page2Boxes) apply((*this)[box]);
        for (std::string_view column : layout::GridColumns)
            for (int row = 0; row < layout::GridRows; ++row) apply((*this)[arrayName(column, row)]);
    };
    auto eachLabel = [this](auto&& apply) {
        for (std::string_view label : layout::ColouredLabels) apply((*this)[label]);
        for (std::string_view option : layout::PageButtons) apply((*this)[option]);
    };
    switch (group) {
        case ColourGroup::Background:
            backColour = value;
            eachLabel([value](Control& c) { c.backColour = value; });
            break;
        case ColourGroup::TextBoxBack:
            eachTextBox([value](Control& c) { c.backColour = value; });
            break;
        case ColourGroup::Text:
            eachTextBox([value](Control& c) { c.foreColour = value; });
            break;
        case ColourGroup::Label:
            eachLabel([value](Control& c) { c.foreColour = value; });
            break;
    }
}

void MainScreen::Form_Load() {
    Form& self = *this;
    const std::string& dir = app_.directory;

    self["txtGenreList"].enabled = true;
    state.cursor.SearchMode = Search::None;

    // Missing or unreadable colour files give the default colours.
    applyColour(ColourGroup::Background,
                readColourFile(dir, BackgroundColourFile, DefaultBackground));
    applyColour(ColourGroup::TextBoxBack,
                readColourFile(dir, TextBoxBackColourFile, DefaultTextBoxBack));
    applyColour(ColourGroup::Text, readColourFile(dir, TextColourFile, DefaultText));
    applyColour(ColourGroup::Label, readColourFile(dir, LabelColourFile, DefaultLabel));

    state.cursor.ListKind = Listing::None;
    if (state.HeadShown == Heading::None) {
        self["lblHead"].text = NewPrompt;
        state.CountText[TitlesCount] = readCountFile(dir, TitleCountFile);
        state.CountText[LaserCount] = readCountFile(dir, LaserCountFile);
        state.CountText[VhsCount] = readCountFile(dir, VhsCountFile);
        state.CountText[DvdCount] = readCountFile(dir, DvdCountFile);
        self["lblsorted"].visible = true;
        self["lblsorted"].text = statusLine();
        state.HeadShown = Heading::Status;
    }

    self["optnoteson"].enabled = true;
    self["cmdNext20"].visible = false;
    self["cmdPrev20"].visible = false;
    for (std::string_view column : layout::GridColumns)
        for (int row = 0; row < layout::GridRows; ++row)
            self[arrayName(column, row)].visible = false;
    for (std::string_view list : layout::PickerLists) self[list].visible = false;
    showPage1();
    self["lblSelect"].visible = false;
    self["lblSorting"].visible = false;
    self["lblSave"].visible = false;
    if (!state.NewEntry) {
        self["optNotesoff"].enabled = true;
        self["optNotesoff"].checked = true;
        self["optnoteson"].checked = false;
    }

    self["cmdPrevious"].enabled = true;
    self["cmdNext"].enabled = true;
    state.CurrentRecord = 1;
    IoResult opened = master.open();
    if (!opened) {
        // Without its master file the catalogue cannot work: say why and end,
        // touching nothing on disk.
        visible = false;
        platform().messageBox(opened.message + "\n\nReelvane will now close.", MsgIcon::Critical,
                              MsgButtons::Ok, EditionCaption);
        app_.endProgram();
        return;
    }
    state.RecordCount = master.recordCount();
    state.LastRecord = std::max<std::int32_t>(state.RecordCount, 1);
    readRecord(1);
    ShowRecord();

    visible = true;
    if (app_.title) app_.title->hide();
    setFocus("cmdSave");
}

void MainScreen::readRecord(std::int32_t n) {
    state.record = n >= 1 ? master.readRecord(n) : FilmRecord::pastEnd();
}

}  // namespace reel
