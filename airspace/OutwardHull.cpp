// The outward hull, on a raster in the instrument's own units.
//
// The outline is drawn into cells (every cell its edges touch), and every cell it shuts in from
// the outside is filled: that is the airspace however a crossing is read. A distance transform
// gives the band of cells within the reach; a closing (grow, then shrink back) fills the narrow
// bays and pinches, which keeps the hull simple. The border of the closed shape, traced as one
// loop of cell corners, is then cut short by the longest straight chords that stay in the band
// and never enter the shape. Cell corners lie on the instrument's grid, so the hull needs no
// rounding.
#include "airspace/OutwardHull.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "airspace/OutlineChecks.h"
#include "airspace/OutlineEncoder.h"

namespace airspace {
namespace {

// Cells of the raster at most: its bytes and the two distance transforms stay near 10 MB.
constexpr std::int64_t kMaxCells = std::int64_t{3} << 19;
// Cells across the reach: finer costs time, coarser wastes the tolerance.
constexpr double kCellsPerReach = 4.0;

enum : std::uint8_t {
    kDrawn = 1,    // touched by the outline, or shut in by it
    kOutside = 2,  // reached from the raster's border
    kShape = 4,    // the closed shape the hull must enclose
    kBand = 8,     // within the reach
    kMiddle = 16,  // the shape grown halfway into the band: the hull's corners lie on its border
};

struct Corner {
    std::int64_t x = 0;
    std::int64_t y = 0;
};

class Raster {
public:
    Raster(std::int64_t width, std::int64_t height)
        : width_(width), height_(height), cells_(static_cast<std::size_t>(width * height), 0) {}

    [[nodiscard]] std::int64_t width() const { return width_; }
    [[nodiscard]] std::int64_t height() const { return height_; }
    [[nodiscard]] std::size_t at(std::int64_t x, std::int64_t y) const {
        return static_cast<std::size_t>(y * width_ + x);
    }
    [[nodiscard]] bool has(std::int64_t x, std::int64_t y, std::uint8_t flag) const {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
        return (cells_[at(x, y)] & flag) != 0;
    }
    std::uint8_t& operator[](std::size_t i) { return cells_[i]; }
    [[nodiscard]] std::uint8_t operator[](std::size_t i) const { return cells_[i]; }
    [[nodiscard]] std::size_t size() const { return cells_.size(); }

