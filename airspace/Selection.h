// Choosing the airspaces that matter to a pilot and fitting them into the instrument: heights read
// for filtering, the distance from a take-off point, the selection rule, the fit into the store's
// bytes, and outline simplification. Plain functions over records; no toolkit.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "airspace/Activation.h"
#include "airspace/AirspaceReader.h"
#include "airspace/AirspaceRecord.h"

namespace airspace {

// ---- Heights -------------------------------------------------------------------------------

enum class HeightReference {
    Unknown,       // a text the reader does not understand: never used to drop an airspace
    Ground,        // "GND", "SFC", "0", or a number followed by AGL / ASFC / GND
    MeanSeaLevel,  // a number in ft or m, optionally MSL / AMSL
    FlightLevel,   // "FL 95": 9500 ft on the standard pressure; also "5000ft STD"
    Unlimited,     // "UNL", "UNLIM", "UNLTD", "UNLIMITED"
};

struct Height {
    HeightReference reference = HeightReference::Unknown;
    double feet = 0.0;  // above the reference; FL n is n * 100; 0 for Ground alone; unused else

    [[nodiscard]] bool known() const { return reference != HeightReference::Unknown; }
};

// Reads a floor or ceiling text as written in the file ("FL 65", "2500ft MSL", "1000 m AGL",
// "GND", "UNLTD"...). Unknown when the text is not understood.
[[nodiscard]] Height parseHeight(std::string_view text);

// A limit the pilot gives, such as "FL100", "3000ft", "1000m" or a bare number (feet). Empty when
// the text is not a height.
[[nodiscard]] std::optional<double> parseAltitudeLimitFeet(std::string_view text);

// ---- Places and distances ------------------------------------------------------------------

struct LatLon {
    double lat = 0.0;  // degrees, north positive
    double lon = 0.0;  // degrees, east positive
};

inline constexpr double kEarthRadiusKm = 6371.0;
inline constexpr double kKmPerNauticalMile = 1.852;

// A point as pilots write it: "46.7N 7.6E", "46.7, 7.6", "-41.3,174.8",
// "46:42:00 N 007:36:00 E" (and the other OpenAir forms). Empty when it is none of these or out
// of range.
[[nodiscard]] std::optional<LatLon> parseLatLon(std::string_view text);

// A distance such as "50km", "27nm", "800m" or a bare number (kilometres). Empty when not a
// positive distance (or zero, where `zeroAllowed`).
[[nodiscard]] std::optional<double> parseDistanceKm(std::string_view text,
                                                    bool zeroAllowed = false);

// Great-circle distance between two points on a sphere of kEarthRadiusKm.
[[nodiscard]] double greatCircleKm(LatLon a, LatLon b);

// The distance in km from `point` to the outline the instrument will hold for `airspace` (the
// closed polygon decoded from its own encoding): 0 inside, the nearest point of an edge outside.
// Empty when the airspace has no encoding.
[[nodiscard]] std::optional<double> distanceToAirspaceKm(const AirspaceRecord& airspace,
                                                         LatLon point);

// The same for an outline already decoded (decodeOutlinePoints), for callers that draw it too.
// Where the outline lies certainly farther than `beyondKm`, the result may be a lower bound only
// (still above `beyondKm`), which saves the exact search for far airspaces. 0 for no points.
[[nodiscard]] double distanceToOutlineKm(const std::vector<GeoPoint>& outline, LatLon point,
                                         double beyondKm = INFINITY);

// ---- Selection and fit ---------------------------------------------------------------------

struct SelectionCriteria {
    std::optional<LatLon> near;  // with radiusKm: within that distance
    double radiusKm = 50.0;
    std::vector<std::string> types;  // empty: any; else AY, or AC where there is no AY
    // Floor lower than this. A floor above the ground (AGL) counts by its height above the
    // ground, the lowest altitude it can have, so that no airspace that might lie below the limit
    // is dropped; a flight level counts as its feet.
    std::optional<double> floorBelowFeet;
    std::string nameContains;  // empty: any; ignoring case
    // The days of the flight: an airspace with "AA" intervals is kept when one of them overlaps
    // these days; one without is always active. Empty: any day.
    std::optional<FlyingDates> activeDuring;
    // Leave out the airspaces active only by NOTAM ("AA NONE"), whatever the day.
    bool leaveOutNotamOnly = false;
};

struct AirspaceMatch {
    std::size_t index = 0;             // into the records, that is the list index
    std::optional<double> distanceKm;  // when criteria.near is set
    bool floorUnknown = false;  // kept although a floor limit was asked and the floor is unknown
    bool notamOnly = false;     // active only when a NOTAM says so: the pilot must check
};

// One airspace against the criteria; `index` is its list index. Empty when it does not match.
[[nodiscard]] std::optional<AirspaceMatch> matchAirspace(const AirspaceRecord& airspace,
                                                         std::size_t index,
                                                         const SelectionCriteria& criteria);

// The airspaces meeting every criterion, in file order. Airspaces of size 0 never match.
[[nodiscard]] std::vector<AirspaceMatch> matchAirspaces(const std::vector<AirspaceRecord>& records,
                                                        const SelectionCriteria& criteria);

// True when the airspace may be active during `dates`: it has no intervals, one of them overlaps
// the dates, or it is active by NOTAM only.
[[nodiscard]] bool mayBeActive(const AirspaceRecord& airspace, const FlyingDates& dates);

// The type an airspace is matched by: its AY type (in its short form) where it has one, else its
// AC text.
[[nodiscard]] const std::string& airspaceType(const AirspaceRecord& airspace);

struct FitResult {
    std::vector<std::size_t> selected;  // list indexes, ascending
    std::vector<std::size_t> leftOut;   // matched but did not fit, ascending
    std::size_t bytes = 0;              // of the selection
    [[nodiscard]] std::size_t blocks() const { return blocksFor(bytes); }
};

// Takes the matches nearest first (ties, and matches without a distance, in file order) and adds
// each whose bytes still fit into `budget`, skipping one that does not. `sizes` gives the bytes
// of each record by list index (so simplified sizes can be fitted).
[[nodiscard]] FitResult fitToBudget(const std::vector<AirspaceMatch>& matches,
                                    const std::vector<std::size_t>& sizes,
                                    std::size_t budget = kDeviceCapacity);

// ---- Simplification ------------------------------------------------------------------------

// A copy of `airspace` whose point runs are simplified so that the outline the instrument holds
// contains the original one and strays from it by at most `toleranceMetres`. Circles and arcs
// stay. Where simplifying would not save bytes the copy is unchanged. Tolerance 0: an exact copy.
[[nodiscard]] AirspaceRecord simplifiedAirspace(const AirspaceRecord& airspace,
                                                double toleranceMetres);

// ---- Reading problems, for a compiler-style check of a file --------------------------------

// Every problem met while reading `contents`, in file order.
[[nodiscard]] std::vector<ReadProblem> checkAirspaceText(std::string_view contents);
// The same, with what the file's header says.
struct OpenAirHeader;
[[nodiscard]] std::vector<ReadProblem> checkAirspaceText(std::string_view contents,
                                                         OpenAirHeader* header);

}  // namespace airspace
