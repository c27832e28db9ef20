// Preferences > Program Colors: the dialog colour, the groups and the files.
#include "../screen/screen_fixture.h"
#include "data/colour_files.h"
#include "screen/screen_layout.h"

namespace reel::testing {
namespace {

using ProgramColoursTest = ScreenTest;

struct ColourItem {
    const char* menu;
    const char* file;
    const char* sample;                             // a control of the group
    std::optional<ColourValue> Control::*property;  // the property the group sets
};

const ColourItem Items[] = {
    {"mnuBGColors", "BGColor", "lblTitle", &Control::backColour},
    {"mnuTxtBoxColor", "txtBGColor", "txtTitle", &Control::backColour},
    {"mnutxtColor", "txtForColor", "txtTitle", &Control::foreColour},
    {"mnuMessColor", "tagForColor", "lblTitle", &Control::foreColour},
};

TEST_F(ProgramColoursTest, EachItemColoursItsGroupAndRewritesItsFileWhole) {
    launchToMain();
    ColourValue colour = 0x102030;
    for (const ColourItem& item : Items) {
        SCOPED_TRACE(item.menu);
        writeFile(item.file, "123\r\n456 stale second line\r\n");
        platform.colours.push_back(colour);
        main().click(item.menu);
        EXPECT_EQ(main()[item.sample].*item.property, colour);
        EXPECT_EQ(readFile(item.file), std::to_string(colour) + "\r\n");
        colour += 0x010101;
    }
    EXPECT_EQ(main().backColour, 0x102030);  // the window is in the background group
    EXPECT_EQ(platform.unanswered, 0);
}

TEST_F(ProgramColoursTest, DialogOpensOnTheLabelColourAfterStartUpThenOnTheLastApplied) {
    writeFile("BGColor", "255\r\n");
    writeFile("tagForColor", "4660\r\n");
    launchToMain();
    platform.colours = {777, std::nullopt, 888};
    main().click("mnuBGColors");
    main().click("mnutxtColor");  // cancelled: the dialog colour stays
    main().click("mnuTxtBoxColor");
    ASSERT_EQ(platform.colourRequests.size(), 3u);
    EXPECT_EQ(platform.colourRequests[0], 4660);
    EXPECT_EQ(platform.colourRequests[1], 777);
    EXPECT_EQ(platform.colourRequests[2], 777);
}

TEST_F(ProgramColoursTest, CancellingTheDialogChangesNoColourAndNoFile) {
    writeFile("txtBGColor", "65280\r\n");
    launchToMain();
    for (const ColourItem& item : Items) {
        SCOPED_TRACE(item.menu);
        const std::string before = exists(item.file) ? readFile(item.file) : "<none>";
        const auto shownBefore = main()[item.sample].*item.property;
        platform.colours.push_back(std::nullopt);
        main().click(item.menu);
        EXPECT_EQ(main()[item.sample].*item.property, shownBefore);
        EXPECT_EQ(exists(item.file) ? readFile(item.file) : "<none>", before);
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(ProgramColoursTest, TextBoxColourReachesAllSixtyListCellsShownOrNot) {
    launchToMain();
    for (std::string_view column : layout::GridColumns)
        main()[Form::arrayName(column, 3)].visible = true;
    platform.colours.push_back(0x00FF00);
    main().click("mnuTxtBoxColor");
    int coloured = 0;
    for (std::string_view column : layout::GridColumns)
        for (int row = 0; row < layout::GridRows; ++row) {
            const Control& cell = main()[Form::arrayName(column, row)];
            EXPECT_EQ(cell.backColour, 0x00FF00) << cell.name;
            coloured += cell.backColour == 0x00FF00;
        }
    EXPECT_EQ(coloured, 60);
    for (std::string_view box : layout::Page2Boxes) EXPECT_EQ(main()[box].backColour, 0x00FF00);
    // Labels, picker lists and buttons keep their own colours.
    EXPECT_NE(main()["lblTitle"].backColour, 0x00FF00);
    EXPECT_FALSE(main()["List1"].backColour.has_value());
}

TEST_F(ProgramColoursTest, DefaultColoursRestoreAllFourGroupsAndFiles) {
    writeFile("BGColor", "1\r\n");
    writeFile("txtBGColor", "2\r\n");
    writeFile("txtForColor", "3\r\n");
    writeFile("tagForColor", "4\r\n");
    launchToMain();
    main().click("mnudefault");
    EXPECT_EQ(readFile("BGColor"), "16711680\r\n");
    EXPECT_EQ(readFile("txtBGColor"), "16777215\r\n");
    EXPECT_EQ(readFile("txtForColor"), "16711680\r\n");
    EXPECT_EQ(readFile("tagForColor"), "65535\r\n");
    EXPECT_EQ(main().backColour, DefaultBackground);
    EXPECT_EQ(main()["lblStar3"].backColour, DefaultBackground);
    EXPECT_EQ(main()["optnoteson"].foreColour, DefaultLabel);
    EXPECT_EQ(main()["Text2_19"].backColour, DefaultTextBoxBack);
    EXPECT_EQ(main()["txtSound"].foreColour, DefaultText);
    EXPECT_TRUE(platform.messages.empty());  // no question asked

    // The dialog is left at yellow.
    platform.colours.push_back(std::nullopt);
    main().click("mnuBGColors");
    EXPECT_EQ(platform.colourRequests.back(), 65535);
}

TEST_F(ProgramColoursTest, ColourFileThatCannotBeWrittenIsReportedAndTheColourStillShows) {
    launchToMain();
    std::filesystem::create_directory(dir + "/tagForColor");  // nothing can replace a folder
    platform.colours.push_back(0x0000FF);
    answer(MsgResult::Ok);
    main().click("mnuMessColor");
    EXPECT_EQ(main()["lblTitle"].foreColour, 0x0000FF);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.lastMessage().find("tagForColor"), std::string::npos);
    EXPECT_NE(platform.lastMessage().find("will not be kept"), std::string::npos);
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);
}

TEST_F(ProgramColoursTest, ChosenColoursAreReadAtTheNextStart) {
    launchToMain();
    platform.colours = {0x0000FF, 0x00FF00};
    main().click("mnuBGColors");
    main().click("mnuMessColor");
    app.reset();
    launchToMain();
    EXPECT_EQ(main().backColour, 0x0000FF);
    EXPECT_EQ(main()["lblDirector"].foreColour, 0x00FF00);
}

}  // namespace
}  // namespace reel::testing
