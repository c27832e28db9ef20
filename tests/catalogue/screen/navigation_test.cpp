// Next, Previous, Reset and Find By File No. over the master file.
#include "screen_fixture.h"

namespace reel::testing {
namespace {

using NavigationTest = ScreenTest;

std::string paddedTitle(const std::string& t) {
    return std::string(40 - t.size(), ' ') + t;
}

TEST_F(NavigationTest, NextPastTheLastRecordShowsAnEmptyRecordBeepsThenResets) {
    writeNumberedFilms(3);
    launchToMain();
    main().click("cmdNext");
    main().click("cmdNext");
    EXPECT_EQ(text("txtTitle"), paddedTitle("Film 3"));
    EXPECT_EQ(platform.beeps, 0);

    platform.answers.push_back(MsgResult::Ok);
    main().click("cmdNext");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "End of file encountered!");
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(platform.messages[0].caption, "Dovelmark 1");
    EXPECT_EQ(platform.beeps, 1);
    EXPECT_EQ(platform.log.front(), "beep");
    EXPECT_EQ(state().CurrentRecord, 1);
    EXPECT_EQ(text("txtTitle"), paddedTitle("Film 1"));
    EXPECT_EQ(text("lblHead"), "To write a new record click \"New\" button.");
}

// The empty record must be on screen while the end message is open.
class RecordingPlatform : public ScriptedPlatform {
  public:
    std::function<void()> onMessage;
    MsgResult messageBox(std::string_view text, MsgIcon icon, MsgButtons buttons,
                         std::string_view caption) override {
        if (onMessage) onMessage();
        return ScriptedPlatform::messageBox(text, icon, buttons, caption);
    }
};

TEST(NavigationMidHandler, EmptyRecordIsVisibleBehindTheEndMessage) {
    auto dir = std::filesystem::temp_directory_path() / ("reel-mid-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    {
        MasterFile file(dir.string());
        ASSERT_TRUE(file.open());
        ASSERT_TRUE(file.writeRecord(1, titled("Only")));
    }
    std::ofstream(dir / "Fo") << "NO\r\n";
    RecordingPlatform platform;
    CatalogueApp app(platform, dir.string());
    app.start();
    app.titleScreen().click("cmdStart");
    std::string seenTitle = "unset", seenCaption;
    platform.onMessage = [&] {
        seenTitle = app.mainScreen()["txtTitle"].text;
        seenCaption = app.mainScreen().caption;
    };
    app.mainScreen().click("cmdNext");
    EXPECT_EQ(seenTitle, "");
    EXPECT_EQ(seenCaption, "Reelvane Deluxe Record  2/ 1      Title Non Sorted");
    EXPECT_EQ(app.mainScreen().state.CurrentRecord, 1);
    std::filesystem::remove_all(dir);
}

TEST_F(NavigationTest, PreviousOnRecordOneBeepsAndStays) {
    writeNumberedFilms(3);
    launchToMain();
    main().click("cmdPrevious");
    EXPECT_EQ(platform.lastMessage(), "Top of file encountered!");
    EXPECT_EQ(platform.messages.back().caption, "Dovelmark 1");
    EXPECT_EQ(platform.beeps, 1);
    EXPECT_EQ(state().CurrentRecord, 1);
    EXPECT_EQ(text("txtTitle"), paddedTitle("Film 1"));
    EXPECT_EQ(text("lblHead"), "To Write A New Record Click New or press Alt W ");
}

TEST_F(NavigationTest, NextAndPreviousStepOneRecord) {
    writeNumberedFilms(3);
    launchToMain();
    main().click("cmdNext");
    main().click("cmdNext");
    main().click("cmdPrevious");
    EXPECT_EQ(state().CurrentRecord, 2);
    EXPECT_EQ(text("txtTitle"), paddedTitle("Film 2"));
    EXPECT_EQ(main().caption, "Reelvane Deluxe Record  2/ 3      Title Non Sorted");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(NavigationTest, MovesAreInertWhileASearchResultIsShown) {
    writeNumberedFilms(3);
    launchToMain();
    state().cursor.SearchMode = Search::Results;
    main().click("cmdNext");
    main().click("cmdPrevious");
    EXPECT_EQ(state().CurrentRecord, 1);
    EXPECT_TRUE(platform.messages.empty());
    main().click("cmdReset");
    EXPECT_EQ(state().cursor.SearchMode, Search::None);
    main().click("cmdNext");
    EXPECT_EQ(state().CurrentRecord, 2);
}

TEST_F(NavigationTest, PreviousFromTheFirstEntryOfAViewEndsIt) {
    writeNumberedFilms(3);
    launchToMain();
    struct Case {
        const char* mode;
        const char* text;
        const char* caption;
    };
    const Case cases[] = {
        {"Title", "Beginning of file encounter!", "ALPHA TITLE SEARCH"},
        {"Laser", "Beginning of file encounter!", "ALPHA LASER TITLE SEARCH"},
        {"VHS", "Beginning of file encounter!", "ALPHA VHS TITLE SEARCH"},
        {"DVD", "Begining of file encountered!", "ALPHA DVD TITLE SEARCH"},
        {"Genre", "Beginning of file encounter!", "GENRE SEARCH"},
    };
    for (const Case& c : cases) {
        state().cursor.ViewMode = c.mode;
        state().cursor.IndexPosition = 1;
        state().CurrentRecord = 3;
        int beeps = platform.beeps;
        main().click("cmdPrevious");
        EXPECT_EQ(platform.lastMessage(), c.text) << c.mode;
        EXPECT_EQ(platform.messages.back().caption, c.caption) << c.mode;
        EXPECT_EQ(platform.beeps, beeps + 1);
        EXPECT_EQ(state().cursor.ViewMode, "") << c.mode;
        EXPECT_EQ(state().cursor.IndexPosition, 0);
        EXPECT_EQ(state().CurrentRecord, 1);
    }
}

// Records which view routine the screen re-enters.
struct RecordingIndex : IndexFeatures {
    std::vector<std::string>* calls;
    explicit RecordingIndex(std::vector<std::string>* c) : calls(c) {}
    void closeIndexFile(ScreenContext&) override { calls->push_back("close"); }
    void showAlphabetic(ScreenContext& s, const std::string& view) override {
        calls->push_back("view " + view + " " + std::to_string(s.cursor().IndexPosition));
    }
    void genreSearch(ScreenContext& s) override {
        calls->push_back(std::string("genre ") + (s.cursor().GenreBackward ? "back " : "fwd ") +
                         std::to_string(s.cursor().IndexPosition));
    }
    void continueFieldSearch(ScreenContext& s, const std::string& kind) override {
        calls->push_back("match " + kind + " " + std::to_string(s.currentRecord()));
    }
};

TEST_F(NavigationTest, ViewsAreSteppedThroughTheirSeam) {
    writeNumberedFilms(3);
    launchToMain();
    std::vector<std::string> calls;
    main().install(std::make_unique<RecordingIndex>(&calls));
    state().cursor.ViewMode = "DVD";
    state().cursor.IndexPosition = 4;
    main().click("cmdNext");
    main().click("cmdPrevious");
    state().cursor.ViewMode = "Genre";
    main().click("cmdNext");
    main().click("cmdPrevious");
    EXPECT_EQ(calls, (std::vector<std::string>{"view DVD 5", "view DVD 4", "genre fwd 5",
                                               "genre back 4"}));
}

TEST_F(NavigationTest, MatchContinuesTheLastFieldSearchOnly) {
    writeNumberedFilms(5);
    launchToMain();
    std::vector<std::string> calls;
    main().install(std::make_unique<RecordingIndex>(&calls));
    main().click("cmdMatch");  // no search yet
    state().cursor.LastSearch = "Director";
    state().CurrentRecord = 2;
    state().cursor.IndexPosition = 7;
    main().click("cmdMatch");
    EXPECT_EQ(state().cursor.IndexPosition, 0);
    state().cursor.SearchMode = Search::Genre;  // genre search: Match is inert
    main().click("cmdMatch");
    state().cursor.SearchMode = Search::None;
    state().cursor.LastSearch = "Nonsense";
    main().click("cmdMatch");
    EXPECT_EQ(calls, (std::vector<std::string>{"match Director 3"}));
}

TEST_F(NavigationTest, FindByFileNumberRoundsHalvesToEven) {
    writeNumberedFilms(12);
    launchToMain();
    const std::pair<const char*, int> cases[] = {{"12abc", 12}, {"7.5", 8},  {"6.5", 6},
                                                 {" 3", 3},     {"2.49", 2}, {"1e1", 10}};
    for (const auto& [typed, record] : cases) {
        platform.inputs.push_back(typed);
        main().click("mnuFile");
        EXPECT_EQ(state().CurrentRecord, record) << typed;
        EXPECT_EQ(text("txtTitle"), paddedTitle("Film " + std::to_string(record))) << typed;
        EXPECT_EQ(text("lblHead"), "    Viewing All Files Numerically");
    }
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(platform.prompts.back(), "Enter File No To Search:");
    EXPECT_EQ(platform.log.back(), "input: Enter File No To Search: [Reelvane Deluxe Edition]");
}

TEST_F(NavigationTest, FindByFileNumberBeyondTheEndOrBelowOneResets) {
    writeNumberedFilms(3);
    launchToMain();
    for (const char* typed : {"4", "0", "-2", "abc", "0.4", "99999999999"}) {
        platform.inputs.push_back(typed);
        platform.answers.push_back(MsgResult::Ok);
        main().click("mnuFile");
        EXPECT_EQ(platform.lastMessage(), "End of file!") << typed;
        EXPECT_EQ(platform.messages.back().caption, "Reelvane Deluxe Edition ") << typed;
        EXPECT_EQ(state().CurrentRecord, 1) << typed;
    }
    EXPECT_EQ(main().master.recordCount(), 3);
    EXPECT_EQ(readFile("Tavlen.Dat").size(), 3u * 649);
}

TEST_F(NavigationTest, FindByFileNumberCancelledResets) {
    writeNumberedFilms(3);
    launchToMain();
    main().click("cmdNext");
    platform.inputs.push_back("");
    main().click("mnuFile");
    EXPECT_EQ(state().CurrentRecord, 1);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(NavigationTest, ResetWhileEditingAnsweredNoKeepsTheViewButShowsRecordOne) {
    writeNumberedFilms(3);
    launchToMain();
    main().click("cmdNext");
    main().click("cmdEdit");
    main()["txtTitle"].text = "Changed";
    state().cursor.ViewMode = "Title";
    state().cursor.IndexPosition = 2;
    answer(MsgResult::No);
    main().click("cmdReset");
    EXPECT_EQ(platform.lastMessage(), "You have not saved your work.  To save it now hit Yes.");
    EXPECT_EQ(platform.messages.back().icon, MsgIcon::Question);
    EXPECT_EQ(platform.messages.back().caption, "Reelvane Deluxe Edition");
    EXPECT_EQ(state().cursor.ViewMode, "Title");
    EXPECT_EQ(state().cursor.IndexPosition, 2);
    EXPECT_FALSE(state().EntryMode);
    EXPECT_EQ(state().CurrentRecord, 1);
    EXPECT_EQ(stored(2).value(Field::Title), "Film 2");
}

TEST_F(NavigationTest, ResetWhileEditingAnsweredYesSavesFirst) {
    writeNumberedFilms(3);
    launchToMain();
    main().click("cmdNext");
    main().click("cmdEdit");
    main()["txtTitle"].text = "Changed";
    state().cursor.ViewMode = "Title";
    answer(MsgResult::Yes);
    main().click("cmdReset");
    EXPECT_EQ(stored(2).value(Field::Title), "Changed");
    EXPECT_EQ(state().cursor.ViewMode, "");
    EXPECT_EQ(state().CurrentRecord, 1);
    EXPECT_FALSE(state().EntryMode);
    EXPECT_FALSE(shown("lblSave"));
    EXPECT_EQ(main().focus(), "cmdSave");
}

}  // namespace
}  // namespace reel::testing
