// Saltor's resource and control identifiers, kept by hand. Most numbers are fixed by the game
// file's and the dialogs' history; add new ones to the block they belong to.
#pragma once

// --- 1. Program: main icon and accelerator table (same number, as the tools expect) ----------
#define IDR_MAINFRAME 128

// --- 2. Dialog templates ---------------------------------------------------------------------
#define IDD_ABOUTBOX 100
#define IDD_MAINDLG 129
#define IDD_PREFERENCES 130

// --- 3. Strings ------------------------------------------------------------------------------
#define IDS_APP_NAME 128  // kept for the record; the caption comes from IDS_MAIN_CAPTION
#define IDS_REPORT 131
#define IDS_WHITE_BG_COLOR 132
#define IDS_BLACK_BG_COLOR 133
#define IDS_WHITE_FG_COLOR 134
#define IDS_BLACK_FG_COLOR 135
#define IDS_IMAGE_FILTER 136
#define IDS_WHITE_IMAGE_TITLE 137
#define IDS_BLACK_IMAGE_TITLE 138
#define IDS_KNIGHT_IMAGE_TITLE 139
#define IDS_CURSOR_FILTER 140
#define IDS_STUDY_NAME 141
#define IDS_MAIN_CAPTION 150
#define IDS_STUDY_SAVE_FAILED 151
#define IDS_STUDY_DELETE_FAILED 152
#define IDS_STUDY_BAD_NAME 153
#define IDS_PREFS_SAVE_FAILED 154
#define IDS_TIP_SQUARE_IMAGE 160
#define IDS_TIP_COLOR_SWATCH 161
#define IDS_TIP_KNIGHT_IMAGE 162
#define IDS_TIP_CURSOR_FILE 163
#define IDS_TIP_HAND_CURSOR 164
#define IDS_CLOSED_MET 165  // the end-of-game report's line on the challenge
#define IDS_CLOSED_MISSED 166
#define IDS_ARRIVAL_MET 167
#define IDS_ARRIVAL_MISSED 168
#define IDS_CHALLENGE_OPEN 169  // the challenge list's items, in TourKind order
#define IDS_CHALLENGE_CLOSED 170
#define IDS_CHALLENGE_ARRIVAL 171

// --- 4. Pictures -----------------------------------------------------------------------------
#define IDC_KNIGHT_CURSOR 203  // cursor
#define IDR_KNIGHT_PNG 205     // raw data: the built-in knight picture
#define IDB_WHITE_TEXTURE 210  // bitmaps: the built-in wood textures
#define IDB_BLACK_TEXTURE 212
#define IDI_NAV_FIRST 220  // icons of the navigation buttons
#define IDI_NAV_LAST 221
#define IDI_NAV_BACK 222
#define IDI_NAV_FORWARD 223
#define IDI_NAV_HINT 224

// --- 5. Main window controls (dialog 129); the numbers are also their commands ---------------
#define IDC_PREFERENCES 1001
#define IDC_SOLVE 1007
#define IDC_NEW_GAME 1008
#define IDC_BACK 1009
#define IDC_FORWARD 1010
#define IDC_HINT 1011
#define IDC_FIRST 1012
#define IDC_LAST 1013
#define IDC_HELP_BUTTON 1014  // not IDC_HELP: <winuser.h> names a cursor so
#define IDC_LOAD_STUDY 1015
#define IDC_SAVE_STUDY 1017
#define IDC_BROWSE_FRAME 1030
#define IDC_NO_HINTS 1032
#define IDC_MUTE 1033
#define IDC_SPLITTER 1041
#define IDC_STUDY_LIST 1042
#define IDC_CHALLENGE 1046       // the drop-down list of challenges
#define IDC_ARRIVAL_MARKED 1047  // sent by the board to its parent: the right button chose
#define IDC_CHALLENGE_LABEL 1048
#define ID_APP_ABOUT 57664
// IDCANCEL (2) is "Quitter".

// --- 6. About box controls (dialog 100) -------------------------------------------------------
#define IDC_ABOUT_VERSION 1016

// --- 7. Preferences dialog controls (dialog 130) ----------------------------------------------
#define IDC_SOLID_COLOR 1002
#define IDC_TEXTURES 1003
#define IDC_CURSOR_FILE 1018
#define IDC_BROWSE_CURSOR 1019
#define IDC_BROWSE_WHITE_IMAGE 1020
#define IDC_WHITE_IMAGE 1021
#define IDC_BLACK_IMAGE 1022
#define IDC_BROWSE_BLACK_IMAGE 1023
#define IDC_WHITE_SWATCH 1024  // empty statics that the colour swatches cover
#define IDC_BLACK_SWATCH 1025
#define IDC_KNIGHT_IMAGE 1026
#define IDC_BROWSE_KNIGHT_IMAGE 1027
#define IDC_CELL_SIZE 1028  // slider
#define IDC_CELL_SIZE_TEXT 1029
#define IDC_CALC_DURATION 1034
#define IDC_HAND_CURSOR 1043

// --- 8. Commands with no control -------------------------------------------------------------
#define ID_TOGGLE_PANEL 1044  // Space: show or hide the column of controls

// --- 9. Practice: the menu bar, the typed squares and the status line (main window) -----------
#define IDS_SQUARE_CUE 272      // the grey "e4" in the empty square box
#define IDC_SQUARE_ENTRY 1050   // the box a square is typed in
#define IDC_STATUS_LINE 1051    // the line that says where the knight is
#define ID_PRACTICE_EXAM 40050  // menu "Entraînement": check items
#define ID_PRACTICE_BLIND 40051
#define ID_PRACTICE_HAND_IN 40052    // ends an exam in progress
#define ID_FOCUS_SQUARE_ENTRY 40053  // F6: the keyboard focus to the square box
// --- 10. Journal, drills and progress ----------------------------------------------------------
#define IDR_MAIN_MENU 331  // the main window's menu bar
#define IDD_DRILL 332
#define IDD_PROGRESS 333
#define IDS_JOURNAL_WRITE_FAILED 372
#define IDS_DRILL_PROMPT 373
#define IDS_DRILL_RIGHT 374
#define IDS_DRILL_WRONG 375
#define IDS_DRILL_NONE 376
#define IDS_DRILL_DONE 377
#define IDS_DRILL_SAVE_FAILED 378
#define IDS_PROGRESS_EMPTY 379
#define IDS_PROGRESS_CLEAN 380  // the plot's three series
#define IDS_PROGRESS_ERRORS 381
#define IDS_PROGRESS_DRILLS 382
#define IDS_PROGRESS_COLUMNS 383  // the table's column titles, separated by "|"
#define IDC_DRILL_TEXT 1060
#define IDC_DRILL_NEXT 1061
#define IDC_DRILL_MOVED 1062  // sent by the drill's board to its parent: a move was played
#define IDC_DRILL_COUNT 1063
#define IDC_PROGRESS_PLOT 1064
#define IDC_PROGRESS_TABLE 1065
#define ID_DRILLS 40060  // menu "Entraînement"
#define ID_PROGRESS 40061
