// zonesend's profile store as `quillon send` reads it: the same place the program remembers its
// settings on this platform.
#pragma once

#include <memory>

#include "shell/ProfileStore.h"

namespace quillon {

[[nodiscard]] std::unique_ptr<shell::ProfileStore> openZonesendProfile();

}  // namespace quillon
