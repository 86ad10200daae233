// The buffer, in three steps on a local plane in the instrument's units:
//
// 1. The outer border of the outline (however it crosses itself), walked as the outer face of
//    its edges: from the lowest point, always the rightmost turn at every crossing or touch.
// 2. That border grown outward by `d`: every edge moved out, every outward corner rounded by a
//    polygon outside the circle; inward corners just joined. The grown loop crosses itself
//    wherever bays narrower than 2d close and at every inward corner: its outer border, walked
//    as in step 1, is the buffer's outline. Narrow bays, pinches and spikes are gone from it.
// 3. The longest chords round the buffer's outline, greedily from a few starting points: a chord
//    may cut back inside it by less than d, so it never reaches the original, and pass outside
//    it by the rest of the tolerance. On the outward turns, where most corners are, chords
//    between points d out are longer the larger d is; on the inward turns shorter: the caller
//    tries several d. A second set of chords starts from the buffer with the points in its bays
//    put back near the original, where chords across a bay have the most room.
// A dense border that will not walk once grown (see bufferedOutlines) is thinned first.
#include "airspace/OutwardBuffer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <unordered_set>
#include <utility>

#include "airspace/OutlineChecks.h"

namespace airspace {
namespace {

using V = Planar;

// How far from a crossing, in units, a whole point is sought for it, and how far from the edges
// there it may lie.
constexpr double kCrossingReach = 24.0;
constexpr double kMostStray = 2.0;
// How far beyond the original the buffer's points in its bays are put back, as a share of the
// tolerance.
constexpr double kBayLow = 0.15;
// The longest step between the buffer's points that chords may end at, as a share of the
// tolerance.
constexpr double kLongestStep = 0.5;

constexpr double kPi = 3.141592653589793;
// Points closer than this (in units) are one point; coordinates stay below about 1e5 units.
constexpr double kSame = 1e-7;

struct Segment {
    V a;
    V b;
};

// The segments by the cells of a uniform grid they pass through, a few segment lengths wide:
// sorted (cell, segment) pairs, so that a long outline costs memory by its length, not its area.
class SegmentGrid {
public:
    explicit SegmentGrid(const std::vector<Segment>& segments) : seen_(segments.size(), 0) {
        origin_ = segments.front().a;
        double total = 0.0;
        double extent = 0.0;
        for (const Segment& s : segments) {
            total += length(s.b - s.a);
            for (const V p : {s.a, s.b}) {
                origin_ = {std::min(origin_.x, p.x), std::min(origin_.y, p.y)};
                extent = std::max({extent, std::fabs(p.x - segments.front().a.x),
                                   std::fabs(p.y - segments.front().a.y)});
            }
        }
        cell_ =
            std::max({2.0 * total / static_cast<double>(segments.size()), extent / 16384.0, 1e-3});
        for (std::size_t i = 0; i < segments.size(); ++i) {
            cells(segments[i].a, segments[i].b, [&](std::uint64_t key) {
                entries_.push_back({key, static_cast<std::uint32_t>(i)});
            });
        }
        std::sort(entries_.begin(), entries_.end());
        entries_.erase(std::unique(entries_.begin(), entries_.end()), entries_.end());
    }

    // Calls f(index) once for every segment in the cells along p to q and their neighbours.
    template <class F>
    void visit(V p, V q, F&& f) {
        ++stamp_;
        cells(p, q, [&](std::uint64_t key) {
            for (const std::uint64_t column :
                 {key - (std::uint64_t{1} << 32), key, key + (std::uint64_t{1} << 32)}) {
                for (const std::uint64_t k : {column - 1, column, column + 1}) {
                    auto it = std::lower_bound(entries_.begin(), entries_.end(),
                                               std::pair<std::uint64_t, std::uint32_t>{k, 0});
                    for (; it != entries_.end() && it->first == k; ++it) {
                        if (seen_[it->second] == stamp_) continue;
                        seen_[it->second] = stamp_;
                        f(static_cast<std::size_t>(it->second));
                    }
                }
            }
        });
    }

private:
    [[nodiscard]] std::int64_t index(double v) const {
        return static_cast<std::int64_t>(std::floor(v / cell_)) + 2;
    }
    static std::uint64_t key(std::int64_t x, std::int64_t y) {
        return (static_cast<std::uint64_t>(x) << 32) | static_cast<std::uint64_t>(y);
    }

