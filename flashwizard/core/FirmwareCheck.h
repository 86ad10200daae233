// The check behind Next on the file page: a name is given, the file is there, it is Intel HEX.
#pragma once

#include <string>
#include <vector>

#include "seriallink/Messages.h"

namespace flashwizard {

// Shows 145 (no name), 146 (no such file) or 147 (not a valid HEX file) through owner and
// returns false; true when hexLines holds the file's records, the end record last.
[[nodiscard]] bool CheckFirmwareFile(const std::string& firmwarePath,
                                     std::vector<std::string>& hexLines,
                                     seriallink::MessageOwner* owner);

}  // namespace flashwizard
