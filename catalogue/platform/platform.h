#pragma once
// The platform port: everything the catalogue's handlers need from the desktop
// besides the forms themselves. The Qt layer implements it with real dialogs;
// tests use ScriptedPlatform (tests/support), which records every call and
// answers from queues.
//
// Contract for implementations: every modal call (messageBox, inputBox, the
// dialogs) first shows the forms' current state, so the user sees what the
// handler has put on screen so far (an empty record behind "End of file!").
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/colour.h"

namespace reel {

class PrintDevice;  // platform/print_device.h

enum class MsgIcon { None, Exclamation, Question, Information, Critical };
enum class MsgButtons { Ok, YesNo, OkCancel, RetryCancel };
enum class MsgResult { Ok, Yes, No, Cancel, Retry };

// A place files can be copied to: a mounted removable volume, or a folder the
// user picked.
struct Volume {
    std::string label;  // what the drive list shows
    std::string root;   // absolute directory path
};

class Platform {
public:
    virtual ~Platform() = default;

    // A modal message box. An empty caption shows the program title.
    virtual MsgResult messageBox(std::string_view text, MsgIcon icon, MsgButtons buttons,
                                 std::string_view caption) = 0;
    // A modal input box; Cancel gives the empty text.
    virtual std::string inputBox(std::string_view prompt, std::string_view title,
                                 std::string_view defaultText = {}) = 0;
    virtual void beep() = 0;

    // Help viewer: topic 0 opens the contents.
    virtual void showHelp(int topic) = 0;

    // Common dialogs. chooseColour gives nothing when the user cancels.
    virtual std::optional<ColourValue> chooseColour(ColourValue initial) = 0;
    virtual bool setupPrinter() = 0;
    // Opens the chosen printer (or a PDF file when there is none); nullptr
    // when no device could be opened, with the reason in lastError().
    virtual std::unique_ptr<PrintDevice> openPrinter(std::string_view jobName) = 0;

    // Removable volumes currently mounted, and a folder chooser.
    virtual std::vector<Volume> removableVolumes() = 0;
    virtual std::optional<std::string> chooseFolder(std::string_view startDir) = 0;

    // A file chooser for a file to read (FileChoice::Open, which must exist)
    // or to write (FileChoice::Save, which asks before replacing one).
    // `filter` is what the dialog offers, as "CSV files (*.csv)". Nothing
    // when the user cancels.
    enum class FileChoice { Open, Save };
    virtual std::optional<std::string> chooseFile(FileChoice kind, std::string_view title,
                                                  std::string_view startPath,
                                                  std::string_view filter) = 0;

    virtual std::chrono::system_clock::time_point now() = 0;

    // Shows the forms' current state and processes paint events, but no user
    // input. Long work calls it so the window stays painted.
    virtual void refresh() = 0;

    // Ends the program after the current handler returns.
    virtual void quit() = 0;

    // Directory of the program (help file, shipped data files).
    virtual std::string programDirectory() = 0;

    virtual std::string lastError() const { return {}; }
};

}  // namespace reel
