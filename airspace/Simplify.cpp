// Simplifying outlines so that a large one fits the instrument, without ever shrinking the
// airspace the instrument holds.
//
// Several ways, each checked on what the instrument would really hold (the decoded polygons of
// both encodings): the result must be simple, cover the original outline and stray from it by no
// more than the tolerance, and save bytes; the smallest result that passes wins.
//
// The circle (CircleFit.h): a polygon written round a circle becomes the instrument's own circle.
//
// The runs: each run of points is walked greedily, a stretch of points replaced by one edge when
// all of them lie within a narrow band behind it; the edge is pushed outward until every one of
// them lies on or inside it, with a margin for the rounding to whole units. The new vertices are
// where neighbouring edges meet. Arcs and circles stay as they are (where an outline has arcs
// and its runs alone keep the promises, that result goes). This follows a well drawn outline
// closely, but an outline that touches or crosses itself stays so.
//
// The buffer (OutwardBuffer.h): for any outline, however drawn, its outer border grown by most of
// the tolerance and cut short by the longest chords within the rest.
//
// The hull (OutwardHull.h): for any outline, however drawn, a polygon around all it encloses,
// arcs taken as the 16-gon edges the instrument holds. Tried wherever it could save more.
//
// Keeping the original is the last resort, and the result says why.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "airspace/CircleFit.h"
#include "airspace/Geometry.h"
#include "airspace/OutlineBuilder.h"
#include "airspace/OutlineChecks.h"
#include "airspace/OutlineDecoder.h"
#include "airspace/OutwardBuffer.h"
#include "airspace/OutwardHull.h"
#include "airspace/Planar.h"
#include "airspace/Selection.h"
#include "airspace/Simplify.h"

namespace airspace {
namespace {

constexpr double kNauticalMetresPerUnit = 18.52;  // a hundredth of a nautical mile
// Rounding a vertex to whole units moves it by at most half a unit each way; the encoder's
// halving of long steps by as much again.
constexpr double kMarginUnits = 1.5;
// A stretch longer than this is cut anyway: it keeps the greedy walk linear in practice.
constexpr std::size_t kMaxStretch = 4000;

// One edge of the simplified run: the line through `from` in direction `along` (unit length),
// already pushed outward.
struct Line {
    Planar from;
    Planar along;
    Planar outward;  // unit normal pointing out of the airspace
};

class RunSimplifier {
public:
    // `reachUnits`: how far a new vertex may lie from the point it replaces (the tolerance).
    RunSimplifier(const std::vector<Planar>& points, bool closed, double outsideSign,
                  double bandUnits, double reachUnits)
        : p_(points),
          closed_(closed),
          outside_(outsideSign),
          band_(bandUnits),
          reach_(std::max(reachUnits - kMarginUnits, bandUnits + kMarginUnits)) {}

    // The new vertices; for a closed run, the first is where the last and the first edge meet.
    [[nodiscard]] std::vector<Planar> run() const {
        const std::size_t n = p_.size();
        const std::size_t last = closed_ ? n : n - 1;  // index `n` stands for point 0 again
        std::vector<std::size_t> kept{0};
        std::vector<Line> lines;
        std::size_t a = 0;
        while (a < last) {
            std::size_t best = a + 1;
            double bestShift = 0.0;
            for (std::size_t b = a + 2; b <= last && b - a <= kMaxStretch; ++b) {
                double shift = 0.0;
                if (!fits(a, b, shift)) break;
                best = b;
                bestShift = shift;
            }
            lines.push_back(lineOf(a, best, bestShift));
            kept.push_back(best);
            a = best;
        }

        std::vector<Planar> vertices;
        if (!closed_) vertices.push_back(p_[0]);
        const std::size_t joints = lines.size();
        for (std::size_t j = closed_ ? 0 : 1; j < joints; ++j) {
            const Line& before = lines[(j + joints - 1) % joints];
            const Line& after = lines[j];
            joint(vertices, before, after, at(kept[j]));
        }
        if (!closed_) vertices.push_back(p_[n - 1]);
        return vertices;
    }

private:
    [[nodiscard]] Planar at(std::size_t i) const { return p_[i % p_.size()]; }

    // Signed distance of point k outside the chord from a to b.
    [[nodiscard]] double outside(Planar a, Planar b, double chord, std::size_t k) const {
        return -outside_ * crossOf(b - a, at(k) - a) / chord;
    }

