// Flat-earth geometry around a centre, in the instrument's units (hundredths of a minute of arc,
// distances in hundredths of a nautical mile).
//
// Internal angles, not bearings: theta = 180 - bearing, so 0 points south, 90 east, 180 north and
// 270 west; a point at distance d and angle theta lies d*cos(theta) south and d*sin(theta) east of
// the centre. Clockwise on the map (the OpenAir default direction) runs toward decreasing theta.
#pragma once

#include <cstdint>

#include "airspace/GeoPoint.h"

namespace airspace {

// Average of cos(latitude) over 11 latitudes evenly spaced from a to b (inclusive).
[[nodiscard]] double meanCosine(GeoPoint a, GeoPoint b);

// The point at distance `distance` and internal angle `theta` (degrees) from `centre`, rounded to
// whole units. Results that do not fit 32 bits (near the poles) saturate; the encoder refuses
// them since they lie far outside its 24-bit range.
[[nodiscard]] GeoPoint pointAt(GeoPoint centre, double distance, double theta);

// Distance from a to b in hundredths of a nautical mile.
[[nodiscard]] double distanceTo(GeoPoint a, GeoPoint b);

// Internal angle (0 <= theta < 360) from `centre` to `point`.
[[nodiscard]] double angleTo(GeoPoint centre, GeoPoint point);

// Longitude units shrunk to distance units at a reference latitude: positive values round half
// up, negative ones are cut toward zero (what the preview has always done). Saturates at the
// 32-bit limits.
[[nodiscard]] std::int32_t scaledLongitude(std::int64_t lonUnits, std::int32_t referenceLat);

// Rounds half away from zero, saturating at the 32-bit limits (NaN gives the upper limit, far
// outside every range the encoder accepts).
[[nodiscard]] std::int32_t nearest(double value);

}  // namespace airspace
