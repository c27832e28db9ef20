#include "tokenizer.h"

namespace sorvel {

namespace {

bool is_delimiter(std::uint8_t c, std::string_view delimiters) {
    return c == 0 || delimiters.find(static_cast<char>(c)) != std::string_view::npos;
}

bool is_white(std::uint8_t c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Where the digits of a number start, after white space and sign.
std::size_t digits_start(const std::uint8_t* bytes, std::size_t length, bool* negative) {
    std::size_t i = 0;
    while (i < length && is_white(bytes[i])) ++i;
    *negative = false;
    if (i < length && (bytes[i] == '+' || bytes[i] == '-')) {
        *negative = bytes[i] == '-';
        ++i;
    }
    return i;
}

}  // namespace

std::optional<Token> Tokenizer::next(std::string_view delimiters, int quote) {
    while (position_ < length_) {
        const std::uint8_t c = text_[position_];
        if (c == '[') {
            std::size_t close = position_ + 1;
            while (close < length_ && text_[close] != ']') ++close;
            if (close >= length_) {
                position_ = length_;
                return std::nullopt;
            }
            position_ = close + 1;
            continue;
        }
        if (is_delimiter(c, delimiters)) {
            ++position_;
            continue;
        }
        break;
    }
    if (position_ >= length_) return std::nullopt;

    if (quote != kNoQuote && text_[position_] == static_cast<std::uint8_t>(quote)) {
        const std::size_t start = position_ + 1;
        std::size_t end = start;
        while (end < length_ && text_[end] != static_cast<std::uint8_t>(quote)) ++end;
        if (end >= length_) {
            position_ = length_;
            return std::nullopt;
        }
        position_ = end + 1;
        return Token{start, end - start, true};
    }

    const std::size_t start = position_;
    while (position_ < length_ && !is_delimiter(text_[position_], delimiters)) ++position_;
    const bool quoted =
        quote != kNoQuote && start > 0 && text_[start - 1] == static_cast<std::uint8_t>(quote);
    return Token{start, position_ - start, quoted};
}

bool Tokenizer::take_char(std::uint8_t c) {
    std::size_t i = position_;
    while (i < length_ && (text_[i] == ' ' || text_[i] == ',')) ++i;
    if (i < length_ && text_[i] == c) {
        position_ = i + 1;
        return true;
    }
    return false;
}

bool Tokenizer::take_char_after(std::uint8_t c, std::string_view skipped) {
    std::size_t i = position_;
    while (i < length_) {
        if (text_[i] == '[') {
            while (i < length_ && text_[i] != ']') ++i;
            if (i < length_) ++i;
        } else if (is_delimiter(text_[i], skipped)) {
            ++i;
        } else {
            break;
        }
    }
    if (i < length_ && text_[i] == c) {
        position_ = i + 1;
        return true;
    }
    return false;
}

std::int32_t token_number(const std::uint8_t* bytes, std::size_t length) {
    bool negative = false;
    std::size_t i = digits_start(bytes, length, &negative);
    std::uint32_t value = 0;
    for (; i < length && bytes[i] >= '0' && bytes[i] <= '9'; ++i) {
        value = value * 10u + static_cast<std::uint32_t>(bytes[i] - '0');
    }
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

bool token_has_number(const std::uint8_t* bytes, std::size_t length) {
    bool negative = false;
    const std::size_t i = digits_start(bytes, length, &negative);
    return i < length && bytes[i] >= '0' && bytes[i] <= '9';
}

}  // namespace sorvel
