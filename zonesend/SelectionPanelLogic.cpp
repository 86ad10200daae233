#include "zonesend/SelectionPanelLogic.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>

#include "airspace/Clip.h"
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
    c.autoSimplify = profile.readInteger(kSettingsSection, kSelectAutoSimplifyValue, 0) != 0;
    c.autoCeilingMetres = text(kSelectAutoCeilingValue, c.autoCeilingMetres);
    c.clipToRadius = profile.readInteger(kSettingsSection, kSelectClipValue, 0) != 0;
    c.preferredTypes = text(kSelectPreferredTypesValue, c.preferredTypes);
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
    profile.writeInteger(kSettingsSection, kSelectAutoSimplifyValue, c.autoSimplify ? 1 : 0);
    profile.writeText(kSettingsSection, kSelectAutoCeilingValue, c.autoCeilingMetres);
    profile.writeInteger(kSettingsSection, kSelectClipValue, c.clipToRadius ? 1 : 0);
    profile.writeText(kSettingsSection, kSelectPreferredTypesValue, c.preferredTypes);
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
        case ChoiceProblem::Ceiling:
            return ids::kBadCeiling;
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
    out.autoTolerance = choices.autoSimplify;
    if (out.autoTolerance) {
        const std::string ceiling = trimmed(choices.autoCeilingMetres);
        const std::optional<double> km =
            airspace::parseDistanceKm(isBareNumber(ceiling) ? ceiling + "m" : ceiling);
        if (!km) return ChoiceProblem::Ceiling;
        out.autoCeilingMetres = *km * 1000.0;
    }
    out.clip = choices.clipToRadius;
    out.preferredTypes = split(choices.preferredTypes);
    return ChoiceProblem::None;
}

SelectionOutcome selectAirspaces(const std::vector<airspace::AirspaceRecord>& records,
                                 const CheckedChoices& choices, std::size_t budget) {
    airspace::FitOptions options;
    options.criteria = choices.criteria;
    options.fit = choices.fit;
    options.budget = budget;
    options.toleranceMetres = choices.toleranceMetres;
    options.autoTolerance = choices.autoTolerance;
    options.autoCeilingMetres = choices.autoCeilingMetres;
    options.clip = choices.clip;
    options.pinned = choices.pinned;
    options.excluded = choices.excluded;
    options.preferredTypes = choices.preferredTypes;

    SelectionOutcome outcome;
    outcome.plan = airspace::planFit(records, options);
    outcome.autoTolerance = choices.autoTolerance;
    const airspace::FitPlan& plan = outcome.plan;
    outcome.matched = plan.matched;
    outcome.selected = plan.selected;
    outcome.bytes = plan.bytes;
    for (const std::size_t index : plan.leftOut) {
        const airspace::PlannedAirspace* planned = plan.find(index);
        outcome.leftOut.push_back(
            {index, planned != nullptr ? planned->outlineBytes : records[index].encodedSize()});
    }

    // Each selected line's outlines, as the plan sends them (a shared one under its first line).
    std::map<std::size_t, std::vector<const airspace::SentOutline*>> outlinesOf;
    for (const airspace::SentOutline& outline : plan.outlines) {
        outlinesOf[outline.index].push_back(&outline);
    }
    for (const airspace::PlannedAirspace& planned : plan.airspaces) {
        if (!planned.selected) continue;
        if (planned.floorUnknown) outcome.floorUnknown.push_back(planned.index);
        if (records[planned.index].notamOnly) outcome.notamOnly.push_back(planned.index);
        if (planned.outlineBytes < planned.plainBytes) {
            outcome.bytesSaved += planned.plainBytes - planned.outlineBytes;
        }
        const auto& outlines = outlinesOf[planned.index];
        const airspace::AirspaceRecord& own = records[planned.index];
        const bool asInFile = !planned.sharedWith && outlines.size() == 1 &&
                              std::equal(own.storedBytes().begin(), own.storedBytes().end(),
                                         outlines[0]->record.storedBytes().begin(),
                                         outlines[0]->record.storedBytes().end());
        // A line the plan sends as the file has it stays the file's own.
        if (asInFile) continue;
        SentLine line;
        line.sharedWith = planned.sharedWith;
        for (const airspace::SentOutline* outline : outlines) {
            line.outlines.push_back(outline->record);
            line.cutEdges.push_back(outline->cutEdges);
        }
        if (!line.sharedWith && line.outlines.size() == 1) {
            outcome.replacements.emplace_back(planned.index, line.outlines.front());
        }
        outcome.sentLines.emplace(planned.index, std::move(line));
    }
    return outcome;
}

