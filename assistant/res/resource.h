// Resource identifiers of Vantrel.exe, shared by Vantrel.rc and the code.
#ifndef VANTREL_RESOURCE_H
#define VANTREL_RESOURCE_H

#include "shared/ProgramNames.h"  // the exit command other programs send

// Dialog templates
#define IDD_ABOUT            100
#define IDD_SHUTDOWN         102
#define IDD_REMINDER_MANAGER 135
#define IDD_VOLUME_POPUP     136
#define IDD_REMINDER_EDIT    137
#define IDD_LAST_MINUTE      138
#define IDD_REMINDER_ALERT   139
#define IDD_SETTINGS         300

// Icons, menus, bitmaps
#define IDI_MAIN        128
#define IDR_TRAYMENU    129
#define IDB_LISTROW     142  // 100 %; the same at 125, 150 and 200 %:
#define IDB_LISTROW_125 150
#define IDB_LISTROW_150 151
#define IDB_LISTROW_200 152
#define IDR_DAYMENU     145
#define IDR_TIMEMENU    147
#define IDR_SNOOZEMENU  149

// Controls of the main window (countdown form)
#define IDC_MINUTES     1000
#define IDC_STATUS      1001
#define IDC_SPIN        1004
#define IDC_SETTIME     1007
#define IDC_LINK        1010  // also the link of the about box
#define IDC_END_ACTION  3001  // what the countdown does at its end
#define IDC_AT_CLOCK    3002  // "在": a time of day instead of minutes
#define IDC_CLOCK       3003  // the time of day
#define IDC_BY_MINUTES  3004  // "新关机时间：": the minutes (one choice with 在 and 当)
#define IDC_WHEN        3005  // "当": a condition
#define IDC_JOB_KIND    3006  // the conditions
#define IDC_JOB_PROGRAM 3007  // "程序退出后": the program, typed or chosen
#define IDC_JOB_MINUTES 3008  // the other conditions: how many minutes
#define IDC_JOB_UNIT    3009  // "分钟" after them

// Settings window. The four hotkey rows (left, right, stereo, mute) have
// consecutive ids in each column: the hotkey, its "清除", its note.
#define IDC_HOTKEY_LEFT         3010
#define IDC_HOTKEY_RIGHT        3011
#define IDC_HOTKEY_STEREO       3012
#define IDC_HOTKEY_MUTE         3013
#define IDC_CLEAR_LEFT          3020
#define IDC_CLEAR_RIGHT         3021
#define IDC_CLEAR_STEREO        3022
#define IDC_CLEAR_MUTE          3023
#define IDC_NOTE_LEFT           3030
#define IDC_NOTE_RIGHT          3031
#define IDC_NOTE_STEREO         3032
#define IDC_NOTE_MUTE           3033
#define IDC_RESTORE_DEFAULTS    3040
#define IDC_SETTINGS_AUTORUN    3041
#define IDC_SETTINGS_END_ACTION 3042
#define IDC_APPLY               3043
#define IDC_NETWORK_KBPS        3044  // "网络空闲：低于 N KB/s"
#define IDC_CPU_PERCENT         3045  // "CPU 空闲：低于 N %"

// Volume popup
#define IDC_SLIDER 1012
#define IDC_MUTE   1014

// The countdown's last minute
#define IDC_LM_SECONDS  3100
#define IDC_LM_NOTE     3101
#define IDC_LM_REASON   3102
#define IDC_LM_POSTPONE 3103
#define IDC_LM_CANCEL   3104
#define IDC_LM_ACT_NOW  3105

// Reminder manager
#define IDC_REMINDER_LIST   1016
#define IDC_NEW_REMINDER    1028
#define IDC_EDIT_REMINDER   1029
#define IDC_DELETE_REMINDER 1041

// Reminder editor
#define IDC_CONTENT        1023
#define IDC_TITLE          1025
#define IDC_BROWSE_COMMAND 1031
#define IDC_DATE           1032
#define IDC_TIME           1034
#define IDC_BROWSE_MUSIC   1037
#define IDC_STATE          1042
#define IDC_COMMAND        1043
#define IDC_MUSIC          1044
#define IDC_DAY_BUTTON     1046
#define IDC_TIME_BUTTON    1047
#define IDC_LUNAR_DATE     1048  // the picked date's lunar date, with a lunar rule
#define IDC_POWER_ACTION   1049  // "到时执行": what the reminder does to the computer

// Reminder alert (the snooze button shares its id with the music "..."
// button of the editor; the two never live in the same dialog)
#define IDC_ALERT_CONTENT 1040
#define IDC_SNOOZE        1037

// Tray menu commands
#define ID_TRAY_STATUS     32771
#define ID_TRAY_STARTSTOP  32772
#define ID_TRAY_SHOW       32773
#define ID_TRAY_ABOUT      32774
#define ID_TRAY_EXIT       VT_MAIN_EXIT_COMMAND
#define ID_TRAY_AUTORUN    32776
#define ID_TRAY_MONITOROFF 32780
#define ID_TRAY_LEFT       32781
#define ID_TRAY_RIGHT      32782
#define ID_TRAY_STEREO     32783
#define ID_TRAY_MUTE       32784
#define ID_TRAY_REMINDERS  32786
#define ID_TRAY_UPDATE     32787
#define ID_TRAY_SHUTDOWN   32788
#define ID_TRAY_REBOOT     32789
#define ID_TRAY_LOGOFF     32790
#define ID_TRAY_SLEEP      33001
#define ID_TRAY_HIBERNATE  33002
#define ID_TRAY_LOCK       33003
#define ID_TRAY_SETTINGS   33004

// Day menu: the placeholder item of the resource, then the nine
// recurrence kinds put in at run time (ID_DAY_FIRST + kind).
#define ID_DAY_PLACEHOLDER 32793
#define ID_DAY_FIRST       400
#define ID_DAY_LAST        408

// Time menu: ID_TIME_FIRST + k is hour k / 2, minute 30 when k is odd.
// Only 0:00 is in the resource; the other 47 times are appended at run time.
#define ID_TIME_FIRST 32794
#define ID_TIME_LAST  32841

// Snooze menu of the alert
#define ID_SNOOZE_5  32795
#define ID_SNOOZE_10 32796
#define ID_SNOOZE_15 32797
#define ID_SNOOZE_30 32798
#define ID_SNOOZE_60 32799

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#endif  // VANTREL_RESOURCE_H
