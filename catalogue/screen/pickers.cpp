// The six picker lists: genre, rating, format, aspect, CAV/CLV and colour.
//
// A list opens over its box while a record is entered or edited, takes the
// user's choice into the box and closes. Moving the selection (arrows or
// mouse) writes the item at once; a key in the list or a mouse press on an
// item chooses it. During the guided entry of a new film each choice carries
// the user on: format to the number of discs, genre to the running time,
// aspect to CAV/CLV (laser discs) or colour, CAV/CLV to colour, colour to
// page 2, rating to packaging.
#include <array>

#include "data/coded_words.h"
#include "screen/genre_table.h"
#include "screen/main_screen.h"

namespace reel {

namespace {

std::vector<std::string> wordsOf(Field field) {
    std::vector<std::string> words;
    for (const CodedWord& w : CodedWords)
        if (w.field == field) words.emplace_back(w.word);
    return words;
}

struct PickerSpec {
    const char* list;
    const char* box;
    int helpContext;  // the screen's help topic while the list is open
};

constexpr std::array<PickerSpec, 6> Pickers = {{
    {"List1", "txtGenre", 0},
    {"List2", "txtRating", 42},
    {"List3", "txtFormat", 490},
    {"List4", "txtLetter", 500},
    {"List5", "txtCLV1", 17},
    {"List6", "txtColor1", 18},
}};

const PickerSpec& specOf(MainScreen::Picker p) {
    return Pickers[static_cast<int>(p)];
}

std::vector<std::string> itemsOf(MainScreen::Picker p) {
    using P = MainScreen::Picker;
    switch (p) {
        case P::Genre: {
            std::vector<std::string> items;
            for (const Genre& g : genreTable()) items.emplace_back(g.listItem);
            return items;
        }
        case P::Rating:
            return {"G",     "PG",   "PG-13", "R",     "NC-17", "XXX", "TV-Y",
                    "TV-Y7", "TV-G", "TV-PG", "TV-14", "TV-MA", "NR"};
        case P::Format:
            return wordsOf(Field::Format);
        case P::Aspect:
            return wordsOf(Field::Letter);
        case P::Clv:
            return {"CLV", "CAV"};
        case P::Colour:
            return {"Color", "B & W"};
    }
    return {};
}

}  // namespace

bool MainScreen::pickerOpen(Picker picker) const {
    return (*this)[specOf(picker).list].visible;
}

void MainScreen::openPicker(Picker picker) {
    Form& self = *this;
    const PickerSpec& s = specOf(picker);
    if (!pickerOpen(picker)) helpBeforePicker_ = helpContext;
    Control& list = self[s.list];
    list.items = itemsOf(picker);
    list.listIndex = 0;
    list.visible = true;
    if (s.helpContext != 0) helpContext = s.helpContext;

    if (picker == Picker::Genre) {
        // The list covers these boxes.
        for (const char* box : {"txtCLV1", "txtColor1", "txtGenre", "txtGenreList"})
            self[box].visible = false;
        self["lblSelect"].visible = true;
        if (editingExisting()) self["lblSorting"].text = SaveWhenFinished;
    }
    if (picker == Picker::Colour && state.NewEntry) state.GuidedStep = Guided::AfterColour;
    setFocus(s.list);
}

void MainScreen::closePicker(Picker picker) {
    Form& self = *this;
    Control& list = self[specOf(picker).list];
    if (!list.visible) return;
    list.visible = false;
    list.items.clear();
    list.listIndex = -1;
    helpContext = helpBeforePicker_;
    if (picker == Picker::Genre) restoreAfterGenreList();
}

void MainScreen::restoreAfterGenreList() {
    Form& self = *this;
    for (const char* box : {"txtColor1", "txtCLV1", "txtLetter", "txtGenre", "txtGenreList"})
        self[box].visible = true;
    self["lblSelect"].visible = false;
    if (!state.NotesPage) applyFormatBoxes();
}

void MainScreen::writeSelection(Picker picker, int index) {
    Form& self = *this;
    Control& list = self[specOf(picker).list];
    if (index < 0 || index >= static_cast<int>(list.items.size())) return;
    list.listIndex = index;
    const std::string item = list.items[static_cast<std::size_t>(index)];
    switch (picker) {
        case Picker::Genre: {
            std::string code = genreCodeOfItem(item);
            self["txtGenre"].text = code;
            self["txtGenreList"].text = genreName(code);
            break;
        }
        case Picker::Rating:
            self["txtRating"].text = item;
            break;
        case Picker::Format:
            self["txtFormat"].text = item;
            if (!state.NotesPage) applyFormatBoxes();
            break;
        case Picker::Aspect:
            self["txtLetter"].text = item;
            state.record.set(Field::Letter, item.substr(0, 1));
            break;
        case Picker::Clv:
            self["txtCLV1"].text = item;
            state.record.set(Field::CLV, item);
            break;
        case Picker::Colour:
            self["txtColor1"].text = item;
            state.record.set(Field::Color, item);
            break;
    }
}

// --- List events ------------------------------------------------------------------

void MainScreen::List_Click(Picker picker, const Event& event) {
    if (!pickerOpen(picker)) return;
    const Control& list = (*this)[specOf(picker).list];
    writeSelection(picker, event.item >= 0 ? event.item : list.listIndex);
}

void MainScreen::List_KeyPress(Picker picker, const Event&) {
    if (!pickerOpen(picker)) return;
    writeSelection(picker, (*this)[specOf(picker).list].listIndex);
    closePicker(picker);
    afterChoice(picker);
}

void MainScreen::List_MouseDown(Picker picker, const Event& event) {
    if (!pickerOpen(picker)) return;
    const Control& list = (*this)[specOf(picker).list];
    writeSelection(picker, event.item >= 0 ? event.item : list.listIndex);
    closePicker(picker);
    afterChoice(picker);
}

// The list lost the focus without a choice: it closes; the box keeps what the
// selection last wrote. The rating, CAV/CLV and colour steps of the guided
// entry go on from here as well. The focus going to the list's own box (a
// mouse press on it, Shift+Tab) is no leaving: the press, or typing there,
// takes the selection as a choice.
void MainScreen::List_LostFocus(Picker picker) {
    if (!pickerOpen(picker)) return;
    if (focus() == specOf(picker).box) return;
    closePicker(picker);
    switch (picker) {
        case Picker::Rating:
        case Picker::Clv:
            afterChoice(picker);
            break;
        case Picker::Colour:
            if (state.NewEntry && !state.NotesPage) showPage2();
            break;
        default:
            break;
    }
}

void MainScreen::pickerBox_Change(Picker picker) {
    if (!pickerOpen(picker)) return;
    List_KeyPress(picker, Event{});
}

void MainScreen::enterPickerBox(Picker picker) {
    openedOnEntry_.reset();
    if (pickerOpen(picker)) return;
    openPicker(picker);
    openedOnEntry_ = picker;
}

void MainScreen::pickerBox_MouseDown(Picker picker) {
    pressChose_.reset();
    // The list this very press opened, on entering the box, is no choice yet.
    const bool openedByThisPress = openedOnEntry_ == picker;
    openedOnEntry_.reset();
    if (!pickerOpen(picker) || openedByThisPress) return;
    pressChose_ = picker;
    List_KeyPress(picker, Event{});
}

bool MainScreen::clickEndsChoosingPress(Picker picker) {
    const bool chose = pressChose_ == picker;
    pressChose_.reset();
    return chose;
}

void MainScreen::pickerBox_Click(Picker picker) {
    if (clickEndsChoosingPress(picker)) return;
    if (state.EntryMode && !pickerOpen(picker)) openPicker(picker);
}

// Where the user goes after a choice.
void MainScreen::afterChoice(Picker picker) {
    Form& self = *this;
    const bool guided = state.NewEntry;
    auto saveWorkPrompt = [&] {
        if (editingExisting()) self["lblSorting"].text = SaveWhenFinished;
    };
    switch (picker) {
        case Picker::Genre:
            if (guided)
                setFocus("txtTime");
            else if (state.EntryMode)
                setFocus("cmdSave");
            break;
        case Picker::Rating:
            if (guided) setFocus("txtPackage");
            saveWorkPrompt();
            break;
        case Picker::Format:
            if (guided) {
                setFocus("txtNumReel");
            } else {
                saveWorkPrompt();
                setFocus("cmdSave");
            }
            break;
        case Picker::Aspect:
            if (guided) {
                openPicker(self["txtFormat"].text == "Laser" ? Picker::Clv : Picker::Colour);
            } else {
                setFocus("cmdSave");
            }
            break;
        case Picker::Clv:
            if (guided) {
                openPicker(Picker::Colour);
            } else {
                setFocus("cmdSave");
                saveWorkPrompt();
            }
            break;
        case Picker::Colour:
            if (guided) {
                if (!state.NotesPage) showPage2();
                setFocus("txtProducer");
            } else {
                setFocus("cmdSave");
            }
            break;
    }
}

// --- The picker boxes -----------------------------------------------------------------

void MainScreen::txtFormat_GotFocus() {
    if (!state.EntryMode) return warnBrowsing("Format");
    enterPickerBox(Picker::Format);
}

void MainScreen::txtFormat_Click() {
    if (!state.EntryMode) {
        platform().messageBox("Hit Edit To Change", MsgIcon::None, MsgButtons::Ok, ProgramTitle);
        return;
    }
    pickerBox_Click(Picker::Format);
}

void MainScreen::txtFormat_LostFocus() {
    Control& clv = (*this)["txtCLV1"];
    const std::string& word = (*this)["txtFormat"].text;
    if (word == "Laser") clv.enabled = true;
    if (word == "VHS" || word == "DVD") clv.enabled = false;
}

void MainScreen::txtNumReel_GotFocus() {
    if (!state.EntryMode) return warnBrowsing("Title");
    closePicker(Picker::Format);
}

void MainScreen::txtGenre_GotFocus() {
    if (!state.EntryMode) return warnBrowsing("Genre");
    enterPickerBox(Picker::Genre);
}

void MainScreen::txtGenre_Change() {
    Form& self = *this;
    if (pickerOpen(Picker::Genre)) return pickerBox_Change(Picker::Genre);
    self["txtGenreList"].text = genreName(self["txtGenre"].text);
}

void MainScreen::txtCassNo_GotFocus() {
    if (!state.EntryMode) return warnBrowsing("Cass. No.");
}

// During the guided entry the first key typed into the cassette number opens
// the aspect list (the key itself stays in the box).
void MainScreen::txtCassNo_Change() {
    if (state.NewEntry && state.GuidedStep == Guided::BeforeColour && !pickerOpen(Picker::Aspect) &&
        (*this)["txtLetter"].text.empty())
        openPicker(Picker::Aspect);
}

void MainScreen::txtLetter_GotFocus() {
    if (!state.EntryMode) return warnBrowsing("Aspect");
    enterPickerBox(Picker::Aspect);
}

void MainScreen::txtLetter_Change() {
    if (pickerOpen(Picker::Aspect)) return pickerBox_Change(Picker::Aspect);
    const std::string& word = (*this)["txtLetter"].text;
    if (word == "Wide Screen" || word == "Pan & Scan" || word == "TV 1.33:1")
        state.record.set(Field::Letter, word.substr(0, 1));
}

void MainScreen::txtCLV1_GotFocus() {
    if (!state.EntryMode) return warnBrowsing("CAV/CLV");
    enterPickerBox(Picker::Clv);
}

void MainScreen::txtCLV1_Click() {
    if (!state.EntryMode) return warnBrowsing("CAV / CLV");
    pickerBox_Click(Picker::Clv);
}

void MainScreen::txtColor1_GotFocus() {
    if (!state.EntryMode) return warnBrowsing("Color/B&W");
    enterPickerBox(Picker::Colour);
}

void MainScreen::txtColor1_Click() {
    if (!state.EntryMode) return warnBrowsing("Color/B & W");
    pickerBox_Click(Picker::Colour);
}

void MainScreen::txtColor1_LostFocus() {
    // Leaving the colour box (not for its own list) during a new entry opens page 2.
    if (state.NewEntry && !state.NotesPage && !pickerOpen(Picker::Colour)) showPage2();
}

void MainScreen::txtRating_GotFocus() {
    if (!state.EntryMode) return warnBrowsing("MPAA Rating");
    enterPickerBox(Picker::Rating);
}

// --- Boxes that close a list ----------------------------------------------------------

void MainScreen::txtLabel_LostFocus() {
    closePicker(Picker::Rating);
}

void MainScreen::txtTime_Click() {
    closePicker(Picker::Aspect);
}

void MainScreen::txtYear_GotFocus() {
    if (!state.EntryMode) return warnBrowsing("Year");
    closePicker(Picker::Aspect);
}

void MainScreen::txtYear_Click() {
    closePicker(Picker::Aspect);
    closePicker(Picker::Clv);
}

}  // namespace reel
