#pragma once
// The names Update.exe shares with the assistant, the installer and the
// programs that drive it from outside (its wizard's title, its mutex) are in
// shared/ProgramNames.h; this header is where the updater's own would go.
#include "shared/ProgramNames.h"
#include "shared/version.h"  // the product's name and version
