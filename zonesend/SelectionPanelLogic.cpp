#include "zonesend/SelectionPanelLogic.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

#include "seriallink/Messages.h"
#include "zonesend/AirspaceSetupLogic.h"
#include "zonesend/Strings.h"

namespace zonesend {

namespace {

std::string upperCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

std::optional<double> bareNumber(std::string_view text) {
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

bool isBareNumber(std::string_view text) {
    return bareNumber(text).has_value();
}

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& part : parts) out += (out.empty() ? "" : ",") + part;
    return out;
}

std::vector<std::string> split(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        std::string part = trimmed(std::string_view(text).substr(start, comma - start));
        if (!part.empty()) parts.push_back(upperCase(part));
        start = comma + 1;
    }
    return parts;
}

template <typename Unit>
Unit unitNamed(const std::vector<std::string>& names, const std::string& text, Unit fallback) {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == text) return static_cast<Unit>(i);
    }
    return fallback;
}

std::string load(unsigned id, const std::vector<seriallink::FormatArg>& args = {}) {
    return seriallink::FormatText(seriallink::LoadString(id), args);
}

long long number(std::size_t value) {
    return static_cast<long long>(value);
}

}  // namespace

std::string SelectionChoices::todayText() {
    return airspace::flyingDatesText(airspace::flyingDay(airspace::currentUtcSeconds()));
}

const std::vector<std::string>& radiusUnitNames() {
    static const std::vector<std::string> names = {"km", "nm"};
    return names;
}

const std::vector<std::string>& floorUnitNames() {
    static const std::vector<std::string> names = {"FL", "ft", "m"};
    return names;
}

SelectionChoices readSelectionChoices(const ProfileStore& profile) {
    SelectionChoices c;
    const auto text = [&](const char* name, const std::string& fallback) {
        return profile.readText(kSettingsSection, name, fallback);
    };
    c.takeOff = text(kSelectTakeOffValue, c.takeOff);
    c.radius = text(kSelectRadiusValue, c.radius);
    c.radiusUnit = unitNamed(radiusUnitNames(), text(kSelectRadiusUnitValue, ""), c.radiusUnit);
    c.untickedTypes = split(text(kSelectUntickedTypesValue, ""));
    c.floorBelow = text(kSelectFloorValue, c.floorBelow);
    c.floorUnit = unitNamed(floorUnitNames(), text(kSelectFloorUnitValue, ""), c.floorUnit);
    c.nameContains = text(kSelectNameValue, c.nameContains);
    c.fitToInstrument = profile.readInteger(kSettingsSection, kSelectFitValue, 1) != 0;
    c.simplifyMetres = text(kSelectSimplifyValue, c.simplifyMetres);
    c.leaveOutNotamOnly = profile.readInteger(kSettingsSection, kSelectNoNotamOnlyValue, 0) != 0;
    return c;
}

void writeSelectionChoices(ProfileStore& profile, const SelectionChoices& c) {
    profile.writeText(kSettingsSection, kSelectTakeOffValue, c.takeOff);
    profile.writeText(kSettingsSection, kSelectRadiusValue, c.radius);
    profile.writeText(kSettingsSection, kSelectRadiusUnitValue,
                      radiusUnitNames()[static_cast<std::size_t>(c.radiusUnit)]);
    profile.writeText(kSettingsSection, kSelectUntickedTypesValue, joined(c.untickedTypes));
    profile.writeText(kSettingsSection, kSelectFloorValue, c.floorBelow);
    profile.writeText(kSettingsSection, kSelectFloorUnitValue,
                      floorUnitNames()[static_cast<std::size_t>(c.floorUnit)]);
    profile.writeText(kSettingsSection, kSelectNameValue, c.nameContains);
    profile.writeInteger(kSettingsSection, kSelectFitValue, c.fitToInstrument ? 1 : 0);
    profile.writeText(kSettingsSection, kSelectSimplifyValue, c.simplifyMetres);
    profile.writeInteger(kSettingsSection, kSelectNoNotamOnlyValue, c.leaveOutNotamOnly ? 1 : 0);
}

std::vector<TypeCount> countTypes(const std::vector<airspace::AirspaceRecord>& records) {
    std::map<std::string, TypeCount> byKey;
    for (const airspace::AirspaceRecord& record : records) {
        if (record.encodedSize() == 0) continue;
        const std::string& type = airspace::airspaceType(record);
        TypeCount& entry = byKey[upperCase(type)];
        if (entry.count++ == 0) entry.type = type;
    }
    std::vector<TypeCount> types;
    types.reserve(byKey.size());
    for (auto& [key, entry] : byKey) types.push_back(std::move(entry));
    return types;
}

