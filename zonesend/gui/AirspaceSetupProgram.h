// The program around the main dialog: the language, the string table, the profile, and one
// modal run of the dialog.
#pragma once

#include "zonesend/AirspaceSetupApp.h"
#include "zonesend/gui/AirspaceSetupDialog.h"

namespace zonesend {

// Start-up reads the profile, the dialog runs modally with its selection strip, and a normal end
// writes the profile back; the Select panel writes its choices at each Apply.
// The string table must be installed before.
int runAirspaceSetup(AirspaceSetupApp& app, ProfileStore& profile,
                     AirspaceSetupDialog::Options options = {});

}  // namespace zonesend
