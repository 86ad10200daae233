#include "zonesend/MapLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "airspace/OutlineDecoder.h"
#include "zonesend/AirspaceSetupLogic.h"

namespace zonesend {

namespace {

constexpr double kKmPerDegree = airspace::kEarthRadiusKm * std::numbers::pi / 180.0;
constexpr int kMargin = 6;
constexpr double kClipSlack = 64.0;
constexpr int kRingVertices = 72;
constexpr int kTakeOffArm = 5;
constexpr std::size_t kLabelChars = 28;
// The label text of an airspace is left out where it would hide another's.
constexpr int kLabelGap = 2;

struct Degrees {
    double lat = 0.0;
    double lon = 0.0;
};

// A projected point, before it is rounded to a pixel.
struct MapPoint {
    double x = 0.0;
    double y = 0.0;
};

double wrapDegrees(double lon, double reference) {
    double d = std::fmod(lon - reference + 540.0, 360.0);
    if (d < 0) d += 360.0;
    return reference + d - 180.0;
}

// The outline as the instrument will hold it, in degrees, without the closing repeat of the
// start point: point i begins edge i.
std::vector<Degrees> outlineDegrees(const airspace::AirspaceRecord& record, double referenceLon) {
    const std::vector<airspace::GeoPoint> points = airspace::decodeOutlinePoints(record);
    std::vector<Degrees> out;
    out.reserve(points.size());
    for (const airspace::GeoPoint& p : points) {
        out.push_back({p.lat / double{airspace::kUnitsPerDegree},
                       wrapDegrees(p.lon / double{airspace::kUnitsPerDegree}, referenceLon)});
    }
    return out;
}

// The point `km` away from `centre` on a bearing, on the sphere.
Degrees destination(airspace::LatLon centre, double bearingRadians, double km) {
    const double d = km / airspace::kEarthRadiusKm;
    const double lat1 = centre.lat * std::numbers::pi / 180.0;
    const double lon1 = centre.lon * std::numbers::pi / 180.0;
    const double lat2 = std::asin(std::sin(lat1) * std::cos(d) +
                                  std::cos(lat1) * std::sin(d) * std::cos(bearingRadians));
    const double lon2 = lon1 + std::atan2(std::sin(bearingRadians) * std::sin(d) * std::cos(lat1),
                                          std::cos(d) - std::sin(lat1) * std::sin(lat2));
    return {lat2 * 180.0 / std::numbers::pi, lon2 * 180.0 / std::numbers::pi};
}

struct Box {
    double minLat = 90, maxLat = -90, minLon = 1e9, maxLon = -1e9;
    void add(const Degrees& p) {
        minLat = std::min(minLat, p.lat);
        maxLat = std::max(maxLat, p.lat);
        minLon = std::min(minLon, p.lon);
        maxLon = std::max(maxLon, p.lon);
    }
    [[nodiscard]] bool empty() const { return minLat > maxLat; }
};

// An equirectangular projection around the framed middle latitude, true to scale there: at the
// size of the instrument's store (a few tens of km) it is indistinguishable from a conformal one.
// The pilot's zoom and pan scale and move it, keeping the framed latitude's scale, so that a pan
// moves every point by the same number of pixels.
class Projection {
public:
    Projection(const Box& box, const PixelRect& area, const MapView& view) {
        const double midLat = (box.minLat + box.maxLat) / 2;
        cosLat_ = std::max(0.01, std::cos(midLat * std::numbers::pi / 180.0));
        const double widthKm = std::max(1.0, (box.maxLon - box.minLon) * kKmPerDegree * cosLat_);
        const double heightKm = std::max(1.0, (box.maxLat - box.minLat) * kKmPerDegree);
        const int w = std::max(1, area.right - area.left);
        const int h = std::max(1, area.bottom - area.top);
        pixelsPerKm_ = std::min(w / widthKm, h / heightKm) * view.zoom;
        midLat_ = midLat + view.panNorthKm / kKmPerDegree;
        midLon_ = (box.minLon + box.maxLon) / 2 + view.panEastKm / (kKmPerDegree * cosLat_);
        centreX_ = (area.left + area.right) / 2.0;
        centreY_ = (area.top + area.bottom) / 2.0;
    }
    [[nodiscard]] MapPoint operator()(const Degrees& p) const {
        const double x = (p.lon - midLon_) * kKmPerDegree * cosLat_ * pixelsPerKm_;
        const double y = (p.lat - midLat_) * kKmPerDegree * pixelsPerKm_;
        return {centreX_ + x, centreY_ - y};
    }
    [[nodiscard]] double latAtY(int y) const {
        return midLat_ + (centreY_ - y) / (kKmPerDegree * pixelsPerKm_);
    }
    [[nodiscard]] double lonAtX(int x) const {
        return midLon_ + (x - centreX_) / (kKmPerDegree * cosLat_ * pixelsPerKm_);
    }
    [[nodiscard]] double pixelsPerKm() const { return pixelsPerKm_; }

private:
    double midLat_ = 0, midLon_ = 0, cosLat_ = 1, pixelsPerKm_ = 1, centreX_ = 0, centreY_ = 0;
};

MapPixel rounded(const MapPoint& p) {
    return {static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))};
}