unsigned problemStringId(ChoiceProblem problem) {
    switch (problem) {
        case ChoiceProblem::None:
            return 0;
        case ChoiceProblem::TakeOff:
            return ids::kBadTakeOff;
        case ChoiceProblem::Radius:
            return ids::kBadRadius;
        case ChoiceProblem::Floor:
            return ids::kBadFloor;
        case ChoiceProblem::Tolerance:
            return ids::kBadTolerance;
        case ChoiceProblem::NoType:
            return ids::kNoTypeChosen;
        case ChoiceProblem::NoFile:
            return ids::kNoFileLoaded;
        case ChoiceProblem::FlyingDate:
            return ids::kBadFlyingDate;
    }
    return 0;
}

ChoiceProblem checkChoices(const SelectionChoices& choices, const std::vector<TypeCount>& types,
                           CheckedChoices& out) {
    out = CheckedChoices{};
    const std::string takeOff = trimmed(choices.takeOff);
    if (!takeOff.empty()) {
        out.criteria.near = airspace::parseLatLon(takeOff);
        if (!out.criteria.near) return ChoiceProblem::TakeOff;
        const std::string radius = trimmed(choices.radius);
        if (!isBareNumber(radius)) return ChoiceProblem::Radius;
        const std::optional<double> km = airspace::parseDistanceKm(
            radius + radiusUnitNames()[static_cast<std::size_t>(choices.radiusUnit)]);
        if (!km) return ChoiceProblem::Radius;
        out.criteria.radiusKm = *km;
    }

    const std::string floor = trimmed(choices.floorBelow);
    if (!floor.empty()) {
        if (!isBareNumber(floor)) return ChoiceProblem::Floor;
        const std::string unit = floorUnitNames()[static_cast<std::size_t>(choices.floorUnit)];
        out.criteria.floorBelowFeet = airspace::parseAltitudeLimitFeet(
            choices.floorUnit == FloorUnit::FlightLevel ? unit + floor : floor + unit);
        if (!out.criteria.floorBelowFeet) return ChoiceProblem::Floor;
    }

    std::vector<std::string> ticked;
    for (const TypeCount& entry : types) {
        const std::string key = upperCase(entry.type);
        const auto& off = choices.untickedTypes;
        if (std::find(off.begin(), off.end(), key) == off.end()) ticked.push_back(entry.type);
    }
    if (ticked.empty() && !types.empty()) return ChoiceProblem::NoType;
    if (ticked.size() < types.size()) out.criteria.types = std::move(ticked);

    out.criteria.nameContains = trimmed(choices.nameContains);
    out.fit = choices.fitToInstrument;

    const std::string date = trimmed(choices.flyingDate);
    if (!date.empty()) {
        out.criteria.activeDuring = airspace::parseFlyingDates(date, airspace::currentUtcSeconds());
        if (!out.criteria.activeDuring) return ChoiceProblem::FlyingDate;
    }
    out.criteria.leaveOutNotamOnly = choices.leaveOutNotamOnly;

    // A bare number is metres; "0.1km" and "100m" read as the distances they are.
    const std::string tolerance = trimmed(choices.simplifyMetres);
    if (!tolerance.empty() && bareNumber(tolerance) != 0.0) {
        const std::optional<double> km =
            airspace::parseDistanceKm(isBareNumber(tolerance) ? tolerance + "m" : tolerance);
        if (!km) return ChoiceProblem::Tolerance;
        out.toleranceMetres = *km * 1000.0;
    }
    return ChoiceProblem::None;
}

