// The safe copy and the folder and file lists of the copy window.
#include "prefs/file_copy.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>

#include "../data/temp_dir.h"
#include "prefs/folder_listing.h"
#include "unprivileged.h"

namespace reel::testing {
namespace {

// Caps the size of any file this process writes, so a copy meets a "full
// volume" even when the tests run as root (who may write to read-only folders).
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void setModified(const std::string& path, std::time_t when) {
    const timespec times[2] = {{when, 0}, {when, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(SafeCopy, CopiesEveryByteAndKeepsTheDate) {
    TempDir from, to;
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7 % 251);
    from.write("Tavlen.Dat", bytes);
    setModified(from.file("Tavlen.Dat"), 1700000000);

    ASSERT_TRUE(copyFileSafely(from.file("Tavlen.Dat"), to.file("Tavlen.Dat")));
    EXPECT_EQ(to.read("Tavlen.Dat"), bytes);
    const FileLookup copy = lookUpFile(to.file("Tavlen.Dat"));
    ASSERT_TRUE(copy.exists);
    EXPECT_EQ(copy.facts.size, 200000);
    EXPECT_EQ(copy.facts.modified, 1700000000);
    EXPECT_EQ(namesIn(to.path()), std::vector<std::string>{"Tavlen.Dat"});

    // A second copy replaces the first whole.
    from.write("Tavlen.Dat", "short");
    ASSERT_TRUE(copyFileSafely(from.file("Tavlen.Dat"), to.file("Tavlen.Dat")));
    EXPECT_EQ(to.read("Tavlen.Dat"), "short");
}

TEST(SafeCopy, FullVolumeLeavesTheOldFileWholeAndNoTemporaryFile) {
    TempDir from, to;
    from.write("Tavlen.Dat", std::string(64900, 'x'));
    to.write("Tavlen.Dat", "old contents");
    CopyResult result;
    {
        FileSizeLimit limit(4096);
        result = copyFileSafely(from.file("Tavlen.Dat"), to.file("Tavlen.Dat"));
    }
    EXPECT_FALSE(result);
    EXPECT_EQ(result.error, EFBIG);
    EXPECT_FALSE(result.sourceFailed);
    EXPECT_FALSE(isNotReadyError(result.error));
    EXPECT_EQ(to.read("Tavlen.Dat"), "old contents");
    EXPECT_EQ(namesIn(to.path()), std::vector<std::string>{"Tavlen.Dat"});
}

TEST(SafeCopy, MissingPlaceAndMissingSourceAreToldApart) {
    TempDir from, to;
    from.write("Tavlen.Dat", "data");
    const CopyResult noPlace = copyFileSafely(from.file("Tavlen.Dat"), to.file("gone/Tavlen.Dat"));
    EXPECT_EQ(noPlace.error, ENOENT);
    EXPECT_FALSE(noPlace.sourceFailed);
    EXPECT_TRUE(isNotReadyError(noPlace.error));

    const CopyResult noSource = copyFileSafely(from.file("Other.Dat"), to.file("Other.Dat"));
    EXPECT_TRUE(noSource.sourceFailed);
    EXPECT_FALSE(std::filesystem::exists(to.file("Other.Dat")));
}

// Root may write into a read-only folder: the copy runs as an unprivileged
// user then.
TEST(SafeCopy, ReadOnlyFolderIsRefusedWithItsReason) {
    TempDir from, to;
    from.write("Tavlen.Dat", "new");
    to.write("Tavlen.Dat", "old");
    ASSERT_TRUE(handToUnprivilegedUser(from.path()) && handToUnprivilegedUser(to.path()));
    std::filesystem::permissions(
        to.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const std::string seen = runUnprivileged([&] {
        const CopyResult result = copyFileSafely(from.file("Tavlen.Dat"), to.file("Tavlen.Dat"));
        return std::to_string(result.error) + (isNotReadyError(result.error) ? " not ready" : "");
    });
    EXPECT_EQ(seen, std::to_string(EACCES));
    EXPECT_EQ(to.read("Tavlen.Dat"), "old");
}

TEST(SafeCopy, LookingAtFilesAndFolders) {
    TempDir place;
    place.write("a.dat", "12345");
    std::filesystem::create_directory(place.file("sub"));
    EXPECT_FALSE(lookUpFile(place.file("missing.dat")).exists);
    EXPECT_EQ(lookUpFile(place.file("missing.dat")).error, 0);
    EXPECT_EQ(lookUpFile(place.file("sub")).error, EISDIR);
    EXPECT_EQ(lookUpFile(place.file("a.dat")).facts.size, 5);
    EXPECT_EQ(checkFolder(place.path()), 0);
    EXPECT_EQ(checkFolder(place.file("a.dat")), ENOTDIR);
    EXPECT_EQ(checkFolder(place.file("nowhere")), ENOENT);
}

TEST(CopyLists, OnlyDataFilesInAnyCaseAreOffered) {
    TempDir folder;
    for (const char* name : {"Tavlen.Dat", "Titleqen.Dat", "DVDqen.DAT", "notes.txt", "BGColor",
                             "Titleqen", ".hidden.dat", "a.datx", "zeta.dat"})
        folder.write(name, "x");
    std::filesystem::create_directory(folder.file("folder.dat"));
    EXPECT_EQ(dataFiles(folder.path()),
              (std::vector<std::string>{"DVDqen.DAT", "Tavlen.Dat", "Titleqen.Dat", "zeta.dat"}));
    EXPECT_TRUE(dataFiles(folder.file("nowhere")).empty());
}

TEST(CopyLists, FolderViewShowsThePathDownAndTheSubfolders) {
    TempDir root;
    std::filesystem::create_directories(root.file("films/Beta"));
    std::filesystem::create_directories(root.file("films/alpha"));
    std::filesystem::create_directories(root.file("films/.cache"));
    const std::string films = root.file("films");
    const FolderView view = folderView(films);

    const std::size_t depth = std::count(films.begin(), films.end(), '/');
    ASSERT_EQ(view.lines.size(), depth + 1 + 2);
    EXPECT_EQ(view.lines.front().shown, "/");
    EXPECT_EQ(view.lines.front().path, "/");
    EXPECT_EQ(view.current, static_cast<int>(depth));
    EXPECT_EQ(view.lines[depth].path, films);
    EXPECT_EQ(view.lines[depth].shown, std::string(depth * 2, ' ') + "films");
    EXPECT_EQ(view.lines[depth + 1].shown, std::string(depth * 2 + 2, ' ') + "alpha");
    EXPECT_EQ(view.lines[depth + 2].path, films + "/Beta");

    EXPECT_EQ(folderView("/").lines.front().path, "/");
    EXPECT_EQ(folderView("/").current, 0);
    EXPECT_EQ(absoluteFolder(films + "/alpha/../Beta/"), films + "/Beta");
}

}  // namespace
}  // namespace reel::testing
