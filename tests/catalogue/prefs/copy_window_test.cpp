// File > Copy Files: the copy window with a scripted drive list of temporary folders.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "../data/temp_dir.h"
#include "../screen/screen_fixture.h"
#include "prefs/copy_messages.h"
#include "prefs/copy_window.h"
#include "unprivileged.h"

namespace reel::testing {
namespace {

class CopyWindowTest : public ScreenTest {
  protected:
    void SetUp() override {
        writeNumberedFilms(3);
        platform.volumes = {{"STICK", stick.path()}};
        launchToMain();
        master = readFile("Tavlen.Dat");
    }

    CopyWindow& copy() { return app->copyWindow(); }
    Control& control(const std::string& name) { return copy()[name]; }

    void openWindow() { main().click("mnuCopy"); }
    void clickFile(const std::string& name) {
        const auto& items = control("File1").items;
        const auto it = std::find(items.begin(), items.end(), name);
        ASSERT_NE(it, items.end()) << name;
        Event e{"File1", EventKind::Click};
        e.item = static_cast<int>(it - items.begin());
        copy().dispatch(e);
    }
    void chooseDrive(int index) {
        copy().dispatch(Event{"Drive1", EventKind::GotFocus});
        Event e{"Drive1", EventKind::Change};
        e.item = index;
        copy().dispatch(e);
    }
    // Opens the window, clicks the file and chooses the stick.
    void copyToStick(const std::string& file = "Tavlen.Dat") {
        openWindow();
        clickFile(file);
        chooseDrive(0);
    }

