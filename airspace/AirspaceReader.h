// Reading the OpenAir lines of one airspace into its record, one small reader per keyword, and
// telling what in them could not be used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "airspace/AirspaceRecord.h"

namespace airspace {

enum class ReadProblemKind {
    StoppedParse,  // a malformed or misplaced line ended this airspace's reading
    PointIgnored,  // a coordinate text that added no point
    NoBytes,       // the airspace keeps no encoding (size 0)
    UnknownLine,   // a line with a keyword the reader does not use (reported with -v)
    NoAirspace,    // the file holds no airspace at all
    BadValue,      // an "AA" value that is no activation: the airspace keeps no intervals
    FormatRule,    // a value or outline against the rules of OpenAir 2.0 (a warning)
};

struct ReadProblem {
    std::size_t line = 0;  // 1-based line of the file; 0 for the whole file
    ReadProblemKind kind = ReadProblemKind::StoppedParse;
    std::string airspaceName;  // "AN" of the airspace it belongs to, as written
    std::string what;          // a short English reason, e.g. "arc radius is not a number"
};

// What is being read of one airspace and is no part of its record: the centre and direction that
// carry from one arc to the next, and where further "DP" points go. Starts afresh with every
// airspace.
struct OutlineDraft {
    std::string centre;         // "V X=" as written; parsed afresh by every arc and circle
    std::int8_t direction = 1;  // "V D=-" makes it -1
    std::size_t current = 0;    // index of the element that takes further "DP" points
    bool arcLast = false;
    bool noRunYet = true;
    bool badActivation = false;  // an "AA" line could not be read

    void reset() {
        centre.clear();
        direction = 1;
        current = 0;
        arcLast = false;
        noRunYet = true;
        badActivation = false;
    }
};

// Reads one airspace at a time: begin() at its "AC" line, then every line (the "AC" line too),
// then finish(), which builds the encoding. With a problem list, every problem goes there with
// the file line given to readLine; without one, reading costs nothing more.
class AirspaceReader {
public:
    explicit AirspaceReader(std::vector<ReadProblem>* problems = nullptr) : problems_(problems) {}

    void begin(AirspaceRecord& record, std::size_t fileLine = 0);
    // One line, trimmed of blanks and tabs at its start; empty lines are ignored. Lines after one
    // that stopped the reading are not read.
    void readLine(std::string_view line, std::size_t fileLine = 0);
    void finish();

    // For lines that belong to no airspace (before the first "AC").
    void reportOutside(std::string_view line, std::size_t fileLine);
    // A file with the OpenAir 2.0 header: its own rules are checked too (closed polygons,
    // classes in "AC"), as warnings.
    void setOpenAir2(bool openAir2) { openAir2_ = openAir2; }

private:
    [[nodiscard]] bool readPoint(std::string_view value);
    [[nodiscard]] bool readAngleArc(std::string_view value);
    [[nodiscard]] bool readPointArc(std::string_view value);
    [[nodiscard]] bool readCircle(std::string_view value);
    [[nodiscard]] bool readVariable(std::string_view line);
    void readType(std::string_view value);
    void readActivationLine(std::string_view value);
    void readTransponder(std::string_view value);
    void checkOpenAir2Rules();
    void readOther(std::string_view keyword, std::string_view line);

    OutlineElement& startElement(ElementKind kind);
    void addPoint(OutlineElement& element, std::string_view text, const char* role);
    [[nodiscard]] bool stop(const char* why);
    void report(ReadProblemKind kind, std::string what);

    std::vector<ReadProblem>* problems_;
    AirspaceRecord* record_ = nullptr;
    OutlineDraft draft_;
    bool stopped_ = false;
    bool openAir2_ = false;
    std::size_t line_ = 0;
    std::size_t firstLine_ = 0;
    std::size_t stopLine_ = 0;
    std::size_t firstProblem_ = 0;
};

}  // namespace airspace
