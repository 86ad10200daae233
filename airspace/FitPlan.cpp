// The plan of what goes to the instrument: the fit in its order of importance, auto tolerance,
// cutting to the flying area and identical outlines sent once.
#include "airspace/FitPlan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "airspace/Clip.h"
#include "airspace/OutlineChecks.h"
#include "airspace/OutlineDecoder.h"
#include "airspace/Simplify.h"

namespace airspace {
namespace {

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool listed(const std::vector<std::string>& types, std::string_view type) {
    return std::any_of(types.begin(), types.end(), [&](const std::string& wanted) {
        return wanted.size() == type.size() &&
               std::equal(wanted.begin(), wanted.end(), type.begin(),
                          [](char a, char b) { return upper(a) == upper(b); });
    });
}

bool contains(const std::vector<std::size_t>& list, std::size_t index) {
    return std::find(list.begin(), list.end(), index) != list.end();
}

// Lower goes first.
enum class Rank { Pinned, Preferred, Other, Region };

Rank rankOf(const AirspaceRecord& record, bool pinned, const std::vector<std::string>& preferred) {
    if (pinned) return Rank::Pinned;
    // Without a preference the order is nearest first and nothing else, as it always was.
    if (preferred.empty()) return Rank::Other;
    const std::string& type = airspaceType(record);
    if (listed(preferred, type)) return Rank::Preferred;
    return listed(regionTypes(), type) ? Rank::Region : Rank::Other;
}

struct Candidate {
    std::size_t index = 0;
    std::optional<double> distanceKm;
    bool pinned = false;
    bool floorUnknown = false;
    Rank rank = Rank::Other;
};

constexpr double kNauticalMetresPerUnit = 18.52;  // a hundredth of a minute of latitude

// Below this an outline kept as it was costs at most 2 % of the store: no loss worth a line.
constexpr std::size_t kNamedKeptBytes = 64;

// Whether an outline kept as it was is worth naming in the report: it is not small, and some
// vertex lies within the tolerance of the line between its neighbours, so simplifying could have
// saved bytes. An outline whose every corner stands out farther than the tolerance (a square, a
// coarse polygon) is already as simple as asked; keeping it is no failure and naming it would
// only bury the ones that are.
bool worthNaming(const AirspaceRecord& outline, double toleranceMetres) {
    if (outline.encodedSize() <= kNamedKeptBytes) return false;
    const std::vector<GeoPoint> points = decodeOutlinePoints(outline);
    const std::size_t n = points.size();
    if (n < 4) return false;
    const double cosine = std::cos(points[0].lat * kRadiansPerUnit);
    auto metres = [&](std::size_t i) {
        return std::pair<double, double>{
            (points[i % n].lon - points[0].lon) * cosine * kNauticalMetresPerUnit,
            (points[i % n].lat - points[0].lat) * kNauticalMetresPerUnit};
    };
    for (std::size_t i = 0; i < n; ++i) {
        const auto [ax, ay] = metres(i + n - 1);
        const auto [px, py] = metres(i);
        const auto [bx, by] = metres(i + 1);
        const double dx = bx - ax;
        const double dy = by - ay;
        const double length = std::hypot(dx, dy);
        const double off = length > 0.0 ? std::fabs(dx * (py - ay) - dy * (px - ax)) / length
                                        : std::hypot(px - ax, py - ay);
        if (off < toleranceMetres) return true;
    }
    return false;
}

// Whether a cut's pieces keep to the tolerance, or to the grid's rounding where that is larger:
// the pieces of an outline crossing itself lie up to two units outside it.
bool withinTolerance(const ClipResult& cut, double toleranceMetres) {
    return cut.strayMetres <= std::max(toleranceMetres, 1.5 * kMetresPerUnit);
}

std::size_t piecesBytes(const ClipResult& cut) {
    std::size_t bytes = 0;
    for (const ClippedOutline& piece : cut.pieces) bytes += piece.record.encodedSize();
    return bytes;
}

// One airspace's outlines at one tolerance.
struct Prepared {
    std::vector<SentOutline> outlines;
    std::size_t bytes = 0;
    double tolerance = 0.0;  // 0 when nothing was simplified
    bool cut = false;
    std::string keptOriginal;
};

// The whole outline simplified, then cut where that saves bytes: the cut keeps inside the radius
// exactly what the simplified outline holds, which covers the original.
Prepared simplifiedThenCut(const AirspaceRecord& record, std::size_t index, double tolerance,
                           const ClipArea* area) {
    Prepared prepared;
    auto add = [&](AirspaceRecord outline, std::vector<bool> cutEdges) {
        prepared.bytes += outline.encodedSize();
        prepared.outlines.push_back({index, std::move(outline), std::move(cutEdges)});
    };
    SimplifiedOutline simplified = simplifyOutward(record, tolerance);
    if (simplified.keptOriginal) {
        if (worthNaming(record, tolerance)) prepared.keptOriginal = simplified.reason;
    } else if (simplified.record.encodedSize() < record.encodedSize()) {
        prepared.tolerance = tolerance;  // simplified is what saved bytes, not what was asked
    }
    if (area != nullptr) {
        ClipResult cut = clipToArea(simplified.record, *area);
        if (cut.clipped && !cut.pieces.empty() &&
            piecesBytes(cut) < simplified.record.encodedSize() && withinTolerance(cut, tolerance)) {
            prepared.cut = true;
            for (ClippedOutline& piece : cut.pieces) {
                add(std::move(piece.record), std::move(piece.cutEdges));
            }
            return prepared;
        }
    }
    add(std::move(simplified.record), {});
    return prepared;
}

// Cuts first, then simplifies each piece: a piece is at most the area across, so the hull works
// at finer cells than for the whole outline, and a piece is simple, covers what the outline holds
// inside the area and strays by at most the tolerance, as the simplifier promises for any
// outline. Where a piece could not be simplified, the whole outline simplified and then cut may
// do better, and the smaller goes. Where the cut leaves nothing (a pinned airspace far away) or
// saves no bytes, the whole outline goes, simplified. `cut` is the outline cut to `area`, its
// pieces kept even where they take as many bytes as the whole (simplifying may still shrink them;
// at 0 m nothing will).
Prepared prepareCut(const AirspaceRecord& record, std::size_t index, double tolerance,
                    const ClipArea* area, ClipResult cut) {
    const bool saves = tolerance > 0.0 || piecesBytes(cut) < record.encodedSize();
    if (!cut.clipped || cut.pieces.empty() || !saves || !withinTolerance(cut, tolerance)) {
        return simplifiedThenCut(record, index, tolerance, area);
    }
    Prepared pieces;
    bool allSimplified = true;
    for (ClippedOutline& piece : cut.pieces) {
        SimplifiedOutline simplified =
            simplifyOutward(piece.record, std::max(tolerance - cut.strayMetres, 0.0));
        if (simplified.keptOriginal) {
            // A piece already as simple as asked (a few corners that all stand out) is no
            // reason to try the whole outline instead.
            if (worthNaming(piece.record, tolerance)) {
                allSimplified = false;
                if (pieces.keptOriginal.empty()) pieces.keptOriginal = simplified.reason;
            }
        } else if (simplified.record.encodedSize() < piece.record.encodedSize()) {
            pieces.tolerance = tolerance;
            piece.cutEdges = cutEdgeMarks(decodeOutlinePoints(simplified.record), *area);
            piece.record = std::move(simplified.record);
        }
        pieces.bytes += piece.record.encodedSize();
        pieces.outlines.push_back({index, std::move(piece.record), std::move(piece.cutEdges)});
    }
    pieces.cut = true;
    if (allSimplified && pieces.bytes < record.encodedSize()) return pieces;
    Prepared whole = simplifiedThenCut(record, index, tolerance, area);
    return pieces.bytes < whole.bytes ? pieces : whole;
}

// Cut to the area's 16-gon, or to an 8-gon around the same disk (either way turned) where that
// takes fewer bytes: a piece crossing the area carries half as many of its corners, and a
// far-reaching outline keeps only a little more beyond the disk. (Fewer sides keep too much
// beyond it to simplify well.) The cut does not depend on the tolerance: every tolerance auto
// tries takes the same.
struct ChosenCut {
    ClipArea area;
    ClipResult cut;
};

ChosenCut chooseCut(const AirspaceRecord& record, const ClipArea& area) {
    // Simplifying is the slow part: only the cut that is smallest before it is simplified.
    auto bytesOf = [&](const ClipResult& cut) {
        return cut.clipped && !cut.pieces.empty() ? piecesBytes(cut) : record.encodedSize();
    };
    ChosenCut best{area, clipToArea(record, area, true)};
    std::size_t least = bytesOf(best.cut);
    for (const bool turned : {false, true}) {
        ClipArea coarser = area;
        coarser.sides = 8;
        coarser.turnedHalfSide = turned;
        ClipResult cut = clipToArea(record, coarser, true);
        const std::size_t bytes = bytesOf(cut);
        if (bytes < least) {
            least = bytes;
            best = {coarser, std::move(cut)};
        }
    }
    return best;
}

// `cut`: the outline's chosen cut, or none where nothing is cut.
Prepared prepare(const AirspaceRecord& record, std::size_t index, double tolerance,
                 const ChosenCut* cut) {
    if (cut == nullptr) return simplifiedThenCut(record, index, tolerance, nullptr);
    return prepareCut(record, index, tolerance, &cut->area, cut->cut);
}

std::string keyOf(const AirspaceRecord& outline) {
    const auto bytes = outline.storedBytes();
    return {bytes.begin(), bytes.end()};
}

// The candidates' outlines at one tolerance, each made when the fit first asks for it: a
// tolerance at which not everything fits is given up after the first airspace that does not,
// without simplifying the rest.
class Preparation {
public:
    // `cuts`, one per candidate, is filled as the cuts are first needed and kept for the next
    // tolerance.
    Preparation(const std::vector<AirspaceRecord>& records,
                const std::vector<Candidate>& candidates, double tolerance, const ClipArea* area,
                std::vector<std::optional<ChosenCut>>& cuts)
        : records_(records),
          candidates_(candidates),
          tolerance_(tolerance),
          area_(area),
          cuts_(cuts),
          prepared_(candidates.size()) {}

