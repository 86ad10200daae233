// Resource ids of zonesend's Windows resources, shared by the resource script and the code. The
// control ids are those of zonesend/DialogTemplate.h.
#pragma once

#define IDD_ZONESEND_ABOUT 100
#define IDD_ZONESEND_MAIN 102
#define IDI_ZONESEND 128
