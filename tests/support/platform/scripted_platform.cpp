#include "platform/scripted_platform.h"

#include "platform/print_device.h"

namespace reel {

MsgResult ScriptedPlatform::messageBox(std::string_view text, MsgIcon icon, MsgButtons buttons,
                                       std::string_view caption) {
    messages.push_back({std::string(text), icon, buttons, std::string(caption)});
    log.push_back("message: " + std::string(text) + " [" + std::string(caption) + "]");
    if (answers.empty()) {
        ++unanswered;
        log.push_back("UNANSWERED message");
        return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
    }
    MsgResult r = answers.front();
    answers.pop_front();
    return r;
}

std::string ScriptedPlatform::inputBox(std::string_view prompt, std::string_view title,
                                       std::string_view) {
    prompts.emplace_back(prompt);
    log.push_back("input: " + std::string(prompt) + " [" + std::string(title) + "]");
    if (inputs.empty()) {
        ++unanswered;
        log.push_back("UNANSWERED input");
        return {};
    }
    std::string s = inputs.front();
    inputs.pop_front();
    return s;
}

void ScriptedPlatform::beep() {
    ++beeps;
    log.push_back("beep");
}

void ScriptedPlatform::showHelp(int topic) {
    helpTopics.push_back(topic);
    log.push_back("help: " + std::to_string(topic));
}

std::optional<ColourValue> ScriptedPlatform::chooseColour(ColourValue initial) {
    colourRequests.push_back(initial);
    log.push_back("colour dialog: " + std::to_string(initial));
    if (colours.empty()) {
        ++unanswered;
        return std::nullopt;
    }
    auto c = colours.front();
    colours.pop_front();
    return c;
}

bool ScriptedPlatform::setupPrinter() {
    log.push_back("printer setup");
    return printerSetupResult;
}

std::unique_ptr<PrintDevice> ScriptedPlatform::openPrinter(std::string_view jobName) {
    log.push_back("open printer: " + std::string(jobName));
    if (!printerFactory) return nullptr;
    return printerFactory(jobName);
}

std::optional<std::string> ScriptedPlatform::chooseFolder(std::string_view) {
    log.push_back("choose folder");
    if (folders.empty()) return std::nullopt;
    auto f = folders.front();
    folders.pop_front();
    return f;
}

std::optional<std::string> ScriptedPlatform::chooseFile(FileChoice kind, std::string_view title,
                                                        std::string_view startPath,
                                                        std::string_view) {
    log.push_back(std::string(kind == FileChoice::Open ? "choose file to open: "
                                                       : "choose file to save: ") +
                  std::string(title) + " at " + std::string(startPath));
    if (files.empty()) return std::nullopt;
    auto f = files.front();
    files.pop_front();
    return f;
}

void ScriptedPlatform::quit() {
    quitRequested = true;
    log.push_back("quit");
}

}  // namespace reel
