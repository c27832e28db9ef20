// An index entry naming a record beyond the master file: every reader of the
// index stops, tells the user to rebuild, and never moves the screen (or a
// later Save) outside the file.
#include "index_fixture.h"

namespace reel::testing {
namespace {

class DamagedIndexTest : public IndexTest {
  protected:
    static constexpr int Films = 54;
    void SetUp() override {
        std::vector<FilmRecord> films;
        for (int i = 1; i <= Films; ++i) films.push_back(film("Film " + std::to_string(i)));
        writeFilms(films);
    }
};

struct Reader {
    const char* name;
    const char* menu;   // opens it on the first entry
    const char* step;   // then reaches the damaged second entry ("" when the menu does)
    const char* typed;  // answer to its input box, if it asks
};

TEST_F(DamagedIndexTest, EntryBeyondTheLastRecordStopsEveryReaderInPlace) {
    const Reader readers[] = {
        {"alphabetic view", "mnuByTitle", "cmdNext", ""},
        {"list view", "mnuAllTitles", "", ""},
        {"genre search", "mnuFindGenre", "cmdNext", "DR"},
    };
    for (const std::int32_t bad : {60, 100000, 999999999}) {
        for (const Reader& reader : readers) {
            SCOPED_TRACE(std::string(reader.name) + " at " + std::to_string(bad));
            writeIndex("Titleqen.Dat", "Titleqen", {{"Film 1", 1}, {"Film 2", bad}});
            const std::uintmax_t masterSize = size("Tavlen.Dat");
            launch();
            newMessages();
            if (*reader.typed) type(reader.typed);
            click(reader.menu);
            if (*reader.step) click(reader.step);

            const std::vector<RecordedMessage> told = newMessages();
            ASSERT_EQ(told.size(), 1u);
            EXPECT_EQ(told[0].text, "The index file Titleqen.Dat is damaged.  It names record " +
                                        std::to_string(bad) +
                                        ", but the last record is 54.\n\nChoose Sort All Files in "
                                        "the Sort menu to rebuild the indexes.");
            EXPECT_EQ(told[0].icon, MsgIcon::Exclamation);
            EXPECT_EQ(state().CurrentRecord, 1);
            EXPECT_EQ(title(), "Film 1");
            EXPECT_EQ(state().cursor.ViewMode, "");
            EXPECT_EQ(state().cursor.ListKind, Listing::None);
            EXPECT_FALSE(module->indexFile().isOpen());

            // Editing and saving the film on screen writes it where it belongs.
            click("cmdEdit");
            main()["txtDirector"].text = "Edited";
            click("cmdSave");
            EXPECT_EQ(readFile("Tavlen.Dat").substr(40, 6), "Edited");
            EXPECT_EQ(size("Tavlen.Dat"), masterSize);
            app.reset();
        }
    }
}

}  // namespace
}  // namespace reel::testing