    // Marks `flag` on every cell not carrying `wall` that the raster's border reaches, stepping
    // to the four neighbours.
    void floodFromBorder(std::uint8_t wall, std::uint8_t flag) {
        for (auto& c : cells_) c = static_cast<std::uint8_t>(c & ~flag);
        std::vector<std::size_t> stack;
        auto push = [&](std::int64_t x, std::int64_t y) {
            if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
            std::uint8_t& c = cells_[at(x, y)];
            if (c & (wall | flag)) return;
            c |= flag;
            stack.push_back(at(x, y));
        };
        for (std::int64_t x = 0; x < width_; ++x) {
            push(x, 0);
            push(x, height_ - 1);
        }
        for (std::int64_t y = 0; y < height_; ++y) {
            push(0, y);
            push(width_ - 1, y);
        }
        while (!stack.empty()) {
            const std::size_t i = stack.back();
            stack.pop_back();
            const std::int64_t x = static_cast<std::int64_t>(i) % width_;
            const std::int64_t y = static_cast<std::int64_t>(i) / width_;
            push(x + 1, y);
            push(x - 1, y);
            push(x, y + 1);
            push(x, y - 1);
        }
    }

private:
    std::int64_t width_;
    std::int64_t height_;
    std::vector<std::uint8_t> cells_;
};

// Squared distance transform along one line (Felzenszwalb and Huttenlocher), cells `step` apart.
void distanceLine(std::vector<double>& f, std::vector<double>& d, std::vector<std::int64_t>& v,
                  std::vector<double>& z, std::int64_t n, double step2) {
    std::int64_t k = 0;
    v[0] = 0;
    z[0] = -INFINITY;
    z[1] = INFINITY;
    auto meet = [&](std::int64_t q, std::int64_t p) {
        return ((f[static_cast<std::size_t>(q)] + step2 * static_cast<double>(q * q)) -
                (f[static_cast<std::size_t>(p)] + step2 * static_cast<double>(p * p))) /
               (2.0 * step2 * static_cast<double>(q - p));
    };
    for (std::int64_t q = 1; q < n; ++q) {
        double s = meet(q, v[static_cast<std::size_t>(k)]);
        while (s <= z[static_cast<std::size_t>(k)]) {
            --k;
            s = meet(q, v[static_cast<std::size_t>(k)]);
        }
        ++k;
        v[static_cast<std::size_t>(k)] = q;
        z[static_cast<std::size_t>(k)] = s;
        z[static_cast<std::size_t>(k + 1)] = INFINITY;
    }
    k = 0;
    for (std::int64_t q = 0; q < n; ++q) {
        while (z[static_cast<std::size_t>(k + 1)] < static_cast<double>(q)) ++k;
        const std::int64_t p = v[static_cast<std::size_t>(k)];
        d[static_cast<std::size_t>(q)] =
            step2 * static_cast<double>((q - p) * (q - p)) + f[static_cast<std::size_t>(p)];
    }
}

// Squared distance in metres from each cell's centre to the nearest cell carrying `source`.
std::vector<float> distances(const Raster& raster, std::uint8_t source, bool present,
                             double cellWidth, double cellHeight) {
    const std::int64_t w = raster.width();
    const std::int64_t h = raster.height();
    constexpr double kFar = 1e30;
    std::vector<float> out(raster.size());
    const std::size_t longest = static_cast<std::size_t>(std::max(w, h)) + 1;
    std::vector<double> f(longest), d(longest), z(longest + 1);
    std::vector<std::int64_t> v(longest);
    for (std::int64_t x = 0; x < w; ++x) {
        for (std::int64_t y = 0; y < h; ++y) {
            const bool is = (raster[raster.at(x, y)] & source) != 0;
            f[static_cast<std::size_t>(y)] = is == present ? 0.0 : kFar;
        }
        distanceLine(f, d, v, z, h, cellHeight * cellHeight);
        for (std::int64_t y = 0; y < h; ++y) {
            out[raster.at(x, y)] =
                static_cast<float>(std::min(d[static_cast<std::size_t>(y)], kFar));
        }
    }
    for (std::int64_t y = 0; y < h; ++y) {
        for (std::int64_t x = 0; x < w; ++x) f[static_cast<std::size_t>(x)] = out[raster.at(x, y)];
        distanceLine(f, d, v, z, w, cellWidth * cellWidth);
        for (std::int64_t x = 0; x < w; ++x) {
            out[raster.at(x, y)] =
                static_cast<float>(std::min(d[static_cast<std::size_t>(x)], kFar));
        }
    }
    return out;
}

// Marks every cell that the closed segment from a to b (in cell coordinates) touches.
void drawSegment(Raster& raster, double ax, double ay, double bx, double by) {
    constexpr double kSlack = 1e-7;
    if (ax > bx) {
        std::swap(ax, bx);
        std::swap(ay, by);
    }
    const auto firstColumn = static_cast<std::int64_t>(std::floor(ax - kSlack));
    const auto lastColumn = static_cast<std::int64_t>(std::floor(bx + kSlack));
    for (std::int64_t column = firstColumn; column <= lastColumn; ++column) {
        const double from = std::max(ax, static_cast<double>(column));
        const double to = std::min(bx, static_cast<double>(column + 1));
        double y1 = ay;
        double y2 = by;
        if (bx > ax) {
            y1 = ay + (by - ay) * ((from - ax) / (bx - ax));
            y2 = ay + (by - ay) * ((to - ax) / (bx - ax));
        }
        if (y1 > y2) std::swap(y1, y2);
        const auto firstRow = static_cast<std::int64_t>(std::floor(y1 - kSlack));
        const auto lastRow = static_cast<std::int64_t>(std::floor(y2 + kSlack));
        for (std::int64_t row = firstRow; row <= lastRow; ++row) {
            if (column < 0 || row < 0 || column >= raster.width() || row >= raster.height()) {
                continue;
            }
            raster[raster.at(column, row)] |= kDrawn;
        }
    }
}

// The border of the cells carrying `flag` as one counter-clockwise loop of corners (the cells on
// the left), only where it turns. They are one piece of cells joined by their sides, without
// holes and without two cells meeting at a corner alone.
std::vector<Corner> traceBorder(const Raster& raster, std::uint8_t flag) {
    std::vector<Corner> loop;
    std::int64_t startX = -1;
    std::int64_t startY = -1;
    for (std::int64_t y = 0; y < raster.height() && startX < 0; ++y) {
        for (std::int64_t x = 0; x < raster.width(); ++x) {
            if (raster.has(x, y, flag)) {
                startX = x;
                startY = y;
                break;
            }
        }
    }
    if (startX < 0) return loop;
    // Directions: 0 east, 1 north, 2 west, 3 south. Ahead-left and ahead-right cells of a corner
    // (x, y) moving in each direction, as offsets from the corner's cell (x, y).
    static constexpr int kStepX[4] = {1, 0, -1, 0};
    static constexpr int kStepY[4] = {0, 1, 0, -1};
    static constexpr int kLeftX[4] = {0, -1, -1, 0};
    static constexpr int kLeftY[4] = {0, 0, -1, -1};
    static constexpr int kRightX[4] = {0, 0, -1, -1};
    static constexpr int kRightY[4] = {-1, 0, 0, -1};
    std::int64_t x = startX;
    std::int64_t y = startY;
    int direction = 0;
    const std::int64_t limit = 4 * static_cast<std::int64_t>(raster.size()) + 8;
    for (std::int64_t guard = 0; guard < limit; ++guard) {
        x += kStepX[direction];
        y += kStepY[direction];
        const bool left = raster.has(x + kLeftX[direction], y + kLeftY[direction], flag);
        const bool right = raster.has(x + kRightX[direction], y + kRightY[direction], flag);
        int turn = direction;
        if (!left) {
            turn = (direction + 1) % 4;
        } else if (right) {
            turn = (direction + 3) % 4;
        }
        if (turn != direction) loop.push_back({x, y});
        direction = turn;
        if (x == startX && y == startY) break;
    }
    // The start corner is a turn (south-west of the lowest, westmost cell); it closed the loop.
    if (!loop.empty()) std::rotate(loop.begin(), loop.end() - 1, loop.end());
    return loop;
}

class ChordWalk {
public:
    ChordWalk(const Raster& raster, const std::vector<Corner>& loop, GeoPoint origin,
              std::int64_t cellX, std::int64_t cellY, double insideX, double insideY)
        : raster_(raster),
          loop_(loop),
          origin_(origin),
          cellX_(cellX),
          cellY_(cellY),
          insideX_(insideX),
          insideY_(insideY) {
        const std::size_t n = loop_.size();
        turning_.assign(n + 1, 0.0);
        for (std::size_t i = 0; i < n; ++i) {
            turning_[i + 1] = turning_[i] + angle(loop_[i], loop_[(i + 1) % n]);
        }
    }

