#include "airspace/OutlineChecks.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "airspace/Planar.h"

namespace airspace {
namespace {

struct Box {
    std::int64_t minX, maxX, minY, maxY;
};

Box boxOf(GeoPoint a, GeoPoint b) {
    return {std::min<std::int64_t>(a.lon, b.lon), std::max<std::int64_t>(a.lon, b.lon),
            std::min<std::int64_t>(a.lat, b.lat), std::max<std::int64_t>(a.lat, b.lat)};
}

int orientation(GeoPoint a, GeoPoint b, GeoPoint c) {
    const std::int64_t v = (std::int64_t{b.lon} - a.lon) * (std::int64_t{c.lat} - a.lat) -
                           (std::int64_t{b.lat} - a.lat) * (std::int64_t{c.lon} - a.lon);
    return (v > 0) - (v < 0);
}

bool onSegment(GeoPoint p, GeoPoint a, GeoPoint b) {
    return orientation(a, b, p) == 0 && std::min(a.lon, b.lon) <= p.lon &&
           p.lon <= std::max(a.lon, b.lon) && std::min(a.lat, b.lat) <= p.lat &&
           p.lat <= std::max(a.lat, b.lat);
}

// Closed segments that share at least one point.
bool meet(GeoPoint a, GeoPoint b, GeoPoint c, GeoPoint d) {
    const int o1 = orientation(a, b, c);
    const int o2 = orientation(a, b, d);
    const int o3 = orientation(c, d, a);
    const int o4 = orientation(c, d, b);
    if (o1 * o2 < 0 && o3 * o4 < 0) return true;
    return onSegment(c, a, b) || onSegment(d, a, b) || onSegment(a, c, d) || onSegment(b, c, d);
}

bool crossProperly(GeoPoint a, GeoPoint b, GeoPoint c, GeoPoint d) {
    return orientation(a, b, c) * orientation(a, b, d) < 0 &&
           orientation(c, d, a) * orientation(c, d, b) < 0;
}

// Calls visit(i, j) for every pair of boxes, one from `a` and one from `b` (or two of `a` when
// `b` is null, each pair once), that overlap: a sweep from west to east.
template <class Visit>
void overlappingPairs(const std::vector<Box>& a, const std::vector<Box>* b, Visit visit) {
    struct Entry {
        std::int64_t minX;
        std::size_t index;
        bool second;
    };
    std::vector<Entry> entries;
    entries.reserve(a.size() + (b ? b->size() : 0));
    for (std::size_t i = 0; i < a.size(); ++i) entries.push_back({a[i].minX, i, false});
    if (b) {
        for (std::size_t i = 0; i < b->size(); ++i) entries.push_back({(*b)[i].minX, i, true});
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& x, const Entry& y) { return x.minX < y.minX; });
    std::vector<std::size_t> activeA;
    std::vector<std::size_t> activeB;
    auto boxAt = [&](bool second, std::size_t i) -> const Box& { return second ? (*b)[i] : a[i]; };
    for (const Entry& e : entries) {
        const Box& box = boxAt(e.second, e.index);
        std::vector<std::size_t>& others = (b && !e.second) ? activeB : activeA;
        const bool othersSecond = b && !e.second;
        std::size_t kept = 0;
        for (const std::size_t o : others) {
            const Box& other = boxAt(othersSecond, o);
            if (other.maxX < box.minX) continue;  // passed for good
            others[kept++] = o;
            if (other.minY <= box.maxY && box.minY <= other.maxY) {
                if (e.second) {
                    visit(o, e.index);
                } else if (b) {
                    visit(e.index, o);
                } else {
                    visit(o, e.index);
                }
            }
        }
        others.resize(kept);
        (e.second ? activeB : activeA).push_back(e.index);
    }
}

std::vector<Box> edgeBoxes(const std::vector<GeoPoint>& polygon) {
    std::vector<Box> boxes(polygon.size());
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        boxes[i] = boxOf(polygon[i], polygon[(i + 1) % polygon.size()]);
    }
    return boxes;
}

// Inside or on, on doubled coordinates so that midpoints of edges can be asked too.
bool insideOrOnDoubled(std::int64_t px, std::int64_t py, const std::vector<GeoPoint>& polygon) {
    bool inside = false;
    const std::size_t n = polygon.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const std::int64_t ax = 2 * std::int64_t{polygon[j].lon};
        const std::int64_t ay = 2 * std::int64_t{polygon[j].lat};
        const std::int64_t bx = 2 * std::int64_t{polygon[i].lon};
        const std::int64_t by = 2 * std::int64_t{polygon[i].lat};
        const std::int64_t cross = (bx - ax) * (py - ay) - (by - ay) * (px - ax);
        if (cross == 0 && std::min(ax, bx) <= px && px <= std::max(ax, bx) &&
            std::min(ay, by) <= py && py <= std::max(ay, by)) {
            return true;
        }
        if ((ay > py) == (by > py)) continue;
        if ((by > ay) ? cross > 0 : cross < 0) inside = !inside;
    }
    return inside;
}

}  // namespace

