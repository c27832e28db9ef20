// The catalogue's writes, one per run, for the fault-injection tests: each
// command does what the program does and nothing more, so the preload's
// numbering counts only the calls under test.
//
//   fault_driver build <folder> <engine library>   Sort All Files, answered Yes
//   fault_driver save <folder> <record> <title>    one Save of a record
//   fault_driver copy <source> <target>            one backup copy
//
// Exit status 0 when the program would announce success, 1 when it would
// report a failure (the message goes to standard output), 2 for bad usage.
#include <cstdio>
#include <memory>
#include <string>

#include "data/master_file.h"
#include "indexes/index_module.h"
#include "platform/scripted_platform.h"
#include "prefs/file_copy.h"
#include "program/catalogue_app.h"

namespace {

int build(const std::string& folder, const std::string& engine) {
    reel::ScriptedPlatform platform;
    reel::CatalogueApp app(platform, folder);
    app.mainScreen().install(std::make_unique<reel::IndexModule>(engine));
    app.start();
    app.titleScreen().click("cmdStart");
    platform.answers.push_back(reel::MsgResult::Yes);
    app.mainScreen().click("mnuSortTitle");
    // The question, then a report only when something failed.
    for (std::size_t i = 1; i < platform.messages.size(); ++i)
        std::printf("%s\n", platform.messages[i].text.c_str());
    return platform.messages.size() > 1 ? 1 : 0;
}

int save(const std::string& folder, int record, const std::string& title) {
    reel::MasterFile master(folder);
    reel::IoResult result = master.open();
    if (result) {
        reel::FilmRecord film = master.readRecord(record);
        film.set(reel::Field::Title, title);
        film.set(reel::Field::Director, "Saved " + title);
        result = master.writeRecord(record, film);
    }
    if (!result) std::printf("%s\n", result.message.c_str());
    return result ? 0 : 1;
}

int copy(const std::string& source, const std::string& target) {
    const reel::CopyResult result = reel::copyFileSafely(source, target);
    if (!result) std::printf("copy failed: errno %d\n", result.error);
    return result ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "build" && argc == 4) return build(argv[2], argv[3]);
    if (command == "save" && argc == 5) return save(argv[2], std::stoi(argv[3]), argv[4]);
    if (command == "copy" && argc == 4) return copy(argv[2], argv[3]);
    std::fprintf(stderr, "usage: fault_driver build|save|copy ...\n");
    return 2;
}
