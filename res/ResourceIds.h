// Resource identifiers, shared by the resource script and the code.
#pragma once

#define IDI_TOL 1
#define IDI_RUN 10
#define IDI_ABOUT 11
#define IDI_BROWSE 12
#define IDI_LARGEICONS 20
#define IDI_SMALLICONS 21
#define IDI_LIST 22
#define IDI_DETAILS 23
#define IDI_ZONE16 30
#define IDI_ZONE32 31
// The badge, one bitmap per step of dots per inch.
#define IDB_BADGE_96 40
#define IDB_BADGE_144 42
#define IDB_BADGE_192 43

#define IDS_MAILTO_URL 102
