// ShowRecord: the record buffer onto the screen.
//
// While browsing, names are pushed to the right of their boxes by leading
// spaces (a short star or crew name counts 2 longer, so it sits a little
// further left); while a record is entered or edited there are no pads, so an
// edited value never picks up leading spaces. A blank field shows an empty box.
#include <algorithm>
#include <cctype>

#include "data/coded_words.h"
#include "data/film_record.h"
#include "screen/genre_table.h"
#include "screen/main_screen.h"
#include "screen/screen_layout.h"

namespace reel {

namespace {

// Characters, not bytes: every character is one byte in the file.
int characterCount(std::string_view utf8) {
    return static_cast<int>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string trimRight(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

struct BoxRule {
    Field field;
    enum Kind { Padded, PaddedShort, PaddedShortField, PaddedLabel, AsStored, Trimmed } kind;
    int width;  // the pad's reference width
};

// Boxes filled by the general rules; txtFormat, txtGenre, txtTime and
// txtLetter have rules of their own.
constexpr BoxRule Rules[] = {
    {Field::Title, BoxRule::Padded, 40},
    {Field::Director, BoxRule::Padded, 30},
    {Field::Star1, BoxRule::PaddedShort, 30},
    {Field::Star2, BoxRule::PaddedShort, 30},
    {Field::Star3, BoxRule::PaddedShort, 30},
    {Field::Star4, BoxRule::PaddedShort, 30},
    {Field::Star5, BoxRule::PaddedShort, 30},
    {Field::Star6, BoxRule::PaddedShort, 30},
    {Field::Label, BoxRule::PaddedLabel, 14},
    {Field::NumReel, BoxRule::AsStored, 0},
    {Field::Year, BoxRule::Trimmed, 0},
    {Field::CassNo, BoxRule::Trimmed, 0},
    {Field::CLV, BoxRule::AsStored, 0},
    {Field::Color, BoxRule::AsStored, 0},
    {Field::Producer, BoxRule::PaddedShortField, 30},
    {Field::Cinematographer, BoxRule::PaddedShortField, 30},
    {Field::Music, BoxRule::PaddedShortField, 30},
    {Field::Choreography, BoxRule::PaddedShortField, 30},
    {Field::SetDirection, BoxRule::PaddedShortField, 30},
    {Field::Costume, BoxRule::PaddedShortField, 30},
    {Field::Written, BoxRule::AsStored, 0},
    {Field::Awards, BoxRule::AsStored, 0},
    {Field::Sound, BoxRule::AsStored, 0},
    {Field::Rating, BoxRule::AsStored, 0},
    {Field::Package, BoxRule::AsStored, 0},
    {Field::Purchase, BoxRule::AsStored, 0},
    {Field::Cost, BoxRule::AsStored, 0},
    {Field::Ratings, BoxRule::AsStored, 0},
};

std::string boxText(const FilmRecord& record, const BoxRule& rule, bool entry) {
    std::string value = record.value(rule.field);
    if (value.empty()) return {};
    // While editing, trailing spaces would only get in the way of typing.
    std::string stored = entry ? trimRight(record.field(rule.field)) : record.field(rule.field);
    int length = characterCount(value);
    auto pad = [entry](int n) { return entry ? std::string() : std::string(std::max(n, 0), ' '); };
    switch (rule.kind) {
        case BoxRule::Padded:
            return pad(rule.width - length) + value;
        case BoxRule::PaddedShort:
            return pad(rule.width - (length < 12 ? length + 2 : length)) + value;
        case BoxRule::PaddedShortField:
            return pad(rule.width - (length < 12 ? length + 2 : length)) + stored;
        case BoxRule::PaddedLabel:
            return pad(rule.width - length) + value;
        case BoxRule::AsStored:
            return stored;
        case BoxRule::Trimmed:
            return value;
    }
    return value;
}

// An unknown format letter shows as it is stored; an unknown aspect shows
// nothing.
std::string formatWord(const std::string& letter) {
    const std::string_view word = codedWord(Field::Format, letter);
    return word.empty() ? letter : std::string(word);
}

struct ViewHeading {
    std::string_view mode;
    std::string_view suffix;
    std::string_view heading;  // "" leaves lblHead unchanged
};

constexpr ViewHeading Headings[] = {
    {"", "      Title Non Sorted", ""},
    {"Title", "      Title Sorted All Formats", "Viewing All Titles Alphabetically"},
    {"DVD", "        DVD  Sorted", "Viewing All DVD Titles Alphabetically"},
    {"VHS", "        VHS  Sorted", "Viewing All VHS Titles Alphabetically"},
    {"Laser", "      Laser Sorted", "Viewing All Laser Titles Alphabetically"},
    {"Genre", "      Genre Sorted", ""},
};

}  // namespace

std::string captionNumber(std::int32_t n) {
    return n < 0 ? std::to_string(n) : " " + std::to_string(n);
}

void MainScreen::ShowRecord() {
    Form& self = *this;
    const bool entry = state.EntryMode;

    if (!entry) self["lblSorting"].visible = false;

    if (state.GuidedStep == Guided::BeforeColour) {
        // A new record is being set up: nothing of the old one may remain.
        state.record.blank();
        for (std::string_view box : layout::Page1Boxes) self[box].text.clear();
        for (std::string_view box : layout::Page2Boxes) self[box].text.clear();
    }

    self["lblNumrec"].text.clear();
    self["lblRetcode"].text.clear();

    const FilmRecord& r = state.record;
    for (const BoxRule& rule : Rules)
        self[fieldSpec(rule.field).textBox].text = boxText(r, rule, entry);

    self["txtFormat"].text = formatWord(upper(r.value(Field::Format)));

    std::string genre = upper(r.value(Field::Genre));
    self["txtGenre"].text = genre;
    self["txtGenreList"].text = genreName(genre);

    std::string time = entry ? trimRight(r.field(Field::Time)) : r.field(Field::Time);
    self["txtTime"].text = r.value(Field::Time).empty() ? "" : (entry ? "" : "     ") + time;

    // Any other aspect letter leaves the box as the caller left it.
    if (std::string word(codedWord(Field::Letter, r.value(Field::Letter))); !word.empty())
        self["txtLetter"].text = word;

    // Caption and view heading.
    std::string suffix;
    for (const ViewHeading& h : Headings) {
        if (h.mode != state.cursor.ViewMode) continue;
        suffix = h.suffix;
        if (!h.heading.empty()) self["lblHead"].text = h.heading;
        if (h.mode == "Genre")
            self["lblHead"].text =
                "Viewing All " + self["txtGenreList"].text + " Files Alphabetically";
    }
    caption = "Reelvane Deluxe Record " + captionNumber(state.CurrentRecord) + "/" +
              captionNumber(state.LastRecord) + suffix;

    if (state.HeadShown == Heading::None) self["lblHead"].text = NewPrompt;
    if (state.PageNumber > 0) self["lblHead"].text = "Please wait print spooler is loading files.";

    if (!state.NotesPage) {
        applyFormatBoxes();
    } else {
        self["txtCLV1"].visible = false;
        self["txtCassNo"].visible = false;
    }
    setTypingLimits();
}

void MainScreen::applyFormatBoxes() {
    Form& self = *this;
    const std::string& word = self["txtFormat"].text;
    if (word == "Laser") {
        self["txtCLV1"].visible = true;
        self["txtCassNo"].visible = false;
    } else if (word == "VHS") {
        self["txtCLV1"].visible = false;
        self["txtCassNo"].visible = true;
    } else if (word == "DVD") {
        self["txtCLV1"].visible = false;
        self["txtCassNo"].visible = false;
    }
}

void MainScreen::setTypingLimits() {
    static constexpr std::string_view PickerBoxes[] = {"txtFormat", "txtGenre",  "txtLetter",
                                                       "txtCLV1",   "txtColor1", "txtRating"};
    for (const FieldSpec& f : fieldSpecs()) {
        bool picker = std::find(std::begin(PickerBoxes), std::end(PickerBoxes), f.textBox) !=
                      std::end(PickerBoxes);
        (*this)[f.textBox].maxLength = state.EntryMode && !picker ? f.width : 0;
    }
}

}  // namespace reel
