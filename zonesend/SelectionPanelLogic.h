// The Select panel without its widgets: the pilot's choices (take-off point, radius, types,
// floor, name, fitting, simplification, Auto, cutting, preferred types), their checking, the
// selection they give over the loaded file, the text that reports it, and their place in the
// profile. The Qt and Win32 panels only show these choices and forward Apply.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "airspace/AirspaceRecord.h"
#include "airspace/FitPlan.h"
#include "airspace/Selection.h"
#include "zonesend/AirspaceSetupApp.h"
#include "zonesend/AirspaceSetupLogic.h"
#include "zonesend/MapLayout.h"

namespace zonesend {

class AirspaceSetupLogic;

enum class RadiusUnit { Kilometres, NauticalMiles };
enum class FloorUnit { FlightLevel, Feet, Metres };

// The panel's fields as the pilot typed them; empty texts ask for nothing.
struct SelectionChoices {
    std::string takeOff;  // "46.7N 7.6E", "46.7, 7.6", "46:42:00 N 007:36:00 E"
    std::string radius = "50";
    RadiusUnit radiusUnit = RadiusUnit::Kilometres;
    // Types the pilot unticked, in upper case. Kept as the unticked ones so that a type first
    // met in another file starts ticked.
    std::vector<std::string> untickedTypes;
    std::string floorBelow;  // a number in floorUnit
    FloorUnit floorUnit = FloorUnit::FlightLevel;
    std::string nameContains;
    bool fitToInstrument = true;
    std::string simplifyMetres = "0";  // 0 or empty: the outlines as the file draws them
    // "Auto": the smallest tolerance at which everything matched fits, up to the ceiling.
    bool autoSimplify = false;
    std::string autoCeilingMetres = "500";
    // "Only within the radius": airspaces reaching beyond it are cut to it and its margin.
    bool clipToRadius = false;
    // The types taken before the others when not everything fits, as one group: among them the
    // nearest goes first. Empty: nearest first, whatever the type.
    std::string preferredTypes = "CTR,R,P,D,TMA,CTA,TMZ,RMZ";
    // The day (UTC) or days of the flight, "2026-07-15" or "2026-07-15/2026-07-20"; empty for
    // any day. Today when the program starts; never kept in the profile.
    std::string flyingDate = todayText();
    bool leaveOutNotamOnly = false;

    // Today's date in UTC, as the flying date is written.
    [[nodiscard]] static std::string todayText();

