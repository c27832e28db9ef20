#include "indexes/index_table.h"

namespace reel {

namespace {

// The blank before ")" in OUTREC and the trailing blank of the format
// suffix are what the engine has always been given; they are kept.
constexpr std::string_view TitlePrefix =
    "S(1,40,C,A) ALTSEQ(UPPER.ALT) OUTREC(1,40,Arrn,CRLF ) Include(1,40,C,GT,";
constexpr std::string_view FormatPrefix =
    "S(1,40,C,A) ALTSEQ(UPPER.ALT) OUTREC(1,40,Arrn,CRLF ) Include(266,1,C,EQ,";
constexpr std::string_view TitleSuffix = ") Record(649)";
constexpr std::string_view FormatSuffix = ") Record(649) ";

}  // namespace

const std::array<IndexSpec, 4>& indexSpecs() {
    static constexpr std::array<IndexSpec, 4> specs = {{
        {"Title", "Titleqen.Dat", "Titleqen", TitlesCount, "Sorting Titles", "000000", TitlePrefix,
         TitleSuffix},
        {"DVD", "DVDqen.Dat", "DVDqen", DvdCount, "Sorting DVD", "D", FormatPrefix, FormatSuffix},
        {"Laser", "Laserqen.Dat", "Laserqen", LaserCount, "Sorting Lasers", "L", FormatPrefix,
         FormatSuffix},
        {"VHS", "VHSqen.Dat", "VHSqen", VhsCount, "Sorting VHS", "V", FormatPrefix, FormatSuffix},
    }};
    return specs;
}

const IndexSpec& indexSpec(CountSlot slot) {
    for (const IndexSpec& entry : indexSpecs())
        if (entry.slot == slot) return entry;
    return indexSpecs()[0];
}

const IndexSpec* indexForView(std::string_view viewMode) {
    if (viewMode == "Genre") return &indexSpecs()[0];
    for (const IndexSpec& entry : indexSpecs())
        if (entry.viewMode == viewMode) return &entry;
    return nullptr;
}

std::string controlStatement(const IndexSpec& index) {
    std::string command(index.prefix);
    command += '"';
    command += index.includeValue;
    command += '"';
    command += index.suffix;
    return command;
}

}  // namespace reel