    TempDir stick;
    std::string master;
};

TEST_F(CopyWindowTest, OpeningClosesTheMasterFileAndShowsTheOpeningState) {
    writeFile("Titleqen.Dat", "index");
    writeFile("notes.txt", "not offered");
    writeFile("Titleqen", " 3\r\n");
    writeFile("BGColor", "255\r\n");
    openWindow();
    EXPECT_FALSE(main().master.isOpen());
    EXPECT_TRUE(copy().visible);
    EXPECT_EQ(copy().caption, "Copy Files");
    EXPECT_EQ(control("Dir1").text, dir);
    EXPECT_EQ(control("File1").items, (std::vector<std::string>{"Tavlen.Dat", "Titleqen.Dat"}));
    EXPECT_EQ(control("File1").listIndex, -1);
    EXPECT_EQ(control("Drive1").items, (std::vector<std::string>{"STICK", CopyChooseFolderEntry}));
    EXPECT_FALSE(control("Drive1").enabled);
    for (const char* hidden : {"Dir2", "File2", "lblCopy3", "lblCopy4", "lblCopy5", "lblCopy7"})
        EXPECT_FALSE(control(hidden).visible) << hidden;
    EXPECT_EQ(control("lblCopy").text, "Copy Data to Floppy");
    EXPECT_EQ(control("lblCopy4").text, "Click on \"a\" to copy data to  floppy drive \"a\"");

    clickFile("Tavlen.Dat");
    EXPECT_TRUE(control("lblCopy3").visible);
    EXPECT_TRUE(control("Drive1").enabled);
    copy().dispatch(Event{"Drive1", EventKind::GotFocus});
    EXPECT_TRUE(control("lblCopy4").visible);
    EXPECT_TRUE(control("lblCopy5").visible);
    EXPECT_FALSE(control("lblCopy7").visible);
}

TEST_F(CopyWindowTest, OnlyAFileTheUserPicksEnablesTheDriveList) {
    writeFile("Titleqen.Dat", "index");
    openWindow();
    EXPECT_EQ(copy().focus(), "Dir1");  // a file list taking the focus would pick a line itself
    struct Case {
        EventKind kind;
        int button, item;
        bool chooses;
    };
    const Case cases[] = {{EventKind::MouseDown, 2, 1, false},
                          {EventKind::MouseDown, 1, -1, false},
                          {EventKind::MouseDown, 1, 1, true},
                          {EventKind::DblClick, 1, 0, true}};
    for (const Case& c : cases) {
        openWindow();
        Event e{"File1", c.kind};
        e.button = c.button;
        e.item = c.item;
        copy().dispatch(e);
        EXPECT_EQ(control("Drive1").enabled, c.chooses) << c.button << " " << c.item;
        EXPECT_EQ(control("File1").listIndex, c.chooses ? c.item : -1);
        copy().dispatch(Event{"", EventKind::QueryClose});  // the next case opens afresh
    }
}

TEST_F(CopyWindowTest, CopyToAnEmptyVolumeAsksAndCreatesTheFileThenReopensTheMasterFile) {
    answer(MsgResult::Yes);
    copyToStick();
    ASSERT_EQ(platform.messages.size(), 1u);
    const RecordedMessage& question = platform.messages[0];
    EXPECT_EQ(question.text, "Do you want to copy Tavlen.Dat to Drive STICK hit Yes, or No ");
    EXPECT_EQ(question.icon, MsgIcon::Question);
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(question.caption, "Reelvane Deluxe Edition");
    EXPECT_EQ(stick.read("Tavlen.Dat"), master);
    EXPECT_FALSE(copy().visible);

    // Records still read and write through the reopened file.
    ASSERT_TRUE(main().master.isOpen());
    main().click("cmdNext");
    EXPECT_NE(main()["txtTitle"].text.find("Film 2"), std::string::npos);
    ASSERT_TRUE(main().master.writeRecord(4, titled("Film 4")));
    EXPECT_EQ(main().master.readRecord(4).field(Field::Title).substr(0, 6), "Film 4");
    EXPECT_EQ(main().master.recordCount(), 4);
}

TEST_F(CopyWindowTest, CopyingAgainShowsTheReplaceQuestionAndNoLeavesTheTargetAlone) {
    stick.write("Tavlen.Dat", "older copy");
    const std::time_t stickTime = 1600000000, masterTime = 1700000000;
    const timespec stickTimes[2] = {{stickTime, 0}, {stickTime, 0}};
    const timespec masterTimes[2] = {{masterTime, 0}, {masterTime, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, stick.file("Tavlen.Dat").c_str(), stickTimes, 0), 0);
    main().master.close();
    ASSERT_EQ(utimensat(AT_FDCWD, (dir + "/Tavlen.Dat").c_str(), masterTimes, 0), 0);

    answer(MsgResult::No);
    copyToStick();
    ASSERT_EQ(platform.messages.size(), 1u);
    const RecordedMessage& question = platform.messages[0];
    EXPECT_EQ(question.text,
              "               REPLACE CURRENT FILE ON DRIVE \"STICK\"\n\r\n\r" + stick.path() +
                  "/TAVLEN.DAT was created or last modified on " + longDate(stickTime) + " at " +
                  shortTime(stickTime) +
                  ". Its size is 10 bytes.  To replace this file with the one below, click "
                  "\"Yes\" or quit click \"No\".\n\r\n\r    WITH CURRENT FILE ON \"HARD "
                  "DISK\"\n\r\n\rTAVLEN.DAT was created or last modified on " +
                  longDate(masterTime) + " at " + shortTime(masterTime) + ". Its size is " +
                  std::to_string(master.size()) + " bytes. ");
    EXPECT_EQ(question.icon, MsgIcon::None);
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(question.caption, "Reelvane Deluxe Edition");

    EXPECT_EQ(stick.read("Tavlen.Dat"), "older copy");
    EXPECT_TRUE(copy().abandoned());
    EXPECT_FALSE(copy().visible);
    EXPECT_TRUE(main().master.isOpen());

    // A new opening starts afresh.
    openWindow();
    EXPECT_FALSE(copy().abandoned());
    EXPECT_EQ(control("File1").listIndex, -1);
}

TEST_F(CopyWindowTest, ReplacingHidesTheWindowWhichOpensAgainAsItWasLeft) {
    stick.write("Tavlen.Dat", "older copy");
    answer(MsgResult::Yes);
    copyToStick();
    EXPECT_EQ(stick.read("Tavlen.Dat"), master);
    EXPECT_FALSE(copy().visible);
    EXPECT_TRUE(main().master.isOpen());

    openWindow();
    EXPECT_FALSE(main().master.isOpen());
    EXPECT_EQ(control("File1").items.at(static_cast<std::size_t>(control("File1").listIndex)),
              "Tavlen.Dat");
    EXPECT_TRUE(control("Drive1").enabled);
    EXPECT_TRUE(control("lblCopy3").visible);
    EXPECT_EQ(control("Drive1").listIndex, 0);
}

TEST_F(CopyWindowTest, NoToTheCopyQuestionCopiesNothing) {
    answer(MsgResult::No);
    copyToStick();
    EXPECT_FALSE(std::filesystem::exists(stick.file("Tavlen.Dat")));
    EXPECT_TRUE(copy().abandoned());
    EXPECT_FALSE(copy().visible);
    EXPECT_TRUE(main().master.isOpen());
}

TEST_F(CopyWindowTest, TheFileCopiedIsTheOneInTheFolderShown) {
    std::filesystem::create_directory(dir + "/archive");
    writeFile("archive/Tavlen.Dat", "archived catalogue");
    openWindow();
    const auto& lines = control("Dir1").items;
    const auto line = std::find_if(lines.begin(), lines.end(), [](const std::string& s) {
        return s.find("archive") != std::string::npos;
    });
    ASSERT_NE(line, lines.end());
    Event open{"Dir1", EventKind::DblClick};
    open.item = static_cast<int>(line - lines.begin());
    copy().dispatch(open);
    EXPECT_EQ(control("Dir1").text, dir + "/archive");
    EXPECT_FALSE(control("Drive1").enabled);  // no file chosen in the new folder yet

    answer(MsgResult::Yes);
    clickFile("Tavlen.Dat");
    chooseDrive(0);
    EXPECT_EQ(stick.read("Tavlen.Dat"), "archived catalogue");
    EXPECT_EQ(readFile("Tavlen.Dat"), master);
}

TEST_F(CopyWindowTest, ChooseFolderEntryCopiesIntoThePickedFolder) {
    TempDir folder;
    platform.folders.push_back(folder.path());
    answer(MsgResult::Yes);
    openWindow();
    clickFile("Tavlen.Dat");
    chooseDrive(1);
    EXPECT_EQ(platform.lastMessage(),
              "Do you want to copy Tavlen.Dat to Drive " + folder.path() + " hit Yes, or No ");
    EXPECT_EQ(folder.read("Tavlen.Dat"), master);

    // The folder stays on the list while the window is loaded; cancelling the
    // chooser changes nothing.
    openWindow();
    EXPECT_EQ(control("Drive1").items, (std::vector<std::string>{"STICK", CopyChooseFolderEntry}));
    clickFile("Tavlen.Dat");
    const std::size_t shown = platform.messages.size();
    chooseDrive(1);
    EXPECT_EQ(platform.messages.size(), shown);
    EXPECT_EQ(control("Drive1").listIndex, -1);
    EXPECT_TRUE(copy().visible);
}

TEST_F(CopyWindowTest, CopyingAFileOntoItselfIsRefused) {
    platform.folders.push_back(dir);
    answer(MsgResult::Ok);
    openWindow();
    clickFile("Tavlen.Dat");
    chooseDrive(1);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.lastMessage().find("is the very file"), std::string::npos);
    EXPECT_EQ(readFile("Tavlen.Dat"), master);
    EXPECT_TRUE(copy().visible);
}

TEST_F(CopyWindowTest, MissingVolumeAsksForTheDiskAgainUntilTheUserGivesUp) {
    platform.volumes = {{"GONE", stick.path() + "/unplugged"}};
    for (MsgResult r : {MsgResult::Ok, MsgResult::Ok, MsgResult::Cancel}) answer(r);
    copyToStick();
    ASSERT_EQ(platform.messages.size(), 3u);
    const MsgButtons expected[] = {MsgButtons::Ok, MsgButtons::OkCancel, MsgButtons::OkCancel};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(platform.messages[i].text, NoDiskMessage);
        EXPECT_EQ(platform.messages[i].icon, MsgIcon::Exclamation);
        EXPECT_EQ(platform.messages[i].buttons, expected[i]);
        EXPECT_EQ(platform.messages[i].caption, "");
    }
    EXPECT_TRUE(control("lblCopy7").visible);
    EXPECT_TRUE(control("lblCopy5").visible);
    EXPECT_TRUE(copy().visible);
    EXPECT_FALSE(copy().abandoned());
    EXPECT_FALSE(main().master.isOpen());