    // Whether the points between a and b lie within the band behind one edge; `shift` is how
    // far the chord must move out to have them all on or inside it.
    [[nodiscard]] bool fits(std::size_t a, std::size_t b, double& shift) const {
        const Planar pa = at(a);
        const Planar pb = at(b);
        const double chord = length(pb - pa);
        if (chord < 1e-9) return false;
        // The ends of an open run are fixed: an edge from them cannot move.
        const bool fixed = !closed_ && (a == 0 || b == p_.size() - 1);
        double most = 0.0;
        double least = 0.0;
        for (std::size_t k = a + 1; k < b; ++k) {
            const double d = outside(pa, pb, chord, k);
            most = std::max(most, d);
            least = std::min(least, d);
        }
        if (fixed) {
            shift = 0.0;
            return most <= -kMarginUnits + 1e-9 ? -least <= band_ : false;
        }
        shift = most + kMarginUnits;
        return shift - least <= band_;
    }

    [[nodiscard]] Line lineOf(std::size_t a, std::size_t b, double shift) const {
        const Planar pa = at(a);
        const Planar d = at(b) - pa;
        const double len = length(d);
        const Planar along = d * (1.0 / len);
        // Left of the direction of travel is inside for a counter-clockwise outline.
        const Planar outward = Planar{along.y, -along.x} * outside_;
        return {pa + outward * shift, along, outward};
    }

    // Where two neighbouring edges meet, if within the reach of the point they turn at (edges
    // pushed out by different amounts at a gentle turn meet a little beyond it); near-parallel
    // edges meet far away, and are joined by a short edge across instead.
    void joint(std::vector<Planar>& vertices, const Line& before, const Line& after,
               Planar original) const {
        const double denominator = crossOf(before.along, after.along);
        if (std::fabs(denominator) > 1e-12) {
            const double t = crossOf(after.from - before.from, after.along) / denominator;
            const Planar meet = before.from + before.along * t;
            if (length(meet - original) <= reach_) {
                vertices.push_back(meet);
                return;
            }
        }
        auto foot = [&](const Line& line) {
            const double along = (original.x - line.from.x) * line.along.x +
                                 (original.y - line.from.y) * line.along.y;
            return line.from + line.along * along;
        };
        vertices.push_back(foot(before));
        vertices.push_back(foot(after));
    }

    const std::vector<Planar>& p_;
    bool closed_;
    double outside_;
    double band_;
    double reach_;
};

// ---- The check ------------------------------------------------------------------------

// Whether some edge of `outline` passes within `limit` of p. Both outlines run the same way
// round, so the edge found for one point is near the one for the next: the search starts at
// `hint` and goes both ways from it, which makes the check about linear instead of quadratic.
bool nearOutline(Planar p, const std::vector<Planar>& outline, double limit, std::size_t& hint) {
    const std::size_t n = outline.size();
    auto near = [&](std::size_t i) {
        return distanceToSegment(p, outline[i], outline[(i + 1) % n]) <= limit;
    };
    for (std::size_t step = 0; step <= n / 2; ++step) {
        const std::size_t forward = (hint + step) % n;
        const std::size_t backward = (hint + n - step % n) % n;
        if (near(forward)) {
            hint = forward;
            return true;
        }
        if (near(backward)) {
            hint = backward;
            return true;
        }
    }
    return false;
}

// The new outline contains the old one, is a simple polygon, and neither strays from the other
// by more than the tolerance (measured at the vertices and the new edges' midpoints).
bool acceptable(const std::vector<GeoPoint>& original, const std::vector<GeoPoint>& simplified,
                const Plane& plane, double toleranceUnits) {
    if (simplified.size() < 3) return false;
    for (const GeoPoint& p : original) {
        if (!insideOrOn(p, simplified)) return false;
    }
    if (edgesCross(simplified, original) || crossesItself(simplified)) {
        return false;
    }
    std::vector<Planar> o, s;
    for (const GeoPoint& p : original) o.push_back(plane.to(p));
    for (const GeoPoint& p : simplified) s.push_back(plane.to(p));
    std::size_t hint = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const Planar mid = (s[i] + s[(i + 1) % s.size()]) * 0.5;
        if (!nearOutline(s[i], o, toleranceUnits, hint)) return false;
        if (!nearOutline(mid, o, toleranceUnits, hint)) return false;
    }
    hint = 0;
    for (const Planar& p : o) {
        if (!nearOutline(p, s, toleranceUnits, hint)) return false;
    }
    return true;
}

AirspaceRecord simplifiedRuns(const AirspaceRecord& airspace, double toleranceMetres) {
    if (!(toleranceMetres > 0.0) || airspace.encodedSize() == 0) return airspace;
    const std::vector<GeoPoint> original = decodeOutlinePoints(airspace);
    if (original.size() < 4) return airspace;
    Plane plane{original[0], std::cos(original[0].lat * kRadiansPerUnit)};
    if (!(plane.cosine > 1e-6)) return airspace;
    const double area = signedArea(original, plane);
    if (area == 0.0) return airspace;
    const double outsideSign = area > 0.0 ? 1.0 : -1.0;
    const double toleranceUnits = toleranceMetres / kNauticalMetresPerUnit;
    // The band must leave room for the margin; a tolerance below it cannot be met.
    if (toleranceUnits <= 2 * kMarginUnits) return airspace;

    const bool wholeOutline =
        airspace.elements.size() == 1 && airspace.elements[0].kind == ElementKind::PointRun;
    // A narrower band leaves more points but keeps further from the tolerance where the first
    // try does not pass the check.
    for (const double fraction : {0.6, 0.3}) {
        const double band = std::max(toleranceUnits * fraction, 2 * kMarginUnits + 0.5);
        AirspaceRecord candidate = airspace;
        bool changed = false;
        for (OutlineElement& element : candidate.elements) {
            if (element.kind != ElementKind::PointRun || element.points.size() < 3) continue;
            std::vector<GeoPoint> points = element.points;
            // A repeated closing point is implied by the outline's closing edge.
            if (wholeOutline && points.size() > 1 && points.back() == points.front()) {
                points.pop_back();
            }
            points.erase(std::unique(points.begin(), points.end()), points.end());
            if (points.size() < (wholeOutline ? 4u : 3u)) continue;
            std::vector<Planar> planar;
            planar.reserve(points.size());
            for (const GeoPoint& p : points) planar.push_back(plane.to(p));
            const std::vector<Planar> vertices =
                RunSimplifier(planar, wholeOutline, outsideSign, band, toleranceUnits).run();
            std::vector<GeoPoint> kept;
            kept.reserve(vertices.size());
            for (const Planar& v : vertices) kept.push_back(plane.from(v));
            element.points = std::move(kept);
            changed = true;
        }
        if (!changed) return airspace;
        candidate.encoder = buildOutline(candidate.elements);
        if (candidate.encodedSize() == 0 || candidate.encodedSize() >= airspace.encodedSize()) {
            continue;
        }
        if (acceptable(original, decodeOutlinePoints(candidate), plane, toleranceUnits)) {
            return candidate;
        }
    }
    return airspace;
}

}  // namespace

