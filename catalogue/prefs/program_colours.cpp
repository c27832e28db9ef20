#include "prefs/program_colours.h"

#include <string>
#include <string_view>

#include "data/colour_files.h"
#include "screen/screen_context.h"

namespace reel {
namespace {

struct GroupSetting {
    ColourGroup group;
    std::string_view file;
    ColourValue fallback;
};

// In the order start-up reads them and Default Colors writes them.
constexpr GroupSetting Settings[] = {
    {ColourGroup::Background, BackgroundColourFile, DefaultBackground},
    {ColourGroup::TextBoxBack, TextBoxBackColourFile, DefaultTextBoxBack},
    {ColourGroup::Text, TextColourFile, DefaultText},
    {ColourGroup::Label, LabelColourFile, DefaultLabel},
};

const GroupSetting& settingOf(ColourGroup group) {
    for (const GroupSetting& s : Settings)
        if (s.group == group) return s;
    return Settings[0];
}

}  // namespace

ColourValue ProgramColours::dialogColour(const ScreenContext& main) const {
    if (dialogColour_) return *dialogColour_;
    return main.labelColour().value_or(DefaultLabel);
}

void ProgramColours::applyAndKeep(ScreenContext& main, ColourGroup group, ColourValue value,
                                  std::string& failures) {
    dialogColour_ = value;
    main.applyColour(group, value);
    const IoResult written = writeColourFile(main.directory(), settingOf(group).file, value);
    if (!written) failures += (failures.empty() ? "" : "\n") + written.message;
}

void ProgramColours::choose(ScreenContext& main, ColourGroup group) {
    const std::optional<ColourValue> picked = main.platform().chooseColour(dialogColour(main));
    if (!picked) return;
    std::string failures;
    applyAndKeep(main, group, *picked, failures);
    if (!failures.empty()) {
        main.platform().messageBox(
            failures + "\n\nThe colour is shown now but will not be kept for the next start.",
            MsgIcon::Exclamation, MsgButtons::Ok, EditionCaption);
    }
}

void ProgramColours::restoreDefaults(ScreenContext& main) {
    std::string failures;
    for (const GroupSetting& s : Settings) applyAndKeep(main, s.group, s.fallback, failures);
    if (!failures.empty()) {
        main.platform().messageBox(
            failures +
                "\n\nThe default colours are shown now but will not all be kept for the next "
                "start.",
            MsgIcon::Exclamation, MsgButtons::Ok, EditionCaption);
    }
}

}  // namespace reel