    // The cells the segment from p to q passes through, walked cell by cell.
    template <class F>
    void cells(V p, V q, F&& f) const {
        const V a = p - origin_;
        const V b = q - origin_;
        std::int64_t x = index(a.x);
        std::int64_t y = index(a.y);
        const std::int64_t lastX = index(b.x);
        const std::int64_t lastY = index(b.y);
        const double dx = b.x - a.x;
        const double dy = b.y - a.y;
        const std::int64_t stepX = dx > 0 ? 1 : -1;
        const std::int64_t stepY = dy > 0 ? 1 : -1;
        auto firstCrossing = [&](double from, double delta, std::int64_t cell,
                                 std::int64_t step) -> double {
            if (delta == 0.0) return std::numeric_limits<double>::infinity();
            const double border = static_cast<double>(cell - 2 + (step > 0 ? 1 : 0)) * cell_;
            return (border - from) / delta;
        };
        double nextX = firstCrossing(a.x, dx, x, stepX);
        double nextY = firstCrossing(a.y, dy, y, stepY);
        const double crossX =
            dx == 0.0 ? std::numeric_limits<double>::infinity() : cell_ / std::fabs(dx);
        const double crossY =
            dy == 0.0 ? std::numeric_limits<double>::infinity() : cell_ / std::fabs(dy);
        const std::int64_t steps = std::llabs(lastX - x) + std::llabs(lastY - y);
        f(key(x, y));
        for (std::int64_t k = 0; k < steps; ++k) {
            if (nextX < nextY) {
                x += stepX;
                nextX += crossX;
            } else {
                y += stepY;
                nextY += crossY;
            }
            f(key(x, y));
        }
    }

    std::vector<std::pair<std::uint64_t, std::uint32_t>> entries_;
    std::vector<std::uint32_t> seen_;
    std::uint32_t stamp_ = 0;
    V origin_;
    double cell_ = 1.0;
};

// The walk of the outer face of a set of segments.
class OuterWalk {
public:
    explicit OuterWalk(const std::vector<Segment>& segments)
        : segments_(segments), grid_(segments) {}

    [[nodiscard]] std::vector<V> run() {
        // The lowest point, westmost among the lowest, lies on the outer border; the border
        // leaves it counter-clockwise, eastward first: the rightmost turn from due east.
        V start = segments_.front().a;
        for (const Segment& s : segments_) {
            for (const V p : {s.a, s.b}) {
                if (p.y < start.y || (p.y == start.y && p.x < start.x)) start = p;
            }
        }
        Heading first{};
        if (!turn(start, V{1.0, 0.0}, first, segments_.size())) return {};
        std::vector<V> loop{start};
        Heading h = first;
        V at = start;
        // The walk is the same from the same point on the same way: coming back to one means
        // it goes round in circles, which rounding can cause where edges nearly lie on one line.
        // Then the caller tries other ways.
        std::unordered_set<std::uint64_t> been;
        const std::size_t limit = 8 * segments_.size() + 64;
        for (std::size_t step = 0; step < limit; ++step) {
            if (!been.insert(stateKey(at, h)).second) break;
            std::size_t met = segments_.size();
            const V next = nextStop(at, h, met);
            Heading out{};
            if (!turn(next, next - at, out, met)) return {};
            if (length(next - start) <= kSame && out.segment == first.segment &&
                out.forward == first.forward) {
                return loop;
            }
            if (length(next - loop.back()) > kSame) loop.push_back(next);
            at = next;
            h = out;
        }
        return {};
    }

private:
    struct Heading {
        std::size_t segment = 0;
        bool forward = true;  // toward b
    };

    static std::uint64_t stateKey(V at, const Heading& h) {
        std::uint64_t x = 0;
        std::uint64_t y = 0;
        std::memcpy(&x, &at.x, sizeof x);
        std::memcpy(&y, &at.y, sizeof y);
        std::uint64_t key = h.segment * 2 + (h.forward ? 1 : 0);
        for (const std::uint64_t part : {x, y}) {
            key ^= part + 0x9e3779b97f4a7c15ULL + (key << 6) + (key >> 2);
        }
        return key;
    }

