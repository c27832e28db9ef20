#include "screen/genre_table.h"

namespace reel {

const std::array<Genre, 20>& genreTable() {
    static constexpr std::array<Genre, 20> table = {{
        {"AA", "AA = Action Adventure", "Action Adventure"},
        {"AD", "AD = Adult", "Adult"},
        {"AN", "AN = Animation", "Animation"},
        {"CH", "CH = Children", "Children"},
        {"CL", "CL = Classic", "Classic"},
        {"CO", "CO = Comedy", "Comedy"},
        {"DO", "DO = Documentary", "Documentary"},
        {"DR", "DR = Drama", "Drama"},
        {"FA", "FA = Fantasy", "Fantasy"},
        {"FO", "FO = Foreign", "Foreign"},
        {"FM", "FM = Family", "Family"},
        {"HO", "HO = Horror", "Horror"},
        {"IN", "IN = Instructional", "Instructional"},
        {"MU", "MU = Musical", "Musicals"},
        {"MS", "MS = Mystery Suspense", "Mystery Suspense"},
        {"MY", "MY = Mystery", "Mystery"},
        {"NA", "NA = Nature", "Nature"},
        {"SF", "SF = Science Fiction", "Science Fiction"},
        {"SI", "SI = Special Interest", "Special Interest"},
        {"WE", "WE = Western", "Western"},
    }};
    return table;
}

std::string genreName(std::string_view code) {
    for (const Genre& g : genreTable())
        if (g.code == code) return std::string(g.name);
    return {};
}

std::string genreCodeOfItem(std::string_view listItem) {
    return std::string(listItem.substr(0, 2));
}

}  // namespace reel
