// Resource ids shared by the resource script and the code, one block per
// dialog in template order.
#pragma once

// The saver's icon group.
#define IDI_SAVER 100

// The one string: the saver's name.
#define IDS_SAVER_NAME 1007

// The configuration dialog (OK and Cancel are IDOK and IDCANCEL).
#define IDD_CONFIG 2003
#define IDC_PHRASE_FILE 1009
#define IDC_SELECT_FILE 1001
#define IDC_PHRASE_INTERVAL 1006
#define IDC_CLEAR_INTERVAL 1007
#define IDC_MAX_TILT 1008
#define IDC_SINGLE_LINE_FONTS 1003
#define IDC_SHADOW_SIZE 1011
#define IDC_SHADOW_STYLE 1046
#define IDC_READING_TIME 1010
#define IDC_MULTI_LINE_FONTS 1004
#define IDC_PREVIEW 1034
#define IDC_CREDITS 3
#define IDC_COLORS 4
#define IDC_COPYRIGHT 1021
#define IDC_FEEDBACK 1019
#define IDC_FILE_STATUS 1043

// The colours dialog.
#define IDD_COLORS 169
#define IDC_COLOR_SCHEME 1037
#define IDC_SAVE_SCHEME 1051
#define IDC_DELETE_SCHEME 1052
#define IDC_MIN_BRIGHTNESS 1030
#define IDC_MAX_BRIGHTNESS 1031
#define IDC_MIN_SATURATION 1032
#define IDC_MAX_SATURATION 1033
#define IDC_BACKGROUND_SWATCH 1036
#define IDC_MIN_CONTRAST 1035

// The save-scheme dialog. Its name field shares the Delete button's id.
#define IDD_SAVE_SCHEME 174
#define IDC_SCHEME_NAME 1052

// The font selection dialog.
#define IDD_FONTS 168
#define IDC_FONT_LIST 1017
#define IDC_MIN_FONT_SIZE 1048
#define IDC_MAX_FONT_SIZE 1049
#define IDC_FONT_COUNT 1023
#define IDC_FONT_SAMPLE 1025
#define IDC_FONT_NAME 1024
#define IDC_SMOOTHING_TIP 1039
#define IDC_SMOOTHING_TIP_1 1040
#define IDC_SMOOTHING_TIP_3 1042
#define IDC_SMOOTHING_TIP_2 1041

// The credits dialog; its e-mail link is IDC_FEEDBACK, as in the
// configuration dialog.
#define IDD_CREDITS 167
#define IDC_CREDITS_TITLE 1012
#define IDC_CREDITS_COPYRIGHT 1044
#define IDC_CREDITS_SPARE 1016
#define IDC_CREDITS_VERSION 1026
#define IDC_CREDITS_WEB 1027
#define IDC_CREDITS_AREA 1028
