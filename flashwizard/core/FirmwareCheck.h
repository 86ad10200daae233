// The check behind Next on the file page: a name is given, the file is there, it is Intel HEX.
#pragma once

#include <string>
#include <vector>

#include "seriallink/HexFile.h"
#include "seriallink/Messages.h"

namespace flashwizard {

// Shows 145 (no name), 146 (no such file, or a folder) or 147 (not a valid HEX file, not a
// regular file, or far too large) through owner and returns false; true when hexLines holds the
// file's records, the end record last. verdict, when given, gets the HEX reader's finding.
[[nodiscard]] bool CheckFirmwareFile(const std::string& firmwarePath,
                                     std::vector<std::string>& hexLines,
                                     seriallink::MessageOwner* owner,
                                     seriallink::HexVerdict* verdict = nullptr);

}  // namespace flashwizard