    [[nodiscard]] V endOf(const Heading& h) const {
        return h.forward ? segments_[h.segment].b : segments_[h.segment].a;
    }

    // The first point after `at` along the heading where another segment crosses, touches,
    // starts or ends; the segment's end when none does. `met`: the segment met there.
    [[nodiscard]] V nextStop(V at, const Heading& h, std::size_t& met) {
        const V end = endOf(h);
        const V r = end - at;
        const double span = length(r);
        if (span <= kSame) return end;
        double best = 1.0;
        V stop = end;
        const double least = kSame / span;
        grid_.visit(at, end, [&](std::size_t i) {
            if (i == h.segment) return;
            const Segment& u = segments_[i];
            const V w = u.b - u.a;
            const double wl = length(w);
            if (wl <= kSame) return;
            const V q = u.a - at;
            const double denominator = crossOf(r, w);
            if (std::fabs(denominator) > 1e-12 * span * wl) {
                const double t = crossOf(q, w) / denominator;
                const double v = crossOf(q, r) / denominator;
                const double slack = kSame / wl;
                if (t <= least || t >= best || v < -slack || v > 1.0 + slack) return;
                best = t;
                stop = v <= slack ? u.a : v >= 1.0 - slack ? u.b : at + r * t;
                met = i;
                return;
            }
            // Parallel: only a segment on the same line stops the walk, at its ends.
            if (std::fabs(crossOf(q, r)) > kSame * span) return;
            for (const V p : {u.a, u.b}) {
                const double t = dot(p - at, r) / (span * span);
                if (t > least && t < best) {
                    best = t;
                    stop = p;
                    met = i;
                }
            }
        });
        if (best >= 1.0 - least) {
            met = segments_.size();
            return end;
        }
        return stop;
    }

    // The rightmost way on from `p` for a walk arriving in direction `in`; going back the way
    // it came only where there is no other. `met`: a segment through p whatever the rounding
    // of p (a crossing at a shallow angle is found only roughly); none when out of range.
    [[nodiscard]] bool turn(V p, V in, Heading& out, std::size_t met) {
        const double inLength = length(in);
        if (inLength <= 0.0) return false;
        const V d = in * (1.0 / inLength);
        double best = 10.0;
        grid_.visit(p, p, [&](std::size_t i) {
            const Segment& u = segments_[i];
            if (i != met && distanceToSegment(p, u.a, u.b) > kSame) return;
            for (const bool forward : {true, false}) {
                const V to = forward ? u.b : u.a;
                const V o = to - p;
                const double ol = length(o);
                if (ol <= kSame) continue;
                double angle = std::atan2(crossOf(d, o), dot(d, o));
                if (angle <= -kPi + 1e-12) angle = kPi;
                if (angle < best) {
                    best = angle;
                    out = {i, forward};
                }
            }
        });
        return best < 10.0;
    }