    // Closing the window reopens the master file.
    bool cancel = false;
    Event close{"", EventKind::QueryClose};
    close.cancel = &cancel;
    copy().dispatch(close);
    EXPECT_FALSE(cancel);
    EXPECT_FALSE(copy().visible);
    EXPECT_TRUE(main().master.isOpen());
}

TEST_F(CopyWindowTest, FailingTargetGivesTheReasonAndLeavesTheOldFileIntact) {
    stick.write("Tavlen.Dat", "older copy");
    answer(MsgResult::Yes);  // replace
    answer(MsgResult::Ok);   // the failure message
    openWindow();
    clickFile("Tavlen.Dat");
    {
        // A volume too small for the file (root writes even into read-only folders).
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit small = old;
        small.rlim_cur = 100;
        auto handler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        chooseDrive(0);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, handler);
    }
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.lastMessage(), "Tavlen.Dat could not be copied to " + stick.path() +
                                          ": File too large. The file already there was not "
                                          "changed.");
    EXPECT_EQ(stick.read("Tavlen.Dat"), "older copy");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(stick.path()),
                            std::filesystem::directory_iterator()),
              1);
    EXPECT_TRUE(control("lblCopy7").visible);
    EXPECT_TRUE(copy().visible);
    EXPECT_FALSE(copy().abandoned());
}