SelectionOutcome selectAirspaces(const std::vector<airspace::AirspaceRecord>& records,
                                 const CheckedChoices& choices, std::size_t budget) {
    SelectionOutcome outcome;
    const std::vector<airspace::AirspaceMatch> matches =
        airspace::matchAirspaces(records, choices.criteria);
    outcome.matched = matches.size();

    std::vector<std::size_t> sizes(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) sizes[i] = records[i].encodedSize();
    std::map<std::size_t, airspace::AirspaceRecord> simplified;
    if (choices.toleranceMetres > 0.0) {
        for (const airspace::AirspaceMatch& match : matches) {
            airspace::AirspaceRecord copy =
                airspace::simplifiedAirspace(records[match.index], choices.toleranceMetres);
            // Only a copy that saves bytes is sent in the original's place.
            if (copy.encodedSize() > 0 && copy.encodedSize() < sizes[match.index]) {
                sizes[match.index] = copy.encodedSize();
                simplified.emplace(match.index, std::move(copy));
            }
        }
    }

    if (choices.fit) {
        const airspace::FitResult fit = airspace::fitToBudget(matches, sizes, budget);
        outcome.selected = fit.selected;
        for (const std::size_t index : fit.leftOut)
            outcome.leftOut.push_back({index, sizes[index]});
    } else {
        for (const airspace::AirspaceMatch& match : matches)
            outcome.selected.push_back(match.index);
    }

    for (const airspace::AirspaceMatch& match : matches) {
        const bool selected =
            std::binary_search(outcome.selected.begin(), outcome.selected.end(), match.index);
        if (match.floorUnknown && selected) outcome.floorUnknown.push_back(match.index);
        if (match.notamOnly && selected) outcome.notamOnly.push_back(match.index);
    }
    for (const std::size_t index : outcome.selected) {
        outcome.bytes += sizes[index];
        const auto found = simplified.find(index);
        if (found == simplified.end()) continue;
        outcome.bytesSaved += records[index].encodedSize() - sizes[index];
        outcome.replacements.emplace_back(index, std::move(found->second));
    }
    return outcome;
}

std::string outcomeText(const SelectionOutcome& outcome,
                        const std::vector<airspace::AirspaceRecord>& records) {
    if (outcome.problem != ChoiceProblem::None) return load(problemStringId(outcome.problem));
    std::string text = load(ids::kMatchedKept,
                            {number(outcome.matched), number(outcome.selected.size()),
                             number(outcome.bytes), number(airspace::blocksFor(outcome.bytes))});
    if (outcome.bytesSaved > 0) {
        text += "\n" + load(ids::kSimplifiedSaved, {number(outcome.bytesSaved)});
    }
    const auto name = [&](std::size_t index) {
        return index < records.size() ? toDisplayUtf8(records[index].name) : std::string();
    };
    if (!outcome.leftOut.empty()) {
        text += "\n" + load(ids::kLeftOutHeading);
        for (const LeftOutAirspace& left : outcome.leftOut) {
            text += "\n    " + load(ids::kAirspaceBytes, {name(left.index), number(left.bytes)});
        }
    }
    if (!outcome.floorUnknown.empty()) {
        text += "\n" + load(ids::kFloorUnknownHeading);
        for (const std::size_t index : outcome.floorUnknown) {
            text += "\n    " + name(index) + " (" + toDisplayUtf8(records[index].floor) + ")";
        }
    }
    if (!outcome.notamOnly.empty()) {
        text += "\n" + load(ids::kNotamOnlySelected, {number(outcome.notamOnly.size())});
        for (const std::size_t index : outcome.notamOnly) text += "\n    " + name(index);
    }
    return text;
}

std::string typeInWords(const std::string& type) {
    // One text holds the whole table, "R=Restricted area|Q=Danger area|...".
    const std::string table = seriallink::LoadString(ids::kTypeWords);
    const std::string wanted = upperCase(type) + "=";
    std::size_t start = 0;
    while (start < table.size()) {
        const std::size_t end = std::min(table.find('|', start), table.size());
        if (table.compare(start, wanted.size(), wanted) == 0) {
            return table.substr(start + wanted.size(), end - start - wanted.size());
        }
        start = end + 1;
    }
    return type;
}

std::string activationText(const airspace::Activation& activation) {
    const auto end = [](const std::optional<std::int64_t>& time) {
        return time ? airspace::utcShortText(*time) : std::string("...");
    };
    return end(activation.start) + " - " + end(activation.end);
}

