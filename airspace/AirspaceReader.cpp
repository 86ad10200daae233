#include "airspace/AirspaceReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>
#include <system_error>

#include "airspace/AirspaceFile.h"
#include "airspace/AirspaceTypes.h"
#include "airspace/OutlineBuilder.h"
#include "airspace/Selection.h"

namespace airspace {
namespace {

// Radii beyond this are no airspace; refusing them also keeps every outline within reach of the
// step test's refinement.
constexpr float kMaxRadiusNm = 1000.0f;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimStart(std::string_view s) {
    std::size_t start = 0;
    while (start < s.size() && isBlank(s[start])) ++start;
    return s.substr(start);
}

std::string_view trim(std::string_view s) {
    s = trimStart(s);
    std::size_t end = s.size();
    while (end > 0 && isBlank(s[end - 1])) --end;
    return s.substr(0, end);
}

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool keywordIs(std::string_view keyword, const char (&expected)[3]) {
    return keyword.size() == 2 && upper(keyword[0]) == expected[0] &&
           upper(keyword[1]) == expected[1];
}

bool isScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads numbers and separators the way "%f" and a scanf pattern do, locale-independent: the
// decimal point is always ".", whatever the user's language.
class FloatScanner {
public:
    explicit FloatScanner(std::string_view text) : text_(text) {}

    void skipSpace() {
        while (pos_ < text_.size() && isScanSpace(text_[pos_])) ++pos_;
    }

