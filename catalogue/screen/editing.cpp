// Entering and editing films: New, Edit, Save, Delete, the two page buttons
// and StoreRecord. The master file changes only in StoreRecord and Delete;
// edits live in the text boxes until then.
#include <algorithm>

#include "screen/main_screen.h"
#include "screen/screen_layout.h"

namespace reel {

namespace {
constexpr const char* Page1Prompt =
    "You are inputting onto page 1. When all entries on this page are complete, page 2. will "
    "come up automatically.";
}

// --- Pages --------------------------------------------------------------------

void MainScreen::showPage1() {
    Form& self = *this;
    state.NotesPage = false;
    self["txtGenre"].visible = true;
    self["txtGenreList"].visible = true;
    self["lblSorting"].text.clear();
    self["lblSorting"].visible = false;
    self["lblHead"].visible = true;
    for (std::string_view c : layout::Page2Boxes) self[c].visible = false;
    for (std::string_view c : layout::Page2Captions) self[c].visible = false;
    self["lblNotes1"].visible = false;
    for (std::string_view c : layout::Page1Boxes) self[c].visible = true;
    for (std::string_view c : layout::Page1Captions) self[c].visible = true;
    self[layout::Page1ExtraCaption].visible = true;
    self["lblSave"].visible = false;
    self["optNotesoff"].checked = true;
    self["optnoteson"].checked = false;
    // The shown format decides whether the CAV/CLV or the cassette box belongs.
    applyFormatBoxes();
}

void MainScreen::showPage2() {
    Form& self = *this;
    state.NotesPage = true;
    for (std::string_view c : layout::Page1Boxes) self[c].visible = false;
    for (std::string_view c : layout::Page1Captions) self[c].visible = false;
    self[layout::Page1ExtraCaption].visible = false;
    for (std::string_view c : layout::Page2Boxes) self[c].visible = true;
    for (std::string_view c : layout::Page2Captions) self[c].visible = true;
    self["lblNotes1"].visible = true;
    self["lblNotes1"].text = "\nYou are now inputting on page 2.  ";
    self["optnoteson"].checked = true;
    self["optNotesoff"].checked = false;
    setFocus(state.NewEntry ? "txtProducer" : "cmdSave");
}

void MainScreen::optnoteson_Click() {
    showPage2();
}
void MainScreen::optNotesoff_Click() {
    showPage1();
}

// --- New ------------------------------------------------------------------------

void MainScreen::cmdNew_Click() {
    if (state.cursor.SearchMode != Search::None) return;
    Form& self = *this;
    self["lblSave"].visible = false;
    state.JumpText.clear();
    self["txtRating"].text.clear();
    self["txtGenreList"].enabled = false;

    MsgResult answer = platform().messageBox("Are you sure you want to add a new record?",
                                             MsgIcon::Question, MsgButtons::YesNo, EditionCaption);
    if (answer != MsgResult::Yes) {
        reset();
        return;
    }
    for (std::string_view list : layout::PickerLists)
        if (self[list].visible) closePicker(static_cast<Picker>(list.back() - '1'));

    state.EntryMode = true;
    state.NewEntry = true;
    state.GuidedStep = Guided::BeforeColour;
    state.CurrentRecord = master.freeSlot();
    state.LastRecord = std::max(state.LastRecord, state.CurrentRecord);

    for (std::string_view box : layout::Page1Boxes) self[box].text.clear();
    for (std::string_view box : layout::Page2Boxes) self[box].text.clear();
    ShowRecord();

    showPage1();
    setFocus("txtTitle");
    caption = "Reelvane Record Deluxe Edition" + captionNumber(state.CurrentRecord) + "/" +
              captionNumber(state.LastRecord);
    self["txtCLV1"].visible = true;
    self["txtColor1"].visible = true;
    self["lblSorting"].visible = true;
    self["lblSorting"].text = Page1Prompt;
}

// --- Edit -----------------------------------------------------------------------

void MainScreen::cmdEdit_Click() {
    Form& self = *this;
    self["txtGenreList"].enabled = false;
    if (state.cursor.ListKind == Listing::Grid) return;
    // A new record is already being entered: showing it again would wipe
    // everything typed so far.
    if (state.NewEntry) return;

    self["optnoteson"].enabled = false;
    self["optNotesoff"].enabled = false;
    self["lblHead"].visible = false;
    self["lblSave"].visible = false;
    self["lblNotes1"].visible = false;

    state.EntryMode = true;
    self["cmdSave"].enabled = true;
    self["mnuSave"].enabled = true;
    ShowRecord();
    if (state.NotesPage) self["txtCLV1"].visible = false;
    self["lblSorting"].visible = true;
    self["lblSorting"].text = std::string("\n") + SaveWhenFinished;
}

// --- Save -------------------------------------------------------------------------

void MainScreen::mnuSave_Click() {
    // The focus goes to Save first, so the box being left finishes its own
    // work (its LostFocus) before the button's Click saves.
    setFocus("cmdSave");
    post(Event{"cmdSave", EventKind::Click});
}

void MainScreen::cmdSave_Click() {
    save();
}

bool MainScreen::save() {
    Form& self = *this;
    closePicker(Picker::Clv);
    closePicker(Picker::Colour);
    self["txtGenreList"].enabled = true;
    if (state.EntryMode) self["lblSave"].visible = true;
    if (state.NotesPage) {
        self["txtGenre"].visible = false;
        self["txtGenreList"].visible = false;
        self["txtCLV1"].visible = false;
    }
    if (state.EntryMode && !StoreRecord()) {
        // Nothing was saved: stay in the entry with everything typed intact.
        self["lblSave"].visible = false;
        return false;
    }
    if (state.NewEntry) {
        showPage1();
        self["optNotesoff"].enabled = true;
    }
    state.NewEntry = false;
    state.EntryMode = false;
    state.GuidedStep = Guided::Off;
    self["lblSorting"].visible = false;
    self["optnoteson"].enabled = true;
    self["optNotesoff"].enabled = true;
    self["lblNotes1"].enabled = true;

    ShowRecord();
    for (const char* button : {"cmdNext", "cmdPrevious", "cmdDelete", "cmdNew"})
        self[button].enabled = true;
    self["lblHead"].visible = true;
    if (state.HeadShown == Heading::None) self["lblHead"].text = NewPromptAltW;
    return true;
}

bool MainScreen::StoreRecord() {
    FilmRecord record = state.record;
    for (const FieldSpec& f : fieldSpecs()) record.set(f.field, (*this)[f.textBox].text);
    if (state.CurrentRecord < 1) state.CurrentRecord = 1;

    IoResult written = master.writeRecord(state.CurrentRecord, record);
    if (!written) {
        platform().messageBox("Your work could not be saved.\n\n" + written.message,
                              MsgIcon::Critical, MsgButtons::Ok, EditionCaption);
        return false;
    }
    state.record = record;
    state.RecordCount = master.recordCount();
    state.LastRecord = std::max(state.LastRecord, state.RecordCount);
    return true;
}

// --- Delete -------------------------------------------------------------------------

void MainScreen::cmdDelete_Click() {
    if (state.cursor.ListKind == Listing::Grid) return;
    MsgResult answer = platform().messageBox(
        "Are you sure you want to DELETE this record? This File Will Be Removed Permanently!!",
        MsgIcon::Question, MsgButtons::YesNo, EditionCaption);
    if (answer != MsgResult::Yes) {
        visible = true;
        ShowRecord();
        return;
    }
    Form& self = *this;
    for (std::string_view box : layout::Page1Boxes) self[box].text.clear();
    for (std::string_view box : layout::Page2Boxes) self[box].text.clear();
    state.JumpRecord = state.CurrentRecord;
    // A record not yet in the file (a new one never saved) has nothing to
    // delete; writing it would only grow the file by a blank record.
    if (state.CurrentRecord <= state.RecordCount) {
        IoResult blanked = master.blankRecord(state.CurrentRecord);
        if (!blanked) {
            platform().messageBox("The record could not be deleted.\n\n" + blanked.message,
                                  MsgIcon::Critical, MsgButtons::Ok, EditionCaption);
            readRecord(state.CurrentRecord);
            ShowRecord();
            return;
        }
        StoreRecord();
    } else {
        state.record.blank();
    }
    ShowRecord();
}

// --- Leaving an entry -----------------------------------------------------------------

void MainScreen::abandonEntry() {
    Form& self = *this;
    for (std::string_view list : layout::PickerLists)
        if (self[list].visible) closePicker(static_cast<Picker>(list.back() - '1'));
    if (state.NewEntry) state.LastRecord = std::max<std::int32_t>(state.RecordCount, 1);
    state.EntryMode = false;
    state.NewEntry = false;
    state.GuidedStep = Guided::Off;
    self["optnoteson"].enabled = true;
    self["optNotesoff"].enabled = true;
}

}  // namespace reel
