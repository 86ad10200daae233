#include "airspace/Planar.h"

namespace airspace {

double signedArea(const std::vector<GeoPoint>& polygon, const Plane& plane) {
    double area = 0.0;
    const std::size_t n = polygon.size();
    for (std::size_t i = 0; i < n; ++i) {
        area += crossOf(plane.to(polygon[i]), plane.to(polygon[(i + 1) % n]));
    }
    return area / 2.0;
}

std::vector<std::size_t> douglasPeucker(const std::vector<Planar>& loop, double tolerance) {
    const std::size_t n = loop.size();
    std::vector<std::size_t> kept;
    if (n < 4) {
        for (std::size_t i = 0; i < n; ++i) kept.push_back(i);
        return kept;
    }
    auto at = [&](std::size_t i) { return loop[i % n]; };
    std::size_t far = 1;
    for (std::size_t i = 1; i < n; ++i) {
        if (length(at(i) - at(0)) > length(at(far) - at(0))) far = i;
    }
    std::vector<bool> keep(n, false);
    keep[0] = keep[far] = true;
    std::vector<std::pair<std::size_t, std::size_t>> stack{{0, far}, {far, n}};
    while (!stack.empty()) {
        const auto [a, b] = stack.back();
        stack.pop_back();
        if (b - a < 2) continue;
        double most = -1.0;
        std::size_t farthest = a;
        for (std::size_t k = a + 1; k < b; ++k) {
            const double d = distanceToSegment(at(k), at(a), at(b));
            if (d > most) {
                most = d;
                farthest = k;
            }
        }
        if (most <= tolerance) continue;
        keep[farthest] = true;
        stack.push_back({a, farthest});
        stack.push_back({farthest, b});
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (keep[i]) kept.push_back(i);
    }
    return kept;
}

}  // namespace airspace
