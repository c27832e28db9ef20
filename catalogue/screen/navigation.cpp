// Moving from record to record: Next, Previous, Reset, Match and Find By
// File No. Moves never write to the master file; they drop an entry in
// progress without asking (only Reset and Exit ask).
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

#include "screen/main_screen.h"
#include "screen/screen_layout.h"

namespace reel {

namespace {

bool isAlphabeticView(const std::string& mode) {
    return mode == "Title" || mode == "Laser" || mode == "VHS" || mode == "DVD";
}

// The field searches Match can continue.
bool isFieldSearch(const std::string& kind) {
    static constexpr std::string_view Kinds[] = {
        "Title", "Director", "Star",    "Producer", "Cinema", "Writer", "Music",
        "Art",   "Dance",    "Costume", "Awards",   "MPAA",   "Sound"};
    for (std::string_view k : Kinds)
        if (k == kind) return true;
    return false;
}

// The numeric value of the answer's leading number (blanks before it skipped,
// an optional sign, digits with an optional fraction and exponent), rounded
// to the nearest whole number with halves going to the even one. Nothing
// when the answer does not start with a number.
std::optional<double> leadingNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
            while (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) ++j;
            i = j;
        }
    }
    return std::strtod(text.substr(start, i - start).c_str(), nullptr);
}

double roundHalfEven(double v) {
    double lower = std::floor(v);
    double diff = v - lower;
    if (diff < 0.5) return lower;
    if (diff > 0.5) return lower + 1;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

}  // namespace

// --- Next -------------------------------------------------------------------

void MainScreen::cmdNext_Click() {
    if (state.cursor.SearchMode == Search::Results) return;
    abandonEntry();
    state.cursor.GenreBackward = false;
    showPage1();

    Form& self = *this;
    const std::string& mode = state.cursor.ViewMode;
    if (mode.empty()) {
        state.CurrentRecord += 1;
        for (const char* box : {"txtDirector", "txtColor1", "txtCLV1", "txtGenreList", "txtLetter"})
            self[box].text.clear();
        stepThroughMasterFile();
    } else if (isAlphabeticView(mode)) {
        state.cursor.IndexPosition += 1;
        self["txtLetter"].text.clear();
        if (mode == "Title") self["txtFormat"].text.clear();
        index_->showAlphabetic(*this, mode);
    } else if (mode == "Genre") {
        state.cursor.IndexPosition += 1;
        state.cursor.ListRow += 1;
        index_->genreSearch(*this);
    } else {
        // A value no list uses (a report may leave one): show the record again.
        stepThroughMasterFile();
    }
}

// Reads and shows CurrentRecord; past the last record the empty record stays
// on screen behind the end-of-file message, then Reset.
void MainScreen::stepThroughMasterFile() {
    readRecord(state.CurrentRecord);
    ShowRecord();
    if (state.CurrentRecord > state.LastRecord) endOfFileThenReset();
}

void MainScreen::endOfFileThenReset() {
    platform().beep();
    platform().messageBox("End of file encountered!", MsgIcon::Exclamation, MsgButtons::Ok,
                          ProgramTitle);
    reset();
}

// --- Previous -----------------------------------------------------------------

void MainScreen::cmdPrevious_Click() {
    if (state.cursor.SearchMode == Search::Results) return;
    Form& self = *this;
    for (const char* box : {"txtDirector", "txtColor1", "txtCLV1", "txtFormat"})
        self[box].text.clear();
    abandonEntry();
    showPage1();
    if (state.cursor.ViewMode.empty()) self["lblHead"].text = NewPromptAltW;

    if (isAlphabeticView(state.cursor.ViewMode) || state.cursor.ViewMode == "Genre") {
        self["txtLetter"].text.clear();
        stepBackInView();
        return;
    }
    if (state.CurrentRecord <= 1) {
        platform().beep();
        platform().messageBox("Top of file encountered!", MsgIcon::Exclamation, MsgButtons::Ok,
                              ProgramTitle);
        state.CurrentRecord = 1;
    } else {
        state.CurrentRecord -= 1;
        self["txtLetter"].text.clear();
    }
    readRecord(state.CurrentRecord);
    ShowRecord();
}

void MainScreen::stepBackInView() {
    const std::string mode = state.cursor.ViewMode;
    state.cursor.IndexPosition -= 1;
    if (state.cursor.IndexPosition > 0) {
        if (mode == "Genre") {
            state.cursor.GenreBackward = true;
            index_->genreSearch(*this);
        } else {
            index_->showAlphabetic(*this, mode);
        }
        return;
    }
    // The entry shown was the first: the view ends.
    index_->closeIndexFile(*this);
    state.cursor.IndexPosition = 0;
    platform().beep();
    std::string text =
        mode == "DVD" ? "Begining of file encountered!" : "Beginning of file encounter!";
    std::string title = mode == "Title"   ? "ALPHA TITLE SEARCH"
                        : mode == "Laser" ? "ALPHA LASER TITLE SEARCH"
                        : mode == "VHS"   ? "ALPHA VHS TITLE SEARCH"
                        : mode == "DVD"   ? "ALPHA DVD TITLE SEARCH"
                                          : "GENRE SEARCH";
    platform().messageBox(text, MsgIcon::Exclamation, MsgButtons::Ok, title);
    reset();
}

