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
    std::string value = text;
    bool bare = !value.empty();
    for (const char c : value) bare = bare && ((c >= '0' && c <= '9') || c == '.');
    if (bare) value += "m";  // a bare number is metres here, not kilometres
    const auto km = airspace::parseDistanceKm(value, true);  // "0", "0m", "0.0km": off
    if (!km) return false;
    metres = *km * 1000.0;
    return true;
}

// "auto" or "auto:1000m": the smallest tolerance at which everything fits, up to the ceiling.
bool readAutoTolerance(const std::string& text, SelectionOptions& options) {
    if (text == "auto") {
        options.autoTolerance = true;
        return true;
    }
    if (text.rfind("auto:", 0) != 0) return false;
    double ceiling = 0.0;
    if (!readTolerance(text.substr(5), ceiling) || !(ceiling > 0.0)) return false;
    options.autoTolerance = true;
    options.autoCeilingMetres = ceiling;
    return true;
}

// "3,17" added to `indexes` (list indexes as list --index shows them).
bool readIndexes(std::string_view text, std::vector<std::size_t>& indexes) {
    if (text.empty()) return false;
    while (true) {
        const std::size_t comma = text.find(',');
        std::size_t index = 0;
        if (!wholeNumber(text.substr(0, comma), index)) return false;
        indexes.push_back(index);
        if (comma == std::string_view::npos) return true;
        text.remove_prefix(comma + 1);
    }
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
                         "--near braucht einen Punkt wie 46.7,7.6 oder 46.7N 7.6E",
                         "--near attend un point comme 46.7,7.6 ou 46.7N 7.6E");
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
                         "--radius braucht eine Entfernung wie 50km, 27nm oder 800m",
                         "--radius attend une distance comme 50km, 27nm ou 800m");
            return OptionRead::Bad;
        }
        options.criteria.radiusKm = *km;
        return OptionRead::Taken;
    }
    if (valueOf(args, i, "--type", value, matched) || matched) {
        options.criteria.types = typeList(value);
        if (options.criteria.types.empty()) {
            error = text("--type needs types such as R,P,CTR", "--type braucht Typen wie R,P,CTR",
                         "--type attend des types comme R,P,CTR");
            return OptionRead::Bad;
        }
        options.filtered = true;
        return OptionRead::Taken;
    }
    if (valueOf(args, i, "--below", value, matched) || matched) {
        const auto feet = matched ? airspace::parseAltitudeLimitFeet(value) : std::nullopt;
        if (!feet) {
            error = text("--below needs a height such as FL100, 3000ft or 1000m",
                         "--below braucht eine Höhe wie FL100, 3000ft oder 1000m",
                         "--below attend une hauteur comme FL100, 3000ft ou 1000m");
            return OptionRead::Bad;
        }
        options.criteria.floorBelowFeet = feet;
        options.filtered = true;
        return OptionRead::Taken;
    }
    if (valueOf(args, i, "--name", value, matched) || matched) {
        if (!matched || value.empty()) {
            error =
                text("--name needs a text", "--name braucht einen Text", "--name attend un texte");
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
                         "2026-07-15/2026-07-20",
                         "--date demande un jour comme 2026-07-15, today ou 2026-07-15/2026-07-20");
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
                         "--fit nimmt eine Anzahl Bytes, etwa 3192",
                         "--fit prend un nombre d'octets, comme 3192");
            return OptionRead::Bad;
        }
        return OptionRead::Taken;
    }
    if (valueOf(args, i, "--simplify", value, matched) || matched) {
        options.autoTolerance = false;
        if (!matched ||
            (!readAutoTolerance(value, options) && !readTolerance(value, options.simplifyMetres))) {
            error = text("--simplify needs a tolerance such as 100m (0 = off), auto or auto:1000m",
                         "--simplify braucht eine Toleranz wie 100m (0 = aus), auto oder "
                         "auto:1000m",
                         "--simplify attend une tolérance comme 100m (0 = sans), auto ou "
                         "auto:1000m");
            return OptionRead::Bad;
        }
        return OptionRead::Taken;
    }
    if (args[i] == "--clip" || args[i].rfind("--clip=", 0) == 0) {
        options.clip = true;
        // The margin is optional, as --fit's budget: "--clip 5km" or "--clip=5km".
        std::string margin;
        if (args[i].size() > 6) {
            margin = args[i].substr(7);
        } else if (i + 1 < args.size() && !args[i + 1].empty() && args[i + 1][0] >= '0' &&
                   args[i + 1][0] <= '9') {
            margin = args[++i];
        }
        if (args[i].rfind("--clip=", 0) == 0 || !margin.empty()) {
            const auto km = airspace::parseDistanceKm(margin);
            if (!km) {
                error = text("--clip takes a margin such as 5km, 3nm or 800m",
                             "--clip nimmt einen Rand wie 5km, 3nm oder 800m",
                             "--clip prend une marge comme 5km, 3nm ou 800m");
                return OptionRead::Bad;
            }
            options.clipMarginKm = km;
        }
        return OptionRead::Taken;
    }
    for (const bool pin : {true, false}) {
        if (!(valueOf(args, i, pin ? "--pin" : "--exclude", value, matched) || matched)) continue;
        if (!matched || !readIndexes(value, pin ? options.pinned : options.excluded)) {
            error = pin ? text("--pin needs list indexes such as 3,17",
                               "--pin braucht Listenindizes wie 3,17",
                               "--pin demande des index de la liste comme 3,17")
                        : text("--exclude needs list indexes such as 9",
                               "--exclude braucht Listenindizes wie 9",
                               "--exclude demande des index de la liste comme 9");
            return OptionRead::Bad;
        }
        return OptionRead::Taken;
    }
    if (valueOf(args, i, "--prefer", value, matched) || matched) {
        std::vector<std::string> types = typeList(value);
        const bool none = types.size() == 1 && (types[0] == "none" || types[0] == "NONE");
        if (!matched || (types.empty() && !none)) {
            error = text("--prefer needs types such as CTR,R,P (or none)",
                         "--prefer braucht Typen wie CTR,R,P (oder none)",
                         "--prefer demande des types comme CTR,R,P (ou none)");
            return OptionRead::Bad;
        }
        if (none) types.clear();
        options.preferredTypes = std::move(types);
        return OptionRead::Taken;
    }
    return OptionRead::NotMine;
}