    Prepared& at(std::size_t c) {
        if (!prepared_[c]) {
            const AirspaceRecord& record = records_[candidates_[c].index];
            if (area_ != nullptr && !cuts_[c]) cuts_[c] = chooseCut(record, *area_);
            prepared_[c] = prepare(record, candidates_[c].index, tolerance_,
                                   area_ != nullptr ? &*cuts_[c] : nullptr);
        }
        return *prepared_[c];
    }

    [[nodiscard]] std::size_t size() const { return prepared_.size(); }
    // The bytes of candidate c's outline as the file draws it.
    [[nodiscard]] std::size_t plainBytes(std::size_t c) const {
        return records_[candidates_[c].index].encodedSize();
    }

private:
    const std::vector<AirspaceRecord>& records_;
    const std::vector<Candidate>& candidates_;
    double tolerance_;
    const ClipArea* area_;
    std::vector<std::optional<ChosenCut>>& cuts_;
    std::vector<std::optional<Prepared>> prepared_;
};

// The fit at one tolerance: which candidates are taken, in their order of importance.
struct Choice {
    std::vector<bool> taken;  // per candidate
    std::size_t bytes = 0;
    bool everything = false;  // every candidate taken, within the budget
};

// The bytes an airspace's outlines add to those already `sent`: an outline already sent costs
// nothing, the instrument holds it once. `fresh` gets the keys of the outlines it adds.
std::size_t addedBytes(const Prepared& prepared, const std::unordered_set<std::string>& sent,
                       std::vector<std::string>& fresh) {
    std::size_t bytes = 0;
    fresh.clear();
    for (const SentOutline& outline : prepared.outlines) {
        std::string key = keyOf(outline.record);
        if (sent.count(key) != 0 || std::find(fresh.begin(), fresh.end(), key) != fresh.end()) {
            continue;
        }
        bytes += outline.record.encodedSize();
        fresh.push_back(std::move(key));
    }
    return bytes;
}

// `whole`: go through every candidate, skipping one that does not fit; otherwise stop at the
// first that does not (the tolerance is no answer then).
Choice choose(const std::vector<std::size_t>& order, Preparation& preparation,
              const FitOptions& options, bool whole) {
    Choice choice;
    choice.taken.assign(order.size(), false);
    std::unordered_set<std::string> sent;
    bool all = true;
    for (const std::size_t c : order) {
        const Prepared& prepared = preparation.at(c);
        if (!options.fit) {
            choice.taken[c] = true;
            choice.bytes += prepared.bytes;
            if (!whole && choice.bytes > options.budget) return choice;
            continue;
        }
        std::vector<std::string> fresh;
        const std::size_t cost = addedBytes(prepared, sent, fresh);
        // Skip one that does not fit and go on: a smaller one after it may still fit.
        if (cost <= options.budget - choice.bytes) {
            choice.taken[c] = true;
            choice.bytes += cost;
            for (std::string& key : fresh) sent.insert(std::move(key));
        } else {
            all = false;
            if (!whole) return choice;
        }
    }
    choice.everything = all && choice.bytes <= options.budget;
    return choice;
}

// Whether every candidate may fit the budget at `lower`, judged from the fewest preparations:
// the bytes at `upper`, the next larger tolerance, stand for those not yet prepared at `lower`.
// A smaller tolerance seldom saves bytes on an outline; where it would, the worst is that auto
// keeps the larger tolerance, at which everything fits too. Each outline counts once, as it is
// sent. The candidates likely to grow the most for the least work are prepared first: an outline
// grows by some share of its bytes, never beyond the file's own, and takes time by its points.
bool allMayFit(Preparation& upper, Preparation& lower, std::size_t budget) {
    std::vector<std::size_t> order(upper.size());
    std::vector<double> worth(upper.size());
    for (std::size_t c = 0; c < order.size(); ++c) {
        order[c] = c;
        const auto above = static_cast<double>(upper.at(c).bytes);
        const auto plain = static_cast<double>(upper.plainBytes(c));
        worth[c] = std::min(0.4 * above, std::max(plain - above, 0.0)) / (plain + 50.0);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return worth[a] > worth[b]; });
    auto costs = [](const Prepared& prepared, std::unordered_set<std::string>& sent) {
        std::vector<std::string> fresh;
        const std::size_t bytes = addedBytes(prepared, sent, fresh);
        for (std::string& key : fresh) sent.insert(std::move(key));
        return bytes;
    };
    std::unordered_set<std::string> sentAbove;
    std::vector<std::size_t> above(order.size());
    std::size_t estimate = 0;
    for (const std::size_t c : order) {
        above[c] = costs(upper.at(c), sentAbove);
        estimate += above[c];
    }
    std::unordered_set<std::string> sentBelow;
    for (const std::size_t c : order) {
        if (estimate > budget) return false;
        estimate = estimate - above[c] + costs(lower.at(c), sentBelow);
    }
    return estimate <= budget;
}

std::string metresText(double metres) {
    char buffer[32];
    if (std::fabs(metres - std::round(metres)) < 0.05) {
        std::snprintf(buffer, sizeof buffer, "%.0f", metres);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.1f", metres);
    }
    return buffer;
}

}  // namespace