    const std::vector<Segment>& segments_;
    SegmentGrid grid_;
};

std::vector<Segment> edgesOf(const std::vector<V>& loop) {
    std::vector<Segment> segments;
    segments.reserve(loop.size());
    for (std::size_t i = 0; i < loop.size(); ++i) {
        const V a = loop[i];
        const V b = loop[(i + 1) % loop.size()];
        if (length(b - a) > kSame) segments.push_back({a, b});
    }
    return segments;
}

// The counter-clockwise loop grown outward (to its right) by d. Outward corners and turns back
// are rounded by a polygon whose edges touch the circle of radius d (its corners lie outside it,
// by at most `1 / cos(maxStep / 2)`); inward corners are joined straight.
std::vector<V> grown(const std::vector<V>& loop, double d) {
    constexpr double kMaxStep = kPi / 8.0;
    const std::size_t n = loop.size();
    std::vector<V> directions(n);
    for (std::size_t i = 0; i < n; ++i) {
        const V e = loop[(i + 1) % n] - loop[i];
        directions[i] = e * (1.0 / length(e));
    }
    auto outward = [](V t) { return V{t.y, -t.x}; };
    std::vector<V> out;
    out.reserve(3 * n);
    for (std::size_t i = 0; i < n; ++i) {
        const V before = directions[(i + n - 1) % n];
        const V after = directions[i];
        const V corner = loop[i];
        const V from = outward(before);
        double angle = std::atan2(crossOf(before, after), dot(before, after));
        if (std::fabs(std::fabs(angle) - kPi) < 1e-9) angle = kPi;  // a turn back: round it
        out.push_back(corner + from * d);
        if (angle > 1e-12) {
            const int steps = std::max(1, static_cast<int>(std::ceil(angle / kMaxStep)));
            const double step = angle / steps;
            const double r = d / std::cos(step / 2.0);
            const double base = std::atan2(from.y, from.x);
            for (int k = 0; k < steps; ++k) {
                const double a = base + step * (k + 0.5);
                out.push_back(corner + V{std::cos(a), std::sin(a)} * r);
            }
        }
        out.push_back(corner + outward(after) * d);
    }
    return out;
}

// The loop thinned by Douglas-Peucker: every point left out lies within `tolerance` of the edge
// that replaces it.
std::vector<V> thinned(const std::vector<V>& loop, double tolerance) {
    std::vector<V> kept;
    for (const std::size_t i : douglasPeucker(loop, tolerance)) kept.push_back(loop[i]);
    return kept;
}

// The loop with points added along its edges, none longer than `step`, but an edge in at most
// kMostSteps: a chord across a long straight edge needs no more, and a national border of
// hundreds of kilometres would otherwise give tens of thousands of points.
std::vector<V> subdivided(const std::vector<V>& loop, double step) {
    constexpr double kMostSteps = 32.0;
    std::vector<V> finer;
    finer.reserve(loop.size());
    for (std::size_t i = 0; i < loop.size(); ++i) {
        const V a = loop[i];
        const V b = loop[(i + 1) % loop.size()];
        finer.push_back(a);
        const double parts = std::min(std::ceil(length(b - a) / step), kMostSteps);
        for (double k = 1.0; k < parts; ++k) finer.push_back(a + (b - a) * (k / parts));
    }
    return finer;
}

// How far the chords may pass inside and outside each point of the loop they cut short.
struct Band {
    std::vector<double> inward;
    std::vector<double> outward;
};

// The longest chords, greedily round the counter-clockwise loop: a chord may pass at most
// `band.inward[k]` inside point k it replaces and at most `band.outward[k]` outside it. The points
// a chord from a may end at are no run: one that cannot pass a bump may still reach past the next
// one. So the farthest of them all is taken: the directions of the chords from a that pass every
// point between narrow with each point, and the last point whose direction still lies between
// them is the farthest end. Greedy from one point may end just past a corner it could have cut: a
// few starting points are tried, and the fewest points kept win. Each chord taken is checked
// point by point as well; where one fails that (the loop doubling back along it), the end is
// sought by halving instead.
std::vector<V> greedyChords(const std::vector<V>& loop, const Band& band) {
    constexpr std::size_t kMaxStretch = 4000;
    constexpr std::size_t kStarts = 8;
    const std::size_t n = loop.size();
    auto at = [&](std::size_t i) { return loop[i % n]; };
    auto fits = [&](std::size_t a, std::size_t b) {
        const V pa = at(a);
        const V chord = at(b) - pa;
        const double span = length(chord);
        if (span <= kSame) return false;
        for (std::size_t k = a + 1; k < b; ++k) {
            const V p = at(k) - pa;
            const double along = dot(p, chord) / span;
            if (along < -kSame || along > span + kSame) return false;
            const double left = crossOf(chord, p) / span;  // > 0: the chord passes outside p
            if (left > band.outward[k % n] || -left > band.inward[k % n]) return false;
        }
        return true;
    };
    // The farthest point up to `last` that a chord from a may end at; the next point at least.
    auto farthest = [&](std::size_t a, std::size_t last) {
        std::size_t end = a + 1;
        const V pa = at(a);
        bool bounded = false;
        V low{};  // the chords that pass every point so far turn between these two directions
        V high{};
        for (std::size_t b = a + 1; b <= last; ++b) {
            const V p = at(b) - pa;
            const double r = length(p);
            if (r <= kSame) continue;
            if (!bounded || (crossOf(low, p) >= 0.0 && crossOf(p, high) >= 0.0)) end = b;
            // Beyond b, a chord passes b no farther than its room outside and inside: it turns
            // from p by at most the angle whose sine is that room over the distance.
            const double out = std::min(1.0, band.outward[b % n] / r);
            const double in = std::min(1.0, band.inward[b % n] / r);
            const double outCos = std::sqrt(std::max(0.0, 1.0 - out * out));
            const double inCos = std::sqrt(std::max(0.0, 1.0 - in * in));
            const V lowest{p.x * outCos + p.y * out, p.y * outCos - p.x * out};
            const V highest{p.x * inCos - p.y * in, p.y * inCos + p.x * in};
            if (!bounded || crossOf(low, lowest) > 0.0) low = lowest;
            if (!bounded || crossOf(highest, high) > 0.0) high = highest;
            bounded = true;
            if (crossOf(low, high) < 0.0) break;
        }
        return end;
    };
    // The end of the chord from a, checked. The paths from the starting points soon meet: each
    // point's end is found once (as far as a chord may reach, short of a whole turn) and kept.
    auto chordEnd = [&](std::size_t a, std::size_t last) {
        std::size_t b = farthest(a, last);
        if (b > a + 1 && !fits(a, b)) b = farthestFitting(a, last, fits);
        return b;
    };
    std::vector<std::size_t> reaches(n, 0);  // per point: how far its chord goes, 0 not yet known
    std::vector<V> best;
    for (std::size_t start = 0; start < std::min(n, kStarts); ++start) {
        const std::size_t first = start * n / kStarts;
        std::vector<V> kept;
        for (std::size_t a = first; a < first + n;) {
            kept.push_back(at(a));
            if (!best.empty() && kept.size() >= best.size()) break;
            const std::size_t last = std::min(first + n, a + kMaxStretch);
            std::size_t& reach = reaches[a % n];
            if (reach == 0) reach = chordEnd(a, a + std::min(kMaxStretch, n - 1)) - a;
            a = a + reach <= last ? a + reach : chordEnd(a, last);
        }
        if (best.empty() || kept.size() < best.size()) best = std::move(kept);
    }
    return best;
}

// The buffer's points in its bays moved back towards the original, to `low` beyond it. In a bay
// the chords pass outside the points they cut short: there the room between the growth and the
// tolerance is what limits them, and it is wider nearer the original. A point lies in a bay where
// the loop turns inward, summed over one tolerance along it either way, so that the wiggles of a
// dense outline do not count. `band` gets each point's room: inside down to the original less the
// rounding, outside up to the tolerance, where the loop lies `spread` either way of `grownBy`
// beyond the original. Empty where no point lies in a bay.
std::optional<std::vector<V>> easedIntoBays(const std::vector<V>& loop, double grownBy,
                                            double spread, double low, double tolerance,
                                            Band& band) {
    const std::size_t n = loop.size();
    std::vector<double> turn(n);
    std::vector<double> along(3 * n + 1, 0.0);  // arc length at point i, the loop walked thrice
    for (std::size_t i = 0; i < n; ++i) {
        const V before = loop[i] - loop[(i + n - 1) % n];
        const V after = loop[(i + 1) % n] - loop[i];
        turn[i] = std::atan2(crossOf(before, after), dot(before, after));
    }
    for (std::size_t i = 0; i < 3 * n; ++i) {
        along[i + 1] = along[i] + length(loop[(i + 1) % n] - loop[i % n]);
    }
    if (!(2.0 * tolerance < along[n])) return std::nullopt;
    std::vector<V> eased = loop;
    bool any = false;
    // The turns summed over the points within a tolerance of point k, on the middle walk.
    std::size_t from = 0;
    std::size_t to = 0;
    double sum = 0.0;
    for (std::size_t k = 0; k < n; ++k) {
        const double here = along[n + k];
        for (; to < 3 * n && along[to] <= here + tolerance; ++to) sum += turn[to % n];
        for (; along[from] < here - tolerance; ++from) sum -= turn[from % n];
        if (sum >= 0.0) continue;
        const V before = loop[k] - loop[(k + n - 1) % n];
        const V after = loop[(k + 1) % n] - loop[k];
        const double lb = length(before);
        const double la = length(after);
        if (lb <= kSame || la <= kSame) continue;
        const V normal = V{before.y, -before.x} * (1.0 / lb) + V{after.y, -after.x} * (1.0 / la);
        const double ln = length(normal);  // twice the cosine of half the turn
        if (ln <= kSame) continue;
        // Moved along the corner's bisector: it ends at least `low` from the original, and at
        // about this much where the corner is sharp.
        const double beyond = grownBy - (grownBy - low) * ln / 2.0;
        eased[k] = loop[k] - normal * ((grownBy - low) / ln);
        band.inward[k] = beyond - spread - 0.8;
        band.outward[k] = tolerance - (grownBy + spread) * 0.02 - beyond - spread;
        any = true;
    }
    if (!any) return std::nullopt;
    return eased;
}

}  // namespace

std::vector<Planar> outerBorder(const std::vector<Planar>& loop) {
    const std::vector<Segment> segments = edgesOf(loop);
    if (segments.size() < 2) return {};
    std::vector<V> border = OuterWalk(segments).run();
    if (border.size() < 3) return {};
    return border;
}

namespace {

// The outer border of an outline in whole units from its first point (east unscaled), where every
// test on the outline's own points is exact.
std::vector<V> borderInUnits(const std::vector<GeoPoint>& outline) {
    const Plane units{outline[0], 1.0};
    std::vector<V> points;
    points.reserve(outline.size());
    for (const GeoPoint& p : outline) points.push_back(units.to(p));
    return outerBorder(points);
}

}  // namespace

std::vector<GeoPoint> outerBorderOnGrid(const std::vector<GeoPoint>& outline,
                                        std::vector<double>* strays) {
    if (strays != nullptr) strays->clear();
    if (outline.size() < 3) return {};
    const GeoPoint origin = outline[0];
    const std::vector<V> border = borderInUnits(outline);
    const std::size_t n = border.size();
    std::vector<GeoPoint> grid;
    grid.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        const V v = border[i];
        std::optional<V> kept;
        double stray = 0.0;
        if (v.x == std::round(v.x) && v.y == std::round(v.y)) {
            kept = v;
        } else {
            // A crossing: the nearest whole point outside both edges keeps every side of it
            // covered. Where the edges cross at a shallow angle, the gap between them is
            // followed until a whole point fits, as close to both edges as can be.
            const V before = border[(i + n - 1) % n];
            const V after = border[(i + 1) % n];
            const double inLength = length(v - before);
            const double outLength = length(after - v);
            double closest = kMostStray;
            double nearest = INFINITY;
            auto seek = [&](double reach) {
                for (double x = std::floor(v.x) - reach; x <= std::ceil(v.x) + reach; ++x) {
                    for (double y = std::floor(v.y) - reach; y <= std::ceil(v.y) + reach; ++y) {
                        const V g{x, y};
                        const double d = length(g - v);
                        if (d > std::min(inLength, outLength)) continue;
                        const double offIn = -crossOf(v - before, g - before) / inLength;
                        const double offOut = -crossOf(after - v, g - v) / outLength;
                        if (offIn < 0.0 || offOut < 0.0) continue;
                        const double stray = std::max(offIn, offOut);
                        if (stray < closest || (stray == closest && d < nearest)) {
                            closest = stray;
                            nearest = d;
                            kept = g;
                        }
                    }
                }
            };
            // Near the crossing first; farther along the gap only where that finds none close.
            seek(1.0);
            if (!kept || closest > 1.0) seek(kCrossingReach);
            if (!kept) {
                if (strays != nullptr) strays->clear();
                return {};
            }
            stray = closest;
        }
        if (strays != nullptr) strays->push_back(stray);
        grid.push_back({origin.lon + static_cast<std::int32_t>(kept->x),
                        origin.lat + static_cast<std::int32_t>(kept->y)});
    }
    return grid;
}

