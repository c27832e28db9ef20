#include "data/film_record.h"

#include <gtest/gtest.h>

#include "record_printing.h"

namespace reel {
namespace {

TEST(FieldSpecs, PositionsAndWidthsMatchTheRecordLayout) {
    struct Expected {
        Field field;
        int position;
        int width;
        const char* textBox;
    } expected[] = {
        {Field::Title, 1, 40, "txtTitle"},       {Field::Director, 41, 30, "txtDirector"},
        {Field::Star6, 221, 30, "txtStar6"},     {Field::Label, 251, 15, "txtLabel"},
        {Field::Format, 266, 1, "txtFormat"},    {Field::NumReel, 267, 1, "txtNumReel"},
        {Field::Genre, 268, 2, "txtGenre"},      {Field::Time, 270, 3, "txtTime"},
        {Field::Year, 273, 4, "txtYear"},        {Field::CassNo, 277, 5, "txtCassNo"},
        {Field::Letter, 282, 1, "txtLetter"},    {Field::CLV, 283, 3, "txtCLV1"},
        {Field::Color, 286, 6, "txtColor1"},     {Field::Producer, 292, 30, "txtProducer"},
        {Field::Written, 352, 50, "txtWritten"}, {Field::Sound, 522, 15, "txtSound"},
        {Field::Awards, 537, 60, "txtAwards"},   {Field::Rating, 597, 5, "txtRating"},
        {Field::Package, 602, 15, "txtPackage"}, {Field::Purchase, 617, 8, "txtPurchase"},
        {Field::Cost, 625, 8, "txtCost"},        {Field::Ratings, 633, 15, "txtRatings"},
    };
    for (const auto& e : expected) {
        const FieldSpec& s = fieldSpec(e.field);
        EXPECT_EQ(s.field, e.field);
        EXPECT_EQ(s.position, e.position) << s.name;
        EXPECT_EQ(s.width, e.width) << s.name;
        EXPECT_EQ(s.textBox, e.textBox) << s.name;
    }
}

TEST(FilmRecord, BlankRecordIsSpacesAndLineEnd) {
    const FilmRecord record;
    ASSERT_EQ(record.bytes().size(), 649u);
    EXPECT_EQ(record.bytes(), std::string(647, ' ') + "\r\n");
    EXPECT_TRUE(record.isFree());
    EXPECT_EQ(record.field(Field::Director), std::string(30, ' '));
    EXPECT_EQ(record.value(Field::Director), "");
}

TEST(FilmRecord, SetCutsOrPadsToTheFieldWidth) {
    FilmRecord record;
    record.set(Field::Title, std::string(41, 'T'));
    record.set(Field::Director, "Ray");
    record.set(Field::Format, "Laser");
    record.set(Field::Color, "B & W");
    EXPECT_EQ(record.bytes().substr(0, 40), std::string(40, 'T'));
    EXPECT_EQ(record.bytes().substr(40, 30), "Ray" + std::string(27, ' '));
    EXPECT_EQ(record.bytes().substr(265, 1), "L");
    EXPECT_EQ(record.bytes().substr(285, 6), "B & W ");
    EXPECT_EQ(record.bytes().substr(647), "\r\n");
    EXPECT_EQ(record.bytes().size(), 649u);
}

TEST(FilmRecord, ValueTrimsBothEndsAndConvertsToUtf8) {
    FilmRecord record;
    record.set(Field::Star1, "  G\xC3\xA9rard Depardieu ");
    EXPECT_EQ(record.value(Field::Star1), "G\xC3\xA9rard Depardieu");
    EXPECT_EQ(record.bytes().substr(70, 18), "  G\xE9rard Depardieu");
    EXPECT_EQ(record.field(Field::Star1).size(), 31u);  // 30 characters, one of two bytes
}

TEST(FilmRecord, TitleOfSpacesIsFreeWhateverElseItHolds) {
    FilmRecord record;
    record.set(Field::Director, "Someone");
    EXPECT_TRUE(record.isFree());
    record.set(Field::Title, " x");
    EXPECT_FALSE(record.isFree());
    record.blank();
    EXPECT_EQ(record, FilmRecord());
}

TEST(FilmRecord, FromBytesKeepsEveryByte) {
    std::string bytes;
    for (int i = 0; i < 647; ++i) bytes += static_cast<char>('A' + i % 26);
    bytes += "\r\n";
    const FilmRecord record = FilmRecord::fromBytes(bytes);
    EXPECT_EQ(record.bytes(), bytes);
    EXPECT_EQ(record.value(Field::Format), "F");  // byte 266
    EXPECT_FALSE(record.isFree());
}

TEST(FilmRecord, PastEndReadsEmptyUntilAFieldIsSet) {
    FilmRecord record = FilmRecord::pastEnd();
    EXPECT_TRUE(record.isPastEnd());
    EXPECT_TRUE(record.isFree());
    EXPECT_EQ(record.field(Field::Title), "");
    EXPECT_EQ(record.field(Field::Ratings), "");
    EXPECT_EQ(record.bytes(), FilmRecord().bytes());
    record.set(Field::Title, "Ran");
    EXPECT_FALSE(record.isPastEnd());
    EXPECT_EQ(record.field(Field::Director), std::string(30, ' '));
}

}  // namespace
}  // namespace reel