namespace {

// Whether what the instrument would hold for `candidate` keeps every promise of the
// simplification around `held`, and saves bytes.
bool keepsPromises(const AirspaceRecord& candidate, const std::vector<GeoPoint>& held,
                   std::size_t originalSize, double toleranceMetres) {
    if (candidate.encodedSize() == 0 || candidate.encodedSize() >= originalSize) return false;
    const std::vector<GeoPoint> outline = decodeOutlinePoints(candidate);
    return isSimplePolygon(outline) && coversOutline(outline, held) &&
           straysWithin(outline, held, toleranceMetres, toleranceMetres / 16.0);
}

// The vertices a plain Douglas-Peucker keeps of the closed outline at `toleranceUnits`: free to
// cut either way, it keeps no more than an outward hull needs, so where its count saves no bytes
// the raster is not worth drawing.
std::size_t douglasPeuckerCount(const std::vector<GeoPoint>& outline, double toleranceUnits) {
    if (outline.size() < 4) return outline.size();
    const Plane plane{outline[0], std::cos(outline[0].lat * kRadiansPerUnit)};
    std::vector<Planar> points;
    points.reserve(outline.size());
    for (const GeoPoint& p : outline) points.push_back(plane.to(p));
    return douglasPeucker(points, toleranceUnits).size();
}

// The airspace with `points` as its whole outline; empty for fewer than three points.
std::optional<AirspaceRecord> asOneRun(const AirspaceRecord& airspace,
                                       const std::vector<GeoPoint>& points) {
    if (points.size() < 3) return std::nullopt;
    AirspaceRecord candidate = airspace;
    OutlineElement run(ElementKind::PointRun);
    run.points = points;
    candidate.elements.assign(1, run);
    candidate.encoder = buildOutline(candidate.elements);
    return candidate;
}

bool onlyPointRuns(const AirspaceRecord& airspace) {
    return std::all_of(airspace.elements.begin(), airspace.elements.end(),
                       [](const OutlineElement& e) { return e.kind == ElementKind::PointRun; });
}

}  // namespace

