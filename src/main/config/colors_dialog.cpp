// The colours dialog: text brightness and saturation bounds, the background
// colour, the minimum contrast and the colour schemes, with the preview pane
// following every accepted change; and the dialog that names a new scheme.
#include "main/config/config.h"

#include <commdlg.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <tuple>

#include "main/display/display.h"
#include "main/settings/settings.h"
#include "res/resource.h"
#include "toolbox/lst.h"
#include "toolbox/tbas.h"
#include "toolbox/terr.h"
#include "toolbox/wkrnl.h"
#include "toolbox/wtb.h"

// The values and the scheme name as they were when the dialog opened;
// Cancel puts them back. The picker's custom colours are not among them.
static std::tuple<double, double, double, double, double, ColorRef> snapshotValues;
static char snapshotScheme[colorSchemeNameSize];
static bool colorsChanged = false;
// Set by OK and Cancel: the kill-focus of the field left behind arrives
// while the dialog closes and must change nothing any more.
static bool colorsClosing = false;

static void takeSnapshot() {
    snapshotValues = colorValues(settings);
    copyString(snapshotScheme, settings.CurrentColorScheme, colorSchemeNameSize);
}

static void restoreSnapshot() {
    colorValues(settings) = snapshotValues;
    copyString(settings.CurrentColorScheme, snapshotScheme, colorSchemeNameSize);
}

static void setCurrentScheme(const char *name) { copyString(settings.CurrentColorScheme, name, colorSchemeNameSize); }

// A current name whose scheme is gone (deleted since the snapshot, or never
// there) would leave the list without a selection and Delete enabled.
static void keepSchemeThatExists() {
    if (findColorScheme(settings.CurrentColorScheme) == nullptr) setCurrentScheme(unnamedSchemeName);
}

// Built-in schemes and "(Unnamed)" are shown in the user's language; what
// is stored, and so what every language reads, stays the English name.
static const char *shownSchemeName(const char *stored) {
    int id = std::strcmp(stored, unnamedSchemeName) == 0 ? IDS_UNNAMED_SCHEME : 0;
    for (int i = 0; i < builtInSchemeCount; ++i)
        if (std::strcmp(stored, builtInSchemes[i].name) == 0) id = IDS_BUILT_IN_SCHEME_FIRST + i;
    const char *shown = id != 0 ? loadText(id) : emptyString;
    return isEmptyString(shown) ? stored : shown;
}

// A string of the module's table in one of its languages; empty when none.
static const char *textIn(int id, LANGID language) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(module, MAKEINTRESOURCEA(6), MAKEINTRESOURCEA(id / 16 + 1), language);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const WCHAR *entry = loaded != nullptr ? static_cast<const WCHAR *>(LockResource(loaded)) : nullptr;
    if (entry == nullptr) return emptyString;
    for (int i = 0; i < id % 16; ++i) entry += 1 + *entry;
    char *text = poolString();
    int length = WideCharToMultiByte(CP_ACP, 0, entry + 1, *entry, text, poolStringSize - 1, nullptr, nullptr);
    text[length > 0 ? length : 0] = '\0';
    return text;
}

static BOOL CALLBACK findShownName(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR name) {
    const char *typed = reinterpret_cast<const char *>(name);
    for (int id = IDS_UNNAMED_SCHEME; id < IDS_BUILT_IN_SCHEME_FIRST + builtInSchemeCount; ++id)
        if (equalsNoCase(typed, textIn(id, language))) return FALSE;
    return TRUE;
}

// True for a name that a built-in scheme or "(Unnamed)" is shown under in any
// language of the module: a scheme of that name would stand beside it.
static bool isShownReservedName(const char *name) {
    return !EnumResourceLanguagesA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(6),
                                   MAKEINTRESOURCEA(IDS_BUILT_IN_SCHEME_FIRST / 16 + 1), findShownName,
                                   reinterpret_cast<LONG_PTR>(name));
}

