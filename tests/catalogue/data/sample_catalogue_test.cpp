// Checks the sample catalogue the build puts into the share folder: the files
// `make run` copies into the user's working folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>

#include "data/collating_table.h"
#include "data/colour_files.h"
#include "data/count_files.h"
#include "data/master_file.h"
#include "temp_dir.h"

namespace reel {
namespace {

using testing::TempDir;

// The build's share folder: REELBOOK_SHARE_DIR when set, else found from the
// test program, since the build tree mirrors the install layout (bin/, share/).
std::string shareFolder() {
    if (const char* share = std::getenv("REELBOOK_SHARE_DIR"); share && *share) return share;
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : (exe.parent_path().parent_path() / "share/reelbook").string();
}

class SampleCatalogue : public ::testing::Test {
  protected:
    void SetUp() override {
        sample_ = shareFolder() + "/sample";
        ASSERT_TRUE(std::filesystem::exists(sample_ + "/Tavlen.Dat")) << sample_;
        // Work on a copy: opening locks the file, and the build's copy must stay as built.
        std::filesystem::copy(sample_, copy_.path(),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
    }

    std::string sample_;
    TempDir copy_;
};

TEST_F(SampleCatalogue, HoldsAtLeastFortyCompleteFilms) {
    EXPECT_EQ(std::filesystem::file_size(copy_.file("Tavlen.Dat")) % 649, 0u);
    MasterFile master(copy_.path());
    ASSERT_TRUE(master.open());
    ASSERT_GE(master.recordCount(), 40);
    EXPECT_EQ(master.freeSlot(), master.recordCount() + 1);

    const std::set<std::string> genres = {"AA", "AD", "AN", "CH", "CL", "CO", "DO",
                                          "DR", "FA", "FO", "FM", "HO", "IN", "MU",
                                          "MS", "MY", "NA", "SF", "SI", "WE"};
    std::set<std::string> formats;
    for (std::int32_t n = 1; n <= master.recordCount(); ++n) {
        const FilmRecord film = master.readRecord(n);
        SCOPED_TRACE(film.value(Field::Title));
        EXPECT_EQ(film.bytes().substr(647), "\r\n");
        EXPECT_FALSE(film.value(Field::Title).empty());
        EXPECT_FALSE(film.value(Field::Director).empty());
        EXPECT_EQ(film.value(Field::Year).size(), 4u);
        EXPECT_TRUE(genres.count(film.value(Field::Genre)));
        const std::string format = film.value(Field::Format);
        formats.insert(format);
        EXPECT_TRUE(format == "V" || format == "L" || format == "D");
        EXPECT_EQ(film.bytes().find('?'), std::string::npos);
    }
    EXPECT_EQ(formats, (std::set<std::string>{"D", "L", "V"}));
}

TEST_F(SampleCatalogue, AccentedNamesAreStoredInTheFileCodePage) {
    MasterFile master(copy_.path());
    ASSERT_TRUE(master.open());
    bool found = false;
    for (std::int32_t n = 1; n <= master.recordCount(); ++n) {
        const FilmRecord film = master.readRecord(n);
        if (film.value(Field::Title) != "Am\xC3\xA9lie") continue;
        found = true;
        EXPECT_EQ(film.bytes().substr(0, 7), "Am\xE9lie ");
    }
    EXPECT_TRUE(found);
}

TEST_F(SampleCatalogue, CarriesTheTableZeroCountsAndDefaultColours) {
    EXPECT_EQ(copy_.read("UPPER.ALT"), caseBlindCollatingTable());
    for (const auto name : {TitleCountFile, DvdCountFile, LaserCountFile, VhsCountFile}) {
        EXPECT_EQ(copy_.read(name), " 0\r\n") << name;
    }
    EXPECT_EQ(copy_.read(BackgroundColourFile), "16711680\r\n");
    EXPECT_EQ(copy_.read(TextBoxBackColourFile), "16777215\r\n");
    EXPECT_EQ(copy_.read(TextColourFile), "16711680\r\n");
    EXPECT_EQ(copy_.read(LabelColourFile), "65535\r\n");
    EXPECT_FALSE(std::filesystem::exists(copy_.file("Fo")));
}

}  // namespace
}  // namespace reel
