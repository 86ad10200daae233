// Cutting outlines to the flying area.
//
// The area is the regular polygon (16 sides unless asked otherwise) that circumscribes the disk
// of the radius plus the margin around the take-off (few sides: a piece carries at most as many
// corners of the area's border), in a
// plane about the take-off (east and north in km, longitudes taken the short way round, so the
// 180th meridian is nothing special). An airspace that holds the whole area is sent as the
// instrument's own circle around the take-off, whose 16-gon holds the area: 8 bytes. Each edge of
// the outline as the instrument holds it is cut to that polygon; the parts inside form chains, each
// entering and leaving across the polygon's border. A chain is joined to the next one by walking
// the border the way the outline turns, as in Weiler and Atherton's clipping, and every loop of
// chains is one piece. The points of the chains are the original points, so inside the area the
// pieces hold exactly the original outline; where a chain meets the border, its end is put on the
// grid outside the airspace. An outline that crosses itself is cut as the outer border of all it
// encloses; where that border meets itself at a point, each part of a piece is a piece of its own.
#include "airspace/Clip.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>

#include "airspace/OutlineBuilder.h"
#include "airspace/OutlineChecks.h"
#include "airspace/OutlineDecoder.h"
#include "airspace/OutlineEncoder.h"
#include "airspace/OutwardBuffer.h"

namespace airspace {
namespace {

constexpr double kPi = 3.141592653589793;
// Km per unit on the sphere of the distance functions.
constexpr double kKmPerUnit = kEarthRadiusKm * kPi / (180.0 * kUnitsPerDegree);
constexpr std::int64_t kUnitsAround = 360 * std::int64_t{kUnitsPerDegree};
// The plane about the take-off bends from the sphere by less than this share at the area's edge.
constexpr double kPlaneSlack = 1.01;
// A point this close to the area's border counts as on it (a few grid units).
constexpr double kOnBorderKm = 0.06;

struct AreaPoint {
    double x = 0.0;  // km east of the take-off
    double y = 0.0;  // km north
};

// The plane about the take-off and the area's polygon in it.
class Area {
public:
    explicit Area(const ClipArea& area)
        : centreLon_(area.centre.lon * kUnitsPerDegree),
          centreLat_(area.centre.lat * kUnitsPerDegree),
          cosine_(std::max(std::cos(area.centre.lat * kPi / 180.0), 1e-6)),
          apothem_((area.radiusKm + std::max(area.marginKm, 0.0)) * kPlaneSlack),
          sides_(std::clamp(area.sides, 4, 64)),
          turn_(area.turnedHalfSide ? kPi / std::clamp(area.sides, 4, 64) : 0.0) {}

