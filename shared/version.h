// The product version, in one place for both programs' VERSIONINFO resources,
// the code, the release layout and the installer (CMake reads VT_VERSION_STR).
#ifndef VANTREL_VERSION_H
#define VANTREL_VERSION_H

#define VT_VERSION_MAJOR 1
#define VT_VERSION_MINOR 1
#define VT_VERSION_PATCH 0
#define VT_VERSION_BUILD 0

#define VT_VERSION_STR      "1.1"
#define VT_VERSION_STR_FULL "1.1.0.0"
#define VT_VERSION_RC       VT_VERSION_MAJOR, VT_VERSION_MINOR, VT_VERSION_PATCH, VT_VERSION_BUILD

#define VT_PRODUCT_NAME "Vantrel"
#define VT_COMPANY_NAME "Orvane"
#define VT_COPYRIGHT    "Copyright (C) Orvane"

#endif  // VANTREL_VERSION_H
