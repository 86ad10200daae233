// The plan of what goes to the instrument: which airspaces, in which order of importance, at which
// simplification tolerance, cut to the flying area or whole, and which of them share an outline
// already sent. The command line, the Select panel and the map all read the same plan.
//
// The fit, in one step: the airspaces the pilot pinned go first, then the preferred types, then
// the rest, and FIR, UIR and FIS areas last (they cover whole regions and tell a pilot little);
// within each of these, nearest first, ties in list order. The preferred types are one group,
// not a ranking: a restricted area 2 km from the take-off matters more than a CTR 45 km away, so
// distance decides among them. An empty preference list is the plain nearest-first order, FIR
// areas included. Excluded airspaces never go, even when pinned too. Each airspace in turn is
// taken when its bytes still fit; one that does not is left out and the next is tried.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "airspace/AirspaceRecord.h"
#include "airspace/Selection.h"

namespace airspace {

// An outline as it goes to the instrument: an airspace's whole outline (simplified or not) or one
// piece of it cut to the flying area. Sending is the concatenation of the plan's outlines'
// encodedBytes(lastAirspace) in order.
struct SentOutline {
    std::size_t index = 0;       // list index of its airspace
    AirspaceRecord record;       // encodes exactly what is sent
    std::vector<bool> cutEdges;  // per edge of decodeOutlinePoints(record); empty: no cut edge
};

struct PlannedAirspace {  // one matched (or pinned) airspace
    std::size_t index = 0;
    std::optional<double> distanceKm;
    bool selected = false, pinned = false, floorUnknown = false;
    bool excluded = false;         // matched, but the pilot excluded it: never sent
    std::size_t plainBytes = 0;    // the file's own encoding
    std::size_t outlineBytes = 0;  // its outlines as prepared (simplified, cut), before sharing
    std::size_t sentBytes = 0;     // what it adds to the store (0: shared, or left out)
    std::optional<std::size_t> sharedWith;  // list index whose identical outline is sent instead
    double toleranceMetres = 0;             // the tolerance its outline was simplified at (0: none)
    bool clipped = false;
    std::size_t pieces = 0;  // outlines sent for it
    // Empty, or why the original outline was kept although simplifying was asked; only for an
    // outline of more than 64 bytes with some vertex within the tolerance of its neighbours'
    // line (one whose corners all stand out farther is already as simple as asked).
    std::string keptOriginal;
};

// What a free-flight pilot must avoid: CTR, R, P, D, TMA, CTA, TMZ, RMZ.
[[nodiscard]] const std::vector<std::string>& defaultPreferredTypes();
// The types that cover whole regions and go last: FIR, UIR, FIS (and openAIP's FIS_SECTOR).
[[nodiscard]] const std::vector<std::string>& regionTypes();
// The tolerances auto tries, smallest first: 0, 50, 100, 250, 500 m.
[[nodiscard]] const std::vector<double>& autoTolerances();

struct FitOptions {
    SelectionCriteria criteria;
    bool fit = false;  // fit into `budget`; also sends identical outlines once
    std::size_t budget = kDeviceCapacity;
    double toleranceMetres = 0.0;        // fixed tolerance (when !autoTolerance)
    bool autoTolerance = false;          // smallest of 0, 50, 100, 250, 500 m at which all fit
    double autoCeilingMetres = 500.0;    // auto goes no further (the pilot may raise it)
    bool clip = false;                   // cut to criteria.near/radiusKm plus the margin
    std::optional<double> clipMarginKm;  // empty: defaultClipMarginKm(radius)
    std::vector<std::size_t> pinned;     // list indexes always sent (if they have an outline)
    std::vector<std::size_t> excluded;   // never sent
    std::vector<std::string> preferredTypes = defaultPreferredTypes();
};

struct FitPlan {
    std::vector<PlannedAirspace> airspaces;  // matched and pinned, in list order
    std::vector<std::size_t> selected;       // list indexes, ascending
    std::vector<std::size_t> leftOut;        // matched, not sent for lack of room, ascending
    std::vector<SentOutline> outlines;       // in send order: ascending list index, pieces in order
    std::size_t bytes = 0;                   // sum of the outlines' encoded sizes
    double toleranceMetres = 0.0;            // the one auto chose (or the fixed one)
    std::size_t matched = 0;                 // airspaces the criteria matched (excluded ones too)
    bool fitted = false;                     // fitted into a budget (options.fit)
    [[nodiscard]] std::size_t blocks() const { return blocksFor(bytes); }
    // The planned airspace of a list index; null when it is neither matched nor pinned.
    [[nodiscard]] const PlannedAirspace* find(std::size_t index) const;
};

// The tolerances auto tries up to `ceilingMetres`, which it always tries last.
[[nodiscard]] std::vector<double> autoTolerancesUpTo(double ceilingMetres);

[[nodiscard]] FitPlan planFit(const std::vector<AirspaceRecord>& records,
                              const FitOptions& options);

// The words of the summary; English unless another language is given.
struct FitSummaryWords {
    const char* matched = " matched, ";
    const char* selected = " selected";
    const char* alwaysIncluded = " always included";
    const char* share = " share an outline";
    const char* simplifiedAt = " simplified at ";
    const char* metres = " m";
    const char* cut = " cut to the radius";
    const char* keptOriginal = " kept their original outline";
    const char* leftOut = " left out for lack of space";
    const char* bytes = " bytes, ";
    const char* blocksOf = " blocks of ";
    // What comes before the list of what the fit did and before the bytes (French puts a space
    // before both marks).
    const char* colon = ": ";
    const char* semicolon = "; ";
    char thousands = ',';
};

// The one-line summary in words, e.g. "58 matched, 58 selected: 10 share an outline, 31
// simplified at 250 m, 6 cut to the radius; 2,480 bytes, 178 blocks of 228". When the plan
// shares, simplifies and cuts nothing it reads as the fit always did: "4 matched, 2 selected, 2
// left out for lack of space; 40 bytes, 3 blocks of 228" (the left-out part only when fitted).
[[nodiscard]] std::string fitSummary(const FitPlan& plan, const FitSummaryWords& words = {});

// 2480 as "2,480" (or with the given separator).
[[nodiscard]] std::string groupedNumber(std::size_t value, char separator = ',');

}  // namespace airspace
