#include "seriallink/Messages.h"
#include "shell/win32/RegistryProfileStore.h"
#include "tools/quillon/profile.h"
#include "zonesend/AirspaceSetupApp.h"
#include "zonesend/Strings.h"

namespace quillon {

std::unique_ptr<shell::ProfileStore> openZonesendProfile() {
    return std::make_unique<shell::win32::RegistryProfileStore>(
        seriallink::LoadString(zonesend::ids::kCompanyName), zonesend::kProgramName);
}

}  // namespace quillon