    [[nodiscard]] GeoPoint geo(std::size_t i) const {
        const Corner c = loop_[i % loop_.size()];
        return {static_cast<std::int32_t>(origin_.lon + c.x * cellX_),
                static_cast<std::int32_t>(origin_.lat + c.y * cellY_)};
    }

    // Greedy: from each kept corner, the farthest corner along the loop that a chord reaches.
    [[nodiscard]] std::vector<GeoPoint> run() const {
        const std::size_t n = loop_.size();
        std::vector<GeoPoint> hull;
        std::size_t a = 0;
        while (a < n) {
            hull.push_back(geo(a));
            std::size_t good = a + 1;
            std::size_t bad = 0;
            for (std::size_t step = 2;; step *= 2) {
                const std::size_t probe = std::min(a + step, n);
                if (!reaches(a, probe)) {
                    bad = probe;
                    break;
                }
                good = probe;
                if (probe == n) break;
            }
            if (bad != 0) {
                while (bad - good > 1) {
                    const std::size_t middle = good + (bad - good) / 2;
                    if (reaches(a, middle)) {
                        good = middle;
                    } else {
                        bad = middle;
                    }
                }
            }
            a = good;
        }
        return hull;
    }

private:
    // The angle the step from a to b turns through, seen from the point inside the shape.
    [[nodiscard]] double angle(Corner a, Corner b) const {
        const double ax = static_cast<double>(a.x) - insideX_;
        const double ay = static_cast<double>(a.y) - insideY_;
        const double bx = static_cast<double>(b.x) - insideX_;
        const double by = static_cast<double>(b.y) - insideY_;
        return std::atan2(ax * by - ay * bx, ax * bx + ay * by);
    }

    [[nodiscard]] bool clear(std::int64_t x, std::int64_t y) const {
        return !raster_.has(x, y, kShape) && raster_.has(x, y, kBand);
    }

