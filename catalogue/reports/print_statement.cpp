#include "reports/print_statement.h"

namespace reel {

void printLine(PrintDevice& device, std::initializer_list<PrintItem> items) {
    for (const PrintItem& item : items) {
        switch (item.kind) {
            case PrintItem::Kind::Text:
                device.print(item.text);
                break;
            case PrintItem::Kind::Tab:
                device.tab(static_cast<int>(item.value));
                break;
            case PrintItem::Kind::Number:
                device.printNumber(item.value);
                break;
        }
    }
    device.newLine();
}

}  // namespace reel