std::vector<OptionHelp> selectionOptionHelp() {
    return {
        {"--near LAT,LON", text("airspaces near this point: 46.7,7.6, 46.7N 7.6E or "
                                "46:42:00 N 007:36:00 E",
                                "Lufträume nahe diesem Punkt: 46.7,7.6, 46.7N 7.6E oder "
                                "46:42:00 N 007:36:00 E",
                                "les espaces aériens près de ce point : 46.7,7.6, 46.7N 7.6E ou "
                                "46:42:00 N 007:36:00 E")},
        {"--radius 50km",
         text("how near (km, nm or m; a bare number is km; 50 km if not given)",
              "wie nahe (km, nm oder m; eine bloße Zahl ist km; sonst 50 km)",
              "à quelle distance (km, nm ou m, un nombre seul est en km, 50 km sinon)")},
        {"--type R,P,CTR",
         text("these types (AY, or AC where there is none), any case",
              "diese Typen (AY, sonst AC), Groß/klein egal",
              "ces types (AY, ou AC faute de AY), sans tenir compte de la casse")},
        {"--below FL100",
         text("floor below this (FL, ft or m); an unreadable floor is kept",
              "Untergrenze darunter (FL, ft oder m); unlesbare bleiben",
              "plancher sous cette hauteur (FL, ft ou m), un plancher illisible est gardé")},
        {"--name TEXT", text("name contains TEXT, any case", "Name enthält TEXT, Groß/klein egal",
                             "le nom contient TEXTE, sans tenir compte de la casse")},
        {"--date DAY", text("active that day (UTC): 2026-07-15, today or 2026-07-15/2026-07-20; "
                            "without AA dates always",
                            "an dem Tag (UTC) aktiv: 2026-07-15, today oder "
                            "2026-07-15/2026-07-20; ohne AA-Daten immer",
                            "actifs ce jour-là (UTC) : 2026-07-15, today ou "
                            "2026-07-15/2026-07-20 ; toujours sans dates AA")},
        {"--no-notam-only", text("leave out airspaces active only by NOTAM (AA NONE)",
                                 "Lufträume weglassen, die nur per NOTAM aktiv sind (AA NONE)",
                                 "laisser de côté les espaces actifs seulement par NOTAM "
                                 "(AA NONE)")},
        {"--fit [BYTES]", text("nearest first, as many as fit (3192 bytes if not given); "
                               "identical outlines go once",
                               "die nächsten zuerst, so viele wie passen (sonst 3192 Bytes); "
                               "gleiche Umrisse gehen einmal",
                               "les plus proches d'abord, autant qu'il en tient (3192 octets "
                               "sinon), un contour identique n'est envoyé qu'une fois")},
        {"--simplify 100m|auto",
         text("simplify outlines outward by at most this (0 = off); auto: "
              "the least of 0, 50, 100, 250, 500 m at which all fit; "
              "auto:1000m raises that ceiling",
              "Umrisse höchstens so weit nach außen vereinfachen (0 = aus); "
              "auto: die kleinste von 0, 50, 100, 250, 500 m, bei der alle "
              "passen; auto:1000m hebt diese Grenze",
              "simplifier les contours vers l'extérieur d'au plus cette distance (0 = sans) ; "
              "auto : la plus petite de 0, 50, 100, 250, 500 m qui fait tout tenir ; "
              "auto:1000m relève ce plafond")},
        {"--clip [MARGIN]", text("cut outlines to the radius plus a margin (5 km or a tenth of "
                                 "the radius if not given); needs --near",
                                 "Umrisse auf den Radius und einen Rand zuschneiden (sonst 5 km "
                                 "oder ein Zehntel des Radius); braucht --near",
                                 "découper les contours au rayon plus une marge (5 km ou un "
                                 "dixième du rayon sinon) ; demande --near")},
        {"--pin 3,17", text("always include these lines of list --index",
                            "diese Zeilen von list --index immer aufnehmen",
                            "toujours inclure ces lignes de list --index")},
        {"--exclude 9", text("never include these lines of list --index",
                             "diese Zeilen von list --index nie aufnehmen",
                             "ne jamais inclure ces lignes de list --index")},
        {"--prefer CTR,R,P", text("fit these types first, nearest first among them (default "
                                  "CTR,R,P,D,TMA,CTA,TMZ,RMZ; FIR, UIR, FIS last; none: "
                                  "nearest first only)",
                                  "diese Typen zuerst einpassen, die nächsten zuerst (Vorgabe "
                                  "CTR,R,P,D,TMA,CTA,TMZ,RMZ; FIR, UIR, FIS zuletzt; none: nur "
                                  "die nächsten zuerst)",
                                  "placer ces types d'abord, les plus proches en premier (par "
                                  "défaut CTR,R,P,D,TMA,CTA,TMZ,RMZ ; FIR, UIR, FIS en dernier ; "
                                  "none : seulement les plus proches d'abord)")},
    };
}

