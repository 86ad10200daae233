#include "seriallink/Messages.h"
#include "tools/quillon/profile.h"
#include "zonesend/Strings.h"
#include "zonesend/gui/QtProfileStore.h"

namespace quillon {

std::unique_ptr<zonesend::ProfileStore> openZonesendProfile() {
    return std::make_unique<zonesend::QtProfileStore>(
        seriallink::LoadString(zonesend::ids::kCompanyName), zonesend::kProgramName);
}

}  // namespace quillon
