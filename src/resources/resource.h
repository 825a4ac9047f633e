#pragma once
// Every resource, command and control id of the editor, grouped by kind.

// Icons and cursors
#define IDI_ZENDLE 101
#define IDI_DOCUMENT 102
#define IDC_DRAGCURSOR 106

// Menus and accelerators
#define IDR_MAINMENU 111
#define IDR_CONTEXTMENU 112
#define IDR_ACCELERATORS 133
#define IDR_DROPMENU 138

// Dialog templates
#define IDD_SEND 135
#define IDD_SORTING 136
#define IDD_ABOUT 137
#define IDD_WINDOW_LIST 139
#define IDD_PRINT 1538
#define IDD_FONT 1543
#define IDD_FIND 10000
#define IDD_REPLACE 10001

// Menu and toolbar commands; each help text in the string table has its command's number
#define ID_FILE_OPEN 40001
#define ID_FILE_NEW 40002
#define ID_FILE_SAVEAS 40003
#define ID_FILE_SAVE 40004
#define ID_FILE_PRINT 40005
#define ID_FILE_PRINTPREVIEW 40006
#define ID_EDIT_CUT 40007
#define ID_EDIT_COPY 40008
#define ID_EDIT_PASTE 40009
#define ID_EDIT_DELETE 40010
#define ID_EDIT_FIND 40011
#define ID_EDIT_REPLACE 40012
#define ID_WINDOW_CLOSE 40013
#define ID_WINDOW_NEWWINDOW 40014
#define ID_WINDOW_CLOSEALL 40015
#define ID_WINDOW_TILEHORZ 40016
#define ID_WINDOW_TILEVERT 40017
#define ID_WINDOW_CASCADE 40018
#define ID_WINDOW_NEXT 40019
#define ID_WINDOW_PREVIOUS 40020
#define ID_EDIT_UNDO 40022
#define ID_EDIT_REDO 40023
#define ID_EDIT_SELECTFONT 40025
#define ID_DEBUG_COORDINATES 40026
#define ID_DEBUG_TABLENGTH 40027
#define ID_BITMAP_CONVERT 40028
#define ID_NETWORK_SEND 40030
#define ID_SORT_ALPHABETIC 40031
#define ID_SORT_REVERSEALPHABETIC 40032
#define ID_EDIT_SELECTALL 40033
#define ID_FOCUS_CYCLE 40034
#define ID_SORT_NUMERIC 40037
#define ID_SORT_REVERSENUMERIC 40038
#define ID_HELP_ABOUT 40040
#define ID_CASE_LOWER 40041
#define ID_CASE_UPPER 40042
#define ID_CASE_INVERT 40043
#define ID_DROP_MOVE 40044
#define ID_DROP_COPY 40045
#define ID_DROP_CANCEL 40046

// Strings that are not a command's help text
#define IDS_WINDOW_LIST 40024 // the help of the window list entries: not in the table
#define IDS_ALL_PAGES 40028   // the Print dialog's page count

// Child windows of the main window
#define IDW_STATUSBAR 10000
#define IDW_TOOLBAR 10001
#define IDW_FIRST_MDI_CHILD 100000

// Window list dialog ("More Windows...")
#define IDC_WINDOW_LIST 1030

// Send Information dialog controls
#define IDC_SEND_ATTACH_FONT 1002
#define IDC_SEND_OCTET1 1008
#define IDC_SEND_OCTET2 1009
#define IDC_SEND_OCTET3 1010
#define IDC_SEND_OCTET4 1011
#define IDC_SEND_PREDEFINED 1012
#define IDC_SEND_MANUAL 1013
#define IDC_SEND_DEST1 1014
#define IDC_SEND_DEST2 1015
#define IDC_SEND_FILE 1016
#define IDC_SEND_FILE_LABEL 1017
#define IDC_SEND_OPTIONS 1018
#define IDC_SEND_DOT1 1019
#define IDC_SEND_DOT2 1020
#define IDC_SEND_DOT3 1021
#define IDC_SEND_LOOPBACK 1022

// About box controls
#define IDC_ABOUT_TITLE 1027
#define IDC_ABOUT_BUILD 1028
#define IDC_ABOUT_ICON 1029

// Font dialog: the editor's own controls beside the system's (dlgs.h)
#define IDC_FONT_CHOOSE_COLOR 1005
#define IDC_FONT_SWATCH 1006

// Sorting Document dialog
#define IDC_SORT_TEXT 1023
#define IDC_SORT_PROGRESS 1024

// Find and Replace dialogs: the system's control ids, which its dialog code relies on
#define IDC_FIND_TEXT 1152
#define IDC_REPLACE_TEXT 1153
#define IDC_FIND_WHOLE_WORD 1040
#define IDC_FIND_MATCH_CASE 1041
#define IDC_FIND_DIRECTION 1072
#define IDC_FIND_UP 1056
#define IDC_FIND_DOWN 1057
#define IDC_REPLACE_ONE 1024
#define IDC_REPLACE_ALL 1025
#define IDC_FIND_HELP 1038
