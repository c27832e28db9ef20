#pragma once
// InfoScreen: "frmStarter1", the information screen shown between the title
// screen and the main screen until the user turns it off. Turning it off
// writes "NO" to the flag file "Fo" in the working directory.
#include "platform/form.h"
#include "screen/app_context.h"

namespace reel {

inline constexpr const char* ShowFlagFile = "Fo";

class InfoScreen : public Form {
  public:
    explicit InfoScreen(AppContext& app);

    void Form_Load();
    void Command1_Click();
    void option1_Click();

  private:
    AppContext& app_;
};

// The flag file says the information screen is not wanted: it holds "NO". A
// missing or unreadable file counts as empty.
bool infoScreenSwitchedOff(const std::string& directory);

}  // namespace reel
