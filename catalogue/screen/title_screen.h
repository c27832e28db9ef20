#pragma once
// TitleScreen: the first window, "Tavlenfrm1": a full-window picture, the
// program's name and the Start and Exit buttons.
#include <string>

#include "platform/form.h"
#include "screen/app_context.h"

namespace reel {

class TitleScreen : public Form {
  public:
    explicit TitleScreen(AppContext& app);

    // The help file beside the program, set when the window loads.
    const std::string& helpFile() const { return helpFile_; }

    void Form_Load();
    void cmdStart_Click();
    void cmdExit_Click();

  private:
    AppContext& app_;
    std::string helpFile_;
};

// "DIR/Dovelmark3.HLP", without doubling a separator DIR already ends in.
std::string helpFilePath(const std::string& programDirectory);

}  // namespace reel
