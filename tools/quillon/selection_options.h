// The selection options that select, send, encode and map share: which airspaces (--near,
// --radius, --type, --below, --name, --date, --no-notam-only), whether to fit them into the
// instrument (--fit [BYTES]) and how much their outlines may be simplified (--simplify).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "airspace/Selection.h"
#include "tools/quillon/command.h"

namespace quillon {

struct SelectionOptions {
    airspace::SelectionCriteria criteria;
    bool filtered = false;  // any of --near, --type, --below, --name, --date, --no-notam-only
    bool fit = false;
    std::size_t budget = airspace::kDeviceCapacity;
    double simplifyMetres = 0.0;  // 0: off, the bytes as they always were

    // Whether any option chooses airspaces (as opposed to only simplifying them).
    [[nodiscard]] bool choosing() const { return filtered || fit; }
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

struct SelectionOutcome {
    std::vector<airspace::AirspaceMatch> matches;  // in file order
    airspace::FitResult fit;                       // all matches when not fitting
    std::vector<std::size_t> plainSizes;           // every record's size before simplifying
};

// Applies the options to `records`: matches them, simplifies the matched ones in place (so what
// is sent or printed afterwards is the simplified outline), and fits them when asked.
[[nodiscard]] SelectionOutcome applySelection(std::vector<airspace::AirspaceRecord>& records,
                                              const SelectionOptions& options);

// Simplifies the records at `indexes` in place (send --select with --simplify).
void simplifyRecords(std::vector<airspace::AirspaceRecord>& records,
                     const std::vector<std::size_t>& indexes, double metres);

}  // namespace quillon
