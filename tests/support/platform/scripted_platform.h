#pragma once
// A Platform for tests: records every call in `log` (one readable line each)
// and answers modal calls from queues. An unanswered question is a test bug:
// it answers Ok / empty text and records "UNANSWERED" in the log.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace reel {

struct RecordedMessage {
    std::string text;
    MsgIcon icon;
    MsgButtons buttons;
    std::string caption;
};

class ScriptedPlatform : public Platform {
public:
    // Queued answers.
    std::deque<MsgResult> answers;
    std::deque<std::string> inputs;
    std::deque<std::optional<ColourValue>> colours;
    std::deque<std::optional<std::string>> folders;
    std::deque<std::optional<std::string>> files;
    bool printerSetupResult = true;
    std::vector<Volume> volumes;
    std::string programDir = ".";
    std::chrono::system_clock::time_point clock{};

    // What happened.
    std::vector<std::string> log;
    std::vector<RecordedMessage> messages;
    std::vector<std::string> prompts;         // inputBox prompts
    std::vector<ColourValue> colourRequests;  // initial colours shown
    std::vector<int> helpTopics;
    int beeps = 0;
    int refreshes = 0;
    bool quitRequested = false;
    int unanswered = 0;

    // A factory for print devices, so report tests can hand in a recording one.
    std::function<std::unique_ptr<PrintDevice>(std::string_view)> printerFactory;

    MsgResult messageBox(std::string_view text, MsgIcon icon, MsgButtons buttons,
                         std::string_view caption) override;
    std::string inputBox(std::string_view prompt, std::string_view title,
                         std::string_view defaultText) override;
    void beep() override;
    void showHelp(int topic) override;
    std::optional<ColourValue> chooseColour(ColourValue initial) override;
    bool setupPrinter() override;
    std::unique_ptr<PrintDevice> openPrinter(std::string_view jobName) override;
    std::vector<Volume> removableVolumes() override { return volumes; }
    std::optional<std::string> chooseFolder(std::string_view startDir) override;
    std::optional<std::string> chooseFile(FileChoice kind, std::string_view title,
                                          std::string_view startPath,
                                          std::string_view filter) override;
    std::chrono::system_clock::time_point now() override { return clock; }
    void refresh() override { ++refreshes; }
    void quit() override;
    std::string programDirectory() override { return programDir; }

    // The text of the last message box, or "" when none was shown.
    std::string lastMessage() const { return messages.empty() ? std::string() : messages.back().text; }
};

}  // namespace reel