std::optional<OutlinePlane> outlinePlane(const std::vector<GeoPoint>& outline,
                                         double toleranceMetres) {
    if (outline.size() < 3 || !(toleranceMetres > 0.0)) return std::nullopt;
    std::int32_t minLat = outline[0].lat, maxLat = minLat;
    for (const GeoPoint& p : outline) {
        minLat = std::min(minLat, p.lat);
        maxLat = std::max(maxLat, p.lat);
    }
    // One scale for the east-west units across the whole outline: the one of its middle.
    // Distances elsewhere are off by the cosines' ratio, taken off the tolerance.
    const double middle = (static_cast<double>(minLat) + maxLat) / 2.0 * kRadiansPerUnit;
    const double cosine = std::cos(middle);
    const double widest = std::max(std::fabs(minLat), std::fabs(maxLat)) * kRadiansPerUnit;
    if (!(cosine > 0.05) || !(std::cos(widest) > 0.02)) return std::nullopt;
    const double shrink = std::min(cosine / std::cos(widest), std::cos(widest) / cosine);
    OutlinePlane plane;
    plane.local = Plane{outline[0], cosine};
    // Rounding a vertex to whole units moves it by up to 0.71 units, seldom all of it outward:
    // half a unit is set aside, and the check on the result decides.
    plane.toleranceUnits = toleranceMetres / kMetresPerUnit * shrink - 0.5;
    if (plane.toleranceUnits < 4.0) return std::nullopt;
    // The border is walked in whole units, where every test on the outline's own points is
    // exact (the walk's choices do not depend on the scale), and scaled afterwards.
    plane.border = borderInUnits(outline);
    if (plane.border.empty()) return std::nullopt;
    for (V& p : plane.border) p.x *= cosine;
    return plane;
}

