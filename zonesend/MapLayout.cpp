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
constexpr int kRingVertices = 72;
constexpr int kTakeOffArm = 5;
constexpr std::size_t kLabelChars = 28;
// The label text of an airspace is left out where it would hide another's.
constexpr int kLabelGap = 2;

struct Degrees {
    double lat = 0.0;
    double lon = 0.0;
};

double wrapDegrees(double lon, double reference) {
    double d = std::fmod(lon - reference + 540.0, 360.0);
    if (d < 0) d += 360.0;
    return reference + d - 180.0;
}

// The outline as the instrument will hold it, in degrees.
std::vector<Degrees> outlineDegrees(const airspace::AirspaceRecord& record, double referenceLon) {
    const std::vector<std::uint8_t> bytes = record.encodedBytes(true);
    const std::vector<airspace::OutlinePoint> points = airspace::decodeOutline(bytes);
    std::vector<Degrees> out;
    if (points.empty()) return out;
    const airspace::GeoPoint start = airspace::readStartPoint(bytes);
    // The decoder gives east offsets as distances at the start point's latitude.
    const double lonFactor = 1.0 / std::cos(start.lat * airspace::kRadiansPerUnit);
    out.reserve(points.size());
    for (const airspace::OutlinePoint& p : points) {
        const double lat = (start.lat + p.y) / double{airspace::kUnitsPerDegree};
        const double lon = (start.lon + p.x * lonFactor) / double{airspace::kUnitsPerDegree};
        out.push_back({lat, wrapDegrees(lon, referenceLon)});
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

// An equirectangular projection around the middle latitude, true to scale there: at the size
// of the instrument's store (a few tens of km) it is indistinguishable from a conformal one.
class Projection {
public:
    Projection(const Box& box, const PixelRect& area) {
        midLat_ = (box.minLat + box.maxLat) / 2;
        cosLat_ = std::max(0.01, std::cos(midLat_ * std::numbers::pi / 180.0));
        const double widthKm = std::max(1.0, (box.maxLon - box.minLon) * kKmPerDegree * cosLat_);
        const double heightKm = std::max(1.0, (box.maxLat - box.minLat) * kKmPerDegree);
        const int w = std::max(1, area.right - area.left);
        const int h = std::max(1, area.bottom - area.top);
        pixelsPerKm_ = std::min(w / widthKm, h / heightKm);
        midLon_ = (box.minLon + box.maxLon) / 2;
        centreX_ = (area.left + area.right) / 2.0;
        centreY_ = (area.top + area.bottom) / 2.0;
    }
    [[nodiscard]] MapPixel operator()(const Degrees& p) const {
        const double x = (p.lon - midLon_) * kKmPerDegree * cosLat_ * pixelsPerKm_;
        const double y = (p.lat - midLat_) * kKmPerDegree * pixelsPerKm_;
        return {static_cast<int>(std::lround(centreX_ + x)),
                static_cast<int>(std::lround(centreY_ - y))};
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

std::string cutLabel(const std::string& name) {
    const std::string shown = toDisplayUtf8(name);
    if (shown.size() <= kLabelChars) return shown;
    std::size_t cut = kLabelChars;
    // Never split a UTF-8 sequence.
    while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80) --cut;
    return shown.substr(0, cut) + "...";
}

struct Placed {
    int left, top, right, bottom;
    [[nodiscard]] bool overlaps(const Placed& o) const {
        return left < o.right + kLabelGap && o.left < right + kLabelGap &&
               top < o.bottom + kLabelGap && o.top < bottom + kLabelGap;
    }
};

void addGrid(MapDrawing& drawing, const Projection& project, const PixelRect& area,
             const TextMeasure& measure) {
    const double north = project.latAtY(area.top), south = project.latAtY(area.bottom);
    const double west = project.lonAtX(area.left), east = project.lonAtX(area.right);
    const int step = gridStepMinutes(std::max(north - south, east - west), 5);
    const int height = measure.lineHeight();

    for (long m = static_cast<long>(std::ceil(south * 60 / step)) * step; m <= north * 60;
         m += step) {
        const int y = project({m / 60.0, west}).y;
        drawing.lines.push_back({MapPen::Grid, {{area.left, y}, {area.right - 1, y}}});
        if (y - height >= area.top) {
            drawing.texts.push_back(
                {MapPen::GridText, area.left + 2, y - height, gridLabel(m, true), MapAnchor::Left});
        }
    }
    for (long m = static_cast<long>(std::ceil(west * 60 / step)) * step; m <= east * 60;
         m += step) {
        const int x = project({south, m / 60.0}).x;
        drawing.lines.push_back({MapPen::Grid, {{x, area.top}, {x, area.bottom - 1}}});
        // Longitudes beyond 180 are named as the other side names them.
        const long named = ((m + 180 * 60) % (360 * 60) + 360 * 60) % (360 * 60) - 180 * 60;
        drawing.texts.push_back({MapPen::GridText, x + 2, area.bottom - height - 1,
                                 gridLabel(named, false), MapAnchor::Left});
    }
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

MapDrawing layoutMap(const MapRequest& request, const PixelRect& rect, const TextMeasure& measure) {
    MapDrawing drawing;
    drawing.frame = rect;
    const int lineHeight = measure.lineHeight();
    drawing.texts.push_back({MapPen::Caption, rect.left + 3, rect.top + 2,
                             toDisplayUtf8(request.caption), MapAnchor::Left});
    const PixelRect area{rect.left + kMargin, rect.top + lineHeight + 2 * kMargin,
                         rect.right - kMargin, rect.bottom - 2 * lineHeight - 2 * kMargin};
    if (area.right - area.left < 20 || area.bottom - area.top < 20) return drawing;

    double referenceLon = request.takeOff ? request.takeOff->lon : 0.0;
    if (!request.takeOff) {
        for (const airspace::AirspaceRecord* record : request.airspaces) {
            const std::vector<std::uint8_t> bytes = record->encodedBytes(true);
            if (bytes.size() < 6) continue;
            referenceLon = airspace::readStartPoint(bytes).lon / double{airspace::kUnitsPerDegree};
            break;
        }
    }

    struct Outline {
        const airspace::AirspaceRecord* record;
        std::vector<Degrees> points;
    };
    std::vector<Outline> outlines;
    Box box;
    for (const airspace::AirspaceRecord* record : request.airspaces) {
        Outline outline{record, outlineDegrees(*record, referenceLon)};
        if (outline.points.empty()) continue;
        for (const Degrees& p : outline.points) box.add(p);
        outlines.push_back(std::move(outline));
    }
    std::vector<Degrees> ring;
    if (request.takeOff) {
        box.add({request.takeOff->lat, request.takeOff->lon});
        if (request.radiusKm > 0) {
            for (int i = 0; i <= kRingVertices; ++i) {
                Degrees p = destination(*request.takeOff, 2 * std::numbers::pi * i / kRingVertices,
                                        request.radiusKm);
                p.lon = wrapDegrees(p.lon, referenceLon);
                box.add(p);
                ring.push_back(p);
            }
        }
    }
    if (box.empty()) return drawing;

    const Projection project(box, area);
    drawing.pixelsPerKm = project.pixelsPerKm();
    addGrid(drawing, project, area, measure);

    // The highlighted outline goes last so that it lies on top of its neighbours.
    std::stable_partition(outlines.begin(), outlines.end(),
                          [&](const Outline& o) { return o.record != request.highlighted; });
    std::vector<Placed> placed;
    std::vector<MapText> labels;
    // Airspaces active only by NOTAM say so under their name: the pilot must look them up.
    std::vector<const airspace::AirspaceRecord*> notamOnly;
    for (std::size_t i = 0; i < request.notamOnly.size() && i < request.airspaces.size(); ++i) {
        if (request.notamOnly[i]) notamOnly.push_back(request.airspaces[i]);
    }
    for (auto it = outlines.rbegin(); it != outlines.rend(); ++it) {
        const bool highlighted = it->record == request.highlighted;
        MapLine line{highlighted ? MapPen::Highlight : MapPen::Outline, {}, true};
        int minX = area.right, maxX = area.left, minY = area.bottom, maxY = area.top;
        for (const Degrees& p : it->points) {
            const MapPixel pixel = project(p);
            if (!line.points.empty() && line.points.back() == pixel) continue;
            line.points.push_back(pixel);
            minX = std::min(minX, pixel.x), maxX = std::max(maxX, pixel.x);
            minY = std::min(minY, pixel.y), maxY = std::max(maxY, pixel.y);
        }
        drawing.lines.push_back(std::move(line));

        // Labels at the middle of the outline's box, the clicked airspace's placed first.
        const std::string name = cutLabel(it->record->name);
        const bool byNotam =
            std::find(notamOnly.begin(), notamOnly.end(), it->record) != notamOnly.end();
        const std::string floor = toDisplayUtf8(it->record->floor) + (byNotam ? " (NOTAM)" : "");
        const int width = std::max(measure.width(name), measure.width(floor));
        const int cx = (minX + maxX) / 2, cy = (minY + maxY) / 2;
        const Placed box{cx - width / 2, cy - lineHeight, cx + width / 2, cy + lineHeight};
        const bool inside = box.left >= area.left && box.right <= area.right &&
                            box.top >= area.top && box.bottom <= area.bottom;
        const bool free = std::none_of(placed.begin(), placed.end(),
                                       [&](const Placed& other) { return other.overlaps(box); });
        if (!highlighted && (!inside || !free)) continue;
        placed.push_back(box);
        const MapPen pen = highlighted ? MapPen::Highlight : MapPen::Label;
        labels.push_back({pen, cx, cy - lineHeight, name, MapAnchor::Centre});
        labels.push_back({pen, cx, cy, floor, MapAnchor::Centre});
    }
    // Outlines were laid out from the top down; paint them from the bottom up.
    std::reverse(drawing.lines.end() - static_cast<std::ptrdiff_t>(outlines.size()),
                 drawing.lines.end());

    if (request.takeOff) {
        if (!ring.empty()) {
            MapLine line{MapPen::Ring, {}, false};
            for (const Degrees& p : ring) line.points.push_back(project(p));
            drawing.lines.push_back(std::move(line));
        }
        const MapPixel c = project({request.takeOff->lat, request.takeOff->lon});
        drawing.lines.push_back(
            {MapPen::TakeOff, {{c.x - kTakeOffArm, c.y}, {c.x + kTakeOffArm + 1, c.y}}});
        drawing.lines.push_back(
            {MapPen::TakeOff, {{c.x, c.y - kTakeOffArm}, {c.x, c.y + kTakeOffArm + 1}}});
    }
    drawing.texts.insert(drawing.texts.end(), labels.begin(), labels.end());

    const int barLeft = rect.left + kMargin;
    const int maxBar = (rect.right - rect.left) / 3;
    const int kmY = rect.bottom - lineHeight - kMargin - 2;
    addScaleBar(drawing, project.pixelsPerKm(), barLeft, kmY, 1.0, "km", maxBar, measure);
    addScaleBar(drawing, project.pixelsPerKm(), barLeft, kmY + lineHeight + 2,
                airspace::kKmPerNauticalMile, "nm", maxBar, measure);
    return drawing;
}

}  // namespace zonesend