    // The chord from corner a to corner b (a < b <= n, b == n being corner 0 again) stays in
    // the band, never enters the shape, passes the shape on its outer side and is one step.
    [[nodiscard]] bool reaches(std::size_t a, std::size_t b) const {
        const std::size_t n = loop_.size();
        const Corner p = loop_[a];
        const Corner q = loop_[b % n];
        if (b == a + 1) return true;
        // The loop from a to b and the chord back must not wind round the shape: the chord would
        // pass it on the wrong side. Neither enters the shape, so one point of it tells.
        if (std::fabs(turning_[b] - turning_[a] + angle(q, p)) > 3.141592653589793) return false;
        if (!OutlineEncoder::stepTest(geo(a), geo(b))) return false;
        const std::int64_t dx = q.x - p.x;
        const std::int64_t dy = q.y - p.y;
        if (dx == 0 || dy == 0) {
            // Along a grid line: one of the two cells beside each unit must be clear of the
            // shape, one must be in the band.
            const std::int64_t length = std::max(std::llabs(dx), std::llabs(dy));
            for (std::int64_t k = 0; k < length; ++k) {
                std::int64_t x1, y1, x2, y2;
                if (dx == 0) {
                    const std::int64_t y = std::min(p.y, q.y) + k;
                    x1 = p.x - 1, y1 = y, x2 = p.x, y2 = y;
                } else {
                    const std::int64_t x = std::min(p.x, q.x) + k;
                    x1 = x, y1 = p.y - 1, x2 = x, y2 = p.y;
                }
                if (raster_.has(x1, y1, kShape) && raster_.has(x2, y2, kShape)) return false;
                if (!raster_.has(x1, y1, kBand) && !raster_.has(x2, y2, kBand)) return false;
            }
            return true;
        }
        const std::int64_t sx = dx > 0 ? 1 : -1;
        const std::int64_t sy = dy > 0 ? 1 : -1;
        const std::int64_t ax = std::llabs(dx);
        const std::int64_t ay = std::llabs(dy);
        std::int64_t cx = sx > 0 ? p.x : p.x - 1;
        std::int64_t cy = sy > 0 ? p.y : p.y - 1;
        if (!clear(cx, cy)) return false;
        std::int64_t m = 1;
        std::int64_t l = 1;
        while (m < ax || l < ay) {
            const std::int64_t tm = m < ax ? m * ay : std::numeric_limits<std::int64_t>::max();
            const std::int64_t tl = l < ay ? l * ax : std::numeric_limits<std::int64_t>::max();
            if (tm < tl) {
                cx += sx;
                ++m;
            } else if (tl < tm) {
                cy += sy;
                ++l;
            } else {
                // Through a corner: it must not be inside the shape, and must touch the band.
                const std::int64_t X = p.x + sx * m;
                const std::int64_t Y = p.y + sy * l;
                const bool inside = raster_.has(X - 1, Y - 1, kShape) &&
                                    raster_.has(X, Y - 1, kShape) &&
                                    raster_.has(X - 1, Y, kShape) && raster_.has(X, Y, kShape);
                if (inside) return false;
                cx += sx;
                cy += sy;
                ++m;
                ++l;
            }
            if (!clear(cx, cy)) return false;
        }
        return true;
    }