    [[nodiscard]] bool literal(char c) {
        if (pos_ >= text_.size() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }

    // A number too large for a float reads as infinity and one too small as zero, as "%f" would
    // store them.
    [[nodiscard]] bool readFloat(float& value) {
        skipSpace();
        const char* begin = text_.data() + pos_;
        const char* end = text_.data() + text_.size();
        bool negative = false;
        if (begin != end && (*begin == '+' || *begin == '-')) {
            negative = *begin == '-';
            ++begin;
        }
        if (begin == end || *begin == '+' || *begin == '-') return false;
        auto format = std::chars_format::general;
        if (end - begin > 2 && begin[0] == '0' && (begin[1] == 'x' || begin[1] == 'X')) {
            format = std::chars_format::hex;
            begin += 2;
        }
        float parsed = 0.0f;
        const auto [stop, error] = std::from_chars(begin, end, parsed, format);
        if (error == std::errc::invalid_argument) {
            if (format != std::chars_format::hex) return false;
            parsed = 0.0f;  // "0x" without hex digits is the number 0
            pos_ = static_cast<std::size_t>(begin - 1 - text_.data());
        } else {
            if (error == std::errc::result_out_of_range) parsed = outOfRange(begin, end, format);
            pos_ = static_cast<std::size_t>(stop - text_.data());
        }
        value = negative ? -parsed : parsed;
        return true;
    }

private:
    // The float that a number beyond the float range becomes: 0 when its magnitude is below 1
    // (an angle of 1e-50 is an angle of 0), infinity otherwise.
    static float outOfRange(const char* begin, const char* end, std::chars_format format) {
        long double wide = 0.0L;
        const auto [stop, error] = std::from_chars(begin, end, wide, format);
        return error == std::errc{} && std::fabs(wide) < 1.0L ? 0.0f : INFINITY;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

bool validRadius(float radius) {
    return std::isfinite(radius) && radius > 0.0f && radius <= kMaxRadiusNm;
}

// The variable of a "V X=..." or "V D=..." line: its one-character name and its value. False for
// lines that are not a variable assignment.
bool splitVariable(std::string_view line, char& name, std::string_view& value) {
    line = trimStart(line);
    if (line.empty() || upper(line[0]) != 'V') return false;
    const std::string_view rest = trim(line.substr(1));
    if (rest.empty()) return false;
    const std::string_view assignment = trim(rest.substr(1));
    if (assignment.empty() || assignment[0] != '=') return false;
    name = upper(rest[0]);
    value = trimStart(assignment.substr(1));
    return true;
}

// OpenAir keywords for labels, styles and extensions: valid, but of no use to the instrument.
bool isUnusedKeyword(std::string_view keyword) {
    if (keyword.size() != 2) return false;
    const char first = upper(keyword[0]);
    const char second = upper(keyword[1]);
    for (const std::string_view known : {"AT", "SP", "SB", "TO", "TC"}) {
        if (first == known[0] && second == known[1]) return true;
    }
    return false;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    out.append(text);
    out += '"';
    return out;
}

const char* failureText(EncodeFailure failure) {
    switch (failure) {
        case EncodeFailure::BeyondRange:
            return "a point lies beyond the instrument's coordinate range";
        case EncodeFailure::TooLarge:
            return "its encoding would pass 4 MiB";
        case EncodeFailure::Refinement:
            return "an arc cannot be refined into steps the instrument can hold (too near a pole)";
        case EncodeFailure::None:
            break;
    }
    return "its outline cannot be encoded";
}

}  // namespace

void AirspaceReader::begin(AirspaceRecord& record, std::size_t fileLine) {
    record_ = &record;
    draft_.reset();
    stopped_ = false;
    firstLine_ = fileLine;
    stopLine_ = 0;
    firstProblem_ = problems_ ? problems_->size() : 0;
}

void AirspaceReader::report(ReadProblemKind kind, std::string what) {
    problems_->push_back({line_, kind, {}, std::move(what)});
}

bool AirspaceReader::stop(const char* why) {
    stopped_ = true;
    stopLine_ = line_;
    if (problems_) report(ReadProblemKind::StoppedParse, std::string("reading stopped: ") + why);
    return false;
}

OutlineElement& AirspaceReader::startElement(ElementKind kind) {
    draft_.current = record_->elements.size();
    return record_->elements.emplace_back(kind);
}

void AirspaceReader::addPoint(OutlineElement& element, std::string_view text, const char* role) {
    if (element.addPointText(text) || !problems_) return;
    report(ReadProblemKind::PointIgnored, std::string(role) + " " + quoted(text) +
                                              " is no coordinate (latitude N/S first, then "
                                              "longitude E/W, as 47:30:00 N 008:30:00 E)");
}

void AirspaceReader::readLine(std::string_view line, std::size_t fileLine) {
    if (stopped_) return;
    line = trimStart(line);
    if (line.empty()) return;
    line_ = fileLine;
    const std::string_view keyword = line.substr(0, 2);
    const std::string_view value = line.size() > 2 ? trim(line.substr(2)) : std::string_view{};
    AirspaceRecord& r = *record_;

    if (keywordIs(keyword, "AC")) {
        r.airspaceClass = value;
    } else if (keywordIs(keyword, "AN")) {
        r.name = value;
    } else if (keywordIs(keyword, "AH")) {
        r.ceiling = value;
    } else if (keywordIs(keyword, "AL")) {
        r.floor = value;
    } else if (keywordIs(keyword, "AY")) {
        readType(value);
    } else if (keywordIs(keyword, "AA")) {
        readActivationLine(value);
    } else if (keywordIs(keyword, "AX")) {
        readTransponder(value);
    } else if (keywordIs(keyword, "AI")) {
        r.identifier = value;
    } else if (keywordIs(keyword, "AF")) {
        r.frequency = value;
    } else if (keywordIs(keyword, "AG")) {
        r.station = value;
    } else if (keywordIs(keyword, "DP")) {
        (void)readPoint(value);
    } else if (keywordIs(keyword, "DA")) {
        (void)readAngleArc(value);
    } else if (keywordIs(keyword, "DB")) {
        (void)readPointArc(value);
    } else if (keywordIs(keyword, "DC")) {
        (void)readCircle(value);
    } else if (!readVariable(line)) {
        readOther(keyword, line);
    }
}

bool AirspaceReader::readPoint(std::string_view value) {
    // Consecutive points form one run; a point after an arc starts a new one.
    if (draft_.arcLast || draft_.noRunYet) {
        addPoint(startElement(ElementKind::PointRun), value, "point");
        if (draft_.arcLast) {
            draft_.arcLast = false;
        } else {
            draft_.noRunYet = false;
        }
    } else {
        addPoint(record_->elements[draft_.current], value, "point");
    }
    return true;
}

bool AirspaceReader::readAngleArc(std::string_view value) {
    if (draft_.centre.empty()) return stop("arc (DA) before any centre (V X=) line");
    float radius = 0.0f;
    float startAngle = 0.0f;
    float endAngle = 0.0f;
    FloatScanner scan(value);
    bool read = scan.readFloat(radius);
    scan.skipSpace();
    read = read && scan.literal(',') && scan.readFloat(startAngle);
    scan.skipSpace();
    read = read && scan.literal(',') && scan.readFloat(endAngle);
    if (!read) return stop("arc (DA) needs radius, start angle and end angle, as 5,0,90");
    if (!validRadius(radius)) return stop("arc radius must be above 0 and at most 1000 NM");
    if (!std::isfinite(startAngle) || !std::isfinite(endAngle)) {
        return stop("arc angle is too large a number");
    }
    OutlineElement& arc = startElement(ElementKind::AngleArc);
    addPoint(arc, draft_.centre, "centre");
    arc.startAngle = startAngle;
    arc.endAngle = endAngle;
    arc.direction = draft_.direction;
    arc.radius = radius;
    draft_.arcLast = true;
    return true;
}

bool AirspaceReader::readPointArc(std::string_view value) {
    if (draft_.centre.empty()) return stop("arc (DB) before any centre (V X=) line");
    const std::size_t comma = value.find(',');
    if (comma == std::string_view::npos) {
        return stop("arc (DB) needs its start and end point separated by a comma");
    }
    OutlineElement& arc = startElement(ElementKind::PointArc);
    addPoint(arc, draft_.centre, "centre");
    addPoint(arc, trim(value.substr(0, comma)), "arc start");
    addPoint(arc, trim(value.substr(comma + 1)), "arc end");
    arc.direction = draft_.direction;
    draft_.arcLast = true;
    return true;
}

bool AirspaceReader::readCircle(std::string_view value) {
    float radius = 0.0f;
    FloatScanner scan(value);
    if (!scan.readFloat(radius)) return stop("circle (DC) radius is not a number");
    if (!validRadius(radius)) return stop("circle radius must be above 0 and at most 1000 NM");
    if (draft_.centre.empty()) return stop("circle (DC) before any centre (V X=) line");
    OutlineElement& circle = startElement(ElementKind::Circle);
    addPoint(circle, draft_.centre, "centre");
    circle.radius = radius;
    return true;
}

bool AirspaceReader::readVariable(std::string_view line) {
    char variable = 0;
    std::string_view value;
    if (!splitVariable(line, variable, value)) return false;
    if (variable == 'X') {
        draft_.centre = value;
    } else if (variable == 'D') {
        draft_.direction = value == "-" ? -1 : 1;
    } else if (problems_) {
        report(ReadProblemKind::UnknownLine,
               std::string("skipped: variable ") + variable + " is not used");
    }
    return true;
}

void AirspaceReader::readOther(std::string_view keyword, std::string_view line) {
    if (!problems_) return;
    if (upper(line[0]) == 'V') {
        report(ReadProblemKind::UnknownLine, "skipped: not a variable assignment (V X=...)");
    } else if (isUnusedKeyword(keyword)) {
        report(ReadProblemKind::UnknownLine,
               "skipped: " + quoted(keyword) + " lines are not used by the instrument");
    } else {
        report(ReadProblemKind::UnknownLine, "skipped: unknown keyword " + quoted(keyword));
    }
}

void AirspaceReader::readType(std::string_view value) {
    record_->type = shortTypeName(value);
    if (problems_ && !knownTypeName(value)) {
        report(ReadProblemKind::FormatRule,
               "type (AY) " + quoted(value) + " is none of OpenAir 2.0 (kept as written)");
    }
}

void AirspaceReader::readActivationLine(std::string_view value) {
    Activation activation;
    std::string why;
    switch (readActivation(value, activation, why)) {
        case ActivationRead::Interval:
            record_->activations.push_back(activation);
            break;
        case ActivationRead::NotamOnly:
            record_->notamOnly = true;
            break;
        case ActivationRead::Bad:
            draft_.badActivation = true;
            if (problems_) {
                report(ReadProblemKind::BadValue, "activation (AA) " + quoted(value) + ": " + why +
                                                      "; the airspace is kept as always active");
            }
            break;
    }
}

void AirspaceReader::readTransponder(std::string_view value) {
    record_->transponder = value;
    const bool fourDigits =
        value.size() == 4 &&
        std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '7'; });
    if (problems_ && !fourDigits) {
        report(ReadProblemKind::FormatRule,
               "transponder code (AX) " + quoted(value) + " is not 4 digits from 0 to 7");
    }
}

// The rules a 2.0 file states for itself; a file that breaks them is still read as always.
void AirspaceReader::checkOpenAir2Rules() {
    const AirspaceRecord& r = *record_;
    line_ = firstLine_;
    if (!isAirspaceClassName(r.airspaceClass)) {
        report(ReadProblemKind::FormatRule,
               "class (AC) " + quoted(r.airspaceClass) +
                   " is no ICAO class: OpenAir 2.0 writes A to G or UNC, the type in AY");
    }
    const auto is = [](std::string_view text, std::string_view word) {
        return text.size() == word.size() &&
               std::equal(text.begin(), text.end(), word.begin(),
                          [](char a, char b) { return upper(a) == b; });
    };
    if (is(r.floor, "UNL"))
        report(ReadProblemKind::FormatRule, "floor (AL) UNL: UNL is for ceilings");
    if (is(r.ceiling, "GND")) {
        report(ReadProblemKind::FormatRule, "ceiling (AH) GND: GND is for floors");
    }
    // An outline of points alone is a polygon, which 2.0 closes by repeating its first point.
    const bool pointsOnly =
        !r.elements.empty() &&
        std::all_of(r.elements.begin(), r.elements.end(),
                    [](const OutlineElement& e) { return e.kind == ElementKind::PointRun; });
    if (pointsOnly) {
        const std::vector<GeoPoint>& first = r.elements.front().points;
        const std::vector<GeoPoint>& last = r.elements.back().points;
        if (!first.empty() && !last.empty() &&
            (first.front().lon != last.back().lon || first.front().lat != last.back().lat)) {
            report(ReadProblemKind::FormatRule,
                   "polygon is not closed: OpenAir 2.0 repeats the first point at the end");
        }
    }
}

void AirspaceReader::reportOutside(std::string_view line, std::size_t fileLine) {
    if (!problems_) return;
    line_ = fileLine;
    report(ReadProblemKind::UnknownLine,
           "skipped: " + quoted(line.substr(0, 2)) + " before the first airspace (AC line)");
}

void AirspaceReader::finish() {
    AirspaceRecord& r = *record_;
    if (!stopped_) r.encoder = buildOutline(r.elements);
    // "AA NONE" overrides every interval; an interval that cannot be read leaves none, so that
    // the airspace is never dropped on a misread date.
    if (r.notamOnly || draft_.badActivation) r.activations.clear();
    // An old openAIP export writes UNCLASSIFIED in AC and may have no AY.
    if (r.type.empty()) {
        const std::string_view classType = shortTypeName(r.airspaceClass);
        if (classType.size() != r.airspaceClass.size()) r.type = classType;
    }
    if (!problems_) return;
    if (openAir2_) checkOpenAir2Rules();
    if (r.encodedSize() == 0) {
        std::string why;
        if (stopped_) {
            why = "its reading stopped at line " + std::to_string(stopLine_);
        } else if (r.elements.empty()) {
            why = "it has no outline (no DP, DA, DB or DC line)";
        } else if (r.encoder->failed()) {
            why = failureText(r.encoder->failure());
        } else {
            bool anyPoint = false;
            for (const OutlineElement& element : r.elements) anyPoint |= !element.points.empty();
            why = anyPoint ? "its outline is a single point"
                           : "no point of its outline could be read";
        }
        // In file order: the airspace's own line comes before the problems within it.
        problems_->insert(
            problems_->begin() + static_cast<std::ptrdiff_t>(firstProblem_),
            {firstLine_, ReadProblemKind::NoBytes, {}, "keeps no bytes (size 0): " + why});
    }
    for (std::size_t i = firstProblem_; i < problems_->size(); ++i) {
        (*problems_)[i].airspaceName = r.name;
    }
}

std::vector<ReadProblem> checkAirspaceText(std::string_view contents) {
    return checkAirspaceText(contents, nullptr);
}

std::vector<ReadProblem> checkAirspaceText(std::string_view contents, OpenAirHeader* header) {
    std::vector<ReadProblem> problems;
    if (parseAirspaces(contents, &problems, header).empty()) {
        problems.push_back({0,
                            ReadProblemKind::NoAirspace,
                            {},
                            "no airspace found (no AC line): is this an OpenAir file?"});
    }
    return problems;
}

}  // namespace airspace