    // Longitude units east of the take-off, the short way round.
    [[nodiscard]] double east(std::int32_t lon) const {
        double d =
            std::fmod(static_cast<double>(lon) - centreLon_, static_cast<double>(kUnitsAround));
        if (d >= kUnitsAround / 2.0) d -= static_cast<double>(kUnitsAround);
        if (d < -kUnitsAround / 2.0) d += static_cast<double>(kUnitsAround);
        return d;
    }
    [[nodiscard]] AreaPoint to(double eastUnits, std::int32_t lat) const {
        return {eastUnits * cosine_ * kKmPerUnit,
                (static_cast<double>(lat) - centreLat_) * kKmPerUnit};
    }
    [[nodiscard]] AreaPoint to(GeoPoint p) const { return to(east(p.lon), p.lat); }
    // The grid point nearest to `p`, its longitude `lonShift` units from the take-off's.
    [[nodiscard]] GeoPoint from(AreaPoint p, double lonShift) const {
        return {static_cast<std::int32_t>(
                    std::llround(centreLon_ + lonShift + p.x / (cosine_ * kKmPerUnit))),
                static_cast<std::int32_t>(std::llround(centreLat_ + p.y / kKmPerUnit))};
    }
    // How far beyond the border p lies (negative inside).
    [[nodiscard]] double beyond(AreaPoint p) const {
        double most = -INFINITY;
        for (int k = 0; k < sides_; ++k) {
            const double a = 2.0 * kPi * k / sides_ + turn_;
            most = std::max(most, p.x * std::cos(a) + p.y * std::sin(a) - apothem_);
        }
        return most;
    }
    // The part of the segment from a to b inside the area, as parameters; empty when none.
    [[nodiscard]] std::optional<std::pair<double, double>> cut(AreaPoint a, AreaPoint b) const {
        double t0 = 0.0;
        double t1 = 1.0;
        for (int k = 0; k < sides_; ++k) {
            const double angle = 2.0 * kPi * k / sides_ + turn_;
            const double na = a.x * std::cos(angle) + a.y * std::sin(angle) - apothem_;
            const double nd = (b.x - a.x) * std::cos(angle) + (b.y - a.y) * std::sin(angle);
            if (nd == 0.0) {
                if (na > 0.0) return std::nullopt;
                continue;
            }
            const double t = -na / nd;
            if (nd < 0.0) {
                t0 = std::max(t0, t);
            } else {
                t1 = std::min(t1, t);
            }
            if (t0 >= t1) return std::nullopt;
        }
        return std::make_pair(t0, t1);
    }
    [[nodiscard]] AreaPoint corner(int k) const {
        const double angle = cornerAngle(k);
        const double r = cornerRadius();
        return {r * std::cos(angle), r * std::sin(angle)};
    }
    [[nodiscard]] double cornerRadius() const { return apothem_ / std::cos(kPi / sides_); }
    [[nodiscard]] double cornerAngle(int k) const { return 2.0 * kPi * (k + 0.5) / sides_ + turn_; }
    [[nodiscard]] int sides() const { return sides_; }
    [[nodiscard]] double centreLon() const { return centreLon_; }

private:
    double centreLon_;
    double centreLat_;
    double cosine_;
    double apothem_;
    int sides_;
    double turn_;  // radians counter-clockwise from east of the first side's outward normal
};

double angleOf(AreaPoint p) {
    const double a = std::atan2(p.y, p.x);
    return a < 0.0 ? a + 2.0 * kPi : a;
}

// A run of the outline inside the area, from where it enters to where it leaves.
struct Chain {
    std::vector<GeoPoint> points;
    AreaPoint entry;
    AreaPoint exit;
    double lonShift = 0.0;  // its longitudes less the take-off's, less the short way's
};

// The point of the edge from a to b at t, on the grid, in the edge's own longitudes: the corner of
// its grid cell nearest to the edge on the edge or outside the airspace (to the right of the edge
// on an outline drawn counter-clockwise), so that the edges to it from the original points never
// cut into the airspace. `off` is set to how far that corner lies off the edge.
GeoPoint along(GeoPoint a, GeoPoint b, double t, bool counterClockwise, double& off) {
    const double dLon = static_cast<double>(b.lon) - a.lon;
    const double dLat = static_cast<double>(b.lat) - a.lat;
    const double length = std::hypot(dLon, dLat);
    off = 0.0;
    if (length == 0.0) return a;
    const double lon = a.lon + dLon * t;
    const double lat = a.lat + dLat * t;
    GeoPoint best{static_cast<std::int32_t>(std::llround(lon)),
                  static_cast<std::int32_t>(std::llround(lat))};
    off = INFINITY;  // one corner at least lies on the edge's outer side
    for (const double x : {std::floor(lon), std::ceil(lon)}) {
        for (const double y : {std::floor(lat), std::ceil(lat)}) {
            const double side = dLon * (y - a.lat) - dLat * (x - a.lon);
            const double d = std::fabs(side) / length;
            if ((counterClockwise ? side <= 0.0 : side >= 0.0) && d < off) {
                off = d;
                best = {static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)};
            }
        }
    }
    return best;
}

bool encloses(const std::vector<GeoPoint>& outline, const Area& area) {
    // Either reading of a crossing: an odd count of crossings, or a winding round the take-off.
    int winding = 0;
    bool odd = false;
    const std::size_t n = outline.size();
    for (std::size_t i = 0; i < n; ++i) {
        const AreaPoint a = area.to(outline[i]);
        const double eastB = area.east(outline[i].lon) +
                             (static_cast<double>(outline[(i + 1) % n].lon) - outline[i].lon);
        const AreaPoint b = area.to(eastB, outline[(i + 1) % n].lat);
        if ((a.y > 0.0) == (b.y > 0.0)) continue;
        const double x = a.x + (b.x - a.x) * (0.0 - a.y) / (b.y - a.y);
        if (x <= 0.0) continue;
        odd = !odd;
        winding += b.y > a.y ? 1 : -1;
    }
    return odd || winding != 0;
}

// `points`: one loop, no point twice in a row (loopsApart gives such loops).
AirspaceRecord outlineRecord(const AirspaceRecord& airspace, std::vector<GeoPoint> points) {
    AirspaceRecord record = airspace;
    OutlineElement run(ElementKind::PointRun);
    run.points = std::move(points);
    record.elements.assign(1, run);
    record.encoder = buildOutline(record.elements);
    return record;
}

// A loop that passes a point twice where the outer border of an outline crossing itself meets
// itself, taken apart there: each part that encloses something is a loop of its own, which the
// instrument holds the same way whichever way it reads a crossing. A spike (out to a point and
// straight back) encloses nothing and stays where it is. A point repeated in a row, or the first
// one repeated at the end, goes.
std::vector<std::vector<GeoPoint>> loopsApart(std::vector<GeoPoint> points) {
    points.erase(std::unique(points.begin(), points.end()), points.end());
    while (points.size() > 1 && points.back() == points.front()) points.pop_back();
    std::vector<std::vector<GeoPoint>> loops;
    std::vector<GeoPoint> walk;
    std::map<std::pair<std::int32_t, std::int32_t>, std::size_t> seen;  // point: where in walk
    for (const GeoPoint p : points) {
        const auto found = seen.find({p.lon, p.lat});
        if (found != seen.end() && walk.size() - found->second >= 3) {
            // The loop from p's first visit back to p leaves the walk, which goes on from p.
            const std::size_t from = found->second;
            loops.emplace_back(walk.begin() + static_cast<std::ptrdiff_t>(from), walk.end());
            for (std::size_t k = from + 1; k < walk.size(); ++k) {
                seen.erase({walk[k].lon, walk[k].lat});
            }
            walk.resize(from + 1);
            continue;
        }
        seen.emplace(std::make_pair(p.lon, p.lat), walk.size());
        walk.push_back(p);
    }
    if (walk.size() >= 3 || loops.empty()) loops.push_back(std::move(walk));
    return loops;
}

// The cheapest outline that holds the whole area and lies within the airspace (`outline`, as the
// instrument holds it): the instrument's circle around the take-off, grown until its 16-gon, as
// the instrument draws it, holds every corner of the area (the instrument measures longitude at
// the start point's latitude, not the take-off's); else the area's own corners. No bytes where
// the airspace's border runs so close to the area that neither lies within it.
AirspaceRecord areaOutline(const AirspaceRecord& airspace, const Area& area,
                           const std::vector<GeoPoint>& outline) {
    auto withinAirspace = [&](const std::vector<GeoPoint>& polygon) {
        return !edgesCross(polygon, outline) &&
               std::all_of(polygon.begin(), polygon.end(),
                           [&](GeoPoint p) { return insideOrOn(p, outline); });
    };
    std::vector<GeoPoint> corners;
    std::vector<GeoPoint> beyondCorners;
    for (int k = 0; k < area.sides(); ++k) {
        // The circle holds a little beyond each corner, for the rounding of corners and circle.
        const AreaPoint corner = area.corner(k);
        const double grown = 1.0 + 0.1 / area.cornerRadius();
        corners.push_back(area.from(corner, 0.0));
        beyondCorners.push_back(area.from({corner.x * grown, corner.y * grown}, 0.0));
    }
    const GeoPoint centre = area.from({0.0, 0.0}, 0.0);
    double radiusUnits = area.cornerRadius() / kKmPerUnit;
    for (int attempt = 0; attempt < 8; ++attempt, radiusUnits *= 1.01) {
        AirspaceRecord record = airspace;
        OutlineElement circle(ElementKind::Circle);
        circle.points = {centre};
        circle.radius = static_cast<float>(radiusUnits / 100.0);
        record.elements.assign(1, circle);
        record.encoder = buildOutline(record.elements);
        if (record.encodedSize() == 0) break;
        const std::vector<GeoPoint> drawn = decodeOutlinePoints(record);
        if (std::all_of(beyondCorners.begin(), beyondCorners.end(),
                        [&](GeoPoint p) { return insideOrOn(p, drawn); })) {
            if (withinAirspace(drawn)) return record;
            break;
        }
    }
    if (withinAirspace(corners)) return outlineRecord(airspace, corners);
    AirspaceRecord none = airspace;
    none.elements.clear();
    none.encoder = OutlineEncoder{};
    return none;
}

}  // namespace

