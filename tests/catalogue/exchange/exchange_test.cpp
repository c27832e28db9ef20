// Export and import of the catalogue as CSV: round trips that must give the
// master file back byte for byte, the files spreadsheets write, and every kind
// of bad input, which must leave the catalogue exactly as it was.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

#include "../data/temp_dir.h"
#include "data/count_files.h"
#include "data/master_file.h"
#include "exchange/catalogue_export.h"
#include "exchange/catalogue_import.h"
#include "exchange/exchange_command.h"

namespace reel::exchange {
namespace {

using reel::testing::TempDir;

const std::string Header =
    "Title,Director,Star1,Star2,Star3,Star4,Star5,Star6,Label,Format,NumReel,Genre,Time,Year,"
    "CassNo,Letter,CLV,Color,Producer,Cinematographer,Written,Music,Choreography,SetDirection,"
    "Costume,Sound,Awards,Rating,Package,Purchase,Cost,Ratings,Record\r\n";

// The build's share folder (the build tree mirrors the install layout).
std::string shareFolder() {
    if (const char* share = std::getenv("REELBOOK_SHARE_DIR"); share && *share) return share;
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : (exe.parent_path().parent_path() / "share/reelbook").string();
}

FilmRecord titled(const std::string& title) {
    FilmRecord film;
    film.set(Field::Title, title);
    film.set(Field::Format, "D");
    return film;
}

// Master file bytes holding the records as given (free ones included).
std::string masterOf(const std::vector<FilmRecord>& films) {
    std::string bytes;
    for (const FilmRecord& f : films) bytes += f.bytes();
    return bytes;
}

// Record bytes from raw code-page text, one field after another.
FilmRecord rawFilm(const std::vector<std::string>& fields) {
    std::string bytes;
    for (const FieldSpec& layout : fieldSpecs()) {
        std::string value = static_cast<std::size_t>(layout.field) < fields.size()
                                ? fields[static_cast<std::size_t>(layout.field)]
                                : std::string();
        value.resize(static_cast<std::size_t>(layout.width), ' ');
        bytes += value;
    }
    return FilmRecord::fromBytes(bytes + "\r\n");
}

std::string exportOrFail(const std::string& dir) {
    const ExportText text = exportCatalogue(dir);
    EXPECT_TRUE(text.io) << text.io.message;
    return text.csv;
}

std::set<std::string> filesIn(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(Exchange, SampleCatalogueSurvivesExportAndImportByteForByte) {
    TempDir from, into;
    const std::string sample = shareFolder() + "/sample/Tavlen.Dat";
    ASSERT_TRUE(std::filesystem::exists(sample)) << sample;
    std::filesystem::copy_file(sample, from.file("Tavlen.Dat"));

    const ExportText text = exportCatalogue(from.path());
    ASSERT_TRUE(text.io) << text.io.message;
    EXPECT_EQ(text.csv.substr(0, Header.size()), Header);
    EXPECT_EQ(static_cast<std::size_t>(text.films) * FilmRecord::Size,
              std::filesystem::file_size(sample));

    const ImportOutcome outcome = importCatalogue(into.path(), text.csv);
    ASSERT_TRUE(outcome.ok) << outcome.message << listProblems(outcome.problems);
    EXPECT_EQ(outcome.added, text.films);
    EXPECT_EQ(into.read("Tavlen.Dat"), from.read("Tavlen.Dat"));
}

TEST(Exchange, DemandingFilmsSurviveTheRoundTrip) {
    // Every field full to its width; quotes, commas, leading blanks, a tab,
    // accents, the euro sign and a byte the code page leaves undefined.
    std::vector<std::string> full;
    for (const FieldSpec& layout : fieldSpecs()) {
        std::string value;
        const std::string pattern = "a\"b,c\xE9\x80 \x8C\x81\t";
        while (static_cast<int>(value.size()) < layout.width) value += pattern;
        value.resize(static_cast<std::size_t>(layout.width));
        full.push_back(value);
    }
    const std::vector<FilmRecord> films = {
        rawFilm(full),
        rawFilm({"  Leading blanks", "\"Quoted\" director", "Smith, John"}),
        rawFilm({"Am\xE9lie", "Jean-Pierre Jeunet", "Audrey Tautou"}),
        rawFilm({"\xABLa Dolce Vita\xBB", "", "", "", "", "", "", "", "", "L"}),
    };
    TempDir from, into;
    from.write("Tavlen.Dat", masterOf(films));

    const ImportOutcome outcome = importCatalogue(into.path(), exportOrFail(from.path()));
    ASSERT_TRUE(outcome.ok) << outcome.message << listProblems(outcome.problems);
    EXPECT_EQ(outcome.replacedCharacters, 0);
    EXPECT_EQ(into.read("Tavlen.Dat"), from.read("Tavlen.Dat"));
}

TEST(Exchange, ExportLeavesOutFreeRecordsAndNumbersTheRest) {
    TempDir dir;
    FilmRecord freeWithText = rawFilm({"", "left-over director"});
    dir.write("Tavlen.Dat", masterOf({titled("One"), FilmRecord(), freeWithText, titled("Four")}));
    const std::string csv = exportOrFail(dir.path());
    EXPECT_EQ(csv, Header + "One,,,,,,,,,D,,,,,,,,,,,,,,,,,,,,,,,1\r\n" +
                       "Four,,,,,,,,,D,,,,,,,,,,,,,,,,,,,,,,,4\r\n");
}

TEST(Exchange, ExportRefusesAFolderWithoutACatalogueAndCreatesNothing) {
    TempDir dir;
    const ExportText text = exportCatalogue(dir.path());
    EXPECT_FALSE(text.io);
    EXPECT_NE(text.io.message.find("Tavlen.Dat"), std::string::npos);
    EXPECT_TRUE(filesIn(dir.path()).empty());
}

TEST(Exchange, ImportsASpreadsheetFileWithByteOrderMarkAndQuotes) {
    TempDir dir;
    dir.write("Tavlen.Dat", masterOf({titled("Already here")}));
    dir.write("Titleqen", " 1\r\n");
    // Columns in the spreadsheet's order, names in other cases, the Record
    // column (ignored), format and aspect as words, characters the code page
    // lacks, a row of empty cells at the end.
    const std::string csv =
        "\xEF\xBB\xBF\"Record\",\"year\",\"TITLE\",\"Format\",\"Letter\",\"Director\"\r\n"
        "\"7\",\"1942\",\"Casablanca\",\"DVD\",\"Wide Screen\",\"Michael Curtiz\"\r\n"
        "\"\",\"2001\",\"Am\xC3\xA9lie, \xE2\x80\x9C"
        "fabuleux\xE2\x80\x9D\",\"laser\","
        "\"tv 1.33:1\",\"\xE5\xB0\x8F\xE6\xB4\xA5\"\r\n"
        "\"\",\"1990\",\"\xCE\xA9mega   \",\"V\",\"\",\"  Lead\"\r\n"
        ",,,,,\r\n";
    const ImportOutcome outcome = importCatalogue(dir.path(), csv);
    ASSERT_TRUE(outcome.ok) << outcome.message << listProblems(outcome.problems);
    EXPECT_EQ(outcome.added, 3);
    EXPECT_EQ(outcome.replacedCharacters, 3);
    EXPECT_NE(outcome.message.find("3 films added"), std::string::npos) << outcome.message;
    EXPECT_NE(outcome.message.find("3 characters"), std::string::npos) << outcome.message;

    MasterFile master(dir.path());
    ASSERT_TRUE(master.open());
    ASSERT_EQ(master.recordCount(), 4);
    const FilmRecord casablanca = master.readRecord(2);
    EXPECT_EQ(casablanca.value(Field::Title), "Casablanca");
    EXPECT_EQ(casablanca.value(Field::Year), "1942");
    EXPECT_EQ(casablanca.value(Field::Format), "D");
    EXPECT_EQ(casablanca.value(Field::Letter), "W");
    EXPECT_EQ(casablanca.value(Field::Star1), "");
    const FilmRecord amelie = master.readRecord(3);
    EXPECT_EQ(amelie.bytes().substr(0, 19),
              "Am\xE9lie, \x93"
              "fabuleux\x94 ");
    EXPECT_EQ(amelie.value(Field::Format), "L");
    EXPECT_EQ(amelie.value(Field::Letter), "T");
    EXPECT_EQ(amelie.value(Field::Director), "??");
    const FilmRecord omega = master.readRecord(4);
    EXPECT_EQ(omega.value(Field::Title), "?mega");
    EXPECT_EQ(omega.field(Field::Director).substr(0, 7), "  Lead ");
    // The indexes no longer describe the master file.
    for (const auto name : {TitleCountFile, DvdCountFile, LaserCountFile, VhsCountFile})
        EXPECT_EQ(dir.read(name), " 0\r\n") << name;
}

TEST(Exchange, NewFilmsTakeFreeSlotsExactlyAsNewDoes) {
    const FilmRecord blankTitleWithText = rawFilm({"", "still here"});
    const std::string partial300 = titled("Partial").bytes().substr(0, 300);
    const std::string partial400 = titled("Partial").bytes().substr(0, 400);
    const std::vector<std::pair<const char*, std::string>> images = {
        {"empty", ""},
        {"holes", masterOf({titled("A"), FilmRecord(), titled("C"), blankTitleWithText})},
        {"cut short, rounded down", masterOf({titled("A"), titled("B")}) + partial300},
        {"cut short, rounded up", masterOf({titled("A"), titled("B")}) + partial400},
    };
    const std::vector<FilmRecord> films = {titled("New 1"), titled("New 2"), titled("New 3")};
    std::string csv = "Title,Format\r\n";
    for (const FilmRecord& f : films) csv += f.value(Field::Title) + ",D\r\n";

    for (const auto& [name, image] : images) {
        SCOPED_TRACE(name);
        TempDir imported, byHand;
        imported.write("Tavlen.Dat", image);
        byHand.write("Tavlen.Dat", image);
        {
            MasterFile master(byHand.path());
            ASSERT_TRUE(master.open());
            for (const FilmRecord& f : films) ASSERT_TRUE(master.writeRecord(master.freeSlot(), f));
        }
        const ImportOutcome outcome = importCatalogue(imported.path(), csv);
        ASSERT_TRUE(outcome.ok) << outcome.message << listProblems(outcome.problems);
        EXPECT_EQ(imported.read("Tavlen.Dat"), byHand.read("Tavlen.Dat"));
    }
}

TEST(Exchange, BadInputIsRefusedWithLineAndColumnAndChangesNothing) {
    const std::string title60(60, 'T');
    struct Case {
        const char* name;
        std::string csv;
        std::vector<std::string> expected;  // each must appear in the problem list
    };
    const Case cases[] = {
        {"60-character title on line 4",
         "Title,Year\r\nOne,1990\r\nTwo,1991\r\n" + title60 + ",1992\r\n",
         {"line 4, column Title: 60 characters, but Title holds at most 40"}},
        {"value too long in a short field",
         "Title,Year\r\nOne,19901\r\n",
         {"line 2, column Year: 5 characters"}},
        {"unknown column",
         "Title,Directr\r\nOne,X\r\n",
         {"line 1, column Directr: unknown column"}},
        {"duplicate column",
         "Title,Director,title\r\nOne,X,Y\r\n",
         {"line 1, column Title: the column appears twice"}},
        {"too many values",
         "Title,Year\r\nOne,1990\r\nTwo,1991,extra\r\n",
         {"line 3: 3 values, but the header names 2 columns"}},
        {"too few values",
         "Title,Year\r\nOne\r\n",
         {"line 2: 1 value, but the header names 2 columns"}},
        {"unterminated quote",
         "Title,Year\r\nOne,1990\r\n\"Two,1991\r\n",
         {"line 3: a quoted value is never closed"}},
        {"quote inside a plain value",
         "Title,Year\r\n12\" LP,1990\r\n",
         {"line 2: a double quote inside a value"}},
        {"not UTF-8 (a Latin-1 file)",
         "Title,Year\r\nOne,1990\r\nAm\xE9lie,2001\r\n",
         {"line 3: the file is not UTF-8"}},
        {"line break inside a value",
         "Title,Awards\r\nOne,\"Best\r\nPicture\"\r\n",
         {"line 2, column Awards: the value holds a line break"}},
        {"film without a title",
         "Title,Year\r\nOne,1990\r\n   ,1991\r\n",
         {"line 3, column Title: a film needs a title"}},
        {"no Title column", "Director\r\nX\r\n", {"line 1, column Title: the header has no Title"}},
        {"empty file", "", {"line 1: the file is empty"}},
        {"every problem of the file, in line order",
         "Title,Year\r\n" + title60 + ",1990\r\nOne,1990,x\r\nTwo,19911\r\n",
         {"line 2, column Title", "line 3: 3 values", "line 4, column Year"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        dir.write("Tavlen.Dat", masterOf({titled("Kept 1"), FilmRecord(), titled("Kept 3")}));
        dir.write("Titleqen", " 2\r\n");
        const std::set<std::string> before = filesIn(dir.path());
        const std::string master = dir.read("Tavlen.Dat");

        const ImportOutcome outcome = importCatalogue(dir.path(), c.csv);
        EXPECT_FALSE(outcome.ok);
        const std::string list = listProblems(outcome.problems);
        std::size_t from = 0;
        for (const std::string& e : c.expected) {
            const std::size_t at = list.find(e, from);
            EXPECT_NE(at, std::string::npos) << "missing: " << e << "\nin:\n" << list;
            if (at != std::string::npos) from = at;
        }
        EXPECT_EQ(dir.read("Tavlen.Dat"), master);
        EXPECT_EQ(dir.read("Titleqen"), " 2\r\n");
        EXPECT_EQ(filesIn(dir.path()), before);
    }
}

TEST(Exchange, ProblemListStopsAtItsLimitAndSaysHowManyMore) {
    std::string csv = "Title,Year\r\n";
    for (int i = 0; i < 25; ++i) csv += "One,19901\r\n";
    const ImportPlan plan = planImport(csv);
    ASSERT_EQ(plan.problems.size(), 25u);
    const std::string list = listProblems(plan.problems);
    EXPECT_NE(list.find("line 21, column Year"), std::string::npos);
    EXPECT_EQ(list.find("line 22, column Year"), std::string::npos);
    EXPECT_NE(list.find("... and 5 problems more."), std::string::npos) << list;
}

TEST(Exchange, ACatalogueOpenInAWindowIsRefused) {
    TempDir dir;
    dir.write("Tavlen.Dat", masterOf({titled("Kept")}));
    const std::string before = dir.read("Tavlen.Dat");
    MasterFile window(dir.path());
    ASSERT_TRUE(window.open());

    const ImportOutcome outcome = importCatalogue(dir.path(), "Title\r\nNew\r\n");
    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(outcome.message.find("already open"), std::string::npos) << outcome.message;
    EXPECT_NE(outcome.message.find("Nothing was imported"), std::string::npos);
    EXPECT_EQ(dir.read("Tavlen.Dat"), before);
    EXPECT_EQ(filesIn(dir.path()), std::set<std::string>{"Tavlen.Dat"});
}

TEST(Exchange, AFullDiskLeavesTheOldMasterFileWholeAndNoStrayFile) {
    TempDir dir;
    dir.write("Tavlen.Dat", masterOf({titled("Kept 1"), titled("Kept 2")}));
    const std::string before = dir.read("Tavlen.Dat");
    std::string csv = "Title\r\n";
    for (int i = 0; i < 5; ++i) csv += "New " + std::to_string(i) + "\r\n";

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = before.size() + 2 * FilmRecord::Size;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const ImportOutcome outcome = importCatalogue(dir.path(), csv);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(outcome.ok);
    EXPECT_NE(outcome.message.find("Nothing was imported"), std::string::npos) << outcome.message;
    EXPECT_EQ(dir.read("Tavlen.Dat"), before);
    for (const std::string& name : filesIn(dir.path()))
        EXPECT_FALSE(name.starts_with("Tavlen.Dat.")) << name;
}

TEST(ExchangeCommand, RunsWithoutWindowsAndReportsInOneLine) {
    TempDir dir, empty, home;
    dir.write("Tavlen.Dat", masterOf({titled("One"), titled("Two")}));
    const std::string csvPath = dir.file("out.csv");
    const std::string userFolder = home.path() + "/reelbook";
    const Environment environment = [&](const char* name) -> std::optional<std::string> {
        if (std::string_view(name) == "XDG_DATA_HOME") return home.path();
        return std::nullopt;
    };
    struct Case {
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string out;  // start of standard output
        std::string err;  // a part of standard error
    };
    const Case cases[] = {
        {{"--export", "-", dir.path()}, "", 0, Header, "2 films written to standard output."},
        {{"--export=" + csvPath, dir.path()}, "", 0, "2 films written to " + csvPath + ".", ""},
        {{"--import", csvPath, empty.path()}, "", 0, "2 films added to " + empty.path(), ""},
        {{"--import", "-", empty.path()}, "Title\r\nThree\r\n", 0, "1 film added", ""},
        {{"--import", "-", empty.path()},
         "Title\r\n" + std::string(41, 'x') + "\r\n",
         1,
         "",
         "standard input: line 2, column Title: 41 characters"},
        {{"--export", "-", dir.file("nowhere")}, "", 1, "", "There is no catalogue"},
        {{"--import", csvPath}, "", 0, "2 films added to " + userFolder + "/Tavlen.Dat", ""},
        {{"--export", "a.csv", "--import", "b.csv"}, "", 2, "", "not both"},
    };
    CommandLineParser parser;
    addExchangeOptions(parser);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front() + " " + (c.args.size() > 1 ? c.args[1] : ""));
        const CommandLine command = parser.parse(c.args);
        ASSERT_TRUE(command.ok()) << command.error();
        std::istringstream in(c.input);
        std::ostringstream out, err;
        const std::optional<int> status = runExchangeCommand(command, environment, in, out, err);
        ASSERT_TRUE(status.has_value());
        EXPECT_EQ(*status, c.status) << err.str();
        EXPECT_EQ(out.str().substr(0, c.out.size()), c.out);
        EXPECT_NE(err.str().find(c.err), std::string::npos) << err.str();
    }
    MasterFile imported(empty.path());
    ASSERT_TRUE(imported.open());
    EXPECT_EQ(imported.recordCount(), 3);
    EXPECT_NE(parser.usage().find("--import FILE"), std::string::npos);

    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_FALSE(runExchangeCommand(parser.parse({dir.path()}), environment, in, out, err));
}

}  // namespace
}  // namespace reel::exchange
