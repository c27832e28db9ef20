#pragma once
// A catalogue in a temporary directory, driven through CatalogueApp with the
// scripted platform: the common ground of the screen tests.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "data/film_record.h"
#include "data/master_file.h"
#include "platform/scripted_platform.h"
#include "program/catalogue_app.h"

namespace reel::testing {

// A film for the fixture: only the fields a test cares about.
using FilmFields = std::map<Field, std::string>;

inline FilmRecord makeFilm(const FilmFields& fields) {
    FilmRecord r;
    for (const auto& [field, value] : fields) r.set(field, value);
    return r;
}

inline FilmRecord titled(const std::string& title, const std::string& format = "D") {
    return makeFilm(
        {{Field::Title, title}, {Field::Format, format}, {Field::Director, "Dir " + title}});
}

class ScreenTest : public ::testing::Test {
  protected:
    ScreenTest() {
        static int serial = 0;
        dir = (std::filesystem::temp_directory_path() /
               ("reel-screen-" + std::to_string(::getpid()) + "-" + std::to_string(++serial)))
                  .string();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        // Straight to the main screen unless a test removes the flag.
        writeFile("Fo", "NO\r\n");
    }
    ~ScreenTest() override {
        app.reset();
        std::filesystem::remove_all(dir);
    }

    // Throws the program away and starts over on an empty directory.
    void freshCatalogue() {
        app.reset();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        writeFile("Fo", "NO\r\n");
    }

    void writeFile(const std::string& name, const std::string& contents) {
        std::ofstream(dir + "/" + name, std::ios::binary) << contents;
    }
    std::string readFile(const std::string& name) const {
        std::ifstream in(dir + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(dir + "/" + name); }

    // Writes the films as records 1, 2, ... before the program opens the file.
    void writeFilms(const std::vector<FilmRecord>& films) {
        MasterFile file(dir);
        ASSERT_TRUE(file.open());
        for (std::size_t i = 0; i < films.size(); ++i)
            ASSERT_TRUE(file.writeRecord(static_cast<std::int32_t>(i + 1), films[i]));
    }
    void writeNumberedFilms(int count) {
        std::vector<FilmRecord> films;
        for (int i = 1; i <= count; ++i) films.push_back(titled("Film " + std::to_string(i)));
        writeFilms(films);
    }

    // Creates the program and starts it; with "Fo" holding NO, Start leads
    // straight to the main screen.
    void launch() {
        app = std::make_unique<CatalogueApp>(platform, dir);
        app->start();
    }
    void launchToMain() {
        launch();
        app->titleScreen().click("cmdStart");
    }

    MainScreen& main() { return app->mainScreen(); }
    ScreenState& state() { return app->mainScreen().state; }
    std::string text(const std::string& control) { return main()[control].text; }
    bool shown(const std::string& control) { return main()[control].visible; }
    void event(const std::string& control, EventKind kind, int item = -1, int key = 0) {
        Event e{control, kind};
        e.item = item;
        e.key = key;
        main().dispatch(e);
    }
    // The record as the file holds it now (read by the program's own handle).
    FilmRecord stored(std::int32_t n) { return main().master.readRecord(n); }

    void answer(MsgResult r) { platform.answers.push_back(r); }

    std::string dir;
    ScriptedPlatform platform;
    std::unique_ptr<CatalogueApp> app;
};

}  // namespace reel::testing
