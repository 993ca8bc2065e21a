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

static void fillSchemeCombo(HWND dialog) {
    HWND combo = GetDlgItem(dialog, IDC_COLOR_SCHEME);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(unnamedSchemeName));
    for (ListNode *node = lstHead(colorSchemes); node != nullptr; node = lstNext(node))
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<ColorScheme *>(lstData(node))->name));
}

void showColorValues(HWND dialog) {
    showField(dialog, IDC_MIN_BRIGHTNESS, poolFormat("%.2f", settings.MinBrightness));
    showField(dialog, IDC_MAX_BRIGHTNESS, poolFormat("%.2f", settings.MaxBrightness));
    showField(dialog, IDC_MIN_SATURATION, poolFormat("%.2f", settings.MinSaturation));
    showField(dialog, IDC_MAX_SATURATION, poolFormat("%.2f", settings.MaxSaturation));
    redrawLater(GetDlgItem(dialog, IDC_BACKGROUND_SWATCH));
    showField(dialog, IDC_MIN_CONTRAST, poolFormat("%.2f", settings.MinTextcolorContrast));
    // The exact name: a prefix search would show "Color On Black 2" for
    // "Color On Black" when the user's scheme sorts first.
    HWND combo = GetDlgItem(dialog, IDC_COLOR_SCHEME);
    LRESULT index = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                 reinterpret_cast<LPARAM>(settings.CurrentColorScheme));
    SendMessageA(combo, CB_SETCURSEL, index == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(index), 0);
    EnableWindow(GetDlgItem(dialog, IDC_DELETE_SCHEME), !isReservedSchemeName(settings.CurrentColorScheme));
}

// A percentage as typed; a field still showing what it was filled with keeps
// its value unrounded. Not-a-number reads as 0; everything, a stored value
// too, ends up within 0 to 100.
static double readPercent(HWND dialog, int id, double current) {
    double value = fieldUntouched(dialog, id) ? current : std::strtod(getItemText(dialog, id), nullptr);
    if (std::isnan(value) || value < 0) return 0;
    return value > 100 ? 100 : value;
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
    if (!readColorFields(dialog)) return;
    setCurrentScheme(unnamedSchemeName);
    colorsChangeTail(dialog);
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
    const char *name = getItemText(dialog, IDC_COLOR_SCHEME);
    if (isEmptyString(name)) return;
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
    if (isReservedSchemeName(name)) {
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
        copyString(schemeNameBuffer, poolFormat(loadText(IDS_SCHEME_COPY_OF), current), sizeof schemeNameBuffer);
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
