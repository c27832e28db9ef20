// Locating a field in a record.
//
// Positional form (length != 0): the field starts at position - 1 bytes after
// the record's data start (which follows the length prefix of VS, RV and CVS
// records) and is `length` bytes long; length 65535 means "up to the first
// zero byte". A field reaching past the record is shortened to its end; a
// field starting past it is empty.
//
// Field-number form (length 0): position is the number of a field of a
// delimited record whose last two bytes are the line end. Fields are
// separated by the delimiter; a double quote opens a stretch in which
// delimiters do not count, and a field that begins with a quote is the text
// between its quotes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine_state.h"

namespace sorvel {

struct FieldView {
    const std::uint8_t* data = nullptr;
    std::size_t length = 0;
};

FieldView extract_positional(const std::uint8_t* record, std::size_t record_length,
                             std::uint32_t offset, std::uint32_t position, std::uint32_t length);

FieldView extract_numbered(const std::uint8_t* record, std::size_t record_length,
                           std::uint32_t field_number, std::uint8_t delimiter, std::uint8_t quote);

// ExtractField with the file type's offset and the delimiter of the run.
inline FieldView extract_field(const Options& options, const std::uint8_t* record,
                               std::size_t record_length, std::uint32_t position,
                               std::uint32_t length) {
    if (length == kFieldNumberForm) {
        return extract_numbered(record, record_length, position, options.field_delimiter,
                                options.record_quote);
    }
    return extract_positional(record, record_length, options.field_offset, position, length);
}

}  // namespace sorvel
