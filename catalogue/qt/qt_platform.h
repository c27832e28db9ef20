#pragma once
// QtPlatform: the platform port on real Qt dialogs.
//
// Every modal call first copies all forms onto their windows (through the
// Session), so what a handler has put on screen so far is visible behind the
// box. refresh() does the same and then lets Qt paint, without taking any
// user input, so long work keeps the window painted but nothing can start a
// second handler meanwhile.
#include <QPointer>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "qt/help_viewer.h"

class QWidget;

namespace reelqt {

class Session;

class QtPlatform : public reel::Platform {
  public:
    QtPlatform();
    ~QtPlatform() override;

    void setSession(Session* session) { session_ = session; }

    reel::MsgResult messageBox(std::string_view text, reel::MsgIcon icon, reel::MsgButtons buttons,
                               std::string_view caption) override;
    std::string inputBox(std::string_view prompt, std::string_view title,
                         std::string_view defaultText) override;
    void beep() override;
    void showHelp(int topic) override;
    std::optional<reel::ColourValue> chooseColour(reel::ColourValue initial) override;
    bool setupPrinter() override;
    std::unique_ptr<reel::PrintDevice> openPrinter(std::string_view jobName) override;
    std::vector<reel::Volume> removableVolumes() override;
    std::optional<std::string> chooseFolder(std::string_view startDir) override;
    std::optional<std::string> chooseFile(FileChoice kind, std::string_view title,
                                          std::string_view startPath,
                                          std::string_view filter) override;
    std::chrono::system_clock::time_point now() override;
    void refresh() override;
    void quit() override;
    std::string programDirectory() override;
    std::string lastError() const override { return lastError_; }

    bool quitRequested() const { return quitRequested_; }
    // The help window, once help has been asked for (tests look at it).
    HelpViewer* helpViewer() const { return helpViewer_; }

    // The title a message box shows when the caller gives none.
    static constexpr const char* kProgramTitle = "Dovelmark 1";

  private:
    QWidget* prepareModal();

    Session* session_ = nullptr;
    QPointer<HelpViewer> helpViewer_;
    std::string lastError_;
    bool quitRequested_ = false;
};

// Whether a mount point is where removable media appear on this system.
bool isRemovableMountPoint(const std::string& rootPath);

}  // namespace reelqt
