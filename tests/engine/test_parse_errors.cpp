// Every class of bad command fails with its code, and only with it.
#include <gtest/gtest.h>

#include <string>

#include "return_codes.h"
#include "test_parse_support.h"

namespace sorvel {
namespace {

using test::parse;

struct ErrorCase {
    std::string command;
    int code;
};

std::string repeat(const std::string& piece, int times, const std::string& separator) {
    std::string out;
    for (int i = 0; i < times; ++i) out += (i ? separator : "") + piece;
    return out;
}

void expect_codes(const std::vector<ErrorCase>& cases, RunKind kind = RunKind::File) {
    for (const auto& c : cases) {
        const auto p = parse(c.command, kind);
        EXPECT_FALSE(p.ok) << c.command;
        EXPECT_EQ(p.code, c.code) << c.command;
        EXPECT_TRUE(p.state.error) << c.command;
    }
}

TEST(ParseErrors, OperandRules) {
    const std::string cond = "1,1,C,EQ,\"a\"";
    expect_codes({
        {"XYZ(1)", 201},
        {"S(1,2,C,A) APP", 201},
        {"SORT(0,10,C,A)", 202},
        {"SORT(#0,C,A)", 202},
        {"INCL(0,2,C,EQ,\"a\")", 202},
        {"INCL(#0,C,EQ,\"a\")", 202},
        {"INCL(1,2,C,EQ,0,2)", 202},
        {"S(1,2,C,A) SUM(#1,4,ZD)", 202},
        {"DUPO(0,5)", 202},
        {"DUPE(#0)", 202},
        {"SORT(1,0,C,A)", 203},
        {"SORT(1", 203},
        {"INCL(1", 203},
        {"DUPO(1,0)", 203},
        {"S(1,2,C,A) SUM(1,0,ZD)", 203},
        {"SORT(1,2,X,A)", 204},
        {"SORT(1,2", 204},
        {"INCL(1,2,XX,EQ,\"a\")", 204},
        {"S(1,2,C,A) SUM(1,2,QQ)", 204},
        {"INCL(1,2,C,XX,\"a\")", 205},
        {"INCL(1,2,NUM,CO,\"1\")", 205},
        {"INCL(1,2,C)", 205},
        {"SORT(" + repeat("1,2,C,A", 21, ",") + ")", 206},
        {"INCL(" + cond, 206},
        {"INCL(" + repeat(cond, 21, ",AND,") + ")", 206},
        {"OUTR(" + repeat("1,2", 21, ",") + ")", 206},
        {"DUPO(" + repeat("1,2", 20, ",") + ")", 206},
        {"S(1,2,C,A) SUM(" + repeat("1,2,ZD", 21, ",") + ")", 206},
        {"INCL(1,1,C,EQ", 207},
        {"INCL(1,1,C,EQ,\"" + std::string(51, 'x') + "\")", 207},
        {"INCL(1,1,C,EQ,\"&H0\")", 207},
        {"INCL(1,1,C,EQ,\"&HGG\")", 207},
        {"INCL(1,2,ZD,EQ,\"12\")", 207},
        {"INCL(1,2,PD,EQ,\"12\")", 207},
        {"INCL(1,2,ALT,EQ,\"12\")", 207},
        {"INCL(1,3,INT,EQ,\"5\")", 207},
        {"OUTR(\"" + std::string(21, 'x') + "\")", 207},
        {"OUTR(\"&Hzz\")", 207},
        {"INCL(" + cond + ",XOR," + cond + ")", 208},
        {"SORT(1,2,C,X)", 209},
        {"SORT(1,2,C", 209},
        {"SORT(1,2,ALT,A)", 242},
        {"SUM(1,4,ZD)", 257},
        {"OUTR(XXXX)", 323},
        {"OUTR(DUPC(x))", 323},
        {"OUTR(DUPC(2", 323},
        {"FILE(FE)", 15762},
        {"S(1,2,C,A) SUM DUPO", 15762},
    });
}

TEST(ParseErrors, StatementSyntax) {
    const std::string cond = "1,1,C,EQ,\"a\"";
    expect_codes({
        {"ADDR(XYZ)", 10001},
        {"BYPA(x,D)", 10002},
        {"BYPA(10,Q)", 10002},
        {"BYPA(10)", 10002},
        {"INCL", 10003},
        {"INCL(" + cond + "))", 10003},
        {"INCL(" + cond + ",XXX," + cond + ")", 10003},
        {"INCL " + cond + ")", 10003},
        {"KEYO(ABC)", 10004},
        {"LAST(0)", 10005},
        {"LIMI 5", 10005},
        {"OMIT", 10006},
        {"OMIT(" + cond + "))", 10006},
        {"OUTR 1,2", 10007},
        {"OUTR(1,0)", 10007},
        {"RECO", 10009},
        {"RECO(x)", 10009},
        {"SORT", 10010},
        {"SORT(1,40,C,A", 10010},
        {"FILE(FIX)", 10011},
        {"FILE(PRE,0)", 10011},
        {"FILE(FE,0) RECO(5)", 10012},
        {"FILE(FE,x) RECO(5)", 10012},
        {"FILE(BT)", 10015},
        {"FILE(GP)", 10019},
        {"FILE(GP,(13,10)", 10019},
        {"FILE(GP,(13,x)(26))", 10019},
        {"FILE(ABC)", 10033},
        {"FILE", 10033},
        {"CORE", 10051},
        {"CORE()", 10051},
        {"DELI(x)", 10052},
        {"WORK(/tmp)", 10054},
        {"WORK(/" + std::string(49, 'd') + "/)", 10054},
        {"WORK", 10054},
        {"ALTS", 10055},
        {"ALTS(/nonexistent/UPPER.ALT)", 10055},
        {"DUPO(", 10056},
        {"ORIG(0)", 10057},
        {"OPEN", 10058},
        {"S(1,2,C,A) SUM(", 10062},
    });
}

TEST(ParseErrors, ConflictingStatements) {
    const std::string cond = "1,1,C,EQ,\"a\"";
    expect_codes({
        {"INCL(" + cond + ") OMIT(" + cond + ")", 10506},
        {"RECO(80) FILE(TXT)", 11113},
        {"FILE(FIX,80) FILE(VS)", 11314},
        {"ADDR KEYO", 10304},
        {"ADDR OUTR(1,2) KEYO", 10304},  // the first pair in order wins
        {"BYPA(4,D) FILE(RV)", 10416},
        {"OUTR(1,2) FILE(DB3)", 10920},
        {"KEYO FILE(CVS)", 10617},
        {"RECO(10) FILE(PRE,10)", 11118},
    });
    expect_codes(
        {
            {"RECO(10)", 11009},
            {"FILE(VS)", 11014},
            {"LIMI(5)", 10708},
            {"S(1,2,C,A) OUTR(1,2)", 10708},
            {"BYPA(4,D)", 10408},
        },
        RunKind::RecordAtATime);
}

TEST(ParseErrors, ParsingStopsAtTheFirstError) {
    // the unknown statement comes first; the ALTS file is never looked for
    const auto p = parse("BOGUS ALTS(/nonexistent/x)");
    EXPECT_EQ(p.code, 201);
    EXPECT_FALSE(p.state.statements.has(kStmtALTS));
}

TEST(ParseErrors, AcceptedCombinations) {
    for (const char* command :
         {"FILE(TXT) RECO(80)", "FILE(VS)", "FILE(FE) RECO(12)", "S(1,2,C,A) SUM(1,2,ZD)",
          "\x1a SORT", "", "EQUA VERB NOYI", "ADDR(RRN) S(1,2,C,A)", "INCL((1,1,C,EQ,\"a\"))"}) {
        const auto p = parse(command);
        EXPECT_TRUE(p.ok) << command << " gave " << p.code;
        EXPECT_EQ(p.code, 0) << command;
    }
    EXPECT_TRUE(parse("FILE(BT)", RunKind::RecordAtATime).code == 10015);
    EXPECT_TRUE(parse("S(1,2,C,A) INCL(1,1,C,EQ,\"a\")", RunKind::RecordAtATime).ok);
}

}  // namespace
}  // namespace sorvel
