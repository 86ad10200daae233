// The selection options that select, send, encode and map share: which airspaces (--near,
// --radius, --type, --below, --name, --date, --no-notam-only, --pin, --exclude), whether to fit
// them into the instrument (--fit [BYTES], --prefer), how much their outlines may be simplified
// (--simplify DIST|auto) and whether they are cut to the flying area (--clip [MARGIN]).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "airspace/FitPlan.h"
#include "airspace/Selection.h"
#include "tools/quillon/command.h"

namespace quillon {

struct SelectionOptions {
    airspace::SelectionCriteria criteria;
    bool filtered = false;  // any of --near, --type, --below, --name, --date, --no-notam-only
    bool fit = false;
    std::size_t budget = airspace::kDeviceCapacity;
    double simplifyMetres = 0.0;  // 0: off, the bytes as they always were
    bool autoTolerance = false;   // --simplify auto or auto:MAX
    double autoCeilingMetres = 500.0;
    bool clip = false;                                       // --clip [MARGIN]
    std::optional<double> clipMarginKm;                      // --clip 5km
    std::vector<std::size_t> pinned;                         // --pin 3,17
    std::vector<std::size_t> excluded;                       // --exclude 9
    std::optional<std::vector<std::string>> preferredTypes;  // --prefer; empty list: none

    // Whether any option chooses airspaces (as opposed to only simplifying them).
    [[nodiscard]] bool choosing() const {
        return filtered || fit || !pinned.empty() || !excluded.empty();
    }
    // Whether the airspaces go through the fit's plan: choosing them, or shaping them in a way
    // that needs it (auto needs the plan's budget, cutting its take-off).
    [[nodiscard]] bool planned() const { return choosing() || autoTolerance || clip; }
};

enum class OptionRead {
    NotMine,  // args[i] is none of these options
    Taken,    // read; i is on its last argument
    Bad,      // a selection option with a wrong or missing value; `error` says why
};

// Reads the selection option at args[i] with its value ("--near -41.3,174.8" or
// "--near=-41.3,174.8": a value may begin with a minus sign).
[[nodiscard]] OptionRead readSelectionOption(const std::vector<std::string>& args, std::size_t& i,
                                             SelectionOptions& options, std::string& error);

// The help lines of the options, for a command's table entry.
[[nodiscard]] std::vector<OptionHelp> selectionOptionHelp();

// What is wrong with the options once the file is read (--clip without --near, a --pin or
// --exclude index beyond the list); empty when nothing.
[[nodiscard]] std::string selectionOptionsProblem(const SelectionOptions& options,
                                                  std::size_t recordCount);

// The fit's options of these selection options.
[[nodiscard]] airspace::FitOptions fitOptionsOf(const SelectionOptions& options);

// The plan of what would be sent: the airspaces chosen, simplified, cut and fitted.
[[nodiscard]] airspace::FitPlan planSelection(const std::vector<airspace::AirspaceRecord>& records,
                                              const SelectionOptions& options);

// The summary line of a plan in the command line's language.
[[nodiscard]] std::string planSummary(const airspace::FitPlan& plan);

// Simplifies the records at `indexes` in place (send --select with --simplify).
void simplifyRecords(std::vector<airspace::AirspaceRecord>& records,
                     const std::vector<std::size_t>& indexes, double metres);

}  // namespace quillon
