// The configuration dialog's procedure: start-up, help requests, the buttons
// and the fields that apply themselves when they lose the focus.
#include "main/config/config.h"

#include <cstring>

#include "main/display/display.h"
#include "main/settings/settings.h"
#include "res/publisher_texts.h"
#include "res/resource.h"
#include "toolbox/tbas.h"
#include "toolbox/wtb.h"

int startupSteps = 2;
HWND previewWindow = nullptr;
static constexpr UINT dpiSettledMessage = WM_APP + 0x2E0;

// The greeting a program file named JUL.SCR shows in place of the caption,
// in UTF-16, so that it reads alike in every process code page.
static const wchar_t *const christmasCaption = L"Gl\u00E6delig jul og godt nyt\u00E5r !";

static void applyGreeting(HWND dialog) {
    char path[MAX_PATH];
    const char *name = "GetModuleFileName() failed";
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length > 0 && length < sizeof path) name = fileBaseName(path);
    if (!equalsNoCase(name, "jul")) return;
    SetWindowTextW(dialog, christmasCaption);
    static const int absent[] = {IDC_CREDITS, IDC_COPYRIGHT, IDC_FEEDBACK};
    for (int id : absent) {
        HWND item = GetDlgItem(dialog, id);
        EnableWindow(item, FALSE);
        ShowWindow(item, SW_HIDE);
    }
}

static void initDialog(HWND dialog) {
    keepOnScreen(dialog);
    hookChildControls(dialog);
    previewWindow = GetDlgItem(dialog, IDC_PREVIEW);
    changeDirectory(getInstallDir());
    loadSettings(dialog);
    applyGreeting(dialog);
    hideUnreachableLink(dialog, IDC_FEEDBACK, 0);
    showConfigValues(dialog);
    // The start-up steps run once the dialog is up, one per posted message.
    PostMessageA(dialog, startupStepMessage, 0, 0);
}

static void runStartupStep(HWND dialog) {
    if (startupSteps <= 0) {
        redrawLater(dialog);
        return;
    }
    --startupSteps;
    if (startupSteps == 1) {
        // Makes the tool-tip class ready before the first help request.
        showTooltip(previewWindow, " ", 0, 30000, 0, 0, 0);
        hideTooltip();
    } else if (startupSteps == 0) {
        restartDisplay(previewWindow);
        SetFocus(previewWindow);
    }
    PostMessageA(dialog, startupStepMessage, 0, 0);
}

// A request from a part of a combo box, its edit field or its list, is the
// combo's: the parts carry ids of the platform's own (the edit field's is
// 1001, the Select button's).
static void showHelp(const HELPINFO *help) {
    if (help->iContextType != HELPINFO_WINDOW) return;
    HWND window = static_cast<HWND>(help->hItemHandle);
    int id = help->iCtrlId;
    HWND parent = GetParent(window);
    if (parent != nullptr && equalsNoCase(getClassName(parent), "ComboBox")) {
        window = parent;
        id = GetDlgCtrlID(parent);
    }
    showTooltip(window, tooltipTextFor(id), 0, 30000, 0, 0, 0);
}

static void closeDialog(HWND dialog) {
    previewWindow = nullptr;
    EndDialog(dialog, 1);
}

static void sendFeedback(HWND dialog) {
    if (!IsWindowEnabled(GetDlgItem(dialog, IDC_FEEDBACK))) return;
    const char *address = getItemText(dialog, IDC_FEEDBACK);
    if (messageBoxF(MB_OKCANCEL, loadText(IDS_SEND_MAIL_CAPTION), loadText(IDS_SEND_MAIL_QUESTION), address) != IDOK)
        return;
    openFeedbackMail(address);
}