// A zoomed-in view puts far points millions of pixels away, beyond what a painter takes: shapes
// are cut to a rectangle a little larger than the map before they are rounded to pixels.
struct ClipBox {
    double left, top, right, bottom;
    explicit ClipBox(const PixelRect& area)
        : left(area.left - kClipSlack),
          top(area.top - kClipSlack),
          right(area.right + kClipSlack),
          bottom(area.bottom + kClipSlack) {}
    [[nodiscard]] bool contains(const MapPoint& p) const {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
};

// Sutherland-Hodgman: the closed polygon cut to the box, one side after the other.
std::vector<MapPoint> clipPolygon(std::vector<MapPoint> polygon, const ClipBox& box) {
    const auto cutBy = [&](auto inside, auto cross) {
        std::vector<MapPoint> out;
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            const MapPoint& a = polygon[i];
            const MapPoint& b = polygon[(i + 1) % polygon.size()];
            const bool aIn = inside(a), bIn = inside(b);
            if (aIn) out.push_back(a);
            if (aIn != bIn) out.push_back(cross(a, b));
        }
        polygon = std::move(out);
    };
    const auto atX = [](const MapPoint& a, const MapPoint& b, double x) {
        return MapPoint{x, a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x)};
    };
    const auto atY = [](const MapPoint& a, const MapPoint& b, double y) {
        return MapPoint{a.x + (b.x - a.x) * (y - a.y) / (b.y - a.y), y};
    };
    cutBy([&](const MapPoint& p) { return p.x >= box.left; },
          [&](const MapPoint& a, const MapPoint& b) { return atX(a, b, box.left); });
    cutBy([&](const MapPoint& p) { return p.x <= box.right; },
          [&](const MapPoint& a, const MapPoint& b) { return atX(a, b, box.right); });
    cutBy([&](const MapPoint& p) { return p.y >= box.top; },
          [&](const MapPoint& a, const MapPoint& b) { return atY(a, b, box.top); });
    cutBy([&](const MapPoint& p) { return p.y <= box.bottom; },
          [&](const MapPoint& a, const MapPoint& b) { return atY(a, b, box.bottom); });
    return polygon;
}

// Liang-Barsky: the part of segment a-b inside the box, if any.
bool clipSegment(MapPoint& a, MapPoint& b, const ClipBox& box) {
    double t0 = 0.0, t1 = 1.0;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - box.left, box.right - a.x, a.y - box.top, box.bottom - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) return false;
    }
    const MapPoint from = a;
    a = {from.x + t0 * dx, from.y + t0 * dy};
    b = {from.x + t1 * dx, from.y + t1 * dy};
    return true;
}