const std::vector<std::string>& defaultPreferredTypes() {
    static const std::vector<std::string> types{"CTR", "R", "P", "D", "TMA", "CTA", "TMZ", "RMZ"};
    return types;
}

const std::vector<std::string>& regionTypes() {
    static const std::vector<std::string> types{"FIR", "UIR", "FIS", "FIS_SECTOR"};
    return types;
}

const std::vector<double>& autoTolerances() {
    static const std::vector<double> tolerances{0.0, 50.0, 100.0, 250.0, 500.0};
    return tolerances;
}

std::vector<double> autoTolerancesUpTo(double ceilingMetres) {
    std::vector<double> levels;
    for (const double tolerance : autoTolerances()) {
        if (tolerance < ceilingMetres) levels.push_back(tolerance);
    }
    levels.push_back(std::max(ceilingMetres, 0.0));
    return levels;
}

const PlannedAirspace* FitPlan::find(std::size_t index) const {
    const auto found = std::lower_bound(
        airspaces.begin(), airspaces.end(), index,
        [](const PlannedAirspace& planned, std::size_t wanted) { return planned.index < wanted; });
    return found != airspaces.end() && found->index == index ? &*found : nullptr;
}

FitPlan planFit(const std::vector<AirspaceRecord>& records, const FitOptions& options) {
    FitPlan plan;
    plan.fitted = options.fit;
    const std::vector<AirspaceMatch> matches = matchAirspaces(records, options.criteria);
    plan.matched = matches.size();

    // The candidates: the matches and the pinned airspaces, never an excluded one.
    std::vector<Candidate> candidates;
    auto pinned = [&](std::size_t index) { return contains(options.pinned, index); };
    auto excluded = [&](std::size_t index) { return contains(options.excluded, index); };
    std::size_t next = 0;
    auto addPinnedBefore = [&](std::size_t limit) {
        for (; next < limit && next < records.size(); ++next) {
            if (!pinned(next) || excluded(next) || records[next].encodedSize() == 0) continue;
            Candidate candidate;
            candidate.index = next;
            candidate.pinned = true;
            candidate.rank = Rank::Pinned;
            if (options.criteria.near) {
                candidate.distanceKm = distanceToAirspaceKm(records[next], *options.criteria.near);
            }
            candidates.push_back(std::move(candidate));
        }
    };
    for (const AirspaceMatch& match : matches) {
        addPinnedBefore(match.index);
        next = match.index + 1;
        if (excluded(match.index)) continue;
        Candidate candidate;
        candidate.index = match.index;
        candidate.distanceKm = match.distanceKm;
        candidate.floorUnknown = match.floorUnknown;
        candidate.pinned = pinned(match.index);
        candidate.rank = rankOf(records[match.index], candidate.pinned, options.preferredTypes);
        candidates.push_back(std::move(candidate));
    }
    addPinnedBefore(records.size());

    // The area outlines are cut to: the radius plus the margin.
    ClipArea area;
    const bool cutting = options.clip && options.criteria.near.has_value();
    if (cutting) {
        area.centre = *options.criteria.near;
        area.radiusKm = options.criteria.radiusKm;
        area.marginKm = options.clipMarginKm ? *options.clipMarginKm
                                             : defaultClipMarginKm(options.criteria.radiusKm);
    }

    std::vector<std::size_t> order(candidates.size());
    for (std::size_t c = 0; c < order.size(); ++c) order[c] = c;
    auto distance = [&](std::size_t c) {
        return candidates[c].distanceKm ? *candidates[c].distanceKm : INFINITY;
    };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (candidates[a].rank != candidates[b].rank)
            return candidates[a].rank < candidates[b].rank;
        if (distance(a) != distance(b)) return distance(a) < distance(b);
        return candidates[a].index < candidates[b].index;
    });

    // Auto: the smallest tolerance at which everything fits; at the ceiling, what fits there.
    // Outlines shrink as the tolerance grows, so the ceiling is tried first: where even it is not
    // enough (the usual case around a busy take-off) no smaller tolerance is, and one pass does.
    const std::vector<double> levels = options.autoTolerance
                                           ? autoTolerancesUpTo(options.autoCeilingMetres)
                                           : std::vector<double>{options.toleranceMetres};
    const ClipArea* cutTo = cutting ? &area : nullptr;
    std::vector<std::optional<ChosenCut>> cuts(candidates.size());
    std::optional<Preparation> preparation;
    preparation.emplace(records, candidates, levels.back(), cutTo, cuts);
    Choice choice = choose(order, *preparation, options, true);
    plan.toleranceMetres = levels.back();
    // Where it is enough, the next smaller tolerance is tried, and so on down until one is not:
    // around a busy take-off only the one below the ceiling is tried, and a small tolerance, the
    // slowest to prepare, only where all fits at the one above it. The outlines likely to grow
    // the most are prepared first, so that a tolerance too small shows after few of them.
    if (choice.everything) {
        for (std::size_t level = levels.size() - 1; level-- > 0;) {
            Preparation lower(records, candidates, levels[level], cutTo, cuts);
            if (options.fit && !allMayFit(*preparation, lower, options.budget)) break;
            Choice fits = choose(order, lower, options, false);
            if (!fits.everything) break;
            // It went through every candidate, so all of them are prepared.
            preparation.emplace(std::move(lower));
            choice = std::move(fits);
            plan.toleranceMetres = levels[level];
        }
    }

    // The plan in list order; outlines go in list order, a shared one under its first index.
    std::unordered_map<std::string, std::size_t> owner;
    for (std::size_t c = 0; c < candidates.size(); ++c) {
        const Candidate& candidate = candidates[c];
        Prepared& outlines = preparation->at(c);
        PlannedAirspace planned;
        planned.index = candidate.index;
        planned.distanceKm = candidate.distanceKm;
        planned.pinned = candidate.pinned;
        planned.floorUnknown = candidate.floorUnknown;
        planned.plainBytes = records[candidate.index].encodedSize();
        planned.outlineBytes = outlines.bytes;
        planned.toleranceMetres = outlines.tolerance;
        planned.clipped = outlines.cut;
        planned.keptOriginal = outlines.keptOriginal;
        planned.selected = choice.taken[c];
        if (!planned.selected) {
            plan.leftOut.push_back(candidate.index);
            plan.airspaces.push_back(std::move(planned));
            continue;
        }
        plan.selected.push_back(candidate.index);
        std::optional<std::size_t> firstOwner;
        for (SentOutline& outline : outlines.outlines) {
            if (options.fit) {
                const auto [found, fresh] = owner.emplace(keyOf(outline.record), candidate.index);
                if (!fresh) {
                    if (!firstOwner) firstOwner = found->second;
                    continue;
                }
            }
            planned.sentBytes += outline.record.encodedSize();
            ++planned.pieces;
            plan.outlines.push_back(std::move(outline));
        }
        if (planned.pieces == 0) planned.sharedWith = firstOwner;
        plan.bytes += planned.sentBytes;
        plan.airspaces.push_back(std::move(planned));
    }
    // Excluded matches are listed too, never sent.
    for (const AirspaceMatch& match : matches) {
        if (!excluded(match.index)) continue;
        PlannedAirspace planned;
        planned.index = match.index;
        planned.distanceKm = match.distanceKm;
        planned.floorUnknown = match.floorUnknown;
        planned.excluded = true;
        planned.plainBytes = records[match.index].encodedSize();
        plan.airspaces.push_back(std::move(planned));
    }
    std::sort(plan.airspaces.begin(), plan.airspaces.end(),
              [](const PlannedAirspace& a, const PlannedAirspace& b) { return a.index < b.index; });
    return plan;
}

