// New, Edit, Save, Delete, the page buttons, the browsing guard and a write
// that fails.
#include <algorithm>

#include "screen/screen_layout.h"
#include "screen_fixture.h"

namespace reel::testing {
namespace {

using EditingTest = ScreenTest;

TEST_F(EditingTest, NewInAFullFileTakesTheNextNumberAndSaveWritesIt) {
    writeNumberedFilms(10);
    launchToMain();
    answer(MsgResult::Yes);
    main().click("cmdNew");
    EXPECT_EQ(platform.lastMessage(), "Are you sure you want to add a new record?");
    EXPECT_EQ(state().CurrentRecord, 11);
    EXPECT_EQ(state().LastRecord, 11);
    EXPECT_EQ(main().caption, "Reelvane Record Deluxe Edition 11/ 11");
    EXPECT_EQ(main().focus(), "txtTitle");
    EXPECT_TRUE(shown("lblSorting"));
    EXPECT_EQ(text("lblSorting"),
              "You are inputting onto page 1. When all entries on this page are complete, page "
              "2. will come up automatically.");
    for (const char* box : {"txtTitle", "txtDirector", "txtGenreList", "txtTime", "txtWritten"})
        EXPECT_EQ(text(box), "") << box;

    main()["txtTitle"].text = std::string(45, 'x');  // cut to the 40 of the field
    main()["txtDirector"].text = "Abc";
    main().click("cmdSave");
    FilmRecord written = stored(11);
    EXPECT_EQ(written.field(Field::Title), std::string(40, 'x'));
    EXPECT_EQ(written.field(Field::Director), "Abc" + std::string(27, ' '));
    EXPECT_EQ(written.bytes().substr(647), "\r\n");
    EXPECT_EQ(state().RecordCount, 11);
    EXPECT_FALSE(state().EntryMode);
    EXPECT_FALSE(state().NewEntry);
    // Back on page 1, where the saved notice is hidden again.
    EXPECT_FALSE(state().NotesPage);
    EXPECT_FALSE(shown("lblSave"));

    main().click("cmdReset");
    platform.inputs.push_back("10");
    main().click("mnuFile");
    main().click("cmdNext");
    EXPECT_EQ(state().CurrentRecord, 11);
    EXPECT_EQ(text("txtTitle"), std::string(40, 'x'));
}

TEST_F(EditingTest, NewThenResetAnsweredNoWritesNothing) {
    writeNumberedFilms(10);
    launchToMain();
    answer(MsgResult::Yes);
    main().click("cmdNew");
    main()["txtTitle"].text = "Never saved";
    answer(MsgResult::No);
    main().click("cmdReset");
    EXPECT_EQ(state().LastRecord, 10);
    EXPECT_EQ(main().master.recordCount(), 10);
    EXPECT_EQ(readFile("Tavlen.Dat").size(), 10u * 649);
    answer(MsgResult::Yes);
    main().click("cmdNew");
    EXPECT_EQ(state().CurrentRecord, 11);
}

TEST_F(EditingTest, NewAnsweredNoResets) {
    writeNumberedFilms(3);
    launchToMain();
    main().click("cmdNext");
    answer(MsgResult::No);
    main().click("cmdNew");
    EXPECT_FALSE(state().EntryMode);
    EXPECT_EQ(state().CurrentRecord, 1);
}

TEST_F(EditingTest, NewAfterDeletingRecordFourReusesIt) {
    writeNumberedFilms(10);
    launchToMain();
    platform.inputs.push_back("4");
    main().click("mnuFile");
    answer(MsgResult::Yes);
    main().click("cmdDelete");
    EXPECT_EQ(platform.lastMessage(),
              "Are you sure you want to DELETE this record? This File Will Be Removed "
              "Permanently!!");
    EXPECT_TRUE(stored(4).isFree());
    EXPECT_EQ(stored(4).bytes(), FilmRecord().bytes());
    EXPECT_EQ(text("txtTitle"), "");
    EXPECT_EQ(stored(5).value(Field::Title), "Film 5");
    EXPECT_EQ(main().master.recordCount(), 10);

    answer(MsgResult::Yes);
    main().click("cmdNew");
    EXPECT_EQ(state().CurrentRecord, 4);
    EXPECT_EQ(state().LastRecord, 10);
    main()["txtTitle"].text = "Fourth again";
    main().click("cmdSave");
    EXPECT_EQ(stored(4).value(Field::Title), "Fourth again");
    answer(MsgResult::Yes);
    main().click("cmdNew");
    EXPECT_EQ(state().CurrentRecord, 11);
}

TEST_F(EditingTest, DeleteAnsweredNoChangesNothing) {
    writeNumberedFilms(2);
    launchToMain();
    answer(MsgResult::No);
    main().click("cmdDelete");
    EXPECT_EQ(stored(1).value(Field::Title), "Film 1");
    EXPECT_EQ(text("txtDirector"), std::string(20, ' ') + "Dir Film 1");
}

TEST_F(EditingTest, NewThenNextDropsTheEntryAndShowsTheNextRecord) {
    writeNumberedFilms(6);
    launchToMain();
    // Free slot 3 so the new record sits inside the file.
    ASSERT_TRUE(main().master.blankRecord(3));
    answer(MsgResult::Yes);
    main().click("cmdNew");
    ASSERT_EQ(state().CurrentRecord, 3);
    main()["txtTitle"].text = "Dropped";
    main().click("cmdNext");
    EXPECT_FALSE(state().EntryMode);
    EXPECT_FALSE(state().NewEntry);
    EXPECT_EQ(state().CurrentRecord, 4);
    EXPECT_EQ(text("txtTitle"), std::string(34, ' ') + "Film 4");
    EXPECT_TRUE(stored(3).isFree());
}

TEST_F(EditingTest, EditOnPageTwoRewritesOnlyThatRecord) {
    writeNumberedFilms(3);
    launchToMain();
    main().click("cmdNext");
    main().click("optnoteson");
    EXPECT_TRUE(state().NotesPage);
    EXPECT_TRUE(shown("txtAwards"));
    EXPECT_FALSE(shown("txtTitle"));
    EXPECT_EQ(text("lblNotes1"), "\nYou are now inputting on page 2.  ");
    EXPECT_EQ(main().focus(), "cmdSave");

    std::string before = readFile("Tavlen.Dat");
    main().click("cmdEdit");
    EXPECT_FALSE(main()["optnoteson"].enabled);
    EXPECT_FALSE(main()["optNotesoff"].enabled);
    EXPECT_FALSE(shown("txtCLV1"));
    EXPECT_EQ(text("lblSorting"), "\nSave Work When Finished!");
    main()["txtAwards"].text = "Best Picture";
    main().click("cmdSave");
    std::string after = readFile("Tavlen.Dat");
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after.substr(0, 649), before.substr(0, 649));
    EXPECT_EQ(after.substr(2 * 649), before.substr(2 * 649));
    EXPECT_EQ(stored(2).value(Field::Awards), "Best Picture");
    EXPECT_EQ(stored(2).value(Field::Title), "Film 2");
    EXPECT_TRUE(state().NotesPage);
    EXPECT_TRUE(shown("lblSave"));
    EXPECT_TRUE(main()["optnoteson"].enabled);
}

TEST_F(EditingTest, SaveWithoutEditingWritesNothing) {
    writeNumberedFilms(2);
    launchToMain();
    std::string before = readFile("Tavlen.Dat");
    main()["txtTitle"].text = "typed while browsing";
    main().click("cmdSave");
    EXPECT_EQ(readFile("Tavlen.Dat"), before);
    EXPECT_FALSE(shown("lblSave"));
}

TEST_F(EditingTest, FailedWriteKeepsTheEntryAndNeverClaimsSuccess) {
    writeNumberedFilms(2);
    launchToMain();
    answer(MsgResult::Yes);
    main().click("cmdNew");
    main()["txtTitle"].text = "Precious";
    main()["txtDirector"].text = "Someone";
    main().master.close();  // the file is gone from under the program

    main().click("cmdSave");
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_NE(platform.lastMessage().find("could not be saved"), std::string::npos);
    EXPECT_NE(platform.lastMessage().find("Tavlen.Dat"), std::string::npos);
    EXPECT_FALSE(shown("lblSave"));
    EXPECT_TRUE(state().EntryMode);
    EXPECT_TRUE(state().NewEntry);
    EXPECT_EQ(text("txtTitle"), "Precious");
    EXPECT_EQ(text("txtDirector"), "Someone");
    EXPECT_EQ(state().CurrentRecord, 3);

    // A later Save succeeds once the file is back.
    ASSERT_TRUE(main().master.open());
    main().click("cmdSave");
    EXPECT_EQ(stored(3).value(Field::Title), "Precious");
    EXPECT_FALSE(state().EntryMode);
}

TEST_F(EditingTest, FailedWriteStopsResetAndExit) {
    writeNumberedFilms(2);
    launchToMain();
    main().click("cmdEdit");
    main()["txtTitle"].text = "Keep me";
    main().master.close();
    answer(MsgResult::Yes);  // save it now
    answer(MsgResult::Ok);   // the failure
    main().click("cmdReset");
    EXPECT_TRUE(state().EntryMode);
    EXPECT_EQ(text("txtTitle"), "Keep me");

    answer(MsgResult::Yes);
    answer(MsgResult::Ok);
    main().click("mnuExit");
    EXPECT_FALSE(app->finished());
    EXPECT_TRUE(state().EntryMode);
    EXPECT_EQ(platform.unanswered, 0);
}

// Every box of the browsing guard, entered as a keyboard user does (Tab) and
// as a mouse user does (press and release): the boxes shown in order, and the
// focus back on Save after a warning. A click is the focus arriving and then
// the click, so the boxes with a click warning of their own show two.
TEST_F(EditingTest, BrowsingGuardByKeyboardAndByMouse) {
    writeFilms({makeFilm({{Field::Title, "Laser film"}, {Field::Format, "L"}}),
                makeFilm({{Field::Title, "Tape film"}, {Field::Format, "V"}})});
    launchToMain();
    auto warning = [](const std::string& caption) { return caption + ": Hit edit to change."; };
    struct Case {
        const char* box;
        std::vector<std::string> byKeyboard, byMouse;
    };
    std::vector<Case> cases = {
        {"txtTitle", {}, {warning("Title")}},
        {"txtFormat", {warning("Format")}, {warning("Format"), "Dovelmark 1: Hit Edit To Change"}},
        {"txtCLV1", {warning("CAV/CLV")}, {warning("CAV/CLV"), warning("CAV / CLV")}},
        {"txtColor1", {warning("Color/B&W")}, {warning("Color/B&W"), warning("Color/B & W")}},
        {"txtGenreList", {}, {}},  // display only
    };
    const std::pair<const char*, const char*> plain[] = {
        {"txtDirector", "Director"},
        {"txtStar1", "Star1"},
        {"txtStar2", "Star2"},
        {"txtStar3", "Star3"},
        {"txtStar4", "Star4"},
        {"txtStar5", "Star5"},
        {"txtStar6", "Star6"},
        {"txtLabel", "Label"},
        {"txtNumReel", "Title"},
        {"txtGenre", "Genre"},
        {"txtTime", "Time"},
        {"txtYear", "Year"},
        {"txtCassNo", "Cass. No."},
        {"txtLetter", "Aspect"},
        {"txtProducer", "Producer"},
        {"txtCinematographer", "Cinematographer"},
        {"txtWritten", "Writters"},
        {"txtMusic", "Music Director"},
        {"txtChoreography", "Choreographer"},
        {"txtSetDirection", "Art Director"},
        {"txtCostume", "Costume Design"},
        {"txtSound", "Sound"},
        {"txtRating", "MPAA Rating"},
        {"txtPackage", "Package"},
        {"txtAwards", "Awards"},
        {"txtPurchase", "Purchase Date"},
        {"txtCost", "Purchase Price"},
        {"txtRatings", "Your Rating"},
    };
    for (const auto& [box, caption] : plain)
        cases.push_back({box, {warning(caption)}, {warning(caption)}});

    auto seen = [&] {
        std::vector<std::string> lines;
        for (const RecordedMessage& m : platform.messages) {
            EXPECT_EQ(m.icon, m.caption == "Dovelmark 1" ? MsgIcon::None : MsgIcon::Exclamation);
            lines.push_back(m.caption + ": " + m.text);
        }
        platform.messages.clear();
        return lines;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        const bool page2 = std::find(layout::Page2Boxes.begin(), layout::Page2Boxes.end(), c.box) !=
                           layout::Page2Boxes.end();
        main().click("cmdReset");
        if (std::string_view(c.box) == "txtCassNo") main().click("cmdNext");  // the tape
        if (page2) main().click("optnoteson");
        ASSERT_TRUE(main().takesFocus(c.box));
        for (bool mouse : {false, true}) {
            main().noteFocus("cmdSave");
            platform.messages.clear();
            if (mouse) {
                Event press{c.box, EventKind::MouseDown};
                press.button = 1;
                main().userMouseDown(press);
                main().userMouseUp(c.box);
            } else {
                main().userFocus(c.box);
            }
            const std::vector<std::string>& expected = mouse ? c.byMouse : c.byKeyboard;
            EXPECT_EQ(seen(), expected) << (mouse ? "mouse" : "keyboard");
            EXPECT_EQ(main().focus(), expected.empty() ? std::string(c.box) : "cmdSave");
            for (std::string_view list : layout::PickerLists)
                EXPECT_FALSE(shown(std::string(list)));
        }
    }
}

// File > Save moves the focus to Save first, so the box being left does its
// leave handling before the record is written: from the owner's rating at
// the end of a new entry, that is the closing note on page 2.
TEST_F(EditingTest, FileSaveRunsTheLeaveHandlingOfTheBoxFirst) {
    writeNumberedFilms(1);
    launchToMain();
    answer(MsgResult::Yes);
    main().click("cmdNew");
    main()["txtTitle"].text = "Saved from the menu";
    main().click("optnoteson");
    main().userFocus("txtRatings");
    main()["txtRatings"].text = "****";
    main().click("mnuSave");
    EXPECT_EQ(text("lblNotes1"),
              "\nYou have finished inputting on page 1. and 2. \nClick \"Save Button\" or hit "
              "Alt\"S to save your work.");
    EXPECT_EQ(main().focus(), "cmdSave");
    EXPECT_FALSE(state().EntryMode);
    EXPECT_EQ(stored(2).value(Field::Title), "Saved from the menu");
    EXPECT_EQ(stored(2).value(Field::Ratings), "****");
}

TEST_F(EditingTest, NoGuardWhileEditing) {
    writeNumberedFilms(1);
    launchToMain();
    main().click("cmdEdit");
    event("txtDirector", EventKind::GotFocus);
    main().click("txtTitle");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EditingTest, EditIsIgnoredWhileANewRecordIsEntered) {
    writeNumberedFilms(1);
    launchToMain();
    answer(MsgResult::Yes);
    main().click("cmdNew");
    main()["txtTitle"].text = "Typed";
    main().click("cmdEdit");
    EXPECT_EQ(text("txtTitle"), "Typed");
}

TEST_F(EditingTest, EditAndDeleteDoNothingInAListView) {
    writeNumberedFilms(2);
    launchToMain();
    state().cursor.ListKind = Listing::Grid;
    main().click("cmdEdit");
    main().click("cmdDelete");
    EXPECT_FALSE(state().EntryMode);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(stored(1).isFree());
}

TEST_F(EditingTest, SaveMenuItemMovesTheFocusThenSaves) {
    writeNumberedFilms(1);
    launchToMain();
    main().click("cmdEdit");
    main()["txtYear"].text = "1999";
    main().noteFocus("txtYear");
    main().click("mnuSave");
    EXPECT_EQ(main().focus(), "cmdSave");
    EXPECT_EQ(stored(1).value(Field::Year), "1999");
}

TEST_F(EditingTest, DeletingANewRecordNeverSavedLeavesTheFileAlone) {
    writeNumberedFilms(3);
    launchToMain();
    answer(MsgResult::Yes);
    main().click("cmdNew");
    main()["txtTitle"].text = "Not yet";
    answer(MsgResult::Yes);
    main().click("cmdDelete");
    EXPECT_EQ(readFile("Tavlen.Dat").size(), 3u * 649);
    EXPECT_EQ(text("txtTitle"), "");
}

TEST_F(EditingTest, ChoosingAViewDropsANewEntry) {
    writeNumberedFilms(3);
    launchToMain();
    struct Views : IndexFeatures {
        int* shown;
        explicit Views(int* s) : shown(s) {}
        void showAlphabetic(ScreenContext&, const std::string&) override { ++*shown; }
    };
    int shownCount = 0;
    main().install(std::make_unique<Views>(&shownCount));
    answer(MsgResult::Yes);
    main().click("cmdNew");
    ASSERT_EQ(state().LastRecord, 4);
    main().click("mnuByDVD");
    EXPECT_EQ(shownCount, 1);
    EXPECT_FALSE(state().EntryMode);
    EXPECT_FALSE(state().NewEntry);
    EXPECT_EQ(state().LastRecord, 3);
}

}  // namespace
}  // namespace reel::testing
