// The catalogue's four index runs on generated master files, through the
// exported entry point, exactly as the catalogue issues them.
#include <gtest/gtest.h>

#include "test_e2e_support.h"

namespace {

using namespace sorvel_test;

constexpr std::size_t kMasterRecord = 649;
constexpr std::size_t kIndexEntry = 49;

Bytes master_record(const std::string& title, char format) {
    Bytes r(kMasterRecord, ' ');
    r.replace(0, std::min<std::size_t>(title.size(), 40), title.substr(0, 40));
    r[265] = format;  // position 266
    r[647] = '\r';
    r[648] = '\n';
    return r;
}

struct Film {
    std::string title;
    char format;
};

void write_master(const std::vector<Film>& films) {
    Bytes all;
    for (const auto& f : films) all += master_record(f.title, f.format);
    write_file("Tavlen.Dat", all);
}

void write_upper_alt() {
    Bytes table(265, '\0');
    table[0] = static_cast<char>(172);
    for (int c = 0; c < 256; ++c) {
        int w = (c >= 'a' && c <= 'z') ? c - 32 : c;
        table[9 + c] = static_cast<char>(w);
    }
    write_file("UPPER.ALT", table);
}

std::string command_for(const std::string& value, bool titles) {
    if (titles) {
        return "S(1,40,C,A) ALTSEQ(UPPER.ALT) OUTREC(1,40,Arrn,CRLF ) Include(1,40,C,GT,\"" +
               value + "\") Record(649)";
    }
    return "S(1,40,C,A) ALTSEQ(UPPER.ALT) OUTREC(1,40,Arrn,CRLF ) Include(266,1,C,EQ,\"" + value +
           "\") Record(649) ";
}

struct IndexRun {
    const char* file;
    const char* value;
    bool titles;
};

constexpr IndexRun kRuns[] = {{"Titleqen.Dat", "000000", true},
                              {"DVDqen.Dat", "D", false},
                              {"Laserqen.Dat", "L", false},
                              {"VHSqen.Dat", "V", false}};

// Entry k of an index: its title and its record number.
std::vector<std::pair<std::string, int>> entries(const Bytes& index) {
    std::vector<std::pair<std::string, int>> out;
    for (std::size_t at = 0; at + kIndexEntry <= index.size(); at += kIndexEntry) {
        out.emplace_back(index.substr(at, 40), std::stoi(index.substr(at + 40, 7)));
        EXPECT_EQ(index.substr(at + 47, 2), "\r\n");
    }
    return out;
}

std::string pad40(const std::string& s) {
    return s + std::string(40 - s.size(), ' ');
}

TEST(E2eCatalogue, TwelveFilmsGiveTheCountsAndFileSizesOfTheExample) {
    ScratchDir dir;
    write_upper_alt();
    std::vector<Film> films;
    const char formats[] = "DDDDDLLLLVVV";
    for (int i = 0; i < 12; ++i) {
        films.push_back({"Film " + std::string(1, static_cast<char>('L' - i)), formats[i]});
    }
    write_master(films);
    const std::uint32_t counts[] = {12, 5, 4, 3};
    const std::uintmax_t sizes[] = {588, 245, 196, 147};
    for (int i = 0; i < 4; ++i) {
        const RunResult r =
            run("Tavlen.Dat", kRuns[i].file, command_for(kRuns[i].value, kRuns[i].titles));
        EXPECT_EQ(r.code, 0) << kRuns[i].file;
        EXPECT_EQ(r.count, counts[i]) << kRuns[i].file;
        EXPECT_EQ(std::filesystem::file_size(kRuns[i].file), sizes[i]) << kRuns[i].file;
    }
    // Titles Film L (record 1) .. Film A (record 12): ascending means 12 first.
    const auto titles = entries(read_file("Titleqen.Dat"));
    ASSERT_EQ(titles.size(), 12u);
    EXPECT_EQ(titles.front(), std::make_pair(pad40("Film A"), 12));
    EXPECT_EQ(titles.back(), std::make_pair(pad40("Film L"), 1));
    EXPECT_EQ(read_file("Titleqen.Dat").substr(40, 9), "0000012\r\n");
    EXPECT_TRUE(engine_temp_files().empty());
}

TEST(E2eCatalogue, EqualTitlesKeepMasterOrderAndBlankOrPunctuatedTitlesStayOutOfTheTitleIndex) {
    ScratchDir dir;
    write_upper_alt();
    write_master({{"Zulu", 'D'},
                  {"", 'D'},  // deleted film: a blank title
                  {"Alien", 'V'},
                  {"!Bang", 'L'},
                  {"Alien", 'D'},
                  {"alien", 'D'},  // lower case sorts after upper case (CHA)
                  {"Alien", 'X'},
                  {"000000", 'V'},  // longer than the constant, so greater
                  {"0000001", 'V'}});
    for (const auto& r : kRuns) {
        ASSERT_EQ(run("Tavlen.Dat", r.file, command_for(r.value, r.titles)).code, 0) << r.file;
    }
    const auto titles = entries(read_file("Titleqen.Dat"));
    std::vector<int> numbers;
    for (const auto& e : titles) numbers.push_back(e.second);
    EXPECT_EQ(numbers, (std::vector<int>{8, 9, 3, 5, 7, 1, 6}));

    const auto dvd = entries(read_file("DVDqen.Dat"));
    ASSERT_EQ(dvd.size(), 4u);
    EXPECT_EQ(dvd[0], std::make_pair(pad40(""), 2));  // the blank title sorts first
    EXPECT_EQ(dvd[1].second, 5);
    EXPECT_EQ(dvd[2].second, 1);
    EXPECT_EQ(dvd[3].second, 6);
    const auto laser = entries(read_file("Laserqen.Dat"));
    ASSERT_EQ(laser.size(), 1u);
    EXPECT_EQ(laser[0].second, 4);
    EXPECT_EQ(entries(read_file("VHSqen.Dat")).size(), 3u);
}

TEST(E2eCatalogue, MissingTableFileFailsEveryRunAndWritesNoFile) {
    ScratchDir dir;
    write_master({{"Alien", 'D'}});
    for (const auto& r : kRuns) {
        const RunResult result = run("Tavlen.Dat", r.file, command_for(r.value, r.titles));
        EXPECT_EQ(result.code, 10055);
        EXPECT_EQ(result.count, 0u);
        EXPECT_FALSE(file_exists(r.file));
    }
    EXPECT_TRUE(engine_temp_files().empty());
}

TEST(E2eCatalogue, EmptyMasterFileGivesEmptyIndexes) {
    ScratchDir dir;
    write_upper_alt();
    write_master({});
    for (const auto& r : kRuns) {
        const RunResult result = run("Tavlen.Dat", r.file, command_for(r.value, r.titles));
        EXPECT_EQ(result.code, 0);
        EXPECT_EQ(result.count, 0u);
        EXPECT_EQ(std::filesystem::file_size(r.file), 0u);
    }
}

}  // namespace