bool isSimplePolygon(const std::vector<GeoPoint>& polygon) {
    const std::size_t n = polygon.size();
    if (n < 3) return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (polygon[i] == polygon[(i + 1) % n]) return false;
    }
    bool simple = true;
    overlappingPairs(edgeBoxes(polygon), nullptr, [&](std::size_t i, std::size_t j) {
        if (!simple) return;
        if (i > j) std::swap(i, j);
        const GeoPoint a = polygon[i];
        const GeoPoint b = polygon[(i + 1) % n];
        const GeoPoint c = polygon[j];
        const GeoPoint d = polygon[(j + 1) % n];
        if (j == i + 1 || (i == 0 && j == n - 1)) {
            // Neighbours share one point; they must not fold back over each other.
            const GeoPoint shared = j == i + 1 ? b : a;
            const GeoPoint far1 = j == i + 1 ? a : b;
            const GeoPoint far2 = j == i + 1 ? d : c;
            if (orientation(far1, shared, far2) == 0 &&
                (std::int64_t{far1.lon} - shared.lon) * (std::int64_t{far2.lon} - shared.lon) +
                        (std::int64_t{far1.lat} - shared.lat) *
                            (std::int64_t{far2.lat} - shared.lat) >
                    0) {
                simple = false;
            }
            return;
        }
        if (meet(a, b, c, d)) simple = false;
    });
    if (!simple) return false;
    std::int64_t area = 0;
    for (std::size_t i = 0; i < n; ++i) {
        area += std::int64_t{polygon[i].lon} * polygon[(i + 1) % n].lat -
                std::int64_t{polygon[(i + 1) % n].lon} * polygon[i].lat;
    }
    return area != 0;
}

bool insideOrOn(GeoPoint p, const std::vector<GeoPoint>& polygon) {
    return insideOrOnDoubled(2 * std::int64_t{p.lon}, 2 * std::int64_t{p.lat}, polygon);
}

bool edgesCross(const std::vector<GeoPoint>& a, const std::vector<GeoPoint>& b) {
    if (a.empty() || b.empty()) return false;
    bool crossing = false;
    const std::vector<Box> boxesOfB = edgeBoxes(b);
    overlappingPairs(edgeBoxes(a), &boxesOfB, [&](std::size_t i, std::size_t j) {
        if (crossing) return;
        crossing = crossProperly(a[i], a[(i + 1) % a.size()], b[j], b[(j + 1) % b.size()]);
    });
    return crossing;
}

bool crossesItself(const std::vector<GeoPoint>& polygon) {
    bool crossing = false;
    const std::size_t n = polygon.size();
    overlappingPairs(edgeBoxes(polygon), nullptr, [&](std::size_t i, std::size_t j) {
        if (crossing) return;
        crossing =
            crossProperly(polygon[i], polygon[(i + 1) % n], polygon[j], polygon[(j + 1) % n]);
    });
    return crossing;
}

bool coversOutline(const std::vector<GeoPoint>& outer, const std::vector<GeoPoint>& inner) {
    if (outer.size() < 3 || inner.empty()) return false;
    const std::size_t n = inner.size();
    for (std::size_t i = 0; i < n; ++i) {
        const GeoPoint a = inner[i];
        const GeoPoint b = inner[(i + 1) % n];
        if (!insideOrOnDoubled(2 * std::int64_t{a.lon}, 2 * std::int64_t{a.lat}, outer)) {
            return false;
        }
        if (!insideOrOnDoubled(std::int64_t{a.lon} + b.lon, std::int64_t{a.lat} + b.lat, outer)) {
            return false;
        }
    }
    return !edgesCross(inner, outer);
}