std::string airspaceInfoText(const airspace::AirspaceRecord& record,
                             const std::vector<std::string>& files) {
    const std::string& type = airspace::airspaceType(record);
    const std::string words = typeInWords(type);
    std::string text =
        load(ids::kAirspaceInfo, {toDisplayUtf8(record.name),
                                  toDisplayUtf8(words == type ? type : words + " (" + type + ")"),
                                  toDisplayUtf8(record.airspaceClass), toDisplayUtf8(record.floor),
                                  toDisplayUtf8(record.ceiling)});
    // The facts a 2.0 file adds, each only where it is given: an old file's line is as it was.
    if (record.notamOnly) {
        text += ", " + load(ids::kActiveByNotamOnly);
    } else if (!record.activations.empty()) {
        std::string times;
        for (const airspace::Activation& a : record.activations) {
            times += (times.empty() ? "" : ", ") + activationText(a);
        }
        text += ", " + load(ids::kActiveDuring, {times + " UTC"});
    }
    const std::string radio = trimmed(record.frequency + " " + record.station);
    if (!radio.empty()) text += ", " + load(ids::kRadioInfo, {toDisplayUtf8(radio)});
    if (!record.transponder.empty()) {
        text += ", " + load(ids::kTransponderInfo, {toDisplayUtf8(record.transponder)});
    }
    const auto fileName = [&](std::size_t index) {
        const std::string& path = files[index];
        const std::size_t slash = path.find_last_of("/\\");
        return toDisplayUtf8(slash == std::string::npos ? path : path.substr(slash + 1));
    };
    if (files.size() > 1) {
        if (record.fileIndex > 0 && record.fileIndex < files.size()) {
            text += ", " + load(ids::kFromFile, {fileName(record.fileIndex)});
        }
        std::string also;
        for (const std::size_t index : record.alsoInFiles) {
            if (index < files.size()) also += (also.empty() ? "" : ", ") + fileName(index);
        }
        if (!also.empty()) text += ", " + load(ids::kAlsoInFiles, {also});
    }
    return text;
}

void SelectionPanelLogic::setFile(const std::vector<airspace::AirspaceRecord>& records) {
    types_ = countTypes(records);
}

bool SelectionPanelLogic::typeTicked(std::size_t box) const {
    if (box >= types_.size()) return false;
    const auto& off = choices_.untickedTypes;
    return std::find(off.begin(), off.end(), upperCase(types_[box].type)) == off.end();
}

void SelectionPanelLogic::setTypeTicked(std::size_t box, bool ticked) {
    if (box >= types_.size() || typeTicked(box) == ticked) return;
    auto& off = choices_.untickedTypes;
    const std::string key = upperCase(types_[box].type);
    if (ticked) {
        off.erase(std::remove(off.begin(), off.end(), key), off.end());
    } else {
        off.push_back(key);
    }
}

SelectionOutcome SelectionPanelLogic::OnApply(AirspaceSetupLogic& dialog, ProfileStore* profile) {
    SelectionOutcome outcome;
    CheckedChoices checked;
    outcome.problem = dialog.airspaces().empty() ? ChoiceProblem::NoFile
                                                 : checkChoices(choices_, types_, checked);
    if (outcome.problem != ChoiceProblem::None) {
        // Refused choices leave the list, its encodings and the totals as they are.
        lastText_ = outcomeText(outcome, dialog.airspaces());
        return outcome;
    }
    const std::vector<airspace::AirspaceRecord>& records = dialog.fileAirspaces();
    outcome = selectAirspaces(records, checked);
    appliedTakeOff_ = checked.criteria.near;
    appliedRadiusKm_ = checked.criteria.radiusKm;
    if (profile != nullptr) writeSelectionChoices(*profile, choices_);
    lastText_ = outcomeText(outcome, records);
    dialog.applySelection(outcome.selected, std::move(outcome.replacements));
    outcome.replacements.clear();
    return outcome;
}

MapRequest selectionMapRequest(const std::vector<airspace::AirspaceRecord>& records,
                               const std::vector<unsigned>& selectedLines, int caret,
                               bool caretSelected, const SelectionPanelLogic& panel) {
    MapRequest request;
    for (const unsigned line : selectedLines) {
        if (line < records.size()) request.airspaces.push_back(&records[line]);
    }
    if (caret >= 0 && static_cast<std::size_t>(caret) < records.size()) {
        const airspace::AirspaceRecord& clicked = records[static_cast<std::size_t>(caret)];
        if (caretSelected) request.highlighted = &clicked;
        request.caption = airspaceInfoText(clicked);
    }
    request.takeOff = panel.appliedTakeOff();
    request.radiusKm = panel.appliedRadiusKm();
    for (const airspace::AirspaceRecord* airspace : request.airspaces) {
        request.notamOnly.push_back(airspace->notamOnly);
    }
    return request;
}

}  // namespace zonesend