// Appends the open path as lines of `pen`, cut to the box: one line per stretch inside it.
void addPath(std::vector<MapLine>& lines, MapPen pen, const std::vector<MapPoint>& path,
             const ClipBox& box) {
    MapLine current{pen, {}, false};
    const auto flush = [&] {
        if (current.points.size() >= 2) lines.push_back(current);
        current.points.clear();
    };
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        MapPoint a = path[i], b = path[i + 1];
        if (!clipSegment(a, b, box)) {
            flush();
            continue;
        }
        const MapPixel from = rounded(a), to = rounded(b);
        if (current.points.empty() || current.points.back() != from) {
            flush();
            current.points.push_back(from);
        }
        if (current.points.back() != to) current.points.push_back(to);
        if (!box.contains(path[i + 1])) flush();
    }
    flush();
}

std::vector<MapPixel> pixelsOf(const std::vector<MapPoint>& points) {
    std::vector<MapPixel> out;
    out.reserve(points.size());
    for (const MapPoint& p : points) {
        const MapPixel pixel = rounded(p);
        if (out.empty() || out.back() != pixel) out.push_back(pixel);
    }
    return out;
}

// Whether the pixel lies inside the polygon (even-odd).
bool insidePolygon(const std::vector<MapPixel>& polygon, double x, double y) {
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const MapPixel& a = polygon[i];
        const MapPixel& b = polygon[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / double(b.y - a.y) + a.x) {
            inside = !inside;
        }
    }
    return inside;
}

std::string cutLabel(const std::string& name) {
    const std::string shown = toDisplayUtf8(name);
    if (shown.size() <= kLabelChars) return shown;
    std::size_t cut = kLabelChars;
    // Never split a UTF-8 sequence.
    while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80) --cut;
    return shown.substr(0, cut) + "...";
}

// A text that stands on the map at a place of its own, before it is placed: grid labels have
// one place, an airspace's label several.
struct PendingText {
    std::vector<MapText> lines;  // anchored on the box's centre, top relative to it
    LabelRequest request;
};

// A grid label at the one place it may take, given by the left of its text and its top.
PendingText fixedText(MapPen pen, int left, int top, std::string text, const TextMeasure& measure) {
    const int width = measure.width(text), height = measure.lineHeight();
    PendingText pending;
    pending.lines.push_back({pen, -(width / 2), -(height / 2), std::move(text), MapAnchor::Left});
    pending.request = {width, height, {{left + width / 2, top + height / 2}}};
    return pending;
}

void addGrid(MapDrawing& drawing, std::vector<PendingText>& texts, const Projection& project,
             const PixelRect& area, const TextMeasure& measure) {
    const double north = std::min(90.0, project.latAtY(area.top));
    const double south = std::max(-90.0, project.latAtY(area.bottom));
    const double west = project.lonAtX(area.left), east = project.lonAtX(area.right);
    if (!(east - west < 1080.0)) return;  // zoomed out beyond every meridian's label
    const int step = gridStepMinutes(std::max(north - south, east - west), 5);
    const int height = measure.lineHeight();

    for (long m = static_cast<long>(std::ceil(south * 60 / step)) * step; m <= north * 60;
         m += step) {
        const int y = rounded(project({m / 60.0, west})).y;
        drawing.lines.push_back({MapPen::Grid, {{area.left, y}, {area.right - 1, y}}});
        texts.push_back(
            fixedText(MapPen::GridText, area.left + 2, y - height, gridLabel(m, true), measure));
    }
    for (long m = static_cast<long>(std::ceil(west * 60 / step)) * step; m <= east * 60;
         m += step) {
        const int x = rounded(project({south, m / 60.0})).x;
        drawing.lines.push_back({MapPen::Grid, {{x, area.top}, {x, area.bottom - 1}}});
        // Longitudes beyond 180 are named as the other side names them.
        const long named = ((m + 180 * 60) % (360 * 60) + 360 * 60) % (360 * 60) - 180 * 60;
        texts.push_back(fixedText(MapPen::GridText, x + 2, area.bottom - height - 1,
                                  gridLabel(named, false), measure));
    }
}

