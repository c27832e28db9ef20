#pragma once
// The catalogue's colour value (0x00BBGGRR, red in the low byte) and QColor.
#include <QColor>

#include "platform/colour.h"

namespace reelqt {

inline QColor toQColor(reel::ColourValue value) {
    return QColor(reel::colourRed(value), reel::colourGreen(value), reel::colourBlue(value));
}

inline reel::ColourValue fromQColor(const QColor& colour) {
    return reel::makeColour(colour.red(), colour.green(), colour.blue());
}

}  // namespace reelqt
