// The record display: pads, format and aspect words, genre names, the boxes
// chosen by format, caption and headings.
#include "screen_fixture.h"

namespace reel::testing {
namespace {

class ShowRecordTest : public ScreenTest {
  protected:
    void showFilm(const FilmFields& fields) {
        writeFilms({makeFilm(fields), titled("Second", "D")});
        launchToMain();
    }
};

TEST_F(ShowRecordTest, NamesArePaddedWhileBrowsingAndBareWhileEditing) {
    showFilm({{Field::Title, "Alien"},
              {Field::Director, "Ridley Scott"},
              {Field::Star1, "Sigourn"},          // 7 characters: counted 9
              {Field::Star2, "Tom Skerritt"},     // 12 characters: counted as is
              {Field::Label, "Twentieth Centu"},  // 15 characters: no pad
              {Field::Producer, "Gordon"},        // 6: counted 8, then the stored field
              {Field::Time, "117"},
              {Field::Year, "1979"},
              {Field::NumReel, "2"}});
    struct Expect {
        const char* box;
        std::string browsing;
        std::string editing;
    };
    const Expect cases[] = {
        {"txtTitle", std::string(35, ' ') + "Alien", "Alien"},
        {"txtDirector", std::string(18, ' ') + "Ridley Scott", "Ridley Scott"},
        {"txtStar1", std::string(21, ' ') + "Sigourn", "Sigourn"},
        {"txtStar2", std::string(18, ' ') + "Tom Skerritt", "Tom Skerritt"},
        {"txtLabel", "Twentieth Centu", "Twentieth Centu"},
        {"txtProducer", std::string(22, ' ') + "Gordon" + std::string(24, ' '), "Gordon"},
        {"txtTime", "     117", "117"},
        {"txtYear", "1979", "1979"},
        {"txtNumReel", "2", "2"},
    };
    for (const Expect& c : cases) EXPECT_EQ(text(c.box), c.browsing) << c.box;
    main().click("cmdEdit");
    for (const Expect& c : cases) EXPECT_EQ(text(c.box), c.editing) << c.box;
}

TEST_F(ShowRecordTest, FormatDecidesTheCavClvAndCassetteBoxes) {
    writeFilms({titled("Laser film", "L"), titled("Disc film", "D"), titled("Tape film", "v"),
                titled("Unknown", " ")});
    launchToMain();
    EXPECT_EQ(text("txtFormat"), "Laser");
    EXPECT_TRUE(shown("txtCLV1"));
    EXPECT_FALSE(shown("txtCassNo"));
    main().click("cmdNext");
    EXPECT_EQ(text("txtFormat"), "DVD");
    EXPECT_FALSE(shown("txtCLV1"));
    EXPECT_FALSE(shown("txtCassNo"));
    main().click("cmdNext");
    EXPECT_EQ(text("txtFormat"), "VHS");  // stored in lower case, shown in capitals
    EXPECT_FALSE(shown("txtCLV1"));
    EXPECT_TRUE(shown("txtCassNo"));
    main().click("cmdNext");  // a blank format leaves the boxes as they were
    EXPECT_EQ(text("txtFormat"), "");
    EXPECT_FALSE(shown("txtCLV1"));
    EXPECT_TRUE(shown("txtCassNo"));
}

TEST_F(ShowRecordTest, GenreCodeShowsItsName) {
    const std::pair<std::string, std::string> cases[] = {
        {"MU", "Musicals"}, {"in", "Instructional"}, {"  ", ""}, {"ZZ", ""}, {"FO", "Foreign"}};
    std::vector<FilmRecord> films;
    for (const auto& [code, name] : cases)
        films.push_back(makeFilm({{Field::Title, "T"}, {Field::Genre, code}}));
    writeFilms(films);
    launchToMain();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        if (i > 0) main().click("cmdNext");
        EXPECT_EQ(text("txtGenreList"), cases[i].second) << cases[i].first;
    }
}

TEST_F(ShowRecordTest, AspectWordsAndOtherLettersLeaveTheBox) {
    writeFilms({makeFilm({{Field::Title, "A"}, {Field::Letter, "W"}}),
                makeFilm({{Field::Title, "B"}, {Field::Letter, "T"}}),
                makeFilm({{Field::Title, "C"}, {Field::Letter, "P"}}),
                makeFilm({{Field::Title, "D"}, {Field::Letter, "X"}})});
    launchToMain();
    EXPECT_EQ(text("txtLetter"), "Wide Screen");
    main().click("cmdNext");
    EXPECT_EQ(text("txtLetter"), "TV 1.33:1");
    main().click("cmdNext");
    EXPECT_EQ(text("txtLetter"), "Pan & Scan");
    main()["txtLetter"].text = "left by the caller";
    state().CurrentRecord = 4;
    main().readRecord(4);
    main().ShowRecord();
    EXPECT_EQ(text("txtLetter"), "left by the caller");
}

TEST_F(ShowRecordTest, CaptionAndHeadingFollowTheView) {
    writeFilms({makeFilm({{Field::Title, "A"}, {Field::Genre, "WE"}})});
    launchToMain();
    struct Case {
        const char* mode;
        const char* caption;
        const char* heading;
    };
    const Case cases[] = {
        {"Title", "Reelvane Deluxe Record  1/ 1      Title Sorted All Formats",
         "Viewing All Titles Alphabetically"},
        {"DVD", "Reelvane Deluxe Record  1/ 1        DVD  Sorted",
         "Viewing All DVD Titles Alphabetically"},
        {"VHS", "Reelvane Deluxe Record  1/ 1        VHS  Sorted",
         "Viewing All VHS Titles Alphabetically"},
        {"Laser", "Reelvane Deluxe Record  1/ 1      Laser Sorted",
         "Viewing All Laser Titles Alphabetically"},
        {"Genre", "Reelvane Deluxe Record  1/ 1      Genre Sorted",
         "Viewing All Western Files Alphabetically"},
    };
    for (const Case& c : cases) {
        state().cursor.ViewMode = c.mode;
        main().ShowRecord();
        EXPECT_EQ(main().caption, c.caption);
        EXPECT_EQ(text("lblHead"), c.heading);
    }
    state().cursor.ViewMode = "";
    main()["lblHead"].text = "kept";
    main().ShowRecord();
    EXPECT_EQ(text("lblHead"), "kept");

    // The printing notice wins over everything, the New prompt included.
    state().HeadShown = Heading::None;
    state().PageNumber = 1;
    state().cursor.ViewMode = "Title";
    main().ShowRecord();
    EXPECT_EQ(text("lblHead"), "Please wait print spooler is loading files.");
    state().PageNumber = 0;
    main().ShowRecord();
    EXPECT_EQ(text("lblHead"), "To write a new record click \"New\" button.");
}

TEST_F(ShowRecordTest, NegativeNumbersAndResultLabels) {
    EXPECT_EQ(captionNumber(7), " 7");
    EXPECT_EQ(captionNumber(-7), "-7");
    writeNumberedFilms(1);
    launchToMain();
    main()["lblNumrec"].text = " 12";
    main()["lblRetcode"].text = " 0";
    main().ShowRecord();
    EXPECT_EQ(text("lblNumrec"), "");
    EXPECT_EQ(text("lblRetcode"), "");
}

TEST_F(ShowRecordTest, TypingLimitsFollowEntryMode) {
    writeNumberedFilms(1);
    launchToMain();
    EXPECT_EQ(main()["txtTitle"].maxLength, 0);
    main().click("cmdEdit");
    EXPECT_EQ(main()["txtTitle"].maxLength, 40);
    EXPECT_EQ(main()["txtWritten"].maxLength, 50);
    EXPECT_EQ(main()["txtFormat"].maxLength, 0);  // holds "Laser" though the field is 1 wide
    EXPECT_EQ(main()["txtLetter"].maxLength, 0);
    main().click("cmdSave");
    EXPECT_EQ(main()["txtTitle"].maxLength, 0);
}

}  // namespace
}  // namespace reel::testing
