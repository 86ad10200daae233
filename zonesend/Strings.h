// zonesend's string table, ids 101 to 163, 180 and 200 on, in English and German, and its
// French texts (StringsFrench.cpp).
#pragma once

#include <span>

#include "seriallink/Messages.h"

namespace zonesend {

namespace ids {
inline constexpr unsigned kAboutMenuItem = 101;
inline constexpr unsigned kSelectFileTitle = 102;
inline constexpr unsigned kNoFileSelected = 103;
inline constexpr unsigned kFileReadError = 104;
inline constexpr unsigned kNoResponse = 105;
inline constexpr unsigned kCannotOpenPort = 106;
inline constexpr unsigned kNoDataSelected = 107;
inline constexpr unsigned kNotEnoughSpace = 108;
inline constexpr unsigned kBytesRequired = 109;
inline constexpr unsigned kBytesFree = 110;
inline constexpr unsigned kTooMuchData = 111;
inline constexpr unsigned kDownloadSucceeded = 112;
inline constexpr unsigned kNoComPort = 113;
inline constexpr unsigned kSelectionError = 114;
inline constexpr unsigned kCompanyName = 115;
inline constexpr unsigned kHeaderClass = 116;
inline constexpr unsigned kHeaderName = 117;
inline constexpr unsigned kHeaderFloor = 118;
inline constexpr unsigned kHeaderCeiling = 119;
inline constexpr unsigned kHeaderSize = 120;
inline constexpr unsigned kWindowTitle = 121;
inline constexpr unsigned kFileLabel = 122;
inline constexpr unsigned kBlocksLabel = 123;
inline constexpr unsigned kBytesLabel = 124;
inline constexpr unsigned kPortLabel = 125;
inline constexpr unsigned kLoadFileButton = 126;
inline constexpr unsigned kSelectAllButton = 127;
inline constexpr unsigned kSelectNoneButton = 128;
inline constexpr unsigned kSendButton = 129;
inline constexpr unsigned kExitButton = 130;
inline constexpr unsigned kAboutTitle = 131;
inline constexpr unsigned kAboutVersion = 132;
inline constexpr unsigned kAboutText = 133;
inline constexpr unsigned kAboutOk = 134;
inline constexpr unsigned kErrorCaption = 135;
inline constexpr unsigned kInfoCaption = 136;
inline constexpr unsigned kNewPortQuestion = 137;
inline constexpr unsigned kNewPortsNotice = 138;
// The selection panel, the capacity bar and the map.
inline constexpr unsigned kSelectButton = 139;
inline constexpr unsigned kSelectTitle = 140;
inline constexpr unsigned kTakeOffLabel = 141;
inline constexpr unsigned kRadiusLabel = 142;
inline constexpr unsigned kTypesLabel = 143;
inline constexpr unsigned kFloorBelowLabel = 144;
inline constexpr unsigned kNameContainsLabel = 145;
inline constexpr unsigned kFitCheck = 146;
inline constexpr unsigned kSimplifyLabel = 147;
inline constexpr unsigned kApplyButton = 148;
inline constexpr unsigned kCloseButton = 149;
inline constexpr unsigned kMapToggle = 150;
inline constexpr unsigned kMatchedKept = 151;
inline constexpr unsigned kLeftOutHeading = 152;
inline constexpr unsigned kFloorUnknownHeading = 153;
inline constexpr unsigned kBadTakeOff = 154;
inline constexpr unsigned kBadRadius = 155;
inline constexpr unsigned kBadFloor = 156;
inline constexpr unsigned kBadTolerance = 157;
inline constexpr unsigned kNoTypeChosen = 158;
inline constexpr unsigned kCapacityText = 159;
inline constexpr unsigned kAirspaceInfo = 160;
inline constexpr unsigned kAirspaceBytes = 161;
inline constexpr unsigned kSimplifiedSaved = 162;
inline constexpr unsigned kNoFileLoaded = 163;
// Texts the program gained later, in a range of their own.
inline constexpr unsigned kNoOutlineData = 180;
// The fit's choices in the Select panel, the marks and the view of the list, and the report of
// what the fit did.
inline constexpr unsigned kSelectedOnly = 200;
inline constexpr unsigned kAlwaysInclude = 201;
inline constexpr unsigned kNeverInclude = 202;
inline constexpr unsigned kAutoSimplify = 203;
inline constexpr unsigned kAutoCeilingLabel = 204;
inline constexpr unsigned kClipCheck = 205;
inline constexpr unsigned kPreferredTypesLabel = 206;
inline constexpr unsigned kSharedHeading = 207;
inline constexpr unsigned kSharesLine = 208;
inline constexpr unsigned kSimplifiedAt = 209;
inline constexpr unsigned kAutoChose = 210;
inline constexpr unsigned kCutHeading = 211;
inline constexpr unsigned kKeptOriginalHeading = 212;
inline constexpr unsigned kNeverIncludedHeading = 213;
inline constexpr unsigned kAlwaysIncludedCount = 214;
inline constexpr unsigned kBadCeiling = 215;
inline constexpr unsigned kAirspacePieces = 216;
// The map's framing and zoom.
inline constexpr unsigned kWholeSelection = 290;
inline constexpr unsigned kZoomIn = 291;
inline constexpr unsigned kZoomOut = 292;
inline constexpr unsigned kMapHint = 293;
// Mends of what a pilot meets in the first hour.
inline constexpr unsigned kNoAirspaceInFile = 270;
// Several files, OpenAir 2.0 details and the flying date.
inline constexpr unsigned kAddFileButton = 240;
inline constexpr unsigned kTypeWords = 241;  // "R=Restricted area|Q=Danger area|..."
inline constexpr unsigned kActiveDuring = 242;
inline constexpr unsigned kActiveByNotamOnly = 243;
inline constexpr unsigned kRadioInfo = 244;
inline constexpr unsigned kTransponderInfo = 245;
inline constexpr unsigned kFromFile = 246;
inline constexpr unsigned kAlsoInFiles = 247;
inline constexpr unsigned kFlyingDateLabel = 248;
inline constexpr unsigned kLeaveOutNotamOnly = 249;
inline constexpr unsigned kBadFlyingDate = 250;
inline constexpr unsigned kNotamOnlySelected = 251;
// The language choice in the About box.
inline constexpr unsigned kLanguageLabel = 300;
inline constexpr unsigned kLanguageNote = 301;
}  // namespace ids

// The version the About box shows after string 132.
inline constexpr const char* kVersionSuffix = " 0.9";

[[nodiscard]] std::span<const seriallink::StringEntry> stringEntries();
// The French texts; an id without one is shown in English.
[[nodiscard]] std::span<const seriallink::TranslatedEntry> frenchEntries();

// The table in the given language, with string 135 as the error caption.
[[nodiscard]] seriallink::StringTable makeStringTable(seriallink::Language language);

}  // namespace zonesend