// --- Reset --------------------------------------------------------------------

void MainScreen::cmdReset_Click() {
    reset();
}

void MainScreen::reset() {
    Form& self = *this;
    state.cursor.LastSearch.clear();
    self["txtGenreList"].enabled = true;
    closePicker(Picker::Aspect);
    closePicker(Picker::Colour);
    state.cursor.ListKind = Listing::None;
    state.cursor.SearchMode = Search::None;

    self["cmdPrev20"].visible = false;
    self["cmdPrevious"].visible = true;
    self["cmdNew"].visible = true;
    for (const char* button :
         {"cmdPrevious", "cmdNext", "cmdDelete", "cmdNew", "cmdEdit", "cmdSave"})
        self[button].enabled = true;
    self["txtTitle"].enabled = true;
    setFocus("cmdSave");

    state.HeadShown = Heading::None;
    state.cursor.ListRow = 0;
    index_->resetListView(*this);
    self["optnoteson"].enabled = true;

    bool keepView = false;
    if (state.EntryMode) {
        MsgResult answer =
            platform().messageBox("You have not saved your work.  To save it now hit Yes.",
                                  MsgIcon::Question, MsgButtons::YesNo, EditionCaption);
        if (answer == MsgResult::Yes) {
            // A record that could not be written stays on screen to be saved again.
            if (!save()) return;
        } else {
            keepView = true;
        }
        abandonEntry();
    }
    state.NewEntry = false;
    if (!keepView) {
        state.EntryMode = false;
        state.PageNumber = 0;
        state.cursor.ViewMode.clear();
        state.cursor.IndexPosition = 0;
        state.cursor.GenreBackward = false;
    }

    index_->closeIndexFile(*this);
    state.CurrentRecord = 1;
    readRecord(1);
    ShowRecord();

    self["lblHead"].text = NewPrompt;
    showPage1();
    self["optNotesoff"].checked = true;
    self["optNotesoff"].visible = true;
    self["optnoteson"].checked = false;
    self["lblSave"].visible = false;
    self["cmdNext20"].visible = false;
    self["cmdPrev20"].visible = false;
    for (std::string_view column : layout::GridColumns)
        for (int row = 0; row < layout::GridRows; ++row)
            self[arrayName(column, row)].visible = false;
}

// --- Match --------------------------------------------------------------------

void MainScreen::cmdMatch_Click() {
    if (state.cursor.SearchMode == Search::Genre) return;
    showPage1();
    if (!isFieldSearch(state.cursor.LastSearch)) return;
    abandonEntry();
    state.CurrentRecord += 1;
    state.cursor.IndexPosition = 0;
    index_->continueFieldSearch(*this, state.cursor.LastSearch);
}

// --- Find By File No. -----------------------------------------------------------

void MainScreen::mnuFile_Click() {
    Form& self = *this;
    index_->closeIndexFile(*this);
    state.cursor.IndexPosition = 0;
    self["lblHead"].text = "    Viewing All Files Numerically";
    state.cursor.ViewMode.clear();
    self["cmdPrevious"].enabled = true;

    std::string answer = platform().inputBox("Enter File No To Search:", EditionCaption, "");
    state.JumpText = answer;
    if (answer.empty()) {
        reset();
        return;
    }
    abandonEntry();

    std::optional<double> number = leadingNumber(answer);
    double rounded = number ? roundHalfEven(*number) : 0;
    if (rounded < 1) {
        // There is no record 0 or below: nothing is read, the user is told.
        platform().messageBox("End of file!", MsgIcon::Exclamation, MsgButtons::Ok,
                              "Reelvane Deluxe Edition ");
        reset();
        return;
    }
    // Anything beyond the largest record number cannot exist either.
    bool tooLarge = rounded > std::numeric_limits<std::int32_t>::max();
    state.JumpRecord =
        tooLarge ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int32_t>(rounded);
    state.CurrentRecord = state.JumpRecord;
    self["txtColor1"].text.clear();
    self["txtCLV1"].text.clear();
    readRecord(state.CurrentRecord);
    self["txtGenreList"].text.clear();
    ShowRecord();
    if (state.CurrentRecord > state.LastRecord) {
        platform().messageBox("End of file!", MsgIcon::Exclamation, MsgButtons::Ok,
                              "Reelvane Deluxe Edition ");
        reset();
    }
}

// --- Paging buttons of the list views -------------------------------------------

void MainScreen::cmdNext20_Click() {
    if (indexInstalled_) index_->nextPage(*this);
}

void MainScreen::cmdPrev20_Click() {
    if (indexInstalled_) index_->previousPage(*this);
}

}  // namespace reel
