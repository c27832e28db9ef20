// Title and information screens, the flag file, help, Exit and the close box.
#include "screen/title_screen.h"
#include "screen_fixture.h"

namespace reel::testing {
namespace {

using StartScreensTest = ScreenTest;

TEST_F(StartScreensTest, WithoutTheFlagFileStartShowsTheInformationScreen) {
    std::filesystem::remove(dir + "/Fo");
    launch();
    TitleScreen& title = app->titleScreen();
    EXPECT_TRUE(title.visible);
    EXPECT_EQ(title.caption, "Reelvane Deluxe Edition ver. 3.0           ");
    title.click("cmdStart");
    InfoScreen& info = app->infoScreen();
    EXPECT_TRUE(info.visible);
    EXPECT_FALSE(main().visible);
    EXPECT_FALSE(title["cmdStart"].visible);
    EXPECT_FALSE(title["cmdExit"].visible);
    EXPECT_FALSE(info["option1"].checked);
    EXPECT_EQ(info.caption, "Reelvane Information Screen");

    info.click("option1");
    EXPECT_EQ(readFile("Fo"), "NO\r\n");
    EXPECT_TRUE(main().visible);
    EXPECT_TRUE(info.visible);  // stays open behind the main screen
    EXPECT_FALSE(title.visible);

    // The next run goes straight to the main screen.
    app.reset();
    launchToMain();
    EXPECT_TRUE(main().visible);
    EXPECT_FALSE(app->infoScreen().loaded());
}

TEST_F(StartScreensTest, OkLeavesTheFlagAlone) {
    for (const char* flag : {"", "no\r\n", "YES\r\n"}) {
        freshCatalogue();
        if (*flag)
            writeFile("Fo", flag);
        else
            std::filesystem::remove(dir + "/Fo");
        launchToMain();
        ASSERT_TRUE(app->infoScreen().visible) << flag;
        app->infoScreen().click("Command1");
        EXPECT_FALSE(app->infoScreen().visible);
        EXPECT_TRUE(main().visible);
        EXPECT_EQ(exists("Fo"), *flag != 0);
    }
}

TEST_F(StartScreensTest, HelpFileLiesBesideTheProgram) {
    EXPECT_EQ(helpFilePath("/opt/reelbook/bin"), "/opt/reelbook/bin/Dovelmark3.HLP");
    EXPECT_EQ(helpFilePath("/"), "/Dovelmark3.HLP");
    platform.programDir = "/usr/share/";
    launch();
    EXPECT_EQ(app->titleScreen().helpFile(), "/usr/share/Dovelmark3.HLP");
}

TEST_F(StartScreensTest, HelpMenuOpensContentsAndControlsCarryTheirTopics) {
    launchToMain();
    main().click("mnuHelp");
    EXPECT_EQ(platform.helpTopics, std::vector<int>{0});
    const std::pair<const char*, int> topics[] = {
        {"txtTitle", 1},         {"txtStar4", 3},      {"txtLabel", 9},      {"txtGenreList", 12},
        {"txtCLV1", 17},         {"txtRatings", 56},   {"txtSound", 70},     {"txtFormat", 490},
        {"txtLetter", 500},      {"mnuFileMenu", 440}, {"mnuFindMenu", 450}, {"mnuViewMenu", 460},
        {"mnuViewAllMenu", 520}, {"mnuSortMenu", 470}, {"mnuHelp", 480}};
    for (const auto& [control, topic] : topics) {
        main().noteFocus(control);
        EXPECT_EQ(main().currentHelpContext(), topic) << control;
    }
    main().noteFocus("cmdNext");
    EXPECT_EQ(main().currentHelpContext(), 0);
}

TEST_F(StartScreensTest, ExitFromTheTitleScreenAsks) {
    launch();
    answer(MsgResult::No);
    app->titleScreen().click("cmdExit");
    EXPECT_EQ(platform.lastMessage(), "Are you sure you want to Quit?");
    EXPECT_EQ(platform.messages.back().caption, "Reelvane Deluxe Edition");
    EXPECT_FALSE(app->finished());
    EXPECT_TRUE(app->titleScreen().visible);
    answer(MsgResult::Yes);
    app->titleScreen().click("cmdExit");
    EXPECT_TRUE(app->finished());
    EXPECT_TRUE(platform.quitRequested);
}

TEST_F(StartScreensTest, ExitWhileEditingAnsweredYesThenNoSavesAndKeepsRunning) {
    writeNumberedFilms(2);
    launchToMain();
    main().click("cmdEdit");
    main()["txtYear"].text = "1950";
    answer(MsgResult::Yes);
    answer(MsgResult::No);
    main().click("mnuExit");
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].text,
              "You have not saved your work. To save your work hit Yes, else hit No and quit");
    EXPECT_EQ(platform.messages[0].caption, "Reelvane Deluxe Edition");
    EXPECT_EQ(platform.messages[1].text, "Are you sure you want to quit?");
    EXPECT_EQ(stored(1).value(Field::Year), "1950");
    EXPECT_FALSE(app->finished());
    EXPECT_TRUE(main().visible);
}

TEST_F(StartScreensTest, ExitWhileEditingAnsweredNoEndsWithoutSaving) {
    writeNumberedFilms(1);
    launchToMain();
    main().click("cmdEdit");
    main()["txtYear"].text = "1950";
    answer(MsgResult::No);
    main().click("mnuExit");
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(app->finished());
    EXPECT_FALSE(main().master.isOpen());
    MasterFile reopened(dir);
    ASSERT_TRUE(reopened.open());
    EXPECT_EQ(reopened.readRecord(1).value(Field::Year), "");
}

TEST_F(StartScreensTest, CloseBoxAsksTheSameQuestions) {
    writeNumberedFilms(1);
    launchToMain();
    struct Case {
        bool editing;
        std::vector<MsgResult> answers;
        bool cancelled;
        const char* firstCaption;
    };
    const Case cases[] = {
        {false, {MsgResult::No}, true, "Reelvane Deluxe Edition"},
        {true, {MsgResult::Yes, MsgResult::No}, true, "Reelvane"},
        {false, {MsgResult::Yes}, false, "Reelvane Deluxe Edition"},
    };
    for (const Case& c : cases) {
        if (c.editing) main().click("cmdEdit");
        platform.messages.clear();
        for (MsgResult r : c.answers) answer(r);
        bool cancel = false;
        Event close{"", EventKind::QueryClose};
        close.cancel = &cancel;
        main().dispatch(close);
        EXPECT_EQ(cancel, c.cancelled);
        EXPECT_EQ(app->finished(), !c.cancelled);
        ASSERT_FALSE(platform.messages.empty());
        EXPECT_EQ(platform.messages[0].caption, c.firstCaption);
        EXPECT_EQ(platform.messages.back().text, "Are you sure you want to quit?");
    }
    EXPECT_EQ(platform.unanswered, 0);
}

}  // namespace
}  // namespace reel::testing
