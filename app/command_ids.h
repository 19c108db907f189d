/* Command identifiers of the main window's menus, toolbar and pop-up menus. Only
   preprocessor lines, so that resource scripts can include it too. Arrays of like
   items take consecutive identifiers from their base. */
#ifndef TAPESTREL_COMMAND_IDS_H
#define TAPESTREL_COMMAND_IDS_H

/* Items added to the window's system menu: pop-up item index + 1 (1 to 21). */
#define IDS_SYSTEM_MENU_FIRST 1
#define IDS_SYSTEM_MENU_LAST 21

/* "&File" */
#define IDM_FIND_FILE 1100
#define IDM_VIEW_FILES 1101          /* 0 View, 1 Edit */
#define IDM_OPERATE_ON_FILES 1103    /* 0 Delete, 1 Move, 2 Remove, 3 Decode */
#define IDM_EXIT 1107                /* 0 Exit, 1 Exit and Save */

/* "&Commands" */
#define IDM_READ_ACTIVE_DIRECTORIES 1200
#define IDM_TOGGLE_LIST_VIEW 1201
#define IDM_LIST_BMP_FILES 1202
#define IDM_LIST_ALT_FILES 1203
#define IDM_REFRESH 1204
#define IDM_CLEAR_LIST_VIEW 1205
#define IDM_EXPLORER 1206            /* 1 to 4 */
#define IDM_CHANGE_WALLPAPER 1212    /* 0 next, 1 previous, 2 selected, 3 default, 4 remove default */
#define IDM_TIMER_ON_OFF 1217

/* "&Settings" */
#define IDM_SCREEN_SAVER 1300        /* 0 off, 1 on */
#define IDM_APPEND_TO_LIST 1302
#define IDM_INFO_MODE 1303
#define IDM_DELETE_CONFIRMATION 1304
#define IDM_RENAME_ON_COLLISION 1305
#define IDM_VIEW_STYLE 1310          /* 0 to 4 */
#define IDM_SORT 1320                /* 0 to 5 */
#define IDM_DCT 1330                 /* 0 to 2 */
#define IDM_JPEG_DITHER 1333         /* 0 to 2 */
#define IDM_FANCY_UPSAMPLING 1336
#define IDM_TWO_PASS 1337
#define IDM_DITHER 1338              /* 0 to 2 */
#define IDM_INTERNAL_DECODE 1341
#define IDM_EXTERNAL_DECODE_ON 1342
#define IDM_REDUCE_JPEG_SIZE 1343
#define IDM_24BIT_COLOR 1344
#define IDM_8BIT_COLOR 1345
#define IDM_SET_BMP_FILTER 1346
#define IDM_SET_ALTERNATE_FILTER 1347
#define IDM_ALT_FILE_PATTERN 1348
#define IDM_LOAD_SETTINGS 1349
#define IDM_SAVE_SETTINGS 1350
#define IDM_MINIMIZE 1351
#define IDM_SMALL_SIZE 1352
#define IDM_OPTIONS 1353

/* "&Interval" */
#define IDM_TIME_INTERVAL 1400       /* 0 to 5 */

/* "&View Mode" */
#define IDM_TOGGLE_BACKDROP_MODE 1500 /* 0 and 1 */
#define IDM_BACKDROP_MODE 1502       /* 0 to 6 */
#define IDM_SCREEN_ARRANGEMENT 1510  /* 0 to 2 */

/* "&Help" */
#define IDM_ABOUT 1600               /* 0 About, 1 Help, 2 What this help */

/* Wallpaper history entries of the File menu: 1 and on. */
#define IDM_BACKDROP_HISTORY 1900
#define IDM_BACKDROP_HISTORY_LAST 1999

/* Pop-up menus. */
#define IDM_CUSTOM 2000              /* notification-area menu, 0 to 22 */
#define IDM_CUSTOM2 2100             /* full-screen viewer menu, 0 to 26 */
#define IDM_CUSTOM3 2200             /* file-list menu, 0 to 14 */
#define IDM_VIEW_STYLE_POPUP 2220    /* 0 to 4 */
#define IDM_SORT_POPUP 2230          /* 0 to 5 */

#endif