    bool operator==(const SelectionChoices&) const = default;
};

// Profile values in section "Settings", beside "CommPort" and "Baudrate".
inline constexpr const char* kSelectTakeOffValue = "SelectTakeOff";
inline constexpr const char* kSelectRadiusValue = "SelectRadius";
inline constexpr const char* kSelectRadiusUnitValue = "SelectRadiusUnit";
inline constexpr const char* kSelectUntickedTypesValue = "SelectUntickedTypes";
inline constexpr const char* kSelectFloorValue = "SelectFloorBelow";
inline constexpr const char* kSelectFloorUnitValue = "SelectFloorUnit";
inline constexpr const char* kSelectNameValue = "SelectName";
inline constexpr const char* kSelectFitValue = "SelectFit";
inline constexpr const char* kSelectSimplifyValue = "SelectSimplify";
inline constexpr const char* kSelectAutoSimplifyValue = "SelectAutoSimplify";
inline constexpr const char* kSelectAutoCeilingValue = "SelectAutoCeiling";
inline constexpr const char* kSelectClipValue = "SelectClip";
inline constexpr const char* kSelectPreferredTypesValue = "SelectPreferredTypes";
inline constexpr const char* kSelectNoNotamOnlyValue = "SelectNoNotamOnly";

[[nodiscard]] SelectionChoices readSelectionChoices(const ProfileStore& profile);
void writeSelectionChoices(ProfileStore& profile, const SelectionChoices& choices);

// The texts of the unit choices, in the order of their enums (the same in both languages).
[[nodiscard]] const std::vector<std::string>& radiusUnitNames();
[[nodiscard]] const std::vector<std::string>& floorUnitNames();

// One type check box: the type as the file first writes it and how many airspaces have it.
struct TypeCount {
    std::string type;
    std::size_t count = 0;
};

// The types of the airspaces that can be selected (size above 0), ordered by name, types that
// differ only in case counted together.
[[nodiscard]] std::vector<TypeCount> countTypes(
    const std::vector<airspace::AirspaceRecord>& records);

enum class ChoiceProblem {
    None,
    TakeOff,
    Radius,
    Floor,
    Tolerance,
    NoType,
    NoFile,
    Ceiling,
    FlyingDate
};

// The string id that tells the pilot what is wrong; 0 for None.
[[nodiscard]] unsigned problemStringId(ChoiceProblem problem);

// The choices in the selection's own terms.
struct CheckedChoices {
    airspace::SelectionCriteria criteria;
    bool fit = true;
    double toleranceMetres = 0.0;
    bool autoTolerance = false;
    double autoCeilingMetres = 500.0;
    bool clip = false;
    std::vector<std::string> preferredTypes = airspace::defaultPreferredTypes();
    // The list's marks: lines taken before any other, and lines never taken.
    std::vector<std::size_t> pinned;
    std::vector<std::size_t> excluded;
};

// Checks the choices against the file's types: which ones are ticked decides the type filter
// (all ticked: any type).
[[nodiscard]] ChoiceProblem checkChoices(const SelectionChoices& choices,
                                         const std::vector<TypeCount>& types, CheckedChoices& out);

struct LeftOutAirspace {
    std::size_t index = 0;
    std::size_t bytes = 0;
};

struct SelectionOutcome {
    ChoiceProblem problem = ChoiceProblem::None;
    std::size_t matched = 0;
    std::vector<std::size_t> selected;      // list indexes, ascending
    std::vector<LeftOutAirspace> leftOut;   // matched, did not fit; ascending
    std::vector<std::size_t> floorUnknown;  // selected although their floor is not understood
    std::vector<std::size_t> notamOnly;     // selected, and active only when a NOTAM says so
    std::size_t bytes = 0;                  // of the selection, as it will be sent
    std::size_t bytesSaved = 0;             // by simplified outlines
    // Selected lines sent with a simplified outline instead of the file's own.
    std::vector<std::pair<std::size_t, airspace::AirspaceRecord>> replacements;
    // Every selected line whose outlines differ from the file's own encoding: simplified, cut
    // into pieces, or shared with an identical one.
    std::map<std::size_t, SentLine> sentLines;
    // The fit in full, for the report: shared, simplified, cut, kept, left out, never included.
    airspace::FitPlan plan;
    bool autoTolerance = false;  // the plan's tolerance is the one Auto chose
};

// Matches, simplifies and fits the file's records. `budget` is the instrument's store.
[[nodiscard]] SelectionOutcome selectAirspaces(const std::vector<airspace::AirspaceRecord>& records,
                                               const CheckedChoices& choices,
                                               std::size_t budget = airspace::kDeviceCapacity);

// What the panel says after Apply, one line per fact, in the installed language.
[[nodiscard]] std::string outcomeText(const SelectionOutcome& outcome,
                                      const std::vector<airspace::AirspaceRecord>& records);

// The capacity bar beside the totals: filled up to the store's size at most, and in the warning
// colour once the bytes no longer fit; otherwise in the toolkit's own highlight colour.
struct Rgb {
    std::uint8_t r, g, b;
};
inline constexpr Rgb kCapacityWarningColour{0xD0, 0x30, 0x20};
struct CapacityBarLook {
    std::size_t filled = 0;
    bool overCapacity = false;
};
[[nodiscard]] CapacityBarLook capacityBarLook(std::size_t used,
                                              std::size_t capacity = airspace::kDeviceCapacity);

// The full name and type of one airspace, for the line under the list; then, where the file has
// them, its activation times, radio and transponder code, and (of several loaded `files`) the
// file it came from after the first and the later files that hold it too.
[[nodiscard]] std::string airspaceInfoText(const airspace::AirspaceRecord& record,
                                           const std::vector<std::string>& files = {});

// A type's short form in words, in the installed language ("GSEC": "Gliding sector"); the type
// itself where there are none.
[[nodiscard]] std::string typeInWords(const std::string& type);

// "2026-05-01 00:01 - 2026-09-30", with "..." for an open start or end.
[[nodiscard]] std::string activationText(const airspace::Activation& activation);

class SelectionPanelLogic {
public:
    explicit SelectionPanelLogic(SelectionChoices choices = {}) : choices_(std::move(choices)) {}

    [[nodiscard]] SelectionChoices& choices() { return choices_; }
    [[nodiscard]] const SelectionChoices& choices() const { return choices_; }

    // The check boxes for the file now in the dialog.
    void setFile(const std::vector<airspace::AirspaceRecord>& records);
    // Another file is in the dialog: the last Apply, its take-off and its report were about the
    // previous one. The pilot's choices stay, ready for the new file.
    void forgetFile();
    [[nodiscard]] const std::vector<TypeCount>& types() const { return types_; }
    [[nodiscard]] bool typeTicked(std::size_t box) const;
    void setTypeTicked(std::size_t box, bool ticked);

    // Checks the choices, selects over the dialog's file and sets its list; the choices are
    // remembered in `profile` when one is given. The outcome's problem says when nothing was
    // changed.
    SelectionOutcome OnApply(AirspaceSetupLogic& dialog, ProfileStore* profile);
    [[nodiscard]] const std::string& lastText() const { return lastText_; }
    // The take-off point and radius of the last applied choices, for the map.
    [[nodiscard]] const std::optional<airspace::LatLon>& appliedTakeOff() const {
        return appliedTakeOff_;
    }
    [[nodiscard]] double appliedRadiusKm() const { return appliedRadiusKm_; }

private:
    SelectionChoices choices_;
    std::vector<TypeCount> types_;
    std::string lastText_;
    std::optional<airspace::LatLon> appliedTakeOff_;
    double appliedRadiusKm_ = 0.0;
};

// What the map shows: the selected lines' airspaces (`records` are the file's own), each with the
// outlines `dialog` sends for it over the file's own where a fit changed them, cut edges marked;
// the clicked one highlighted when it is selected and named in the caption; and the take-off
// point, radius and margin of the last Apply.
[[nodiscard]] MapRequest selectionMapRequest(const std::vector<airspace::AirspaceRecord>& records,
                                             const std::vector<unsigned>& selectedLines, int caret,
                                             bool caretSelected, const SelectionPanelLogic& panel,
                                             const AirspaceSetupLogic* dialog = nullptr);

}  // namespace zonesend
