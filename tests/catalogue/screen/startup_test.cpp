// Start-up of the main screen: colours, counts, the master file, record 1.
#include "screen/screen_layout.h"
#include "screen_fixture.h"

namespace reel::testing {
namespace {

using StartupTest = ScreenTest;

TEST_F(StartupTest, StatusLineShowsTheCountFilesAsTheyRead) {
    writeFile("Titleqen", " 12\r\n");
    writeFile("DVDqen", " 3\r\n");
    writeFile("Laserqen", " 7\r\n");
    writeFile("VHSqen", " 2\r\n");
    launchToMain();
    EXPECT_TRUE(shown("lblsorted"));
    EXPECT_EQ(text("lblsorted"),
              "No. Titles  12 -    No. DVDS  3 -    No.Laser discs  7 -    No.VHS 2");
    EXPECT_EQ(text("lblHead"), "To write a new record click \"New\" button.");
    EXPECT_EQ(state().HeadShown, Heading::Status);
}

TEST_F(StartupTest, MissingCountAndColourFilesGiveZeroAndTheDefaults) {
    launchToMain();
    EXPECT_EQ(text("lblsorted"),
              "No. Titles  0 -    No. DVDS  0 -    No.Laser discs  0 -    No.VHS 0");
    EXPECT_EQ(main().backColour, 16711680);
    EXPECT_EQ(main()["lblTitle"].foreColour, 65535);
    EXPECT_EQ(main()["txtTitle"].backColour, 16777215);
    EXPECT_EQ(main()["txtTitle"].foreColour, 16711680);
}

TEST_F(StartupTest, ColoursGoToTheirGroupsOnly) {
    writeFile("BGColor", "255\r\n");
    writeFile("txtBGColor", "65280\r\n");
    writeFile("txtForColor", "1\r\n");
    writeFile("tagForColor", "2\r\n");
    launchToMain();
    MainScreen& m = main();
    EXPECT_EQ(m.backColour, 255);
    for (std::string_view label : layout::ColouredLabels) {
        EXPECT_EQ(m[label].backColour, 255) << label;
        EXPECT_EQ(m[label].foreColour, 2) << label;
    }
    for (std::string_view opt : layout::PageButtons) EXPECT_EQ(m[opt].foreColour, 2) << opt;
    // Hidden list cells take the text box colours as well.
    for (const char* cell : {"Text1_0", "Text2_19", "Text3_7"}) {
        EXPECT_FALSE(m[cell].visible);
        EXPECT_EQ(m[cell].backColour, 65280) << cell;
        EXPECT_EQ(m[cell].foreColour, 1) << cell;
    }
    EXPECT_EQ(m["txtGenreList"].backColour, 65280);
    EXPECT_FALSE(m["Label4"].backColour.has_value());
    EXPECT_FALSE(m["List1"].backColour.has_value());
    EXPECT_FALSE(m["cmdSave"].backColour.has_value());
}

TEST_F(StartupTest, ShowsRecordOneWithCaptionAndFocusOnSave) {
    writeNumberedFilms(10);
    launchToMain();
    EXPECT_TRUE(main().visible);
    EXPECT_FALSE(app->titleScreen().visible);
    EXPECT_EQ(main().caption, "Reelvane Deluxe Record  1/ 10      Title Non Sorted");
    EXPECT_EQ(state().CurrentRecord, 1);
    EXPECT_EQ(state().LastRecord, 10);
    EXPECT_EQ(state().RecordCount, 10);
    EXPECT_EQ(main().focus(), "cmdSave");
    EXPECT_TRUE(shown("txtTitle"));
    EXPECT_FALSE(shown("txtProducer"));
    EXPECT_FALSE(shown("List1"));
    EXPECT_FALSE(shown("cmdNext20"));
    EXPECT_TRUE(main()["optNotesoff"].checked);
}

TEST_F(StartupTest, EmptyCatalogueShowsAnEmptyRecordOneOfOne) {
    launchToMain();
    EXPECT_EQ(main().caption, "Reelvane Deluxe Record  1/ 1      Title Non Sorted");
    EXPECT_EQ(text("txtTitle"), "");
    EXPECT_EQ(state().RecordCount, 0);
    EXPECT_TRUE(exists("Tavlen.Dat"));
    EXPECT_EQ(readFile("Tavlen.Dat").size(), 0u);
}

TEST_F(StartupTest, CatalogueInUseEndsWithAClearMessage) {
    writeNumberedFilms(2);
    MasterFile other(dir);
    ASSERT_TRUE(other.open());
    launchToMain();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.messages[0].text.find("Tavlen.Dat"), std::string::npos);
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(app->finished());
    EXPECT_TRUE(platform.quitRequested);
    EXPECT_FALSE(main().visible);
    EXPECT_EQ(other.recordCount(), 2);
}

TEST_F(StartupTest, MasterFileThatCannotBeCreatedEndsTheProgram) {
    dir += "/no/such/place";
    launchToMain();
    app->infoScreen().click("Command1");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.lastMessage().find("Tavlen.Dat"), std::string::npos);
    EXPECT_TRUE(app->finished());
}

TEST_F(StartupTest, EveryMenuItemOfTheMenuBarExistsWithItsCaption) {
    launchToMain();
    const std::pair<const char*, const char*> items[] = {
        {"mnuCopy", "&Copy Files"},
        {"mnuSave", "&Save"},
        {"mnuPrint2", "Set&up Printer"},
        {"mnuAll", "Print All Titles Full List"},
        {"mnuDVD", "Print All DVD Titles (Abridged) "},
        {"mnuGenre", "Print By Genre"},
        {"mnuExit", "E&xit"},
        {"mnuFile", "Find By File No."},
        {"mnuCostume", "Find By Costumer "},
        {"mnuFindGenre", "Find By Genre"},
        {"mnuByDVD", "Alpha DVDTitles"},
        {"mnuAllVHS", "View All VHSs"},
        {"mnuFindAllGenre", "View All Genre"},
        {"mnuSortTitle", "Sort All Files"},
        {"mnuProgramColors", "Pro&gram Colors"},
        {"mnuMessColor", "Message Tags Color"},
        {"mnudefault", "Default Colors"},
        {"mnuHelp", "&Help"},
        {"mnuFindMenu", "F&ind "},
    };
    for (const auto& [name, captionText] : items) {
        ASSERT_TRUE(main().has(name)) << name;
        EXPECT_EQ(text(name), captionText) << name;
    }
    EXPECT_EQ(main()["mnuAll"].parent, "mnuPrintLibrary");
    EXPECT_EQ(main()["mnuBGColors"].parent, "mnuProgramColors");
    EXPECT_EQ(main()["mnuPrintLibrary"].parent, "mnuFileMenu");
}

TEST_F(StartupTest, ItemsOfModulesNotInstalledDoNothing) {
    writeNumberedFilms(2);
    AppContext context(platform, dir);
    MainScreen screen(context);
    context.main = &screen;
    screen.show();
    for (const char* item :
         {"mnuByTitle", "mnuSortTitle", "mnuShort", "mnuPrint2", "mnuBGColors", "mnudefault",
          "mnuCopy", "mnuFindDirector", "mnuFindGenre", "mnuAllTitles", "cmdNext20", "cmdPrev20"})
        EXPECT_TRUE(screen.click(item)) << item;
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(screen.state.CurrentRecord, 1);
    EXPECT_EQ(screen.state.cursor.ViewMode, "");
}

}  // namespace
}  // namespace reel::testing
