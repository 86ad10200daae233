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
#include "airspace/Planar.h"

namespace airspace {
namespace {

// Cells of the raster at most: its bytes and the two distance transforms stay near 10 MB.
constexpr std::int64_t kMaxCells = std::int64_t{3} << 19;
// Cells across the reach: finer costs time, coarser wastes the tolerance. Fine cells leave room
// in the band for the closing, which fills narrow bays and saves many corners; they are used
// where the raster stays small, the coarser ones beyond.
constexpr double kFineCellsPerReach = 6.0;
constexpr double kCellsPerReach = 4.0;
constexpr std::int64_t kMaxFineCells = std::int64_t{1} << 18;

enum : std::uint8_t {
    kDrawn = 1,    // touched by the outline, or shut in by it
    kOutside = 2,  // reached from the raster's border
    kShape = 4,    // the closed shape the hull must enclose
    kBand = 8,     // within the reach
    kMiddle = 16,  // the shape grown halfway into the band: the hull's corners lie on its border
    kNear = 32,    // near the outside of the grown shape: shrunk away again
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
    // to the four neighbours: a span fill, a row's run of free cells at a time. The border cells
    // never carry `wall` (the raster has a margin).
    void floodFromBorder(std::uint8_t wall, std::uint8_t flag) {
        for (auto& c : cells_) c = static_cast<std::uint8_t>(c & ~flag);
        const auto w = static_cast<std::size_t>(width_);
        const auto h = static_cast<std::size_t>(height_);
        auto free = [&](std::size_t i) { return (cells_[i] & (wall | flag)) == 0; };
        std::vector<std::size_t> seeds;
        for (std::size_t x = 0; x < w; ++x) {
            seeds.push_back(x);
            seeds.push_back((h - 1) * w + x);
        }
        for (std::size_t y = 0; y < h; ++y) {
            seeds.push_back(y * w);
            seeds.push_back(y * w + w - 1);
        }
        while (!seeds.empty()) {
            const std::size_t seed = seeds.back();
            seeds.pop_back();
            if (!free(seed)) continue;
            const std::size_t y = seed / w;
            const std::size_t row = y * w;
            std::size_t left = seed;
            while (left > row && free(left - 1)) --left;
            std::size_t right = seed;
            while (right + 1 < row + w && free(right + 1)) ++right;
            for (std::size_t i = left; i <= right; ++i) cells_[i] |= flag;
            // One seed per run of free cells in the rows above and below.
            for (const bool up : {true, false}) {
                if (up ? y + 1 >= h : y == 0) continue;
                bool inRun = false;
                for (std::size_t i = left; i <= right; ++i) {
                    const std::size_t j = up ? i + w : i - w;
                    const bool f = free(j);
                    if (f && !inRun) seeds.push_back(j);
                    inRun = f;
                }
            }
        }
    }

private:
    std::int64_t width_;
    std::int64_t height_;
    std::vector<std::uint8_t> cells_;
};

struct Offset {
    std::int64_t x;
    std::int64_t y;
    std::uint8_t flags;  // what a cell this far from a source cell is marked with
};

// The cells around a cell whose centres lie within `radius` metres of its centre, each with the
// flags of every (radius, flag) pair it lies within; nearest first is not needed.
std::vector<Offset> disk(const std::vector<std::pair<double, std::uint8_t>>& radii,
                         double cellWidth, double cellHeight) {
    double widest = 0.0;
    for (const auto& r : radii) widest = std::max(widest, r.first);
    const auto reachX = static_cast<std::int64_t>(widest / cellWidth);
    const auto reachY = static_cast<std::int64_t>(widest / cellHeight);
    std::vector<Offset> offsets;
    for (std::int64_t y = -reachY; y <= reachY; ++y) {
        for (std::int64_t x = -reachX; x <= reachX; ++x) {
            const double d =
                std::hypot(static_cast<double>(x) * cellWidth, static_cast<double>(y) * cellHeight);
            std::uint8_t flags = 0;
            for (const auto& r : radii) {
                if (d <= r.first) flags |= r.second;
            }
            if (flags != 0) offsets.push_back({x, y, flags});
        }
    }
    return offsets;
}

// Marks the cells near the cells carrying `source` (or, with `present` false, near those not
// carrying it) with the flags of `offsets`. The nearest source cell of any cell is one at the
// border of the source (a step toward the cell from any other comes nearer), so only those stamp.
void stamp(Raster& raster, std::uint8_t source, bool present, const std::vector<Offset>& offsets) {
    const std::int64_t w = raster.width();
    const std::int64_t h = raster.height();
    auto is = [&](std::int64_t x, std::int64_t y) {
        if (x < 0 || y < 0 || x >= w || y >= h) return !present;
        return ((raster[raster.at(x, y)] & source) != 0) == present;
    };
    std::vector<std::size_t> border;
    for (std::int64_t y = 0; y < h; ++y) {
        for (std::int64_t x = 0; x < w; ++x) {
            if (!is(x, y)) continue;
            if (is(x + 1, y) && is(x - 1, y) && is(x, y + 1) && is(x, y - 1)) continue;
            border.push_back(raster.at(x, y));
        }
    }
    for (const std::size_t i : border) {
        const std::int64_t x = static_cast<std::int64_t>(i) % w;
        const std::int64_t y = static_cast<std::int64_t>(i) / w;
        for (const Offset& o : offsets) {
            const std::int64_t X = x + o.x;
            const std::int64_t Y = y + o.y;
            if (X < 0 || Y < 0 || X >= w || Y >= h) continue;
            raster[raster.at(X, Y)] |= o.flags;
        }
    }
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
            a = farthestFitting(
                a, n, [this](std::size_t from, std::size_t to) { return reaches(from, to); });
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
        const auto w = static_cast<std::size_t>(raster.width());
        const auto h = static_cast<std::size_t>(raster.height());
        for (std::size_t y = 0; y + 1 < h; ++y) {
            for (std::size_t i = y * w; i + 1 < (y + 1) * w; ++i) {
                const bool a = (raster[i] & flag) != 0;
                const bool b = (raster[i + 1] & flag) != 0;
                const bool c = (raster[i + w] & flag) != 0;
                const bool d = (raster[i + w + 1] & flag) != 0;
                if (a == d && b == c && a != b) {
                    for (const std::size_t k : {i, i + 1, i + w, i + w + 1}) {
                        raster[k] |= flag | kBand;
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
        std::max<std::int64_t>(1, std::llround(reachMetres / kFineCellsPerReach / kMetresPerUnit));
    std::int64_t cellX = 0, margin = 0, width = 0, height = 0;
    double cellWidth = 0.0, cellHeight = 0.0;
    bool fine = true;
    for (;;) {
        cellX = std::max<std::int64_t>(1, std::llround(static_cast<double>(cellY) / cosine));
        cellWidth = static_cast<double>(cellX) * cosine * kMetresPerUnit;
        cellHeight = static_cast<double>(cellY) * kMetresPerUnit;
        margin = static_cast<std::int64_t>(reachMetres / std::min(cellWidth, cellHeight)) + 3;
        width = (maxX - minX) / cellX + 1 + 2 * margin;
        height = (maxY - minY) / cellY + 1 + 2 * margin;
        if (fine && width * height > kMaxFineCells) {
            fine = false;
            const std::int64_t coarse = std::max<std::int64_t>(
                1, std::llround(reachMetres / kCellsPerReach / kMetresPerUnit));
            if (coarse > cellY) {
                cellY = coarse;
                continue;
            }
        }
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

    // The band, the middle and the closing: grown by `closing`, then shrunk back by as much.
    stamp(raster, kDrawn, true,
          disk({{band, kBand}, {middle, kMiddle}, {closing, kShape}}, cellWidth, cellHeight));
    for (std::size_t i = 0; i < raster.size(); ++i) {
        if (raster[i] & kDrawn) raster[i] |= kBand | kMiddle | kShape;
    }
    stamp(raster, kShape, false, disk({{closing, kNear}}, cellWidth, cellHeight));
    for (std::size_t i = 0; i < raster.size(); ++i) {
        const bool keep = (raster[i] & kDrawn) || !(raster[i] & kNear);
        raster[i] = static_cast<std::uint8_t>(keep ? raster[i] : (raster[i] & ~kShape));
    }

    fillAndJoin(raster, kShape);
    for (std::size_t i = 0; i < raster.size(); ++i) {
        if (raster[i] & kShape) raster[i] |= kMiddle;
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