// The circle of `km` around the take-off point, in degrees.
std::vector<Degrees> circleAround(airspace::LatLon centre, double km, double referenceLon) {
    std::vector<Degrees> circle;
    for (int i = 0; i <= kRingVertices; ++i) {
        Degrees p = destination(centre, 2 * std::numbers::pi * i / kRingVertices, km);
        p.lon = wrapDegrees(p.lon, referenceLon);
        circle.push_back(p);
    }
    return circle;
}

void addScaleBar(MapDrawing& drawing, double pixelsPerKm, int left, int y, double unitKm,
                 const char* unit, int maxWidth, const TextMeasure& measure) {
    const double length = niceLengthBelow(maxWidth / (pixelsPerKm * unitKm));
    if (length <= 0) return;
    const int right = left + static_cast<int>(std::lround(length * unitKm * pixelsPerKm));
    drawing.lines.push_back(
        {MapPen::Scale, {{left, y - 3}, {left, y}, {right, y}, {right, y - 3}}});
    char text[32];
    std::snprintf(text, sizeof text, "%g %s", length, unit);
    drawing.texts.push_back(
        {MapPen::Scale, right + 4, y - measure.lineHeight() / 2 - 1, text, MapAnchor::Left});
}

}  // namespace

int gridStepMinutes(double spanDegrees, int lines) {
    static constexpr int kSteps[] = {1,   2,   5,   10,   15,   20,   30,   60,
                                     120, 300, 600, 1200, 1800, 3600, 5400, 10800};
    const double spanMinutes = spanDegrees * 60.0;
    for (const int step : kSteps) {
        if (spanMinutes / step <= lines) return step;
    }
    return kSteps[std::size(kSteps) - 1];
}

double niceLengthBelow(double limit) {
    if (!(limit > 0)) return 0.0;
    const double power = std::pow(10.0, std::floor(std::log10(limit)));
    for (const double factor : {5.0, 2.0, 1.0}) {
        if (factor * power <= limit) return factor * power;
    }
    return power;
}

std::string gridLabel(long minutes, bool latitude) {
    const char hemisphere = latitude ? (minutes < 0 ? 'S' : 'N') : (minutes < 0 ? 'W' : 'E');
    const long magnitude = std::labs(minutes);
    char text[48];
    if (magnitude % 60 == 0) {
        std::snprintf(text, sizeof text, "%ld\xC2\xB0%c", magnitude / 60, hemisphere);
    } else {
        std::snprintf(text, sizeof text, "%ld\xC2\xB0%02ld'%c", magnitude / 60, magnitude % 60,
                      hemisphere);
    }
    return text;
}

bool LabelBox::overlaps(const LabelBox& o, int gap) const {
    return left < o.right + gap && o.left < right + gap && top < o.bottom + gap &&
           o.top < bottom + gap;
}

std::vector<int> placeLabels(const std::vector<LabelRequest>& labels, const PixelRect& area,
                             int gap) {
    std::vector<int> chosen(labels.size(), -1);
    std::vector<LabelBox> placed;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const LabelRequest& label = labels[i];
        for (std::size_t a = 0; a < label.anchors.size(); ++a) {
            const int left = label.anchors[a].x - label.width / 2;
            const int top = label.anchors[a].y - label.height / 2;
            const LabelBox box{left, top, left + label.width, top + label.height};
            const bool inside = box.left >= area.left && box.right <= area.right &&
                                box.top >= area.top && box.bottom <= area.bottom;
            if (!inside || std::any_of(placed.begin(), placed.end(), [&](const LabelBox& other) {
                    return other.overlaps(box, gap);
                })) {
                continue;
            }
            placed.push_back(box);
            chosen[i] = static_cast<int>(a);
            break;
        }
    }
    return chosen;
}

