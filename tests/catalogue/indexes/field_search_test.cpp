// The field searches: matching rule, continuation with Match, the end and
// not-found messages and headings of the thirteen kinds.
#include "index_fixture.h"
#include "indexes/field_search_table.h"

namespace reel::testing {
namespace {

using FieldSearchTest = IndexTest;

TEST_F(FieldSearchTest, LowerCaseTextInsideANameMatchesWithATrailingBlankItDoesNot) {
    writeFilms({film({{Field::Title, "Jaws"}, {Field::Director, "Steven Spielberg"}}),
                film({{Field::Title, "Heat"}, {Field::Director, "Michael Mann"}})});
    launch();
    type("mann");
    click("mnuFindDirector");
    EXPECT_EQ(platform.prompts.back(), "Enter Director. To Search: ");
    EXPECT_EQ(state().CurrentRecord, 2);
    EXPECT_EQ(state().cursor.SearchMode, Search::Results);
    EXPECT_EQ(state().cursor.LastSearch, "Director");
    EXPECT_EQ(text("lblHead"), " Viewing Files for Director Michael Mann" + std::string(18, ' '));

    type("mann ");
    click("mnuFindDirector");
    EXPECT_EQ(platform.lastMessage(), "The search for \"MANN \" was not found. ");
    EXPECT_EQ(platform.messages.back().caption, "DIRECTOR SEARCH");
    EXPECT_EQ(state().CurrentRecord, 1);
    EXPECT_EQ(state().cursor.SearchMode, Search::None);
}

TEST_F(FieldSearchTest, MatchContinuesAndTheOnlyHitInTheLastRecordEndsWithEndOfFile) {
    writeFilms({film({{Field::Title, "A"}, {Field::Sound, "Mono"}}),
                film({{Field::Title, "B"}, {Field::Sound, "Dolby Stereo"}}),
                film({{Field::Title, "C"}, {Field::Sound, "THX"}})});
    launch();
    type("thx");
    click("mnuSound");
    EXPECT_EQ(platform.prompts.back(), "Enter Sound To Search: \n\rTHX Dolby Etc.");
    EXPECT_EQ(state().CurrentRecord, 3);
    EXPECT_EQ(text("lblHead"), "Viewing Sound Recording in THX");
    click("cmdNext");  // inert while a result is shown
    EXPECT_EQ(state().CurrentRecord, 3);
    click("cmdMatch");
    EXPECT_EQ(platform.lastMessage(), "End of file!");
    EXPECT_EQ(platform.messages.back().caption, "SOUND RECORDING SEARCH");
    EXPECT_EQ(platform.beeps, 1);
    EXPECT_EQ(state().CurrentRecord, 1);
    EXPECT_EQ(state().cursor.LastSearch, "");
    EXPECT_EQ(platform.prompts.size(), 1u);  // Match asked nothing

    type("o");
    click("mnuSound");
    EXPECT_EQ(title(), "A");
    click("cmdMatch");
    EXPECT_EQ(title(), "B");
    EXPECT_TRUE(module->continuing("Sound"));
}

TEST_F(FieldSearchTest, StarSearchNamesTheFirstMatchingStarAndQuotesAsTyped) {
    writeFilms({film({{Field::Title, "A"}, {Field::Star1, "Cary Grant"}}),
                film({{Field::Title, "B"},
                      {Field::Star2, "Ann Todd"},
                      {Field::Star4, "Grace Kelly"},
                      {Field::Star5, "Kelly Rowe"}})});
    launch();
    type("kElLy");
    click("mnuFindStar");
    EXPECT_EQ(state().CurrentRecord, 2);
    EXPECT_EQ(text("lblHead"), "Viewing Files For  Grace Kelly" + std::string(19, ' '));
    type("Nobody");
    click("mnuFindStar");
    EXPECT_EQ(platform.lastMessage(), "The search for \"Nobody\" was not found.");
    EXPECT_EQ(platform.messages.back().caption, "STAR 1 SEARCH");
}

TEST_F(FieldSearchTest, MpaaPgMatchesThreeRatingsWithTheirHeadings) {
    writeFilms({film({{Field::Title, "A"}, {Field::Rating, "PG"}}),
                film({{Field::Title, "B"}, {Field::Rating, "R"}}),
                film({{Field::Title, "C"}, {Field::Rating, "PG-13"}}),
                film({{Field::Title, "D"}, {Field::Rating, "TV-PG"}})});
    launch();
    type("pg");
    click("mnuMPAA");
    EXPECT_EQ(text("lblHead"), "MPAA Rating is  PG   ");
    click("cmdMatch");
    EXPECT_EQ(text("lblHead"), "MPAA Rating is  PG-13");
    click("cmdMatch");
    EXPECT_EQ(text("lblHead"), "TV Rating is  TV-PG");
    click("cmdMatch");
    EXPECT_EQ(platform.lastMessage(), "End of file!");
    EXPECT_EQ(platform.messages.back().caption, "MPAA RATINGS SEARCH");
}

TEST_F(FieldSearchTest, TitleSearchWordingAndEmptyAnswer) {
    writeFilms({film("Heat")});
    launch();
    type("zz");
    click("mnuFindTitle");
    EXPECT_EQ(platform.lastMessage(), "The search for\"ZZ\" was not found.");
    type("");
    click("mnuFindTitle");
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(state().cursor.SearchMode, Search::None);
}

TEST_F(FieldSearchTest, AccentedLettersMatchWhateverTheirCase) {
    writeFilms({film({{Field::Title, "Amélie"}, {Field::Director, "Jean-Pierre Jeunet"}})});
    launch();
    type("AMÉL");
    click("mnuFindTitle");
    EXPECT_EQ(title(), "Amélie");
}

// Every kind: its prompt and input title, its start heading, and the
// not-found title (no film has any of the fields filled).
TEST_F(FieldSearchTest, EveryKindAsksAndReportsWithItsOwnTexts) {
    writeFilms({film("Heat")});
    launch();
    const std::pair<const char*, const char*> menus[] = {
        {"mnuFindTitle", "Title"}, {"mnuFindDirector", "Director"},
        {"mnuFindStar", "Star"},   {"mnuProducer", "Producer"},
        {"mnuCinema", "Cinema"},   {"mnuWriter", "Writer"},
        {"mnuMusic", "Music"},     {"mnuArt", "Art"},
        {"mnuDance", "Dance"},     {"mnuCostume", "Costume"},
        {"mnuAwards", "Awards"},   {"mnuMPAA", "MPAA"},
        {"mnuSound", "Sound"}};
    for (const auto& [menu, kind] : menus) {
        const FieldSearchKind& k =
            fieldSearchKinds()[static_cast<std::size_t>(fieldSearchIndex(kind))];
        main()["cmdMatch"].text = "Match";
        type("qqq");
        const std::size_t before = platform.log.size();
        click(menu);
        ASSERT_GT(platform.log.size(), before);
        EXPECT_EQ(platform.log[before],
                  "input: " + std::string(k.prompt) + " [" + std::string(k.inputTitle) + "]")
            << menu;
        EXPECT_EQ(platform.messages.back().caption, k.notFoundTitle) << menu;
        EXPECT_EQ(main()["cmdMatch"].text, k.setsMatchCaption ? "&Match" : "Match") << menu;
    }
}

TEST_F(FieldSearchTest, NoHitAfterAListIsNotFoundAndTheListEnds) {
    std::vector<FilmRecord> films;
    std::vector<std::pair<std::string, int>> entries;
    for (int i = 1; i <= 25; ++i) {
        films.push_back(film({{Field::Title, "Film " + std::to_string(100 + i)},
                              {Field::Format, "D"},
                              {Field::Director, "Ford"}}));
        entries.push_back({"Film " + std::to_string(100 + i), i});
    }
    writeFilms(films);
    writeIndex("Titleqen.Dat", "Titleqen", entries);
    launch();
    click("mnuAllTitles");
    ASSERT_EQ(state().cursor.ListKind, Listing::Grid);
    type("Hawks");
    click("mnuFindDirector");
    EXPECT_EQ(platform.lastMessage(), "The search for \"HAWKS\" was not found. ");
    EXPECT_FALSE(shown("Text1_0"));
    EXPECT_EQ(state().cursor.ListKind, Listing::None);

    click("mnuAllTitles");
    type("ford");
    click("mnuFindDirector");
    EXPECT_EQ(state().CurrentRecord, 1);
    EXPECT_FALSE(shown("Text1_0"));
    EXPECT_FALSE(shown("cmdNext20"));
    EXPECT_TRUE(shown("cmdPrevious"));
}

}  // namespace
}  // namespace reel::testing