namespace {

// The farthest stray, as farthestStray measures it. With a finite `limit`: stops at the first
// sample beyond it, and skips the samples that cannot be: the distance to an outline changes no
// faster than the point moves, so after a sample `d` short of the limit the next samples within
// `d` along the edge are within it too.
double strayUpTo(const std::vector<GeoPoint>& polygon, const std::vector<GeoPoint>& from,
                 double resolutionMetres, double limit) {
    if (polygon.empty() || from.empty()) return polygon.empty() ? 0.0 : INFINITY;
    // Buckets of the edges of `from`, so that each point looks only at the edges near it; a
    // point whose nearest bucketed edges are farther than the bucket size looks wider.
    std::int64_t minX = from[0].lon, maxX = minX, minY = from[0].lat, maxY = minY;
    for (const GeoPoint& p : from) {
        minX = std::min<std::int64_t>(minX, p.lon);
        maxX = std::max<std::int64_t>(maxX, p.lon);
        minY = std::min<std::int64_t>(minY, p.lat);
        maxY = std::max<std::int64_t>(maxY, p.lat);
    }
    // About one edge per bucket, and buckets no smaller than a few steps of the resolution (the
    // distances looked for are about the tolerance): fewer buckets to allocate and to look through.
    const auto side = std::clamp<std::int64_t>(
        static_cast<std::int64_t>(std::sqrt(static_cast<double>(from.size()))), 4, 256);
    const auto least = static_cast<std::int64_t>(4.0 * resolutionMetres / kMetresPerUnit);
    const std::int64_t cell =
        std::max<std::int64_t>({1, least, (maxX - minX) / side + 1, (maxY - minY) / side + 1});
    const std::int64_t columns = (maxX - minX) / cell + 1;
    const std::int64_t rows = (maxY - minY) / cell + 1;
    std::vector<std::vector<std::size_t>> buckets(static_cast<std::size_t>(columns * rows));
    const std::size_t m = from.size();
    for (std::size_t i = 0; i < m; ++i) {
        const Box box = boxOf(from[i], from[(i + 1) % m]);
        for (std::int64_t y = (box.minY - minY) / cell; y <= (box.maxY - minY) / cell; ++y) {
            for (std::int64_t x = (box.minX - minX) / cell; x <= (box.maxX - minX) / cell; ++x) {
                buckets[static_cast<std::size_t>(y * columns + x)].push_back(i);
            }
        }
    }
    auto distanceMetres = [&](double px, double py) {
        const double c = std::cos(py * kRadiansPerUnit);
        const auto bx = static_cast<std::int64_t>(std::floor((px - minX) / cell));
        const auto by = static_cast<std::int64_t>(std::floor((py - minY) / cell));
        double best = INFINITY;
        for (std::int64_t ring = 0;; ++ring) {
            for (std::int64_t y = by - ring; y <= by + ring; ++y) {
                for (std::int64_t x = bx - ring; x <= bx + ring; ++x) {
                    if (std::max(std::llabs(x - bx), std::llabs(y - by)) != ring) continue;
                    if (x < 0 || y < 0 || x >= columns || y >= rows) continue;
                    for (const std::size_t i : buckets[static_cast<std::size_t>(y * columns + x)]) {
                        const GeoPoint a = from[i];
                        const GeoPoint b = from[(i + 1) % m];
                        best = std::min(
                            best,
                            distanceToSegment({px * c, py}, {a.lon * c, static_cast<double>(a.lat)},
                                              {b.lon * c, static_cast<double>(b.lat)}));
                    }
                }
            }
            // Every edge not yet seen lies at least `ring` buckets away (in latitude units,
            // and in longitude units shrunk by at most the cosine).
            const double unseen = static_cast<double>(ring) * static_cast<double>(cell) *
                                  std::min(1.0, std::max(c, 1e-9));
            const bool covered = bx - ring <= 0 && by - ring <= 0 && bx + ring >= columns - 1 &&
                                 by + ring >= rows - 1;
            if (best <= unseen || covered) break;
        }
        return best * kMetresPerUnit;
    };
    // Points every `resolution` along each edge: between two of them no point of the edge lies
    // farther than half the step beyond the nearer one.
    double farthest = 0.0;
    const std::size_t n = polygon.size();
    const double stepUnits = std::max(resolutionMetres, 1.0) / kMetresPerUnit;
    for (std::size_t i = 0; i < n; ++i) {
        const GeoPoint a = polygon[i];
        const GeoPoint b = polygon[(i + 1) % n];
        const double c = std::cos(a.lat * kRadiansPerUnit);
        const double length = std::hypot((b.lon - static_cast<double>(a.lon)) * c,
                                         b.lat - static_cast<double>(a.lat));
        const int steps = std::max(1, static_cast<int>(std::ceil(length / stepUnits)));
        // Metres from one sample to the next, a little more than measured (the scale of a
        // degree of longitude varies along the edge).
        const double stepMetres = length / steps * kMetresPerUnit * 1.05;
        for (int s = 0; s < steps; ++s) {
            const double t = static_cast<double>(s) / steps;
            const double d = distanceMetres(a.lon + (b.lon - static_cast<double>(a.lon)) * t,
                                            a.lat + (b.lat - static_cast<double>(a.lat)) * t);
            farthest = std::max(farthest, d);
            if (d > limit) return INFINITY;
            if (limit < INFINITY && stepMetres > 0.0) {
                s += static_cast<int>(
                    std::min((limit - d) / stepMetres, static_cast<double>(steps)));
            }
        }
    }
    return farthest + std::max(resolutionMetres, 1.0) / 2.0;
}

}  // namespace

double farthestStray(const std::vector<GeoPoint>& polygon, const std::vector<GeoPoint>& from,
                     double resolutionMetres) {
    return strayUpTo(polygon, from, resolutionMetres, INFINITY);
}

bool straysWithin(const std::vector<GeoPoint>& polygon, const std::vector<GeoPoint>& from,
                  double limitMetres, double resolutionMetres) {
    const double sampled = limitMetres - std::max(resolutionMetres, 1.0) / 2.0;
    return strayUpTo(polygon, from, resolutionMetres, sampled) <= limitMetres;
}

}  // namespace airspace