double defaultClipMarginKm(double radiusKm) {
    return std::max(5.0, radiusKm / 10.0);
}

ClipResult clipToArea(const AirspaceRecord& airspace, const ClipArea& clipArea,
                      bool evenWithoutSaving) {
    ClipResult result;
    if (airspace.encodedSize() == 0) return result;
    const std::vector<GeoPoint> original = decodeOutlinePoints(airspace);
    const Area area(clipArea);
    auto whole = [&]() {
        result.clipped = false;
        result.strayMetres = 0.0;
        result.pieces.assign(1, {airspace, std::vector<bool>(original.size(), false)});
        return result;
    };
    auto beyond = [&](GeoPoint p) { return area.beyond(area.to(p)) > 0.0; };
    if (std::none_of(original.begin(), original.end(), beyond)) return whole();
    // The chains are joined by the way the outline turns, which an outline that crosses itself
    // does not keep: its parts can turn either way (a figure of eight). Such an outline is cut by
    // the outer border of all it encloses, which turns one way only.
    std::vector<GeoPoint> held = original;
    std::vector<double> strays;  // how far each point of `held` lies outside the outline
    if (!isSimplePolygon(held)) {
        held = outerBorderOnGrid(original, &strays);
        if (held.empty()) return whole();
    }
    strays.resize(held.size(), 0.0);
    double strayUnits = 0.0;  // the farthest a point of the chains lies outside the outline
    const std::size_t n = held.size();
    std::size_t start = n;
    for (std::size_t i = 0; i < n && start == n; ++i) {
        if (beyond(held[i])) start = i;
    }
    if (start == n) return whole();

    // The chains, walking the edges from a point outside.
    const bool counterClockwise = signedArea(held, Plane{held[0], 1.0}) >= 0.0;
    std::vector<Chain> chains;
    std::optional<Chain> open;
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t i = (start + k) % n;
        const GeoPoint a = held[i];
        const GeoPoint b = held[(i + 1) % n];
        const double eastA = area.east(a.lon);
        const double eastB = eastA + (static_cast<double>(b.lon) - a.lon);
        const AreaPoint pa = area.to(eastA, a.lat);
        const AreaPoint pb = area.to(eastB, b.lat);
        const auto part = area.cut(pa, pb);
        if (!part || part->second - part->first <= 1e-12) continue;
        const auto [t0, t1] = *part;
        auto at = [&](double t) {
            return AreaPoint{pa.x + (pb.x - pa.x) * t, pa.y + (pb.y - pa.y) * t};
        };
        // A point where the chain meets the border lies off the edge by its rounding, and the
        // edge off the outline by as much as its ends at most.
        const double strayA = strays[i];
        const double strayB = strays[(i + 1) % n];
        auto onBorder = [&](double t) {
            double off = 0.0;
            const GeoPoint p = along(a, b, t, counterClockwise, off);
            strayUnits = std::max(strayUnits, off + (1.0 - t) * strayA + t * strayB);
            return p;
        };
        if (!open) {
            open = Chain{};
            open->entry = at(t0);
            open->lonShift = static_cast<double>(a.lon) - area.centreLon() - eastA;
            if (t0 <= 0.0) strayUnits = std::max(strayUnits, strayA);
            open->points.push_back(t0 <= 0.0 ? a : onBorder(t0));
        }
        if (t1 < 1.0) {
            open->points.push_back(onBorder(t1));
            open->exit = at(t1);
            chains.push_back(std::move(*open));
            open.reset();
        } else {
            strayUnits = std::max(strayUnits, strayB);
            open->points.push_back(b);
        }
    }
    if (open) {
        // Rounding left the last chain a hair short of the border: it leaves where it ends.
        open->exit = area.to(open->points.back());
        chains.push_back(std::move(*open));
    }
    result.clipped = true;
    result.strayMetres = strayUnits * kMetresPerUnit;
    if (chains.empty()) {
        // Nothing of the outline crosses the area: it lies wholly inside the airspace or
        // wholly outside.
        if (!encloses(held, area)) return result;
        AirspaceRecord record = areaOutline(airspace, area, held);
        if (record.encodedSize() == 0 ||
            (!evenWithoutSaving && record.encodedSize() >= airspace.encodedSize()))
            return whole();
        const std::vector<GeoPoint> points = decodeOutlinePoints(record);
        result.pieces.push_back({std::move(record), cutEdgeMarks(points, clipArea)});
        return result;
    }

    // Joining: from where a chain leaves, along the border the way the outline turns, to the
    // nearest place where a chain enters.
    auto ahead = [&](double from, double to) {
        double d = counterClockwise ? to - from : from - to;
        while (d < 0.0) d += 2.0 * kPi;
        while (d >= 2.0 * kPi) d -= 2.0 * kPi;
        return d;
    };
    const std::size_t m = chains.size();
    std::vector<std::size_t> next(m);
    for (std::size_t c = 0; c < m; ++c) {
        const double leaves = angleOf(chains[c].exit);
        std::size_t best = c;
        double nearest = INFINITY;
        for (std::size_t e = 0; e < m; ++e) {
            const double d = ahead(leaves, angleOf(chains[e].entry));
            if (d < nearest) {
                nearest = d;
                best = e;
            }
        }
        next[c] = best;
    }
    std::vector<bool> used(m, false);
    std::size_t bytes = 0;
    for (std::size_t first = 0; first < m; ++first) {
        if (used[first]) continue;
        std::vector<GeoPoint> points;
        const double lonShift = chains[first].lonShift;
        for (std::size_t c = first; !used[c]; c = next[c]) {
            used[c] = true;
            points.insert(points.end(), chains[c].points.begin(), chains[c].points.end());
            // The border's corners between this chain's exit and the next one's entry.
            const double leaves = angleOf(chains[c].exit);
            const double span = ahead(leaves, angleOf(chains[next[c]].entry));
            std::vector<std::pair<double, int>> corners;
            for (int k = 0; k < area.sides(); ++k) {
                const double d = ahead(leaves, area.cornerAngle(k));
                if (d > 0.0 && d < span) corners.emplace_back(d, k);
            }
            std::sort(corners.begin(), corners.end());
            for (const auto& corner : corners) {
                points.push_back(area.from(area.corner(corner.second), lonShift));
            }
        }
        for (std::vector<GeoPoint>& loop : loopsApart(std::move(points))) {
            AirspaceRecord record = outlineRecord(airspace, std::move(loop));
            if (record.encodedSize() == 0) continue;
            bytes += record.encodedSize();
            const std::vector<GeoPoint> decoded = decodeOutlinePoints(record);
            result.pieces.push_back({std::move(record), cutEdgeMarks(decoded, clipArea)});
        }
    }
    // Cutting is for saving bytes: an outline that the cut makes no smaller stays whole.
    if (!evenWithoutSaving && bytes >= airspace.encodedSize()) return whole();
    return result;
}

std::vector<bool> cutEdgeMarks(const std::vector<GeoPoint>& polygon, const ClipArea& clipArea) {
    const Area area(clipArea);
    const std::size_t n = polygon.size();
    std::vector<bool> marks(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        const GeoPoint a = polygon[i];
        const GeoPoint b = polygon[(i + 1) % n];
        const double eastA = area.east(a.lon);
        const double eastB = eastA + (static_cast<double>(b.lon) - a.lon);
        const AreaPoint pa = area.to(eastA, a.lat);
        const AreaPoint pb = area.to(eastB, b.lat);
        const AreaPoint middle{(pa.x + pb.x) / 2.0, (pa.y + pb.y) / 2.0};
        marks[i] = area.beyond(pa) >= -kOnBorderKm && area.beyond(pb) >= -kOnBorderKm &&
                   area.beyond(middle) >= -kOnBorderKm;
    }
    return marks;
}

}  // namespace airspace
