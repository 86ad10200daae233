// The selection rule and the fit into the instrument's store.
#include "airspace/Selection.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <string>
#include <string_view>

#include "airspace/OutlineDecoder.h"

namespace airspace {
namespace {

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

bool containsIgnoringCase(std::string_view text, std::string_view part) {
    if (part.empty()) return true;
    const auto found = std::search(text.begin(), text.end(), part.begin(), part.end(),
                                   [](char x, char y) { return lower(x) == lower(y); });
    return found != text.end();
}

bool typeMatches(const AirspaceRecord& airspace, const std::vector<std::string>& types) {
    if (types.empty()) return true;
    const std::string& type = airspaceType(airspace);
    return std::any_of(types.begin(), types.end(),
                       [&](const std::string& wanted) { return equalIgnoringCase(type, wanted); });
}

}  // namespace

bool mayBeActive(const AirspaceRecord& airspace, const FlyingDates& dates) {
    if (airspace.notamOnly || airspace.activations.empty()) return true;
    return std::any_of(airspace.activations.begin(), airspace.activations.end(),
                       [&](const Activation& a) { return overlaps(a, dates); });
}

const std::string& airspaceType(const AirspaceRecord& airspace) {
    return airspace.type.empty() ? airspace.airspaceClass : airspace.type;
}

std::optional<AirspaceMatch> matchAirspace(const AirspaceRecord& airspace, std::size_t index,
                                           const SelectionCriteria& criteria) {
    // An airspace without bytes is nothing the instrument could hold.
    if (airspace.encodedSize() == 0) return std::nullopt;
    if (!typeMatches(airspace, criteria.types)) return std::nullopt;
    if (!containsIgnoringCase(airspace.name, criteria.nameContains)) return std::nullopt;
    if (airspace.notamOnly && criteria.leaveOutNotamOnly) return std::nullopt;
    if (criteria.activeDuring && !mayBeActive(airspace, *criteria.activeDuring)) {
        return std::nullopt;
    }
    AirspaceMatch match;
    match.index = index;
    match.notamOnly = airspace.notamOnly;
    if (criteria.floorBelowFeet) {
        const Height floor = parseHeight(airspace.floor);
        if (!floor.known()) {
            // A floor the reader cannot tell might be the ground: dropping it could hide an
            // airspace the pilot flies into.
            match.floorUnknown = true;
        } else if (floor.reference == HeightReference::Unlimited ||
                   floor.feet >= *criteria.floorBelowFeet) {
            return std::nullopt;
        }
    }
    if (criteria.near) {
        const double km =
            distanceToOutlineKm(decodeOutlinePoints(airspace), *criteria.near, criteria.radiusKm);
        if (km > criteria.radiusKm) return std::nullopt;
        match.distanceKm = km;
    }
    return match;
}

std::vector<AirspaceMatch> matchAirspaces(const std::vector<AirspaceRecord>& records,
                                          const SelectionCriteria& criteria) {
    std::vector<AirspaceMatch> matches;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (auto match = matchAirspace(records[i], i, criteria)) matches.push_back(*match);
    }
    return matches;
}

FitResult fitToBudget(const std::vector<AirspaceMatch>& matches,
                      const std::vector<std::size_t>& sizes, std::size_t budget) {
    std::vector<std::size_t> order(matches.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    auto distance = [&](std::size_t m) {
        return matches[m].distanceKm ? *matches[m].distanceKm : INFINITY;
    };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (distance(a) != distance(b)) return distance(a) < distance(b);
        return matches[a].index < matches[b].index;
    });

    FitResult result;
    for (const std::size_t m : order) {
        const std::size_t index = matches[m].index;
        const std::size_t size = index < sizes.size() ? sizes[index] : 0;
        if (size == 0) continue;
        // Skip one that does not fit and go on: a smaller one farther away may still fit.
        if (size <= budget - result.bytes) {
            result.selected.push_back(index);
            result.bytes += size;
        } else {
            result.leftOut.push_back(index);
        }
    }
    std::sort(result.selected.begin(), result.selected.end());
    std::sort(result.leftOut.begin(), result.leftOut.end());
    return result;
}

}  // namespace airspace
