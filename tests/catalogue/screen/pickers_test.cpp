// The six picker lists and the guided entry of a new film.
#include "screen/genre_table.h"
#include "screen_fixture.h"

namespace reel::testing {
namespace {

class PickersTest : public ScreenTest {
  protected:
    void startNew() {
        writeNumberedFilms(2);
        launchToMain();
        answer(MsgResult::Yes);
        main().click("cmdNew");
    }
    void startEdit() {
        writeFilms(
            {makeFilm({{Field::Title, "Edited"}, {Field::Genre, "DR"}, {Field::Format, "V"}})});
        launchToMain();
        main().click("cmdEdit");
    }
    // The keyboard user's way in: Tab to the box.
    void enter(const char* box) { main().userFocus(box); }
    // The mouse user's: press and release on it.
    void clickOn(const char* control) {
        Event press{control, EventKind::MouseDown};
        press.button = 1;
        main().userMouseDown(press);
        main().userMouseUp(control);
    }
    void pressEnter(const char* list) { event(list, EventKind::KeyPress, -1, keys::Enter); }
    void moveTo(const char* list, int item) { event(list, EventKind::Click, item); }
    void mouseOn(const char* list, int item) { event(list, EventKind::MouseDown, item); }
};

TEST_F(PickersTest, ListsHoldTheirItemsInOrder) {
    startNew();
    enter("txtFormat");
    EXPECT_EQ(main()["List3"].items, (std::vector<std::string>{"DVD", "Laser", "VHS"}));
    EXPECT_EQ(main()["List3"].listIndex, 0);
    EXPECT_EQ(main().focus(), "List3");
    EXPECT_EQ(main().currentHelpContext(), 490);
    main().closePicker(MainScreen::Picker::Format);
    EXPECT_TRUE(main()["List3"].items.empty());
    EXPECT_EQ(main().helpContext, 0);
    main().noteFocus("txtTitle");
    EXPECT_EQ(main().currentHelpContext(), 1);

    main().noteFocus("txtRating");
    event("txtRating", EventKind::GotFocus);
    EXPECT_EQ(main()["List2"].items.size(), 13u);
    EXPECT_EQ(main()["List2"].items[2], "PG-13");
    EXPECT_EQ(main()["List2"].items.back(), "NR");
    EXPECT_EQ(main().currentHelpContext(), 42);

    ASSERT_EQ(genreTable().size(), 20u);
    EXPECT_EQ(genreTable()[9].code, "FO");
    EXPECT_EQ(genreTable()[10].code, "FM");
    EXPECT_EQ(genreName("MU"), "Musicals");
    EXPECT_EQ(genreName("mu"), "");
    EXPECT_EQ(genreCodeOfItem("IN = Instructional"), "IN");
}

TEST_F(PickersTest, GenreByMouseArrowsOrEnter) {
    const int instructional = 12;
    for (int way = 0; way < 3; ++way) {
        SCOPED_TRACE(way);
        freshCatalogue();
        startEdit();
        enter("txtGenre");
        ASSERT_TRUE(shown("List1"));
        EXPECT_FALSE(shown("txtGenre"));
        EXPECT_FALSE(shown("txtColor1"));
        EXPECT_TRUE(shown("lblSelect"));
        EXPECT_EQ(text("txtGenre"), "DR");  // opening alone changes nothing
        if (way == 0) {
            mouseOn("List1", instructional);
        } else {
            for (int i = 1; i <= instructional; ++i) moveTo("List1", i);  // arrow presses
            EXPECT_EQ(text("txtGenre"), "IN");
            EXPECT_EQ(text("txtGenreList"), "Instructional");
            if (way == 1) {
                main().noteFocus("txtTime");
                event("List1", EventKind::LostFocus);  // leaving keeps the selection
            } else {
                pressEnter("List1");
            }
        }
        EXPECT_FALSE(shown("List1"));
        EXPECT_TRUE(shown("txtGenre"));
        EXPECT_FALSE(shown("lblSelect"));
        EXPECT_EQ(text("txtGenre"), "IN");
        EXPECT_EQ(text("txtGenreList"), "Instructional");
        if (way != 1) {
            EXPECT_EQ(main().focus(), "cmdSave");
        }
        main().click("cmdSave");
        EXPECT_EQ(stored(1).value(Field::Genre), "IN");
    }
}

TEST_F(PickersTest, TypedGenreCodeUpdatesTheName) {
    startEdit();
    main()["txtGenre"].text = "MU";
    event("txtGenre", EventKind::Change);
    EXPECT_EQ(text("txtGenreList"), "Musicals");
    main()["txtGenre"].text = "M";
    event("txtGenre", EventKind::Change);
    EXPECT_EQ(text("txtGenreList"), "");
}

TEST_F(PickersTest, GuidedLaserEntryGoesAspectClvColourThenPageTwo) {
    startNew();
    enter("txtFormat");
    moveTo("List3", 1);
    pressEnter("List3");
    EXPECT_EQ(text("txtFormat"), "Laser");
    EXPECT_TRUE(shown("txtCLV1"));
    EXPECT_FALSE(shown("txtCassNo"));
    EXPECT_EQ(main().focus(), "txtNumReel");
    main()["txtNumReel"].text = "2";
    enter("txtGenre");
    mouseOn("List1", 7);  // DR
    EXPECT_EQ(main().focus(), "txtTime");
    enter("txtLetter");
    EXPECT_EQ(main().currentHelpContext(), 500);
    moveTo("List4", 2);
    pressEnter("List4");
    EXPECT_EQ(text("txtLetter"), "TV 1.33:1");
    // Straight on to CAV/CLV, whose first item is CLV.
    ASSERT_TRUE(shown("List5"));
    EXPECT_EQ(main().focus(), "List5");
    EXPECT_EQ(main()["List5"].listIndex, 0);
    pressEnter("List5");
    EXPECT_EQ(text("txtCLV1"), "CLV");
    ASSERT_TRUE(shown("List6"));
    EXPECT_EQ(state().GuidedStep, Guided::AfterColour);
    EXPECT_EQ(main().currentHelpContext(), 18);
    mouseOn("List6", 1);
    EXPECT_EQ(text("txtColor1"), "B & W");
    EXPECT_TRUE(state().NotesPage);
    EXPECT_TRUE(shown("txtProducer"));
    EXPECT_EQ(main().focus(), "txtProducer");

    main()["txtTitle"].text = "Laser disc";
    main().click("cmdSave");
    FilmRecord r = stored(3);
    EXPECT_EQ(r.field(Field::Format), "L");
    EXPECT_EQ(r.field(Field::Genre), "DR");
    EXPECT_EQ(r.field(Field::Letter), "T");
    EXPECT_EQ(r.field(Field::CLV), "CLV");
    EXPECT_EQ(r.field(Field::Color), "B & W ");
    EXPECT_EQ(r.field(Field::NumReel), "2");
}

TEST_F(PickersTest, GuidedVhsAndDvdEntriesSkipCavClv) {
    for (int format : {0, 2}) {  // DVD, VHS
        SCOPED_TRACE(format);
        freshCatalogue();
        startNew();
        enter("txtFormat");
        mouseOn("List3", format);
        EXPECT_EQ(shown("txtCassNo"), format == 2);
        EXPECT_FALSE(shown("txtCLV1"));
        if (format == 2) {
            // The first key typed into the cassette number opens the aspect list.
            main()["txtCassNo"].text = "1";
            event("txtCassNo", EventKind::Change);
            ASSERT_TRUE(shown("List4"));
            EXPECT_EQ(text("txtCassNo"), "1");
        } else {
            enter("txtLetter");
        }
        moveTo("List4", 1);
        pressEnter("List4");
        EXPECT_EQ(text("txtLetter"), "Pan & Scan");
        EXPECT_FALSE(shown("List5"));
        ASSERT_TRUE(shown("List6"));
        pressEnter("List6");
        EXPECT_EQ(text("txtColor1"), "Color");
        EXPECT_TRUE(state().NotesPage);
        main()["txtTitle"].text = "T";
        main().click("cmdSave");
        EXPECT_EQ(stored(3).field(Field::Letter), "P");
        EXPECT_EQ(stored(3).field(Field::Format), format == 2 ? "V" : "D");
        EXPECT_EQ(stored(3).field(Field::CLV), "   ");
    }
}

TEST_F(PickersTest, PageTwoGuidedTurns) {
    startNew();
    main().click("optnoteson");
    EXPECT_EQ(main().focus(), "txtProducer");
    event("txtMusic", EventKind::LostFocus);
    EXPECT_EQ(main().focus(), "txtChoreography");
    enter("txtRating");
    moveTo("List2", 3);
    pressEnter("List2");
    EXPECT_EQ(text("txtRating"), "R");
    EXPECT_EQ(main().focus(), "txtPackage");
    event("txtRatings", EventKind::LostFocus);
    EXPECT_EQ(text("lblNotes1"),
              "\nYou have finished inputting on page 1. and 2. \nClick \"Save Button\" or hit "
              "Alt\"S to save your work.");
    EXPECT_EQ(main().focus(), "cmdSave");
}

TEST_F(PickersTest, EditingChoicesReturnToSave) {
    startEdit();
    enter("txtFormat");
    mouseOn("List3", 1);
    EXPECT_EQ(text("txtFormat"), "Laser");
    EXPECT_EQ(main().focus(), "cmdSave");
    EXPECT_EQ(text("lblSorting"), "Save Work When Finished!");
    event("txtFormat", EventKind::LostFocus);
    EXPECT_TRUE(main()["txtCLV1"].enabled);
    enter("txtColor1");
    pressEnter("List6");
    EXPECT_EQ(main().focus(), "cmdSave");
    EXPECT_FALSE(state().NotesPage);
    main().click("cmdSave");
    EXPECT_EQ(stored(1).field(Field::Format), "L");
    EXPECT_EQ(stored(1).value(Field::Color), "Color");
}

TEST_F(PickersTest, ListsCloseWhenTheUserMovesOn) {
    startNew();
    enter("txtLetter");
    ASSERT_TRUE(shown("List4"));
    main().click("txtYear");
    EXPECT_FALSE(shown("List4"));
    enter("txtFormat");
    enter("txtNumReel");
    EXPECT_FALSE(shown("List3"));
    main().click("optnoteson");
    enter("txtRating");
    event("txtLabel", EventKind::LostFocus);
    EXPECT_FALSE(shown("List2"));
    // Typing into a box whose list is open takes the selection and closes it.
    main().click("optNotesoff");
    enter("txtColor1");
    moveTo("List6", 1);
    event("txtColor1", EventKind::Change);
    EXPECT_FALSE(shown("List6"));
    EXPECT_EQ(text("txtColor1"), "B & W");
}

// With a list open, a press on its own box takes the list's selection and
// closes the list; it does not close and reopen it. The keyboard user gets
// there with Shift+Tab, and typing in the box does the same.
TEST_F(PickersTest, PressOnTheBoxOfAnOpenListTakesItsSelection) {
    writeFilms({makeFilm({{Field::Title, "Edited"}, {Field::Format, "D"}})});
    launchToMain();
    main().click("cmdEdit");
    clickOn("txtFormat");
    ASSERT_TRUE(shown("List3"));
    EXPECT_EQ(main().focus(), "List3");
    EXPECT_FALSE(main()["txtCLV1"].enabled);  // the box was left with "DVD" in it
    moveTo("List3", 1);
    clickOn("txtFormat");
    EXPECT_FALSE(shown("List3"));
    EXPECT_EQ(text("txtFormat"), "Laser");
    EXPECT_EQ(main().focus(), "cmdSave");
    EXPECT_EQ(text("lblSorting"), "Save Work When Finished!");
    EXPECT_TRUE(main()["txtCLV1"].enabled);  // left again, now with "Laser"

    enter("txtFormat");
    ASSERT_TRUE(shown("List3"));
    moveTo("List3", 2);
    enter("txtFormat");  // Shift+Tab back from the list
    EXPECT_TRUE(shown("List3"));
    EXPECT_EQ(main()["List3"].listIndex, 2);
    main()["txtFormat"].text = "VHSx";
    event("txtFormat", EventKind::Change);
    EXPECT_FALSE(shown("List3"));
    EXPECT_EQ(text("txtFormat"), "VHS");
    EXPECT_EQ(main().focus(), "cmdSave");
    main().click("cmdSave");
    EXPECT_EQ(stored(1).field(Field::Format), "V");
}

// Leaving the format box sets the CAV/CLV box by the word in it, whether the
// browsing guard or the format list takes the focus away.
TEST_F(PickersTest, LeavingTheFormatBoxSetsTheCavClvBox) {
    writeFilms({makeFilm({{Field::Title, "Tape"}, {Field::Format, "V"}}),
                makeFilm({{Field::Title, "Disc"}, {Field::Format, "L"}})});
    launchToMain();
    answer(MsgResult::Ok);
    enter("txtFormat");
    EXPECT_FALSE(main()["txtCLV1"].enabled);
    main().click("cmdNext");
    answer(MsgResult::Ok);
    answer(MsgResult::Ok);
    clickOn("txtFormat");
    EXPECT_TRUE(main()["txtCLV1"].enabled);
    EXPECT_EQ(platform.unanswered, 0);

    // In a guided entry the list's choice goes on to the next box, which is
    // leaving the format box with the word chosen.
    answer(MsgResult::Yes);
    main().click("cmdNew");
    enter("txtFormat");
    moveTo("List3", 2);
    clickOn("txtFormat");
    EXPECT_EQ(text("txtFormat"), "VHS");
    EXPECT_EQ(main().focus(), "txtNumReel");
    EXPECT_FALSE(main()["txtCLV1"].enabled);
}

TEST_F(PickersTest, AbandoningAnEntryClosesItsList) {
    startNew();
    enter("txtGenre");
    main().click("cmdNext");
    EXPECT_FALSE(shown("List1"));
    EXPECT_TRUE(shown("txtGenre"));
    EXPECT_EQ(main().helpContext, 0);
}

}  // namespace
}  // namespace reel::testing
