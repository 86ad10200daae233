#include "airspace/Selection.h"

namespace airspace {

AirspaceRecord simplifiedAirspace(const AirspaceRecord& airspace, double) {
    return airspace;
}

}  // namespace airspace