    const Raster& raster_;
    const std::vector<Corner>& loop_;
    GeoPoint origin_;
    std::int64_t cellX_;
    std::int64_t cellY_;
    double insideX_;
    double insideY_;
    std::vector<double> turning_;
};

// Makes the cells carrying `flag` one piece without holes in which no two cells meet at a corner
// alone, by adding cells (to the band too, which must hold them).
void fillAndJoin(Raster& raster, std::uint8_t flag) {
    for (bool changed = true; changed;) {
        changed = false;
        raster.floodFromBorder(flag, kOutside);
        for (std::size_t i = 0; i < raster.size(); ++i) {
            if (!(raster[i] & kOutside)) raster[i] |= flag | kBand;
        }
        for (std::int64_t y = 0; y + 1 < raster.height(); ++y) {
            for (std::int64_t x = 0; x + 1 < raster.width(); ++x) {
                const bool a = raster.has(x, y, flag);
                const bool b = raster.has(x + 1, y, flag);
                const bool c = raster.has(x, y + 1, flag);
                const bool d = raster.has(x + 1, y + 1, flag);
                if (a == d && b == c && a != b) {
                    for (const std::size_t i : {raster.at(x, y), raster.at(x + 1, y),
                                                raster.at(x, y + 1), raster.at(x + 1, y + 1)}) {
                        raster[i] |= flag | kBand;
                    }
                    changed = true;
                }
            }
        }
    }
}

}  // namespace

std::vector<GeoPoint> outwardHull(const std::vector<GeoPoint>& outline, double reachMetres) {
    if (outline.empty() || !(reachMetres > 0.0)) return {};
    std::int64_t minX = outline[0].lon, maxX = minX, minY = outline[0].lat, maxY = minY;
    for (const GeoPoint& p : outline) {
        minX = std::min<std::int64_t>(minX, p.lon);
        maxX = std::max<std::int64_t>(maxX, p.lon);
        minY = std::min<std::int64_t>(minY, p.lat);
        maxY = std::max<std::int64_t>(maxY, p.lat);
    }
    const double cosine = std::cos(static_cast<double>(minY + maxY) / 2.0 * kRadiansPerUnit);
    if (!(cosine > 0.01)) return {};
    // Square cells of whole units; coarser when the raster would grow too large.
    std::int64_t cellY =
        std::max<std::int64_t>(1, std::llround(reachMetres / kCellsPerReach / kMetresPerUnit));
    std::int64_t cellX = 0, margin = 0, width = 0, height = 0;
    double cellWidth = 0.0, cellHeight = 0.0;
    for (;;) {
        cellX = std::max<std::int64_t>(1, std::llround(static_cast<double>(cellY) / cosine));
        cellWidth = static_cast<double>(cellX) * cosine * kMetresPerUnit;
        cellHeight = static_cast<double>(cellY) * kMetresPerUnit;
        margin = static_cast<std::int64_t>(reachMetres / std::min(cellWidth, cellHeight)) + 3;
        width = (maxX - minX) / cellX + 1 + 2 * margin;
        height = (maxY - minY) / cellY + 1 + 2 * margin;
        if (width * height <= kMaxCells) break;
        cellY = cellY + std::max<std::int64_t>(1, cellY / 4);
    }
    const double cell = std::max(cellWidth, cellHeight);
    const double diagonal = std::hypot(cellWidth, cellHeight);
    // A point of a band cell lies within the band's distance, plus a diagonal, of the outline.
    const double band = reachMetres - diagonal;
    if (band < 1.5 * cell) return {};
    const double closing = std::max(0.0, std::min(band * 0.3, band - 3.0 * cell));
    const double middle = closing + (band - closing) / 2.0;

    const GeoPoint origin(static_cast<std::int32_t>(minX - margin * cellX),
                          static_cast<std::int32_t>(minY - margin * cellY));
    Raster raster(width, height);
    const std::size_t n = outline.size();
    for (std::size_t i = 0; i < n; ++i) {
        const GeoPoint a = outline[i];
        const GeoPoint b = outline[(i + 1) % n];
        drawSegment(raster, static_cast<double>(a.lon - origin.lon) / static_cast<double>(cellX),
                    static_cast<double>(a.lat - origin.lat) / static_cast<double>(cellY),
                    static_cast<double>(b.lon - origin.lon) / static_cast<double>(cellX),
                    static_cast<double>(b.lat - origin.lat) / static_cast<double>(cellY));
    }
    raster.floodFromBorder(kDrawn, kOutside);
    for (std::size_t i = 0; i < raster.size(); ++i) {
        if (!(raster[i] & kOutside)) raster[i] |= kDrawn;
    }

    // The band, and the closing: grown by `closing`, then shrunk back by as much.
    const std::vector<float> fromDrawn = distances(raster, kDrawn, true, cellWidth, cellHeight);
    for (std::size_t i = 0; i < raster.size(); ++i) {
        if (fromDrawn[i] <= band * band) raster[i] |= kBand;
        if (fromDrawn[i] <= closing * closing) raster[i] |= kShape;
    }
    const std::vector<float> fromOuter = distances(raster, kShape, false, cellWidth, cellHeight);
    for (std::size_t i = 0; i < raster.size(); ++i) {
        const bool keep = (raster[i] & kDrawn) || fromOuter[i] > closing * closing;
        raster[i] = static_cast<std::uint8_t>(keep ? (raster[i] | kShape) : (raster[i] & ~kShape));
    }

    fillAndJoin(raster, kShape);
    for (std::size_t i = 0; i < raster.size(); ++i) {
        if ((raster[i] & kShape) || fromDrawn[i] <= middle * middle) raster[i] |= kMiddle;
    }
    fillAndJoin(raster, kMiddle);

    const std::vector<Corner> loop = traceBorder(raster, kMiddle);
    const std::vector<Corner> shapeLoop = traceBorder(raster, kShape);
    if (loop.size() < 3 || shapeLoop.empty()) return {};
    // The centre of the shape's lowest, westmost cell: inside the shape.
    const double insideX = static_cast<double>(shapeLoop[0].x) + 0.5;
    const double insideY = static_cast<double>(shapeLoop[0].y) + 0.5;
    return ChordWalk(raster, loop, origin, cellX, cellY, insideX, insideY).run();
}

}  // namespace airspace
