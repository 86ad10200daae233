#include "tools/quillon/selection_options.h"

#include <charconv>
#include <string_view>

#include "tools/quillon/texts.h"

namespace quillon {
namespace {

// "--near=VALUE" or "--near VALUE"; the value is taken as it is, minus sign and all.
bool valueOf(const std::vector<std::string>& args, std::size_t& i, std::string_view name,
             std::string& value, bool& matched) {
    const std::string& arg = args[i];
    matched = false;
    if (arg == name) {
        matched = true;
        if (i + 1 >= args.size()) return false;
        value = args[++i];
        return true;
    }
    if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 &&
        arg[name.size()] == '=') {
        matched = true;
        value = arg.substr(name.size() + 1);
        return true;
    }
    return false;
}

bool wholeNumber(std::string_view text, std::size_t& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// "R,P,CTR" into the list of types.
std::vector<std::string> typeList(std::string_view text) {
    std::vector<std::string> types;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        std::string_view type = text.substr(0, comma);
        while (!type.empty() && type.front() == ' ') type.remove_prefix(1);
        while (!type.empty() && type.back() == ' ') type.remove_suffix(1);
        if (!type.empty()) types.emplace_back(type);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return types;
}

// A tolerance such as "100m", "0.1km", "0.05nm" or a bare number of metres; 0 turns it off.
bool readTolerance(const std::string& text, double& metres) {
    if (text == "0") {
        metres = 0.0;
        return true;
    }
    std::string value = text;
    bool bare = !value.empty();
    for (const char c : value) bare = bare && ((c >= '0' && c <= '9') || c == '.');
    if (bare) value += "m";  // a bare number is metres here, not kilometres
    const auto km = airspace::parseDistanceKm(value);
    if (!km) return false;
    metres = *km * 1000.0;
    return true;
}

}  // namespace

OptionRead readSelectionOption(const std::vector<std::string>& args, std::size_t& i,
                               SelectionOptions& options, std::string& error) {
    std::string value;
    bool matched = false;
    if (valueOf(args, i, "--near", value, matched) || matched) {
        const auto point = matched && !value.empty() ? airspace::parseLatLon(value) : std::nullopt;
        if (!point) {
            error = text("--near needs a point such as 46.7,7.6 or 46.7N 7.6E",
                         "--near braucht einen Punkt wie 46.7,7.6 oder 46.7N 7.6E");
            return OptionRead::Bad;
        }
        options.criteria.near = point;
        options.filtered = true;
        return OptionRead::Taken;
    }
    if (valueOf(args, i, "--radius", value, matched) || matched) {
        const auto km = matched ? airspace::parseDistanceKm(value) : std::nullopt;
        if (!km) {
            error = text("--radius needs a distance such as 50km, 27nm or 800m",
                         "--radius braucht eine Entfernung wie 50km, 27nm oder 800m");
            return OptionRead::Bad;
        }
        options.criteria.radiusKm = *km;
        return OptionRead::Taken;
    }
    if (valueOf(args, i, "--type", value, matched) || matched) {
        options.criteria.types = typeList(value);
        if (options.criteria.types.empty()) {
            error = text("--type needs types such as R,P,CTR", "--type braucht Typen wie R,P,CTR");
            return OptionRead::Bad;
        }
        options.filtered = true;
        return OptionRead::Taken;
    }
    if (valueOf(args, i, "--below", value, matched) || matched) {
        const auto feet = matched ? airspace::parseAltitudeLimitFeet(value) : std::nullopt;
        if (!feet) {
            error = text("--below needs a height such as FL100, 3000ft or 1000m",
                         "--below braucht eine Höhe wie FL100, 3000ft oder 1000m");
            return OptionRead::Bad;
        }
        options.criteria.floorBelowFeet = feet;
        options.filtered = true;
        return OptionRead::Taken;
    }
    if (valueOf(args, i, "--name", value, matched) || matched) {
        if (!matched || value.empty()) {
            error = text("--name needs a text", "--name braucht einen Text");
            return OptionRead::Bad;
        }
        options.criteria.nameContains = value;
        options.filtered = true;
        return OptionRead::Taken;
    }
    if (valueOf(args, i, "--date", value, matched) || matched) {
        const auto dates = matched
                               ? airspace::parseFlyingDates(value, airspace::currentUtcSeconds())
                               : std::nullopt;
        if (!dates) {
            error = text("--date needs a day such as 2026-07-15, today or 2026-07-15/2026-07-20",
                         "--date braucht einen Tag wie 2026-07-15, today oder "
                         "2026-07-15/2026-07-20");
            return OptionRead::Bad;
        }
        options.criteria.activeDuring = dates;
        options.filtered = true;
        return OptionRead::Taken;
    }
    if (args[i] == "--no-notam-only") {
        options.criteria.leaveOutNotamOnly = true;
        options.filtered = true;
        return OptionRead::Taken;
    }
    if (args[i] == "--fit" || args[i].rfind("--fit=", 0) == 0) {
        options.fit = true;
        // The budget is optional: "--fit 2000" or "--fit=2000", else the whole store.
        std::string budget;
        if (args[i].size() > 6) {
            budget = args[i].substr(6);
        } else if (i + 1 < args.size() && !args[i + 1].empty() && args[i + 1][0] >= '0' &&
                   args[i + 1][0] <= '9') {
            budget = args[++i];
        }
        if (!budget.empty() && (!wholeNumber(budget, options.budget) || options.budget == 0)) {
            error = text("--fit takes a number of bytes, such as 3192",
                         "--fit nimmt eine Anzahl Bytes, etwa 3192");
            return OptionRead::Bad;
        }
        return OptionRead::Taken;
    }
    if (valueOf(args, i, "--simplify", value, matched) || matched) {
        if (!matched || !readTolerance(value, options.simplifyMetres)) {
            error = text("--simplify needs a tolerance such as 100m (0 = off)",
                         "--simplify braucht eine Toleranz wie 100m (0 = aus)");
            return OptionRead::Bad;
        }
        return OptionRead::Taken;
    }
    return OptionRead::NotMine;
}

std::vector<OptionHelp> selectionOptionHelp() {
    return {
        {"--near LAT,LON", text("airspaces near this point: 46.7,7.6, 46.7N 7.6E or "
                                "46:42:00 N 007:36:00 E",
                                "Lufträume nahe diesem Punkt: 46.7,7.6, 46.7N 7.6E oder "
                                "46:42:00 N 007:36:00 E")},
        {"--radius 50km", text("how near (km, nm or m; a bare number is km; 50 km if not given)",
                               "wie nahe (km, nm oder m; eine bloße Zahl ist km; sonst 50 km)")},
        {"--type R,P,CTR", text("these types (AY, or AC where there is none), any case",
                                "diese Typen (AY, sonst AC), Groß/klein egal")},
        {"--below FL100", text("floor below this (FL, ft or m); an unreadable floor is kept",
                               "Untergrenze darunter (FL, ft oder m); unlesbare bleiben")},
        {"--name TEXT", text("name contains TEXT, any case", "Name enthält TEXT, Groß/klein egal")},
        {"--date DAY", text("active that day (UTC): 2026-07-15, today or 2026-07-15/2026-07-20; "
                            "without AA dates always",
                            "an dem Tag (UTC) aktiv: 2026-07-15, today oder "
                            "2026-07-15/2026-07-20; ohne AA-Daten immer")},
        {"--no-notam-only", text("leave out airspaces active only by NOTAM (AA NONE)",
                                 "Lufträume weglassen, die nur per NOTAM aktiv sind (AA NONE)")},
        {"--fit [BYTES]", text("nearest first, as many as fit (3192 bytes if not given)",
                               "die nächsten zuerst, so viele wie passen (sonst 3192 Bytes)")},
        {"--simplify 100m", text("simplify outlines outward by at most this (0 = off)",
                                 "Umrisse höchstens so weit nach außen vereinfachen (0 = aus)")},
    };
}

void simplifyRecords(std::vector<airspace::AirspaceRecord>& records,
                     const std::vector<std::size_t>& indexes, double metres) {
    if (metres <= 0.0) return;
    for (const std::size_t i : indexes) {
        if (i < records.size()) records[i] = airspace::simplifiedAirspace(records[i], metres);
    }
}

SelectionOutcome applySelection(std::vector<airspace::AirspaceRecord>& records,
                                const SelectionOptions& options) {
    SelectionOutcome outcome;
    outcome.plainSizes.reserve(records.size());
    for (const auto& record : records) outcome.plainSizes.push_back(record.encodedSize());
    outcome.matches = airspace::matchAirspaces(records, options.criteria);

    std::vector<std::size_t> matched;
    matched.reserve(outcome.matches.size());
    for (const auto& match : outcome.matches) matched.push_back(match.index);
    // Only what may be sent is simplified: a national file has far more than the pilot needs.
    simplifyRecords(records, matched, options.simplifyMetres);

    std::vector<std::size_t> sizes;
    sizes.reserve(records.size());
    for (const auto& record : records) sizes.push_back(record.encodedSize());
    outcome.fit = airspace::fitToBudget(
        outcome.matches, sizes, options.fit ? options.budget : static_cast<std::size_t>(-1));
    return outcome;
}

}  // namespace quillon
