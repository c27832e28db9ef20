// The File menu's export and import, driven through the main screen with the
// scripted platform: the screen keeps its lock on the catalogue, so import
// must hand it over and take it back.
#include <gtest/gtest.h>

#include <algorithm>

#include "../screen/screen_fixture.h"
#include "exchange/catalogue_import.h"
#include "exchange/exchange_menu.h"

namespace reel::testing {
namespace {

class ExchangeMenu : public ScreenTest {
  protected:
    void SetUp() override {
        writeNumberedFilms(2);
        writeFile("Titleqen", " 2\r\n");
        launchToMain();
        ASSERT_TRUE(main().master.isOpen());
    }
    void click(const char* item) { event(item, EventKind::Click); }
};

TEST_F(ExchangeMenu, ItemsFollowTheFileMenusOwnWithTheirCaptions) {
    const std::vector<std::string>& names = main().controlNames();
    const auto at = [&](const std::string& name) {
        return std::find(names.begin(), names.end(), name) - names.begin();
    };
    EXPECT_LT(at("mnuExit"), at(exchange::ExportMenuItem));
    EXPECT_LT(at(exchange::ExportMenuItem), at(exchange::ImportMenuItem));
    EXPECT_EQ(main()[exchange::ExportMenuItem].text, "Export to CSV\xE2\x80\xA6");
    EXPECT_EQ(main()[exchange::ImportMenuItem].text, "Import from CSV\xE2\x80\xA6");
    EXPECT_EQ(main()[exchange::ImportMenuItem].parent, "mnuFileMenu");
    EXPECT_EQ(main()["mnuExit"].text, "E&xit");
}

TEST_F(ExchangeMenu, ImportHandsTheLockOverAndShowsRecordOneWithIndexesUnsorted) {
    writeFile("new.csv", "Title,Format\r\nThird,VHS\r\nFourth,Laser\r\n");
    platform.files.push_back(dir + "/new.csv");
    click(exchange::ImportMenuItem);

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Information);
    EXPECT_NE(platform.lastMessage().find("2 films added"), std::string::npos)
        << platform.lastMessage();
    EXPECT_TRUE(main().master.isOpen());
    EXPECT_EQ(state().RecordCount, 4);
    EXPECT_EQ(state().CurrentRecord, 1);
    EXPECT_EQ(state().record.value(Field::Title), "Film 1");
    EXPECT_EQ(state().CountText[TitlesCount], "0");
    EXPECT_EQ(stored(4).value(Field::Title), "Fourth");
    EXPECT_EQ(stored(4).value(Field::Format), "L");
    // The screen holds the lock again: a second importer is refused.
    EXPECT_FALSE(exchange::importCatalogue(dir, "Title\r\nFifth\r\n").ok);
}

TEST_F(ExchangeMenu, ARefusedFileIsReportedLineByLineAndChangesNothing) {
    const std::string before = readFile("Tavlen.Dat");
    writeFile("bad.csv", "Title,Year\r\nOne,19901\r\n");
    platform.files.push_back(dir + "/bad.csv");
    click(exchange::ImportMenuItem);

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_NE(platform.lastMessage().find("line 2, column Year"), std::string::npos)
        << platform.lastMessage();
    EXPECT_EQ(readFile("Tavlen.Dat"), before);
    EXPECT_EQ(readFile("Titleqen"), " 2\r\n");
    EXPECT_TRUE(main().master.isOpen());
}

TEST_F(ExchangeMenu, ExportWritesTheChosenFileAndCancelDoesNothing) {
    platform.files.push_back(dir + "/out.csv");
    click(exchange::ExportMenuItem);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.lastMessage(), "2 films written to " + dir + "/out.csv.");
    EXPECT_EQ(readFile("out.csv").substr(0, 15), "Title,Director,");

    platform.files.push_back(std::nullopt);
    click(exchange::ExportMenuItem);
    platform.files.push_back(std::nullopt);
    click(exchange::ImportMenuItem);
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(main().master.isOpen());
}

TEST_F(ExchangeMenu, ImportWaitsUntilTheFilmBeingEnteredIsSaved) {
    answer(MsgResult::Yes);  // "Are you sure you want to add a new record?"
    click("cmdNew");
    ASSERT_TRUE(state().EntryMode);
    const std::size_t shown = platform.messages.size();
    click(exchange::ImportMenuItem);
    ASSERT_EQ(platform.messages.size(), shown + 1);
    EXPECT_NE(platform.lastMessage().find("before importing"), std::string::npos);
    EXPECT_TRUE(platform.files.empty());
    EXPECT_TRUE(std::none_of(platform.log.begin(), platform.log.end(),
                             [](const std::string& l) { return l.starts_with("choose file"); }));
}

}  // namespace
}  // namespace reel::testing
