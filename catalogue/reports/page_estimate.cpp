#include "reports/page_estimate.h"

#include <cstdio>
#include <cstdlib>

namespace reel {

namespace {

constexpr const char* OnePage = " page to print.";
constexpr const char* Pages = " pages to print.";

std::string estimateText(double quotient) {
    return generalNumber(quotient).substr(0, 5) + (quotient == 1 ? OnePage : Pages);
}

}  // namespace

std::string generalNumber(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

long long countValue(std::string_view countText) {
    std::string text(countText);
    return std::strtoll(text.c_str(), nullptr, 10);
}

std::string abridgedEstimate(std::string_view countText) {
    long long films = countValue(countText);
    if (films < 53) films = 53;
    return estimateText(static_cast<double>(films) / 53.0);
}

std::string fullListEstimate(std::int32_t lastRecord) {
    double quotient = static_cast<double>(lastRecord) / 8.0;
    if (quotient < 1) return std::string("1") + OnePage;
    return estimateText(quotient);
}

}  // namespace reel
