// One set of airspace types: the short forms of OpenAir 2.0 ("GSEC", "ASRA", "R") and the long
// spellings openAIP's exports wrote in "AY" before ("GLIDING_SECTOR", "RESTRICTED"), or in "AC"
// ("UNCLASSIFIED"). A type is matched, counted and shown by its short form.
#pragma once

#include <string_view>

namespace airspace {

// The short form of a type as written, in upper case; the text itself when it is no type this
// table knows (ignoring case), so an unknown type stays as the file writes it.
[[nodiscard]] std::string_view shortTypeName(std::string_view written);

// True for a type of the 2.0 list or one of openAIP's long spellings, ignoring case.
[[nodiscard]] bool knownTypeName(std::string_view written);

// True for an ICAO class as a 2.0 file writes it in "AC": A to G, or UNC.
[[nodiscard]] bool isAirspaceClassName(std::string_view written);

}  // namespace airspace
