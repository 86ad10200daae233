#include "seriallink/Messages.h"
#include "shell/qt/QtProfileStore.h"
#include "tools/quillon/profile.h"
#include "zonesend/AirspaceSetupApp.h"
#include "zonesend/Strings.h"

namespace quillon {

std::unique_ptr<shell::ProfileStore> openZonesendProfile() {
    return std::make_unique<shell::QtProfileStore>(
        seriallink::LoadString(zonesend::ids::kCompanyName), zonesend::kProgramName);
}

}  // namespace quillon
