// The help texts of the configuration dialogs' controls, looked up by control
// id for the tool-tips.
#include "wtb.h"

#include "tbas.h"

namespace {

struct HelpText {
    std::int32_t id;
    const char *text;
};

// Ends the table; no control has this id.
constexpr std::int32_t endOfHelpTexts = -521961;

// The scales that the minimum and the maximum fields share.
#define BRIGHTNESS_SCALE                                \
    "works like the control on a color TV.\r\n"         \
    "\r\n"                                              \
    "   0% -  15%\t= black - very dark\r\n"             \
    "  15% -  30%\t= dark\r\n"                          \
    "  30% -  70%\t= normal\r\n"                        \
    "  70% -  85%\t= bright\r\n"                        \
    "  85% - 100%\t= very bright - white"
#define SATURATION_SCALE                                \
    "works like the control on a color TV.\r\n"         \
    "\r\n"                                              \
    "  0%  \t= greyscale\r\n"                           \
    "  100%\t= very strong colors"

// Searched from the start; an empty text shows no tool-tip. The tabs are
// expanded when the text is drawn.
const HelpText helpTexts[] = {
    {1, "Closes this dialog and saves changes"},
    {2, "Closes this dialog and discards changes"},
    {3, "Have a look!"},
    {4, "Opens the color dialog"},
    {1001, "Opens file dialog to select a new text file"},
    {1003, "Opens font dialog for single-line mode"},
    {1004, "Opens font dialog for multi-line mode"},
    {1006,
     "Interval in seconds after which the\r\n"
     "the next phrase will be displayed\r\n"
     "in single-line mode."},
    {1007,
     "Interval in seconds after which the\r\n"
     "screen will be cleared in single-line mode."},
    {1008,
     "Maximum angle in degrees the text is\r\n"
     "allowed to be inclined in single-line mode."},
    {1009,
     "Name of the text file which contains\r\n"
     "either single words or short phrases\r\n"
     "on each line or else text passages\r\n"
     "separated by lines with just the character\r\n"
     " % on them.\r\n"
     "\r\n"
     "You can\r\n"
     "  - enter another filename here\r\n"
     "  - drop-down a recently used name\r\n"
     "  - open a file dialog by clicking Select"},
    {1010,
     "Display time per character in milliseconds.\r\n"
     "This value is multiplied by the number of\r\n"
     "characters to be displayed so that the total\r\n"
     "display time matches the length of the text."},
    {1011, "Size of the text shadow in pixels"},
    {1019, "Click here to send me an email"},
    {1023, "Number of selected fonts"},
    {1024, "Name of the current font"},
    {1025, "Preview of the current font"},
    {1026, "Click here to see more info"},
    {1027, "Click here to go to my website"},
    {1030,
     "Minimum brightness of text color,\r\n"
     BRIGHTNESS_SCALE},
    {1031,
     "Maximum brightness of text color,\r\n"
     BRIGHTNESS_SCALE},
    {1032,
     "Minimum saturation of text color,\r\n"
     SATURATION_SCALE},
    {1033,
     "Maximum saturation of text color,\r\n"
     SATURATION_SCALE},
    {1034,
     "Preview of Lumora Screensaver\r\n"
     "\r\n"
     "Click here to reset view.\r\n"
     "\r\n"
     "When Lumora Screensaver is running full screen\r\n"
     "you can use the keys Pos1, End, PgUp, PgDn\r\n"
     "to move back and forth between the text\r\n"
     "passages. (In this dialog click on this\r\n"
     "preview first to enable this feature)."},
    {1035,
     "Minimum color contrast of text color\r\n"
     "compared to the background color.\r\n"
     "\r\n"
     "  0%   \t= same color as background (text invisible)\r\n"
     "  1-99%\t= somewhere in between\r\n"
     "  100% \t= complementary color of background\r\n"
     "\r\n"
     "This setting has no effect if the background\r\n"
     "is black, white or any shade of grey."},
    {1036, "Click to select another background color"},
    {1037,
     "Built-in and user-defined color schemes,\r\n"
     "they can be adapted by changing any\r\n"
     "of the values below and then saved\r\n"
     "under a new name."},
    {1051,
     "Prompts for a name for the current color settings\r\n"
     "and saves them permanently under this name.\r\n"
     "\r\n"
     "This name will be displayed in the \"Color Scheme\"\r\n"
     "listbox so that you can restore the current color\r\n"
     "settings easily."},
    {1052,
     "Deletes the currently selected color scheme\r\n"
     "from the the \"Color Scheme\" listbox.\r\n"
     "\r\n"
     "This button is disabled if the currently\r\n"
     "selected color scheme is a built-in scheme."},
    {1039, ""},
    {1040, ""},
    {1041, ""},
    {1042, ""},
    {1043,
     "Displays whether the selected file\r\n"
     "is single-line or multi-line"},
    {1044, ""},
    {1046, "Style of the text shadow"},
    {1017,
     "Lists all TrueType text fonts on your system.\r\n"
     "Only the highlighted fonts will be used by\r\n"
     "Lumora Screen Saver. To add or remove a font\r\n"
     "from the highlighted selection just click\r\n"
     "on the font name in this box."},
    {1048, "Minimum font size in points"},
    {1049, "Maximum font size in points"},
    {2003, ""},
    {endOfHelpTexts, ""},
};

}  // namespace

const char *tooltipTextFor(std::int32_t id) {
    for (const HelpText *entry = helpTexts; entry->id != endOfHelpTexts; ++entry)
        if (entry->id == id) return entry->text;
    return emptyString;
}