void simplifyRecords(std::vector<airspace::AirspaceRecord>& records,
                     const std::vector<std::size_t>& indexes, double metres) {
    if (metres <= 0.0) return;
    for (const std::size_t i : indexes) {
        if (i < records.size()) records[i] = airspace::simplifiedAirspace(records[i], metres);
    }
}

std::string selectionOptionsProblem(const SelectionOptions& options, std::size_t recordCount) {
    if (options.clip && !options.criteria.near) {
        return text("--clip needs --near: it cuts to the radius around the take-off",
                    "--clip braucht --near: es schneidet auf den Radius um den Startplatz zu",
                    "--clip demande --near : il découpe au rayon autour du décollage");
    }
    for (const auto* list : {&options.pinned, &options.excluded}) {
        for (const std::size_t index : *list) {
            if (index >= recordCount) {
                return (list == &options.pinned ? "--pin" : "--exclude") +
                       text(" needs list indexes from 0 to ", " braucht Listenindizes von 0 bis ",
                            " demande des index de la liste de 0 à ") +
                       std::to_string(recordCount) +
                       text(" (exclusive), as list --index shows them",
                            " (ausschließlich), wie list --index sie zeigt",
                            " (exclu), comme list --index les montre");
            }
        }
    }
    return {};
}

airspace::FitOptions fitOptionsOf(const SelectionOptions& options) {
    airspace::FitOptions fit;
    fit.criteria = options.criteria;
    fit.fit = options.fit;
    fit.budget = options.budget;
    fit.toleranceMetres = options.simplifyMetres;
    fit.autoTolerance = options.autoTolerance;
    fit.autoCeilingMetres = options.autoCeilingMetres;
    fit.clip = options.clip;
    fit.clipMarginKm = options.clipMarginKm;
    fit.pinned = options.pinned;
    fit.excluded = options.excluded;
    if (options.preferredTypes) fit.preferredTypes = *options.preferredTypes;
    return fit;
}

airspace::FitPlan planSelection(const std::vector<airspace::AirspaceRecord>& records,
                                const SelectionOptions& options) {
    return airspace::planFit(records, fitOptionsOf(options));
}

std::string planSummary(const airspace::FitPlan& plan) {
    airspace::FitSummaryWords words;
    switch (language()) {
        case seriallink::Language::German:
            words.matched = " passend, ";
            words.selected = " ausgewählt";
            words.alwaysIncluded = " immer aufgenommen";
            words.share = " teilen einen Umriss";
            words.simplifiedAt = " vereinfacht um ";
            words.cut = " auf den Radius zugeschnitten";
            words.keptOriginal = " mit ihrem ursprünglichen Umriss";
            words.leftOut = " mangels Platz weggelassen";
            words.bytes = " Bytes, ";
            words.blocksOf = " Blöcke von ";
            words.thousands = '.';
            break;
        case seriallink::Language::French:
            words.matched = " trouvés, ";
            words.selected = " sélectionnés";
            words.alwaysIncluded = " toujours inclus";
            words.share = " partagent un contour";
            words.simplifiedAt = " simplifiés à ";
            words.cut = " découpés au rayon";
            words.keptOriginal = " gardent leur contour d'origine";
            words.leftOut = " laissés de côté faute de place";
            words.bytes = " octets, ";
            words.blocksOf = " blocs sur ";
            words.colon = " : ";
            words.semicolon = " ; ";
            words.thousands = ' ';
            break;
        case seriallink::Language::English:
            break;
    }
    return airspace::fitSummary(plan, words);
}

}  // namespace quillon