std::vector<std::vector<GeoPoint>> bufferedOutlines(const OutlinePlane& plane,
                                                    double growFraction) {
    double grownBy = plane.toleranceUnits * growFraction;
    // A chord may cut back into the growth, short of the original by most of the rounding, and
    // pass outside it by the rest of the tolerance (rounded corners lie up to 2 % beyond it).
    double inward = grownBy - 0.8;
    double outward = plane.toleranceUnits - grownBy * 1.02;
    if (inward < 0.5 || outward < 0.5) return {};
    std::vector<V> buffer = outerBorder(grown(plane.border, grownBy));
    double spread = 0.0;  // how far the buffer lies either way of grownBy beyond the original
    if (buffer.empty()) {
        // A dense border (points metres apart, wobbling) grows into thousands of tiny loops at
        // nearly the same angle, which rounding can make impossible to walk round. Thinned
        // first, and grown by as much more, it walks: the grown loop then lies between grownBy
        // and grownBy + 2 thinning beyond the original.
        for (const double share : {0.1, 0.25}) {
            const double thinning = plane.toleranceUnits * share;
            const double growth = std::min(grownBy, plane.toleranceUnits * 0.8 - 2.0 * thinning);
            outward = plane.toleranceUnits - (growth + 2.0 * thinning) * 1.02;
            inward = growth - 0.8;
            if (inward < 0.5 || outward < 0.5) return {};
            buffer = outerBorder(grown(thinned(plane.border, thinning), growth + thinning));
            grownBy = growth + thinning;
            spread = thinning;
            if (!buffer.empty()) break;
        }
    }
    if (buffer.size() < 3) return {};
    // Chords end at the buffer's points only: on its long edges, points every half tolerance let
    // a chord end partway along, past a corner it could not otherwise cut.
    buffer = subdivided(buffer, plane.toleranceUnits * kLongestStep);
    std::vector<std::vector<GeoPoint>> results;
    auto add = [&](const std::vector<V>& loop, const Band& band) {
        std::vector<GeoPoint> result;
        for (const V& p : greedyChords(loop, band)) {
            const GeoPoint g = plane.local.from(p);
            if (result.empty() || !(g == result.back())) result.push_back(g);
        }
        while (result.size() > 1 && result.back() == result.front()) result.pop_back();
        if (result.size() >= 3) results.push_back(std::move(result));
    };
    const Band even{std::vector<double>(buffer.size(), inward),
                    std::vector<double>(buffer.size(), outward)};
    add(buffer, even);
    Band band = even;
    const double low = std::max(1.5, plane.toleranceUnits * kBayLow) + spread;
    if (low < grownBy) {
        if (const auto eased =
                easedIntoBays(buffer, grownBy, spread, low, plane.toleranceUnits, band)) {
            add(*eased, band);
        }
    }
    return results;
}

}  // namespace airspace
