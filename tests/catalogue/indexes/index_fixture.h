#pragma once
// A catalogue in a temporary directory with the index module installed,
// driven through CatalogueApp with a scripted platform that also notes what
// the screen showed each time the engine let the window repaint.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/film_record.h"
#include "data/master_file.h"
#include "indexes/index_module.h"
#include "platform/scripted_platform.h"
#include "program/catalogue_app.h"

namespace reel::testing {

class RepaintRecordingPlatform : public ScriptedPlatform {
  public:
    MainScreen* screen = nullptr;
    std::vector<std::string> progressShown;  // lblSorting at each repaint, when visible

    void refresh() override {
        ScriptedPlatform::refresh();
        if (screen && (*screen)["lblSorting"].visible) {
            const std::string& text = (*screen)["lblSorting"].text;
            if (progressShown.empty() || progressShown.back() != text)
                progressShown.push_back(text);
        }
    }
};

using Fields = std::map<Field, std::string>;

inline FilmRecord film(const Fields& fields) {
    FilmRecord r;
    for (const auto& [field, value] : fields) r.set(field, value);
    return r;
}

inline FilmRecord film(const std::string& title, const std::string& format = "D",
                       const std::string& genre = "DR") {
    return film({{Field::Title, title}, {Field::Format, format}, {Field::Genre, genre}});
}

// One index entry: the title padded to 40 bytes, the record number as seven
// digits, CR LF.
inline std::string indexEntry(const std::string& title, int record) {
    char number[16];
    std::snprintf(number, sizeof number, "%07d", record);
    std::string entry = title;
    entry.resize(40, ' ');
    return entry + number + "\r\n";
}

// The engine library as ctest builds it, else by name.
inline std::string enginePath() {
    const char* dir = std::getenv("REELBOOK_LIB_DIR");
    return dir && *dir ? std::string(dir) + "/libsorvel32.so" : "libsorvel32.so";
}

class IndexTest : public ::testing::Test {
  protected:
    IndexTest() {
        static int serial = 0;
        dir = (std::filesystem::temp_directory_path() /
               ("reel-index-" + std::to_string(::getpid()) + "-" + std::to_string(++serial)))
                  .string();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        writeFile("Fo", "NO\r\n");
        if (const char* bin = std::getenv("REELBOOK_BIN_DIR")) platform.programDir = bin;
    }
    ~IndexTest() override {
        app.reset();
        std::filesystem::remove_all(dir);
    }

    void writeFile(const std::string& name, const std::string& contents) {
        std::ofstream(dir + "/" + name, std::ios::binary) << contents;
    }
    std::string readFile(const std::string& name) const {
        std::ifstream in(dir + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(dir + "/" + name); }
    std::uintmax_t size(const std::string& name) const {
        return std::filesystem::file_size(dir + "/" + name);
    }

    void writeFilms(const std::vector<FilmRecord>& films) {
        MasterFile file(dir);
        ASSERT_TRUE(file.open());
        for (std::size_t i = 0; i < films.size(); ++i)
            ASSERT_TRUE(file.writeRecord(static_cast<std::int32_t>(i + 1), films[i]));
    }
    // A hand-made index and its count file.
    void writeIndex(const std::string& file, const std::string& countFile,
                    const std::vector<std::pair<std::string, int>>& entries) {
        std::string bytes;
        for (const auto& [title, record] : entries) bytes += indexEntry(title, record);
        writeFile(file, bytes);
        writeFile(countFile, " " + std::to_string(entries.size()) + "\r\n");
    }

    // Starts the program on the main screen with the index module installed
    // (loading the engine from `path`).
    void launch(const std::string& path = enginePath()) {
        app = std::make_unique<CatalogueApp>(platform, dir);
        auto installed = std::make_unique<IndexModule>(path);
        module = installed.get();
        app->mainScreen().install(std::move(installed));
        platform.screen = &app->mainScreen();
        app->start();
        app->titleScreen().click("cmdStart");
    }

    MainScreen& main() { return app->mainScreen(); }
    ScreenState& state() { return app->mainScreen().state; }
    std::string text(const std::string& control) { return main()[control].text; }
    bool shown(const std::string& control) { return main()[control].visible; }
    void click(const std::string& control) { main().click(control); }
    void answer(MsgResult r) { platform.answers.push_back(r); }
    void type(const std::string& s) { platform.inputs.push_back(s); }
    std::string title() { return state().record.value(Field::Title); }
    // Messages shown since the last call.
    std::vector<RecordedMessage> newMessages() {
        std::vector<RecordedMessage> fresh(platform.messages.begin() + seen_,
                                           platform.messages.end());
        seen_ = platform.messages.size();
        return fresh;
    }

    std::string dir;
    RepaintRecordingPlatform platform;
    std::unique_ptr<CatalogueApp> app;
    IndexModule* module = nullptr;

  private:
    std::size_t seen_ = 0;
};

}  // namespace reel::testing
