#pragma once
// FilmRecord: one film as the master file stores it.
//
// A record is 649 bytes: 32 text fields of fixed width, each left-aligned and
// padded with spaces, followed by CR LF. The bytes are Windows-1252; field()
// and value() give UTF-8, set() converts back and cuts or pads to the width.
// A record whose title is 40 spaces is free (deleted or never used), whatever
// its other fields hold.
#include <array>
#include <string>
#include <string_view>

namespace reel {

// The 32 fields, in file order.
enum class Field {
    Title,
    Director,
    Star1,
    Star2,
    Star3,
    Star4,
    Star5,
    Star6,
    Label,
    Format,
    NumReel,
    Genre,
    Time,
    Year,
    CassNo,
    Letter,
    CLV,
    Color,
    Producer,
    Cinematographer,
    Written,
    Music,
    Choreography,
    SetDirection,
    Costume,
    Sound,
    Awards,
    Rating,
    Package,
    Purchase,
    Cost,
    Ratings
};
constexpr int FieldCount = 32;

struct FieldSpec {
    Field field;
    std::string_view name;     // "Title", "Director", ...
    int position;              // 1-based byte position in the record
    int width;                 // bytes
    std::string_view textBox;  // the main screen's box: "txtTitle" ... "txtCLV1", "txtColor1"
};

// All fields in file order; fieldSpecs()[static_cast<int>(f)].field == f.
const std::array<FieldSpec, FieldCount>& fieldSpecs();
const FieldSpec& fieldSpec(Field field);

class FilmRecord {
  public:
    static constexpr int Size = 649;
    static constexpr int TextSize = Size - 2;  // everything before CR LF

    // A blank record: 647 spaces and CR LF.
    FilmRecord();

    // REQUIRES: bytes.size() == Size.
    static FilmRecord fromBytes(std::string_view bytes);

    // What reading beyond the end of the master file gives: every field reads
    // as empty. Its bytes() are those of a blank record; setting a field makes
    // it an ordinary record.
    static FilmRecord pastEnd();

    // The field as stored, trailing spaces included, as UTF-8 ("" past the end).
    std::string field(Field field) const;
    // The field with leading and trailing spaces removed.
    std::string value(Field field) const;
    // Stores the text converted to Windows-1252, cut or padded to the width.
    void set(Field field, std::string_view utf8);

    // All fields spaces, line end CR LF.
    void blank();
    // The title is 40 spaces (a past-end record counts as free too).
    bool isFree() const;
    bool isPastEnd() const { return pastEnd_; }

    // Exactly Size bytes, ready to be written.
    const std::string& bytes() const { return bytes_; }

    friend bool operator==(const FilmRecord&, const FilmRecord&) = default;

  private:
    std::string bytes_;
    bool pastEnd_ = false;
};

}  // namespace reel
