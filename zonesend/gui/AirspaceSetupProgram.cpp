#include "zonesend/gui/AirspaceSetupProgram.h"

namespace zonesend {

int runAirspaceSetup(AirspaceSetupApp& app, ProfileStore& profile,
                     AirspaceSetupDialog::Options options) {
    app.readSettings(profile);
    options.selectionTools = {true, &profile};
    {
        AirspaceSetupDialog dialog(app, std::move(options));
        dialog.exec();
    }
    app.writeSettings(profile);
    return 0;
}

}  // namespace zonesend
