// Placeholder bodies: the selection rules are being written.
#include "airspace/Selection.h"

namespace airspace {

Height parseHeight(std::string_view) {
    return {};
}
std::optional<double> parseAltitudeLimitFeet(std::string_view) {
    return std::nullopt;
}
std::optional<LatLon> parseLatLon(std::string_view) {
    return std::nullopt;
}
std::optional<double> parseDistanceKm(std::string_view) {
    return std::nullopt;
}
double greatCircleKm(LatLon, LatLon) {
    return 0.0;
}
std::optional<double> distanceToAirspaceKm(const AirspaceRecord&, LatLon) {
    return std::nullopt;
}
std::vector<AirspaceMatch> matchAirspaces(const std::vector<AirspaceRecord>&,
                                          const SelectionCriteria&) {
    return {};
}
const std::string& airspaceType(const AirspaceRecord& airspace) {
    return airspace.airspaceClass;
}
FitResult fitToBudget(const std::vector<AirspaceMatch>&, const std::vector<std::size_t>&,
                      std::size_t) {
    return {};
}
AirspaceRecord simplifiedAirspace(const AirspaceRecord& airspace, double) {
    return airspace;
}
std::vector<ReadProblem> checkAirspaceText(std::string_view) {
    return {};
}

}  // namespace airspace