namespace {

// One outline projected: its polygon cut to the clip box, and its edges with their cut marks.
struct Projected {
    std::vector<MapPoint> points;  // uncut, in the outline's own order
    std::vector<bool> cutEdges;
    std::vector<MapPixel> polygon;  // cut to the clip box, in pixels
};

// The places an airspace's label may take, best first: around the middle of the visible part
// of its largest outline, inside that outline where possible.
std::vector<MapPixel> labelAnchors(const std::vector<Projected>& outlines, const PixelRect& area,
                                   int width, int height) {
    const std::vector<MapPixel>* largest = nullptr;
    PixelRect best{};
    long bestArea = -1;
    for (const Projected& outline : outlines) {
        if (outline.polygon.empty()) continue;
        PixelRect box{area.right, area.bottom, area.left, area.top};
        for (const MapPixel& p : outline.polygon) {
            box.left = std::min(box.left, std::max(p.x, area.left));
            box.right = std::max(box.right, std::min(p.x, area.right));
            box.top = std::min(box.top, std::max(p.y, area.top));
            box.bottom = std::max(box.bottom, std::min(p.y, area.bottom));
        }
        const long size =
            long{std::max(0, box.right - box.left)} * std::max(0, box.bottom - box.top);
        if (size > bestArea) bestArea = size, best = box, largest = &outline.polygon;
    }
    if (largest == nullptr) return {};
    const MapPixel centre{(best.left + best.right) / 2, (best.top + best.bottom) / 2};
    std::vector<MapPixel> anchors;
    for (const int dy : {0, -height, height}) {
        for (const int dx : {0, -width / 2, width / 2}) {
            const MapPixel p{centre.x + dx, centre.y + dy};
            if (insidePolygon(*largest, p.x, p.y)) anchors.push_back(p);
        }
    }
    if (anchors.empty()) anchors.push_back(centre);
    return anchors;
}

Projected project(const std::vector<Degrees>& points, std::vector<bool> cutEdges,
                  const Projection& projection, const ClipBox& box) {
    Projected out;
    out.points.reserve(points.size());
    for (const Degrees& p : points) out.points.push_back(projection(p));
    if (cutEdges.size() == points.size()) out.cutEdges = std::move(cutEdges);
    out.polygon = pixelsOf(clipPolygon(out.points, box));
    return out;
}

// A sent outline: tinted, its edges solid, and dashed where the cut made them.
void addOutline(std::vector<MapLine>& lines, const Projected& outline, bool highlighted,
                const ClipBox& box) {
    const MapPen pen = highlighted ? MapPen::Highlight : MapPen::Outline;
    const bool cut =
        std::find(outline.cutEdges.begin(), outline.cutEdges.end(), true) != outline.cutEdges.end();
    if (outline.polygon.size() >= 2) lines.push_back({pen, outline.polygon, true, !cut});
    if (!cut) return;
    const std::size_t n = outline.points.size();
    std::size_t i = 0;
    while (i < n) {
        // A run of edges alike, from point i on.
        const bool made = outline.cutEdges[i];
        std::vector<MapPoint> run{outline.points[i]};
        for (; i < n && outline.cutEdges[i] == made; ++i)
            run.push_back(outline.points[(i + 1) % n]);
        addPath(lines, made ? (highlighted ? MapPen::CutHighlight : MapPen::CutEdge) : pen, run,
                box);
    }
}

}  // namespace

