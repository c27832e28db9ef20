#include "data/film_record.h"

#include <cassert>

#include "data/codepage.h"

namespace reel {
namespace {

struct FieldLayout {
    Field field;
    std::string_view name;
    int width;
    std::string_view textBox;
};

// Widths in file order; positions follow from them.
constexpr std::array<FieldLayout, FieldCount> Layout = {{
    {Field::Title, "Title", 40, "txtTitle"},
    {Field::Director, "Director", 30, "txtDirector"},
    {Field::Star1, "Star1", 30, "txtStar1"},
    {Field::Star2, "Star2", 30, "txtStar2"},
    {Field::Star3, "Star3", 30, "txtStar3"},
    {Field::Star4, "Star4", 30, "txtStar4"},
    {Field::Star5, "Star5", 30, "txtStar5"},
    {Field::Star6, "Star6", 30, "txtStar6"},
    {Field::Label, "Label", 15, "txtLabel"},
    {Field::Format, "Format", 1, "txtFormat"},
    {Field::NumReel, "NumReel", 1, "txtNumReel"},
    {Field::Genre, "Genre", 2, "txtGenre"},
    {Field::Time, "Time", 3, "txtTime"},
    {Field::Year, "Year", 4, "txtYear"},
    {Field::CassNo, "CassNo", 5, "txtCassNo"},
    {Field::Letter, "Letter", 1, "txtLetter"},
    {Field::CLV, "CLV", 3, "txtCLV1"},
    {Field::Color, "Color", 6, "txtColor1"},
    {Field::Producer, "Producer", 30, "txtProducer"},
    {Field::Cinematographer, "Cinematographer", 30, "txtCinematographer"},
    {Field::Written, "Written", 50, "txtWritten"},
    {Field::Music, "Music", 30, "txtMusic"},
    {Field::Choreography, "Choreography", 30, "txtChoreography"},
    {Field::SetDirection, "SetDirection", 30, "txtSetDirection"},
    {Field::Costume, "Costume", 30, "txtCostume"},
    {Field::Sound, "Sound", 15, "txtSound"},
    {Field::Awards, "Awards", 60, "txtAwards"},
    {Field::Rating, "Rating", 5, "txtRating"},
    {Field::Package, "Package", 15, "txtPackage"},
    {Field::Purchase, "Purchase", 8, "txtPurchase"},
    {Field::Cost, "Cost", 8, "txtCost"},
    {Field::Ratings, "Ratings", 15, "txtRatings"},
}};

constexpr std::array<FieldSpec, FieldCount> buildSpecs() {
    std::array<FieldSpec, FieldCount> specs{};
    int position = 1;
    for (int i = 0; i < FieldCount; ++i) {
        const FieldLayout& f = Layout[static_cast<std::size_t>(i)];
        specs[static_cast<std::size_t>(i)] =
            FieldSpec{f.field, f.name, position, f.width, f.textBox};
        position += f.width;
    }
    return specs;
}

constexpr std::array<FieldSpec, FieldCount> Specs = buildSpecs();

constexpr bool layoutIsConsistent() {
    for (int i = 0; i < FieldCount; ++i) {
        if (static_cast<int>(Specs[static_cast<std::size_t>(i)].field) != i) return false;
    }
    const FieldSpec& last = Specs[FieldCount - 1];
    return last.position + last.width - 1 == FilmRecord::TextSize;
}
static_assert(layoutIsConsistent(), "fields must fill the 647 bytes before CR LF, in enum order");
static_assert(Specs[static_cast<int>(Field::Format)].position == 266);
static_assert(Specs[static_cast<int>(Field::Ratings)].position == 633);

std::string blankBytes() {
    std::string bytes(FilmRecord::TextSize, ' ');
    bytes += "\r\n";
    return bytes;
}

std::string_view trimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

}  // namespace

const std::array<FieldSpec, FieldCount>& fieldSpecs() {
    return Specs;
}

const FieldSpec& fieldSpec(Field field) {
    return Specs[static_cast<std::size_t>(field)];
}

FilmRecord::FilmRecord() : bytes_(blankBytes()) {}

FilmRecord FilmRecord::fromBytes(std::string_view bytes) {
    assert(bytes.size() == static_cast<std::size_t>(Size));
    FilmRecord record;
    record.bytes_.assign(bytes.substr(0, Size));
    record.bytes_.resize(Size, ' ');
    return record;
}

FilmRecord FilmRecord::pastEnd() {
    FilmRecord record;
    record.pastEnd_ = true;
    return record;
}

std::string FilmRecord::field(Field f) const {
    if (pastEnd_) return {};
    const FieldSpec& s = fieldSpec(f);
    return cp1252ToUtf8(std::string_view(bytes_).substr(s.position - 1, s.width));
}

std::string FilmRecord::value(Field f) const {
    if (pastEnd_) return {};
    const FieldSpec& s = fieldSpec(f);
    return cp1252ToUtf8(trimSpaces(std::string_view(bytes_).substr(s.position - 1, s.width)));
}

void FilmRecord::set(Field f, std::string_view utf8) {
    pastEnd_ = false;
    const FieldSpec& s = fieldSpec(f);
    bytes_.replace(s.position - 1, s.width, fitToWidth(utf8, s.width));
}

void FilmRecord::blank() {
    bytes_ = blankBytes();
    pastEnd_ = false;
}

bool FilmRecord::isFree() const {
    if (pastEnd_) return true;
    const FieldSpec& title = fieldSpec(Field::Title);
    return bytes_.compare(0, title.width, std::string(title.width, ' ')) == 0;
}

}  // namespace reel