// A place that cannot take the path at all (a pipe where the copy would go)
// closes the window, which reopens the master file, and opens it afresh with
// "Try Again!" and the disc reminder shown.
TEST_F(CopyWindowTest, InvalidPlaceClosesAndReopensTheWindowAfresh) {
    ASSERT_EQ(::mkfifo(stick.file("Tavlen.Dat").c_str(), 0600), 0);
    answer(MsgResult::Ok);
    openWindow();
    // A fourth film arrives while the master file is closed; reopening it counts it.
    writeFile("Tavlen.Dat", master + titled("Film 4").bytes());
    clickFile("Tavlen.Dat");
    chooseDrive(0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_NE(platform.lastMessage().find("Invalid argument"), std::string::npos);
    EXPECT_TRUE(copy().visible);
    EXPECT_FALSE(main().master.isOpen());
    EXPECT_TRUE(control("lblCopy7").visible);
    EXPECT_TRUE(control("lblCopy5").visible);
    EXPECT_FALSE(control("lblCopy3").visible);
    EXPECT_FALSE(control("lblCopy4").visible);
    EXPECT_EQ(control("File1").listIndex, -1);
    EXPECT_FALSE(control("Drive1").enabled);
    EXPECT_FALSE(copy().abandoned());
    EXPECT_EQ(state().RecordCount, 4);
}

// Root may write into a read-only folder: the copy runs as an unprivileged
// user then.
TEST_F(CopyWindowTest, ReadOnlyFolderGivesTheReason) {
    ASSERT_TRUE(handToUnprivilegedUser(dir) && handToUnprivilegedUser(stick.path()));
    std::filesystem::permissions(
        stick.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    answer(MsgResult::Yes);
    answer(MsgResult::Ok);
    const std::string message = runUnprivileged([&] {
        copyToStick();
        return platform.lastMessage();
    });
    EXPECT_NE(message.find("Permission denied"), std::string::npos) << message;
    EXPECT_FALSE(std::filesystem::exists(stick.file("Tavlen.Dat")));
}

}  // namespace
}  // namespace reel::testing