std::string outcomeText(const SelectionOutcome& outcome,
                        const std::vector<airspace::AirspaceRecord>& records) {
    if (outcome.problem != ChoiceProblem::None) return load(problemStringId(outcome.problem));
    std::string text = load(ids::kMatchedKept,
                            {number(outcome.matched), number(outcome.selected.size()),
                             number(outcome.bytes), number(airspace::blocksFor(outcome.bytes))});
    const auto name = [&](std::size_t index) {
        return index < records.size() ? toDisplayUtf8(records[index].name) : std::string();
    };
    const auto list = [&](unsigned heading, const std::vector<std::string>& lines) {
        if (lines.empty()) return;
        text += "\n" + load(heading);
        for (const std::string& line : lines) text += "\n    " + line;
    };

    // What the fit did, one fact after the other.
    std::size_t pinned = 0;
    std::size_t simplified = 0;
    std::vector<std::string> shared, cut, kept, never;
    for (const airspace::PlannedAirspace& planned : outcome.plan.airspaces) {
        if (planned.excluded) never.push_back(name(planned.index));
        if (!planned.selected) continue;
        if (planned.pinned) ++pinned;
        if (planned.toleranceMetres > 0.0) ++simplified;
        if (planned.sharedWith) {
            // Lines are counted from 1, as the pilot counts them in the list.
            shared.push_back(load(
                ids::kSharesLine,
                {name(planned.index), number(*planned.sharedWith + 1), name(*planned.sharedWith)}));
        }
        if (planned.clipped) {
            cut.push_back(
                planned.pieces > 1
                    ? load(ids::kAirspacePieces,
                           {name(planned.index), number(planned.pieces), number(planned.sentBytes)})
                    : load(ids::kAirspaceBytes, {name(planned.index), number(planned.sentBytes)}));
        }
        if (!planned.keptOriginal.empty()) {
            kept.push_back(name(planned.index) + ": " + planned.keptOriginal);
        }
    }
    if (pinned > 0) text += "\n" + load(ids::kAlwaysIncludedCount, {number(pinned)});
    const auto metres = static_cast<long long>(outcome.plan.toleranceMetres + 0.5);
    if (outcome.autoTolerance) text += "\n" + load(ids::kAutoChose, {metres});
    if (simplified > 0) text += "\n" + load(ids::kSimplifiedAt, {number(simplified), metres});
    if (outcome.bytesSaved > 0) {
        text += "\n" + load(ids::kSimplifiedSaved, {number(outcome.bytesSaved)});
    }
    list(ids::kSharedHeading, shared);
    list(ids::kCutHeading, cut);
    list(ids::kKeptOriginalHeading, kept);
    if (!outcome.leftOut.empty()) {
        text += "\n" + load(ids::kLeftOutHeading);
        for (const LeftOutAirspace& left : outcome.leftOut) {
            text += "\n    " + load(ids::kAirspaceBytes, {name(left.index), number(left.bytes)});
        }
    }
    list(ids::kNeverIncludedHeading, never);
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

void SelectionPanelLogic::forgetFile() {
    types_.clear();
    lastText_.clear();
    appliedTakeOff_.reset();
    appliedRadiusKm_ = 0.0;
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
    checked.pinned = dialog.linesMarked(LineMark::AlwaysInclude);
    checked.excluded = dialog.linesMarked(LineMark::NeverInclude);
    outcome = selectAirspaces(records, checked);
    appliedTakeOff_ = checked.criteria.near;
    appliedRadiusKm_ = checked.criteria.radiusKm;
    if (profile != nullptr) writeSelectionChoices(*profile, choices_);
    lastText_ = outcomeText(outcome, records);
    dialog.applySentLines(outcome.selected, std::move(outcome.sentLines));
    outcome.sentLines.clear();
    return outcome;
}

MapRequest selectionMapRequest(const std::vector<airspace::AirspaceRecord>& records,
                               const std::vector<unsigned>& selectedLines, int caret,
                               bool caretSelected, const SelectionPanelLogic& panel,
                               const AirspaceSetupLogic* dialog) {
    MapRequest request;
    for (const unsigned line : selectedLines) {
        if (line >= records.size()) continue;
        MapAirspace airspace(&records[line]);
        if (dialog != nullptr && dialog->replaced(line)) {
            airspace.original = &records[line];
            // A line that shares a selected line's identical outline shows that outline too.
            for (const airspace::AirspaceRecord* outline : dialog->sentOutlines(line, {})) {
                airspace.sent.push_back({outline, dialog->cutEdgesOf(outline)});
            }
        }
        request.airspaces.push_back(std::move(airspace));
    }
    if (caret >= 0 && static_cast<std::size_t>(caret) < records.size()) {
        const airspace::AirspaceRecord& clicked = records[static_cast<std::size_t>(caret)];
        if (caretSelected) request.highlighted = &clicked;
        request.caption = airspaceInfoText(clicked);
    }
    request.takeOff = panel.appliedTakeOff();
    request.radiusKm = panel.appliedRadiusKm();
    // The margin up to which outlines are cut, shown whether or not they are.
    if (request.takeOff && request.radiusKm > 0) {
        request.marginKm = airspace::defaultClipMarginKm(request.radiusKm);
    }
    for (const MapAirspace& airspace : request.airspaces) {
        request.notamOnly.push_back(airspace.record->notamOnly);
    }
    return request;
}

CapacityBarLook capacityBarLook(std::size_t used, std::size_t capacity) {
    return {std::min(used, capacity), used > capacity};
}

}  // namespace zonesend