MapDrawing layoutMap(const MapRequest& request, const PixelRect& rect, const TextMeasure& measure) {
    MapDrawing drawing;
    drawing.frame = rect;
    const int lineHeight = measure.lineHeight();
    drawing.texts.push_back({MapPen::Caption, rect.left + 3, rect.top + 2,
                             toDisplayUtf8(request.caption), MapAnchor::Left});
    const PixelRect area{rect.left + kMargin, rect.top + lineHeight + 2 * kMargin,
                         rect.right - kMargin, rect.bottom - 2 * lineHeight - 2 * kMargin};
    drawing.area = area;
    if (area.right - area.left < 20 || area.bottom - area.top < 20) return drawing;

    double referenceLon = request.takeOff ? request.takeOff->lon : 0.0;
    if (!request.takeOff) {
        for (const MapAirspace& airspace : request.airspaces) {
            const std::vector<std::uint8_t> bytes = airspace.record->encodedBytes(true);
            if (bytes.size() < 6) continue;
            referenceLon = airspace::readStartPoint(bytes).lon / double{airspace::kUnitsPerDegree};
            break;
        }
    }

    struct Outline {
        std::vector<Degrees> points;
        std::vector<bool> cutEdges;
    };
    struct Airspace {
        const airspace::AirspaceRecord* record;
        std::vector<Outline> sent;
        std::vector<Degrees> original;  // empty: none to show
    };
    std::vector<Airspace> airspaces;
    Box selection;
    for (const MapAirspace& request_ : request.airspaces) {
        Airspace airspace{request_.record, {}, {}};
        if (request_.sent.empty()) {
            airspace.sent.push_back({outlineDegrees(*request_.record, referenceLon), {}});
        }
        for (const MapSentOutline& sent : request_.sent) {
            airspace.sent.push_back({outlineDegrees(*sent.record, referenceLon), sent.cutEdges});
        }
        const bool differs = request_.original != nullptr &&
                             (!request_.sent.empty() || request_.original->encodedBytes(true) !=
                                                            request_.record->encodedBytes(true));
        if (differs) airspace.original = outlineDegrees(*request_.original, referenceLon);
        for (const Outline& outline : airspace.sent) {
            for (const Degrees& p : outline.points) selection.add(p);
        }
        for (const Degrees& p : airspace.original) selection.add(p);
        airspaces.push_back(std::move(airspace));
    }
    std::vector<Degrees> ring, margin;
    Box aroundTakeOff;
    if (request.takeOff) {
        const Degrees centre{request.takeOff->lat, request.takeOff->lon};
        selection.add(centre);
        aroundTakeOff.add(centre);
        if (request.radiusKm > 0) {
            ring = circleAround(*request.takeOff, request.radiusKm, referenceLon);
            if (request.marginKm > 0) {
                margin = circleAround(*request.takeOff, request.radiusKm + request.marginKm,
                                      referenceLon);
            }
            for (const Degrees& p : margin.empty() ? ring : margin) {
                selection.add(p);
                aroundTakeOff.add(p);
            }
        }
    }
    if (selection.empty()) return drawing;

    const bool radiusFrame = request.view.frame == MapFrame::Radius && !ring.empty();
    const Projection projection(radiusFrame ? aroundTakeOff : selection, area, request.view);
    const ClipBox clip(area);
    drawing.pixelsPerKm = projection.pixelsPerKm();
    std::vector<PendingText> texts;
    addGrid(drawing, texts, projection, area, measure);

    // The file's own outlines lie under every outline sent.
    for (const Airspace& airspace : airspaces) {
        if (airspace.original.empty()) continue;
        std::vector<MapPoint> path;
        for (const Degrees& p : airspace.original) path.push_back(projection(p));
        path.push_back(path.front());
        addPath(drawing.lines, MapPen::Original, path, clip);
    }

    // The highlighted airspace goes last so that it lies on top of its neighbours, and its
    // label is placed first.
    std::stable_partition(airspaces.begin(), airspaces.end(),
                          [&](const Airspace& a) { return a.record != request.highlighted; });
    std::vector<PendingText> labels;
    // Airspaces active only by NOTAM say so under their name: the pilot must look them up.
    std::vector<const airspace::AirspaceRecord*> notamOnly;
    for (std::size_t i = 0; i < request.notamOnly.size() && i < request.airspaces.size(); ++i) {
        if (request.notamOnly[i]) notamOnly.push_back(request.airspaces[i].record);
    }
    for (const Airspace& airspace : airspaces) {
        const bool highlighted = airspace.record == request.highlighted;
        std::vector<Projected> projected;
        for (const Outline& outline : airspace.sent) {
            if (outline.points.empty()) continue;
            projected.push_back(project(outline.points, outline.cutEdges, projection, clip));
            addOutline(drawing.lines, projected.back(), highlighted, clip);
        }

        const std::string name = cutLabel(airspace.record->name);
        const bool byNotam =
            std::find(notamOnly.begin(), notamOnly.end(), airspace.record) != notamOnly.end();
        const std::string floor =
            toDisplayUtf8(airspace.record->floor) + (byNotam ? " (NOTAM)" : "");
        const auto widthOf = [&](const std::string& text) {
            return highlighted ? measure.boldWidth(text) : measure.width(text);
        };
        const int width = std::max(widthOf(name), widthOf(floor));
        const MapPen pen = highlighted ? MapPen::Highlight : MapPen::Label;
        PendingText label;
        label.lines.push_back({pen, 0, -lineHeight, name, MapAnchor::Centre});
        label.lines.push_back({pen, 0, 0, floor, MapAnchor::Centre});
        label.request = {width, 2 * lineHeight,
                         labelAnchors(projected, area, width, 2 * lineHeight)};
        labels.push_back(std::move(label));
    }
    // The clicked airspace's label first, then the grid's, then those of the outlines on top.
    if (!airspaces.empty() && airspaces.back().record == request.highlighted) {
        texts.insert(texts.begin(), std::move(labels.back()));
        labels.pop_back();
    }
    texts.insert(texts.end(), std::make_move_iterator(labels.rbegin()),
                 std::make_move_iterator(labels.rend()));

    if (request.takeOff) {
        for (const auto& [circle, pen] :
             {std::pair{&margin, MapPen::Margin}, {&ring, MapPen::Ring}}) {
            std::vector<MapPoint> path;
            for (const Degrees& p : *circle) path.push_back(projection(p));
            addPath(drawing.lines, pen, path, clip);
        }
        const MapPoint c = projection({request.takeOff->lat, request.takeOff->lon});
        if (clip.contains(c)) {
            const MapPixel p = rounded(c);
            drawing.lines.push_back(
                {MapPen::TakeOff, {{p.x - kTakeOffArm, p.y}, {p.x + kTakeOffArm + 1, p.y}}});
            drawing.lines.push_back(
                {MapPen::TakeOff, {{p.x, p.y - kTakeOffArm}, {p.x, p.y + kTakeOffArm + 1}}});
        }
    }

    std::vector<LabelRequest> requests;
    requests.reserve(texts.size());
    for (const PendingText& text : texts) requests.push_back(text.request);
    const std::vector<int> chosen = placeLabels(requests, area, kLabelGap);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (chosen[i] < 0) continue;
        const MapPixel at = texts[i].request.anchors[static_cast<std::size_t>(chosen[i])];
        for (MapText line : texts[i].lines) {
            line.x += at.x;
            line.top += at.y;
            drawing.texts.push_back(std::move(line));
        }
    }

    const int barLeft = rect.left + kMargin;
    const int maxBar = (rect.right - rect.left) / 3;
    const int kmY = rect.bottom - lineHeight - kMargin - 2;
    addScaleBar(drawing, projection.pixelsPerKm(), barLeft, kmY, 1.0, "km", maxBar, measure);
    addScaleBar(drawing, projection.pixelsPerKm(), barLeft, kmY + lineHeight + 2,
                airspace::kKmPerNauticalMile, "nm", maxBar, measure);
    return drawing;
}

}  // namespace zonesend
