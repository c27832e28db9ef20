#pragma once
// Preferences: the program colours and the backup copy, plugged into the main
// screen's Preferences and File menus (see screen_seams.h).
#include "prefs/copy_window.h"
#include "prefs/program_colours.h"
#include "screen/screen_seams.h"

namespace reel {

class Preferences : public PreferenceFeatures {
  public:
    // REQUIRES: copyWindow outlives this object's use.
    explicit Preferences(CopyWindow& copyWindow) : copyWindow_(copyWindow) {}

    void chooseColour(ScreenContext& main, ColourGroup group) override {
        colours_.choose(main, group);
    }
    void defaultColours(ScreenContext& main) override { colours_.restoreDefaults(main); }
    void copyFiles(ScreenContext&) override { copyWindow_.open(); }

    const ProgramColours& colours() const { return colours_; }

  private:
    ProgramColours colours_;
    CopyWindow& copyWindow_;
};

}  // namespace reel
