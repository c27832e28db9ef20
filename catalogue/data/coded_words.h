#pragma once
// The two fields stored as one code letter but shown as a word: the format
// ("D" is "DVD") and the aspect ("W" is "Wide Screen"). The record screen's
// pickers offer these words, the screen shows them, and the CSV import takes
// them back; the letter is always the word's first letter.
#include <array>
#include <string_view>

#include "data/film_record.h"

namespace reel {

struct CodedWord {
    Field field;
    std::string_view word;
    char letter() const { return word.front(); }
};

// In the order the pickers list them.
inline constexpr std::array<CodedWord, 6> CodedWords = {{
    {Field::Format, "DVD"},
    {Field::Format, "Laser"},
    {Field::Format, "VHS"},
    {Field::Letter, "Wide Screen"},
    {Field::Letter, "Pan & Scan"},
    {Field::Letter, "TV 1.33:1"},
}};

// The word stored as `letter` in `field`; empty when the letter is no code
// of that field.
constexpr std::string_view codedWord(Field field, std::string_view letter) {
    for (const CodedWord& w : CodedWords)
        if (w.field == field && letter.size() == 1 && letter.front() == w.letter()) return w.word;
    return {};
}

}  // namespace reel
