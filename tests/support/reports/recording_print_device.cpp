#include "reports/recording_print_device.h"

namespace reel {

bool RecordingPrintDevice::emitPage(const GridPage& page) {
    if (!failure_.empty()) {
        fail(failure_);
        return false;
    }
    pages_.push_back(page);
    return true;
}

bool RecordingPrintDevice::finishDocument() {
    ended_ = true;
    return true;
}

void RecordingPrintDevice::discardDocument() {
    pages_.clear();
    abandoned_ = true;
}

}  // namespace reel
