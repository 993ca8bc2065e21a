// Resource ids shared by the resource script and the code, one block per
// dialog in template order.
#pragma once

// The saver's icon group.
#define IDI_SAVER 100

// The saver's name: string 1 is where the display settings look for it,
// 1007 where the dialogs and the preview do.
#define IDS_DESCRIPTION 1
#define IDS_SAVER_NAME 1007

// The help text of a control is the string at this base plus the control's
// id; a control without one has no string there.
#define IDS_HELP_BASE 20000

// The balloon on a field whose entry was replaced: its title, and the
// field's range at this base plus the field's id.
#define IDS_CORRECTED_TITLE 3010
#define IDS_RANGE_BASE 21000

// Messages of the colours and configuration dialogs.
#define IDS_SAVE_SCHEME_CAPTION 3000
#define IDS_SCHEME_NAME_EMPTY 3001
#define IDS_SCHEME_NAME_BUILT_IN 3002
#define IDS_SCHEME_NAME_SEPARATOR 3003
#define IDS_SCHEME_NAME_TOO_LONG 3004
#define IDS_SCHEME_COPY_OF 3005
#define IDS_DELETE_SCHEME_CAPTION 3006
#define IDS_DELETE_SCHEME_QUESTION 3007
#define IDS_SEND_MAIL_CAPTION 3008
#define IDS_SEND_MAIL_QUESTION 3009

// The colour schemes as the colours dialog shows them: "(Unnamed)" and the
// built-in ones in their order. The stored names do not change with them.
#define IDS_UNNAMED_SCHEME 3087
#define IDS_BUILT_IN_SCHEME_FIRST 3088

// The configuration dialog: the file dialog (its filter's parts are
// separated by "|"), the status line and the shadow styles in the order of
// their stored names.
#define IDS_SELECT_FILE_TITLE 3016
#define IDS_SELECT_FILE_FILTER 3017
#define IDS_FILE_CHECKING 3018
#define IDS_FILE_NOT_FOUND 3019
#define IDS_FILE_MULTI_LINE 3020
#define IDS_FILE_SINGLE_LINE 3021
#define IDS_SHADOW_STYLE_FIRST 3024

// The font selection's captions.
#define IDS_SINGLE_LINE_FONTS 3032
#define IDS_MULTI_LINE_FONTS 3033

// The credits dialog: the version line, the build stamp and the title's
// messages by the number of steps clicked.
#define IDS_CREDITS_VERSION 3040
#define IDS_CREDITS_BUILD 3041
#define IDS_CREDITS_TITLE_FIRST 3048

// The texts drawn on the screen: the key tip and the phrase reader's errors.
#define IDS_KEY_TIP 3064
#define IDS_PHRASE_NOT_FOUND 3065
#define IDS_NO_PASSAGES 3066
#define IDS_SEEK_FAILED 3067
#define IDS_NO_LINES 3068
#define IDS_LINE_UNREADABLE 3069
#define IDS_LINE_EMPTY 3070

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

// The save-scheme dialog.
#define IDD_SAVE_SCHEME 174
#define IDC_SCHEME_NAME 1053

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
#define IDC_CREDITS_MAIL_LABEL 1013
#define IDC_CREDITS_WEB_LABEL 1014
