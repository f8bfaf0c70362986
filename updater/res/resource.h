// Resource identifiers of Update.exe, shared by Update.rc and the code.
#ifndef VANTREL_UPDATE_RESOURCE_H
#define VANTREL_UPDATE_RESOURCE_H

#include "shared/ProgramNames.h"  // the wizard's title

#define IDD_UPDATE              102
#define IDS_SOCKETS_INIT_FAILED 103
#define IDI_MAIN                128
#define IDB_WIZARD              131

#define IDC_PICTURE        1000
#define IDC_PROGRESS       1002
#define IDC_COMPONENT_LIST 1011
#define IDC_STATUS         1012

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#endif  // VANTREL_UPDATE_RESOURCE_H
