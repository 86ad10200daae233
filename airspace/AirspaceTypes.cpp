#include "airspace/AirspaceTypes.h"

#include <algorithm>

namespace airspace {
namespace {

struct TypeName {
    std::string_view written;
    std::string_view shortForm;
};

// openAIP's long spellings and their 2.0 forms. PROTECTED, TRP, MRT, MCTR and OTHER have none
// for sure: they are known, and stay as written.
constexpr TypeName kLongNames[] = {
    {"ACC_SECTOR", "ACCSEC"}, {"AERIAL_SPORTING_RECREATIONAL", "ASRA"},
    {"AIRWAY", "AWY"},        {"DANGER", "Q"},
    {"FIS_SECTOR", "FIS"},    {"GLIDING_SECTOR", "GSEC"},
    {"MCTR", "MCTR"},         {"MRT", "MRT"},
    {"OTHER", "OTHER"},       {"OVERFLIGHT_RESTRICTION", "OFR"},
    {"PROHIBITED", "P"},      {"PROTECTED", "PROTECTED"},
    {"RESTRICTED", "R"},      {"TRP", "TRP"},
    {"UNCLASSIFIED", "UNC"},  {"VFR_SECTOR", "VFRSEC"},
};

// The 2.0 list, and the types older files put in "AC" (GP, W, TMZ...).
constexpr std::string_view kShortNames[] = {
    "ACCSEC", "ADIZ", "ALERT", "ASRA", "ATZ",  "AWY",  "CTA",    "CTR",     "CUSTOM", "FIR",
    "FIS",    "GSEC", "HTZ",   "LTA",  "MATZ", "MTA",  "MTR",    "N",       "NONE",   "OFR",
    "P",      "Q",    "R",     "RMZ",  "TFR",  "TIA",  "TIZ",    "TMA",     "TMZ",    "TRA",
    "TRAFR",  "TRZ",  "TSA",   "UIR",  "UTA",  "VFRR", "VFRSEC", "WARNING", "UNC",    "GP",
    "W",      "A",    "B",     "C",    "D",    "E",    "F",      "G"};

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto up = [](char c) {
                   return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
               };
               return up(x) == up(y);
           });
}

}  // namespace

std::string_view shortTypeName(std::string_view written) {
    // Most files use the short forms already: try those first, as written.
    for (const std::string_view name : kShortNames) {
        if (sameIgnoringCase(name, written)) return name;
    }
    for (const TypeName& entry : kLongNames) {
        if (sameIgnoringCase(entry.written, written)) return entry.shortForm;
    }
    return written;
}

bool knownTypeName(std::string_view written) {
    return std::any_of(std::begin(kShortNames), std::end(kShortNames),
                       [&](std::string_view name) { return sameIgnoringCase(name, written); }) ||
           std::any_of(std::begin(kLongNames), std::end(kLongNames),
                       [&](const TypeName& e) { return sameIgnoringCase(e.written, written); });
}

bool isAirspaceClassName(std::string_view written) {
    if (written.size() == 1) {
        const char c = static_cast<char>(written[0] & ~0x20);
        return c >= 'A' && c <= 'G';
    }
    return sameIgnoringCase(written, "UNC") || sameIgnoringCase(written, "UNCLASSIFIED");
}

}  // namespace airspace
