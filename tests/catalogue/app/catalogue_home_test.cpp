// The per-user catalogue folder and its first start, without a display.
#include "app/catalogue_home.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <map>

#include "../data/temp_dir.h"

namespace reel {
namespace {

namespace fs = std::filesystem;

Environment fakeEnvironment(std::map<std::string, std::string> values) {
    return [values](const char* name) -> std::optional<std::string> {
        auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    };
}

TEST(CatalogueHome, FolderFollowsTheXdgRule) {
    struct Case {
        std::map<std::string, std::string> env;
        std::string folder;
    };
    const Case cases[] = {
        {{{"HOME", "/home/ann"}}, "/home/ann/.local/share/reelbook"},
        {{{"HOME", "/home/ann/"}, {"XDG_DATA_HOME", ""}}, "/home/ann/.local/share/reelbook"},
        {{{"HOME", "/home/ann"}, {"XDG_DATA_HOME", "/data/ann"}}, "/data/ann/reelbook"},
        // A relative XDG_DATA_HOME is not valid and is ignored.
        {{{"HOME", "/home/ann"}, {"XDG_DATA_HOME", "data"}}, "/home/ann/.local/share/reelbook"},
        {{{"XDG_DATA_HOME", "/data/ann"}}, "/data/ann/reelbook"},
        // Never the working folder: without a home there is no default.
        {{}, ""},
        {{{"HOME", ""}}, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(userCatalogueFolder(fakeEnvironment(c.env)), c.folder);
}

TEST(CatalogueHome, FirstStartMakesAPrivateFolderUntilACatalogueExists) {
    testing::TempDir home;
    const std::string folder = home.path() + "/.local/share/reelbook";

    const CatalogueFolder first = prepareCatalogueFolder(folder);
    ASSERT_TRUE(first.result.ok) << first.result.message;
    EXPECT_TRUE(first.firstStart);
    struct stat info {};
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    // Nothing lands in the home folder itself.
    EXPECT_EQ(std::distance(fs::directory_iterator(home.path()), fs::directory_iterator()), 1);

    // Still a first start while no master file exists.
    EXPECT_TRUE(prepareCatalogueFolder(folder).firstStart);
    std::ofstream(folder + "/Tavlen.Dat") << "";
    const CatalogueFolder later = prepareCatalogueFolder(folder);
    EXPECT_TRUE(later.result.ok);
    EXPECT_FALSE(later.firstStart);
}

TEST(CatalogueHome, AFolderThatCannotBeMadeIsReported) {
    testing::TempDir home;
    home.write("file", "x");
    const CatalogueFolder folder = prepareCatalogueFolder(home.file("file") + "/reelbook");
    EXPECT_FALSE(folder.result.ok);
    EXPECT_NE(folder.result.message.find(home.file("file")), std::string::npos);
}

TEST(CatalogueHome, SampleCopyKeepsTheUsersFiles) {
    testing::TempDir sample;
    sample.write("Tavlen.Dat", "films");
    sample.write("BGColor", "sample colour");
    testing::TempDir folder;
    folder.write("BGColor", "user colour");

    const IoResult copied = copySampleCatalogue(sample.path(), folder.path());
    ASSERT_TRUE(copied.ok) << copied.message;
    EXPECT_EQ(folder.read("Tavlen.Dat"), "films");
    EXPECT_EQ(folder.read("BGColor"), "user colour");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);

    const IoResult missing = copySampleCatalogue(sample.file("none"), folder.path());
    EXPECT_FALSE(missing.ok);
}

}  // namespace
}  // namespace reel