// Each entry carries its scheme, the first one none: "(Unnamed)".
static void fillSchemeCombo(HWND dialog) {
    HWND combo = GetDlgItem(dialog, IDC_COLOR_SCHEME);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shownSchemeName(unnamedSchemeName)));
    for (ListNode *node = lstHead(colorSchemes); node != nullptr; node = lstNext(node)) {
        auto scheme = static_cast<ColorScheme *>(lstData(node));
        LRESULT index = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shownSchemeName(scheme->name)));
        if (index >= 0) SendMessageA(combo, CB_SETITEMDATA, index, reinterpret_cast<LPARAM>(scheme));
    }
}

// The stored name of an entry of the scheme list; null when there is none.
static const char *schemeOfEntry(HWND combo, LRESULT index) {
    if (index < 0 || index >= SendMessageA(combo, CB_GETCOUNT, 0, 0)) return nullptr;
    LRESULT data = SendMessageA(combo, CB_GETITEMDATA, index, 0);
    if (data == CB_ERR || data == 0) return unnamedSchemeName;
    return reinterpret_cast<const ColorScheme *>(data)->name;
}

void showColorValues(HWND dialog) {
    showField(dialog, IDC_MIN_BRIGHTNESS, formatDecimal(settings.MinBrightness));
    showField(dialog, IDC_MAX_BRIGHTNESS, formatDecimal(settings.MaxBrightness));
    showField(dialog, IDC_MIN_SATURATION, formatDecimal(settings.MinSaturation));
    showField(dialog, IDC_MAX_SATURATION, formatDecimal(settings.MaxSaturation));
    redrawLater(GetDlgItem(dialog, IDC_BACKGROUND_SWATCH));
    showField(dialog, IDC_MIN_CONTRAST, formatDecimal(settings.MinTextcolorContrast));
    // The entry of exactly the current name: a prefix search would show
    // "Color On Black 2" for "Color On Black" when the user's scheme sorts
    // first, and a shown name may be another scheme's stored one.
    HWND combo = GetDlgItem(dialog, IDC_COLOR_SCHEME);
    LRESULT found = -1;
    for (LRESULT i = 0; found < 0 && schemeOfEntry(combo, i) != nullptr; ++i)
        if (std::strcmp(schemeOfEntry(combo, i), settings.CurrentColorScheme) == 0) found = i;
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
    EnableWindow(GetDlgItem(dialog, IDC_DELETE_SCHEME), !isReservedSchemeName(settings.CurrentColorScheme));
}

// The first field whose entry the last reading replaced, 0 for none.
static int correctedPercent = 0;

// A percentage as typed; a field still showing what it was filled with keeps
// its value unrounded. Not-a-number reads as 0; everything, a stored value
// too, ends up within 0 to 100. A typed entry that had to be replaced is
// noted, so that the field can say why.
static double readPercent(HWND dialog, int id, double current) {
    double value = current;
    bool typed = !fieldUntouched(dialog, id);
    bool number = !typed || readDecimal(getItemText(dialog, id), &value);
    double kept = !number || std::isnan(value) || value < 0 ? 0 : value > 100 ? 100 : value;
    if (typed && correctedPercent == 0 && (!number || kept != value)) correctedPercent = id;
    return kept;
}

// Reads a pair of bounds; a maximum below the minimum swaps the two.
static void readBounds(HWND dialog, int minId, int maxId, double *low, double *high) {
    double a = readPercent(dialog, minId, *low);
    double b = readPercent(dialog, maxId, *high);
    if (b < a) {
        double swap = a;
        a = b;
        b = swap;
    }
    *low = a;
    *high = b;
}

