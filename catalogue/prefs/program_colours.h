#pragma once
// ProgramColours: Preferences > Program Colors.
//
// Each of the four colour items opens the colour dialog, applies the chosen
// colour to its group of the main window (see MainScreen::applyColour) and
// keeps it in the group's colour file for the next start; "Default Colors"
// does the same for all four groups with the default colours, without asking.
//
// The dialog always opens on the colour most recently applied. Start-up
// applies the label-text colour last, so until the user picks a colour the
// dialog opens on that one (read from the labels themselves).
//
// Cancelling the dialog changes nothing: no group is recoloured and no file
// is rewritten. A colour file that cannot be written is reported; the colour
// stays on screen for this run.
#include <optional>

#include "platform/colour.h"
#include "screen/screen_seams.h"

namespace reel {

class ScreenContext;

class ProgramColours {
  public:
    void choose(ScreenContext& main, ColourGroup group);
    void restoreDefaults(ScreenContext& main);

    // The colour the dialog opens on next.
    ColourValue dialogColour(const ScreenContext& main) const;

  private:
    void applyAndKeep(ScreenContext& main, ColourGroup group, ColourValue value,
                      std::string& failures);

    std::optional<ColourValue> dialogColour_;
};

}  // namespace reel
