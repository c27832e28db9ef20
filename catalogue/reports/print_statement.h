#pragma once
// One print statement of a report: items printed one after another on the
// current line, then the line ends. Items are texts, Tab(n) and numbers
// (printed with their blanks, " 12 "). A statement without items prints an
// empty line. This keeps the report code close to the layout it produces:
//
//   printLine(device, {Tab(3), "TOTAL FILM(S)", "  ", Number(films)});
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/print_device.h"

namespace reel {

struct PrintItem {
    enum class Kind { Text, Tab, Number };
    Kind kind = Kind::Text;
    std::string text;
    long long value = 0;

    PrintItem(std::string t) : text(std::move(t)) {}
    PrintItem(std::string_view t) : text(t) {}
    PrintItem(const char* t) : text(t) {}

  private:
    PrintItem(Kind k, long long v) : kind(k), value(v) {}
    friend PrintItem Tab(int column);
    friend PrintItem Number(long long value);
};

inline PrintItem Tab(int column) {
    return PrintItem(PrintItem::Kind::Tab, column);
}
inline PrintItem Number(long long value) {
    return PrintItem(PrintItem::Kind::Number, value);
}

void printLine(PrintDevice& device, std::initializer_list<PrintItem> items);

}  // namespace reel