SimplifiedOutline simplifyOutward(const AirspaceRecord& airspace, double toleranceMetres) {
    SimplifiedOutline result{airspace, false, {}};
    if (!(toleranceMetres > 0.0) || airspace.encodedSize() == 0) return result;
    const std::size_t size = airspace.encodedSize();
    const std::vector<GeoPoint> held = decodeOutlinePoints(airspace);
    // A polygon written round a circle: the instrument's own circle, 8 bytes, where it will do.
    if (std::optional<AirspaceRecord> circle = circleInstead(airspace, toleranceMetres);
        circle && keepsPromises(*circle, held, size, toleranceMetres)) {
        result.record = std::move(*circle);
        return result;
    }
    auto keep = [&](const char* reason) {
        result.record = airspace;
        result.keptOriginal = true;
        result.reason = reason;
        return result;
    };
    // Circles and arcs alone are the instrument's own shapes: nothing to simplify, nothing kept
    // against the pilot's wish.
    const bool anyRun = std::any_of(
        airspace.elements.begin(), airspace.elements.end(), [](const OutlineElement& e) {
            return e.kind == ElementKind::PointRun && e.points.size() > 1;
        });
    if (!anyRun) return result;
    if (held.size() < 4) return keep("saves no bytes");

    // A well drawn outline: its runs pushed out edge by edge, close to the original.
    // (An outline that touches or crosses itself stays so when its runs are pushed out.)
    const bool simple = isSimplePolygon(held);
    std::optional<AirspaceRecord> best;
    if (simple) {
        AirspaceRecord runs = simplifiedRuns(airspace, toleranceMetres);
        if (keepsPromises(runs, held, size, toleranceMetres)) best = std::move(runs);
    }
    const bool arcs = !onlyPointRuns(airspace);
    if (arcs && best) {
        result.record = std::move(*best);
        return result;
    }
    // Any outline, however drawn: grown by part of the tolerance, then cut short within the rest.
    // A wider growth leaves fewer corners where the outline turns outward, more where inward;
    // the growth taken back in the bays, fewer there.
    std::optional<AirspaceRecord> buffered;
    if (const auto plane = outlinePlane(held, toleranceMetres)) {
        for (const double grow : {0.8, 0.9}) {
            for (const std::vector<GeoPoint>& outline : bufferedOutlines(*plane, grow)) {
                auto candidate = asOneRun(airspace, outline);
                if (candidate &&
                    candidate->encodedSize() < (buffered ? buffered->encodedSize() : size) &&
                    keepsPromises(*candidate, held, size, toleranceMetres)) {
                    buffered = std::move(candidate);
                }
            }
        }
    }
    // Any outline, however drawn: the hull around all it encloses, its arcs taken as the 16-gon
    // edges the instrument holds for them. Tried wherever Douglas-Peucker's count says it could
    // well beat what the runs gave (pushed-out runs keep every turn of a wobbly outline that the
    // hull cuts across). The hull keeps about 1.5 to 2 times that count's corners, and its raster
    // is the slow part of simplifying a whole national file: where the count is not well below,
    // it is not drawn. Where it is only somewhat below, one raster is drawn, at the widest reach
    // (the one with the fewest corners): that alone saves bytes for most such outlines, arc TMAs
    // among them, and the narrower ones rarely do.
    const std::size_t leastHull =
        kStartPointSize +
        kDeltaPointSize * (douglasPeuckerCount(held, toleranceMetres / kNauticalMetresPerUnit) - 1);
    const std::size_t runsSize = best ? best->encodedSize() : size;
    // The hull rarely beats the buffer where that already came near the count's corners.
    const bool worthHull =
        leastHull * 13 / 8 < runsSize && (!buffered || leastHull * 5 / 4 < buffered->encodedSize());
    const bool marginal = leastHull * 7 / 4 >= runsSize;
    bool tried = false;
    if (worthHull) {
        // A narrower reach leaves more corners but keeps further from the tolerance, where the
        // first hull does not pass the check; only worth the time where nothing passed yet.
        for (const double reach : {1.3, 1.1, 0.9, 0.7, 0.5}) {
            if ((best || marginal) && reach < 1.3) break;
            const std::vector<GeoPoint> hull = outwardHull(held, toleranceMetres * reach);
            if (hull.size() < 3) continue;
            tried = true;
            AirspaceRecord candidate = *asOneRun(airspace, hull);
            // A narrower reach only adds corners: no use where this one saves nothing.
            if (candidate.encodedSize() >= (best ? best->encodedSize() : size)) break;
            if (!keepsPromises(candidate, held, size, toleranceMetres)) continue;
            best = std::move(candidate);
            break;
        }
    }
    if (buffered && (!best || buffered->encodedSize() < best->encodedSize())) {
        best = std::move(buffered);
    }
    if (!best) {
        return keep(!worthHull ? "saves no bytes"
                    : tried    ? "no simple outline within the tolerance saves bytes"
                    : simple   ? "saves no bytes"
                    : arcs     ? "it touches or crosses itself beside arcs, which must stay"
                               : "too large to simplify at this tolerance");
    }
    result.record = std::move(*best);
    return result;
}

AirspaceRecord simplifiedAirspace(const AirspaceRecord& airspace, double toleranceMetres) {
    return simplifyOutward(airspace, toleranceMetres).record;
}

}  // namespace airspace