bool readColorFields(HWND dialog) {
    correctedPercent = 0;
    const double before[] = {settings.MinBrightness, settings.MaxBrightness, settings.MinSaturation,
                             settings.MaxSaturation, settings.MinTextcolorContrast};
    readBounds(dialog, IDC_MIN_BRIGHTNESS, IDC_MAX_BRIGHTNESS, &settings.MinBrightness, &settings.MaxBrightness);
    readBounds(dialog, IDC_MIN_SATURATION, IDC_MAX_SATURATION, &settings.MinSaturation, &settings.MaxSaturation);
    settings.MinTextcolorContrast = readPercent(dialog, IDC_MIN_CONTRAST, settings.MinTextcolorContrast);
    const double after[] = {settings.MinBrightness, settings.MaxBrightness, settings.MinSaturation,
                            settings.MaxSaturation, settings.MinTextcolorContrast};
    return std::memcmp(before, after, sizeof before) != 0;
}

// An accepted change: shown in the dialog and in the preview pane.
static void colorsChangeTail(HWND dialog) {
    showColorValues(dialog);
    fadeClear(previewWindow);
    colorsChanged = true;
}

// What the fields show now; a change makes the values unnamed.
static void applyColorFields(HWND dialog) {
    if (readColorFields(dialog)) {
        setCurrentScheme(unnamedSchemeName);
        colorsChangeTail(dialog);
    }
    if (correctedPercent == 0) return;
    // A replaced entry shows its value even when the value stayed the same.
    showColorValues(dialog);
    showCorrection(dialog, correctedPercent);
}

static void chooseBackground(HWND dialog) {
    CHOOSECOLORA request;
    std::memset(&request, 0, sizeof request);
    request.lStructSize = sizeof request;
    request.hwndOwner = dialog;
    request.rgbResult = settings.BackgroundColor;
    request.lpCustColors = reinterpret_cast<COLORREF *>(settings.LumoraCustomColors);
    request.Flags = CC_RGBINIT;
    request.lpTemplateName = "";
    if (!ChooseColorA(&request) || request.rgbResult == settings.BackgroundColor) return;
    settings.BackgroundColor = request.rgbResult;
    setCurrentScheme(unnamedSchemeName);
    colorsChangeTail(dialog);
}

static void chooseScheme(HWND dialog) {
    HWND combo = GetDlgItem(dialog, IDC_COLOR_SCHEME);
    const char *name = schemeOfEntry(combo, SendMessageA(combo, CB_GETCURSEL, 0, 0));
    if (name == nullptr) return;
    if (applyColorScheme(name) == 0) {
        colorsChangeTail(dialog);
    } else {
        EnableWindow(GetDlgItem(dialog, IDC_DELETE_SCHEME), !isReservedSchemeName(settings.CurrentColorScheme));
    }
}

int validateCsSaveName(const char *name) {
    const char *caption = loadText(IDS_SAVE_SCHEME_CAPTION);
    if (isEmptyString(name)) {
        showMessage(caption, "%s", loadText(IDS_SCHEME_NAME_EMPTY));
        return 1;
    }
    if (isReservedSchemeName(name) || isShownReservedName(name)) {
        showMessage(caption, loadText(IDS_SCHEME_NAME_BUILT_IN), name);
        return 1;
    }
    if (std::strchr(name, '\\') != nullptr || std::strchr(name, '/') != nullptr) {
        showMessage(caption, loadText(IDS_SCHEME_NAME_SEPARATOR), name);
        return 1;
    }
    // The registry lists value names of up to 260 characters: a longer one
    // would be stored, but lost at the next start.
    if (std::strlen(name) >= static_cast<size_t>(regNameSize)) {
        showMessage(caption, loadText(IDS_SCHEME_NAME_TOO_LONG), name, regNameSize - 1);
        return 1;
    }
    return 0;
}

// The name typed into the save-scheme dialog; it comes in as the proposal.
static char schemeNameBuffer[poolStringSize];

