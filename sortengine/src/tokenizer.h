// Cuts a text into tokens.
//
// A token is a run of bytes up to the next delimiter, or the text between two
// quote characters. Delimiters and zero bytes between tokens are skipped; "["
// starts a comment that runs to the next "]". The same tokenizer reads the
// command (with the statement delimiters and the command's quote character)
// and the input and output name lists (with the name separators).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace sorvel {

// Delimiters of the statement parser.
inline constexpr std::string_view kStatementDelimiters = "[], )(+\t\r\n";
// The statement delimiters other than parentheses (comments are skipped too).
inline constexpr std::string_view kListSeparators = ", +\t\r\n";
// Separators of the input list and of the output name.
inline constexpr std::string_view kNameSeparators = "[], +\t\n";
// Separators of the output collision check (commas do not separate there).
inline constexpr std::string_view kCollisionSeparators = "[] +\t\n";

// Pass as the quote character when quotes have no special meaning.
inline constexpr int kNoQuote = -1;

struct Token {
    std::size_t start = 0;  // offset in the text
    std::size_t length = 0;
    bool quoted = false;  // the byte in front of the token is the quote character
};

class Tokenizer {
  public:
    Tokenizer(const std::uint8_t* text, std::size_t length) : text_(text), length_(length) {}
    explicit Tokenizer(std::string_view text)
        : Tokenizer(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()) {}

    // The next token, or nothing when the text has no more tokens.
    std::optional<Token> next(std::string_view delimiters, int quote);

    // Skips blanks and commas; when the next byte is `c`, consumes it and
    // returns true. Otherwise consumes nothing that matters and returns false.
    bool take_char(std::uint8_t c);
    bool open_paren() { return take_char('('); }
    bool close_paren() { return take_char(')'); }
    // As take_char, but skips the bytes of `skipped`, zero bytes and comments.
    bool take_char_after(std::uint8_t c, std::string_view skipped);

    const std::uint8_t* text() const { return text_; }
    std::size_t length() const { return length_; }
    std::size_t position() const { return position_; }
    const std::uint8_t* bytes(const Token& t) const { return text_ + t.start; }
    std::string_view view(const Token& t) const {
        return {reinterpret_cast<const char*>(text_ + t.start), t.length};
    }

  private:
    const std::uint8_t* text_;
    std::size_t length_;
    std::size_t position_ = 0;
};

// Numbers: leading white space, an optional sign, then decimal digits up to
// the first other byte; no digits gives 0. The arithmetic wraps at 32 bits.
std::int32_t token_number(const std::uint8_t* bytes, std::size_t length);
// True when the conversion above finds at least one digit.
bool token_has_number(const std::uint8_t* bytes, std::size_t length);

}  // namespace sorvel