std::string groupedNumber(std::size_t value, char separator) {
    std::string digits = std::to_string(value);
    for (std::size_t at = digits.size(); at > 3; at -= 3) {
        digits.insert(at - 3, 1, separator);
    }
    return digits;
}

std::string fitSummary(const FitPlan& plan, const FitSummaryWords& words) {
    std::size_t pinned = 0, shared = 0, simplified = 0, cut = 0, kept = 0;
    for (const PlannedAirspace& planned : plan.airspaces) {
        if (!planned.selected) continue;
        pinned += planned.pinned ? 1 : 0;
        shared += planned.sharedWith ? 1 : 0;
        simplified += planned.toleranceMetres > 0.0 ? 1 : 0;
        cut += planned.clipped ? 1 : 0;
        kept += planned.keptOriginal.empty() ? 0 : 1;
    }
    auto number = [&](std::size_t value) { return groupedNumber(value, words.thousands); };
    std::vector<std::string> parts;
    if (pinned > 0) parts.push_back(number(pinned) + words.alwaysIncluded);
    if (shared > 0) parts.push_back(number(shared) + words.share);
    if (simplified > 0) {
        parts.push_back(number(simplified) + words.simplifiedAt + metresText(plan.toleranceMetres) +
                        words.metres);
    }
    if (cut > 0) parts.push_back(number(cut) + words.cut);
    if (kept > 0) parts.push_back(number(kept) + words.keptOriginal);

    std::string line =
        number(plan.matched) + words.matched + number(plan.selected.size()) + words.selected;
    for (std::size_t i = 0; i < parts.size(); ++i) line += (i == 0 ? words.colon : ", ") + parts[i];
    if (plan.fitted) line += ", " + number(plan.leftOut.size()) + words.leftOut;
    line += words.semicolon + number(plan.bytes) + words.bytes + number(plan.blocks()) +
            words.blocksOf + number(kDeviceBlockCount);
    return line;
}

}  // namespace airspace