INT_PTR CALLBACK saveSchemeDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        keepOnScreen(dialog);
        hookChildControls(dialog);
        SetDlgItemTextA(dialog, IDC_SCHEME_NAME, schemeNameBuffer);
        SetFocus(GetDlgItem(dialog, IDC_SCHEME_NAME));
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            copyString(schemeNameBuffer, getItemText(dialog, IDC_SCHEME_NAME), sizeof schemeNameBuffer);
            EndDialog(dialog, 1);
        } else if (LOWORD(wParam) == IDCANCEL) {
            schemeNameBuffer[0] = '\0';
            EndDialog(dialog, 2);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

int saveSchemeAs(HWND dialog) {
    const char *current = settings.CurrentColorScheme;
    if (equalsNoCase(current, unnamedSchemeName))
        schemeNameBuffer[0] = '\0';
    else
        copyString(schemeNameBuffer, poolFormat(loadText(IDS_SCHEME_COPY_OF), shownSchemeName(current)),
                   sizeof schemeNameBuffer);
    if (DialogBoxParamA(windowInstance(dialog), MAKEINTRESOURCEA(IDD_SAVE_SCHEME), dialog, saveSchemeDialogProc, 0) !=
        1)
        return 1;
    const char *csName = trimString(schemeNameBuffer);
    traceExec("validateCsSaveName (csName)", "Logo", __LINE__);
    int refused = validateCsSaveName(csName);
    if (refused != 0) {
        traceError("validateCsSaveName (csName)", "Logo", __LINE__, refused);
        return refused;
    }
    // Replaces a scheme of that name, written to the registry at once.
    addUserScheme(csName);
    fillSchemeCombo(dialog);
    showColorValues(dialog);
    return 0;
}

int deleteScheme(HWND dialog) {
    const char *name = poolCopy(settings.CurrentColorScheme);
    if (messageBoxF(MB_OKCANCEL, loadText(IDS_DELETE_SCHEME_CAPTION), loadText(IDS_DELETE_SCHEME_QUESTION), name) !=
        IDOK)
        return 1;
    if (findColorScheme(name) == nullptr) return 1;
    removeUserScheme(name);
    setCurrentScheme(unnamedSchemeName);
    fillSchemeCombo(dialog);
    showColorValues(dialog);
    return 0;
}

static void initColorsDialog(HWND dialog) {
    keepOnScreen(dialog);
    hookChildControls(dialog);
    colorsChanged = false;
    colorsClosing = false;
    keepSchemeThatExists();
    takeSnapshot();
    fillSchemeCombo(dialog);
    showColorValues(dialog);
}

static void handleColorsCommand(HWND dialog, int id, int code, HWND control) {
    switch (id) {
    case IDOK:
        // Enter presses OK without moving the focus: the field typed into
        // has not been read yet.
        applyColorFields(dialog);
        colorsClosing = true;
        EndDialog(dialog, 1);
        break;
    case IDCANCEL:
        colorsClosing = true;
        restoreSnapshot();
        keepSchemeThatExists();
        EndDialog(dialog, colorsChanged ? 2 : 1);
        break;
    case IDC_BACKGROUND_SWATCH:
        chooseBackground(dialog);
        break;
    case IDC_COLOR_SCHEME:
        if (code == CBN_SELCHANGE) chooseScheme(dialog);
        break;
    case IDC_SAVE_SCHEME:
        saveSchemeAs(dialog);
        break;
    case IDC_DELETE_SCHEME:
        deleteScheme(dialog);
        break;
    default:
        if (code == EN_KILLFOCUS && !colorsClosing && std::strcmp(getClassName(control), "Edit") == 0)
            applyColorFields(dialog);
        break;
    }
}

INT_PTR CALLBACK colorsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        initColorsDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        handleColorsCommand(dialog, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_CTLCOLORSTATIC:
        // The swatch always shows the background colour.
        if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_BACKGROUND_SWATCH)
            return reinterpret_cast<INT_PTR>(backgroundBrush());
        return FALSE;
    default:
        return FALSE;
    }
}