// The chosen file goes to the top of the list; inside the install folder it
// is kept by its name relative to that folder.
static void selectPhraseFile(HWND dialog) {
    char chosen[1025];
    copyString(chosen, settings.PhraseFn, sizeof chosen);
    // The filter's parts end in "|" in the string table and in a null here.
    char *filter = poolCopy(loadText(IDS_SELECT_FILE_FILTER));
    for (char *c = filter; *c != '\0'; ++c)
        if (*c == '|') *c = '\0';
    int result = openFileDialog(dialog, loadText(IDS_SELECT_FILE_TITLE), ".", filter, sizeof chosen, chosen);
    // Bare names resolve against the install folder, whatever the user did.
    const char *folder = getInstallDir();
    changeDirectory(folder);
    if (result != 0) return;
    const char *name = chosen;
    std::size_t folderLength = std::strlen(folder);
    if (folderLength > 0) {
        bool endsWithSeparator = isPathSeparator(folder[folderLength - 1]);
        const char *prefix = endsWithSeparator ? folder : poolFormat("%s\\", folder);
        std::size_t prefixLength = std::strlen(prefix);
        // The folder's name compares as the file system compares names.
        if (std::strlen(chosen) > prefixLength &&
            equalsFileName(partString(chosen, 0, static_cast<std::uint32_t>(prefixLength - 1)), prefix))
            name = chosen + prefixLength;
    }
    HWND combo = GetDlgItem(dialog, IDC_PHRASE_FILE);
    LRESULT existing = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
    if (existing != CB_ERR) SendMessageA(combo, CB_DELETESTRING, existing, 0);
    SendMessageA(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    if (applyConfigControls(dialog)) fadeClear(previewWindow);
}

static void handleCommand(HWND dialog, WPARAM wParam, LPARAM lParam) {
    int id = LOWORD(wParam);
    int code = HIWORD(wParam);
    switch (id) {
    case IDOK:
        applyConfigControls(dialog);
        saveSettings();
        closeDialog(dialog);
        break;
    case IDCANCEL:
        closeDialog(dialog);
        break;
    case IDC_CREDITS:
        DialogBoxParamA(windowInstance(dialog), MAKEINTRESOURCEA(IDD_CREDITS), dialog, creditsDialogProc, 0);
        break;
    case IDC_COLORS:
        if (DialogBoxParamA(windowInstance(dialog), MAKEINTRESOURCEA(IDD_COLORS), dialog, colorsDialogProc, 0) != 1)
            fadeClear(previewWindow);
        break;
    case IDC_SINGLE_LINE_FONTS:
    case IDC_MULTI_LINE_FONTS:
        fontListToEdit = id == IDC_SINGLE_LINE_FONTS ? singleLineFonts : multiLineFonts;
        if (DialogBoxParamA(windowInstance(dialog), MAKEINTRESOURCEA(IDD_FONTS), dialog, fontsDialogProc, 0) == 1)
            fadeClear(previewWindow);
        break;
    case IDC_SELECT_FILE:
        selectPhraseFile(dialog);
        break;
    case IDC_PREVIEW:
        // A recent file switched to with the preview's keys is shown as if
        // it had been chosen in the combo.
        if (code == phraseFileSwitched) {
            showPhraseFiles(dialog);
            if (applyConfigControls(dialog)) fadeClear(previewWindow);
        }
        break;
    case IDC_FEEDBACK:
        // A double click also reports a click first: only the click asks.
        if (code == STN_CLICKED) sendFeedback(dialog);
        break;
    default:
        if (code == CBN_SELCHANGE && id == IDC_PHRASE_FILE) {
            // The list is put in order only when the combo loses the focus,
            // not under the keys that move through it.
            PostMessageA(dialog, phraseFileChosenMessage, 0, 0);
        } else if (code == CBN_SELCHANGE) {
            // Read once the selection has reached the combo's text.
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_KILLFOCUS), lParam);
        } else if (code == CBN_KILLFOCUS || code == EN_KILLFOCUS) {
            if (applyConfigControls(dialog)) fadeClear(previewWindow);
        }
        break;
    }
}

static INT_PTR statusLineColors(HWND control, HDC hdc) {
    if (GetDlgCtrlID(control) != IDC_FILE_STATUS) return 0;
    SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    SetBkColor(hdc, GetSysColor(COLOR_BTNFACE));
    SetBkMode(hdc, OPAQUE);
    return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
}

extern "C" INT_PTR CALLBACK ScreenSaverConfigureDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    toolboxInit();
    switch (message) {
    case WM_INITDIALOG:
        initDialog(dialog);
        // No focus of the dialog manager's own: the start-up steps set it.
        return FALSE;
    case startupStepMessage:
        runStartupStep(dialog);
        return TRUE;
    case phraseFileChosenMessage:
        if (applyChosenPhraseFile(dialog)) fadeClear(previewWindow);
        return TRUE;
    case WM_HELP:
        showHelp(reinterpret_cast<const HELPINFO *>(lParam));
        return TRUE;
    case WM_COMMAND:
        handleCommand(dialog, wParam, lParam);
        return FALSE;
    case WM_CTLCOLORSTATIC:
        return statusLineColors(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
    case dpiChangedMessage:
        // Moved to a monitor of another DPI: once the dialog has its new
        // size (the dialog manager may make it after this answer), the
        // preview starts again in the pane's new size and DPI.
        PostMessageA(dialog, dpiSettledMessage, 0, 0);
        return followDpiChange(dialog, wParam, lParam);
    case dpiSettledMessage:
        if (previewWindow != nullptr) restartDisplay(previewWindow);
        return TRUE;
    default:
        return FALSE;
    }
}
