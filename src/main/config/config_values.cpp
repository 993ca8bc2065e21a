// The configuration dialog's controls and the settings: filling the fields,
// reading them back with their checks, and the list of recent phrase files.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "main/config/config.h"
#include "main/display/display.h"
#include "main/settings/settings.h"
#include "res/resource.h"
#include "toolbox/tbas.h"
#include "toolbox/wtb.h"

// The first field whose entry the last reading replaced, 0 for none.
static int correctedField = 0;

static void noteCorrection(int id) {
    if (correctedField == 0) correctedField = id;
}

// Seconds typed into a field, to the nearest millisecond; text that is no
// number reads as 0. False when it is no number or lies beyond 32 bits.
static bool readSeconds(const char *text, std::int32_t *ms) {
    double seconds = 0;
    bool number = readDecimal(text, &seconds);
    double rounded = std::floor(seconds * 1000 + 0.5);
    if (rounded < INT32_MIN || rounded > INT32_MAX) return false;
    *ms = static_cast<std::int32_t>(rounded);
    return number;
}

// An integer typed into a field; text that is no number reads as 0. False
// when it is no number or lies beyond 32 bits, with the nearest 32-bit value
// given.
static bool readInteger(const char *text, std::int32_t *value) {
    errno = 0;
    char *end = nullptr;
    long long number = std::strtoll(text, &end, 10);
    bool isNumber = end != text;
    if (!isNumber) number = 0;
    if (errno == ERANGE || number < INT32_MIN || number > INT32_MAX) {
        *value = number < 0 ? INT32_MIN : INT32_MAX;
        return false;
    }
    *value = static_cast<std::int32_t>(number);
    return isNumber;
}

// A field in milliseconds typed in seconds; out-of-range values take the
// fallback. An untouched field keeps the stored value unrounded, as long as
// it lies in the range: one stored out of it is checked like a typed one.
static bool applySeconds(HWND dialog, int id, std::int32_t *field, std::int32_t low, std::int32_t high,
                         std::int32_t fallback) {
    std::int32_t ms = *field;
    bool typed = !fieldUntouched(dialog, id);
    bool fits = !typed || readSeconds(getItemText(dialog, id), &ms);
    if (!fits || !inRange(low, ms, high)) {
        ms = fallback;
        if (typed) noteCorrection(id);
    }
    bool changed = ms != *field;
    *field = ms;
    return changed;
}

// An integer field; the check makes the stored value of what was read, or
// of the stored value when the field is untouched.
static bool applyInteger(HWND dialog, int id, std::int32_t *field, std::int32_t (*check)(bool fits, std::int32_t)) {
    std::int32_t value = *field;
    bool typed = !fieldUntouched(dialog, id);
    bool fits = !typed || readInteger(getItemText(dialog, id), &value);
    std::int32_t checked = check(fits, value);
    if (typed && (!fits || checked != value)) noteCorrection(id);
    bool changed = checked != *field;
    *field = checked;
    return changed;
}

static std::int32_t checkTilt(bool fits, std::int32_t value) { return fits ? value % 360 : 0; }

static std::int32_t checkShadowSize(bool, std::int32_t value) { return value < 0 ? 0 : value > 15 ? 15 : value; }

static std::int32_t checkReadingTime(bool fits, std::int32_t value) {
    return fits && inRange(20, value, 1000) ? value : 50;
}

// A phrase file name that fits the settings and names a file that opens.
static bool canOpen(const char *name) {
    return std::strlen(name) < static_cast<size_t>(phraseFnSize) && fileExists(name);
}

static const char *comboItem(HWND combo, int index) {
    LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR || length >= poolStringSize) return emptyString;
    char *text = poolString();
    if (SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text)) == CB_ERR) return emptyString;
    return text;
}

// The typed name when it opens, else the first name of the list that does;
// when none does, the typed name if it fits, else the current one.
static bool applyPhraseFile(HWND dialog) {
    HWND combo = GetDlgItem(dialog, IDC_PHRASE_FILE);
    const char *typed = getItemText(dialog, IDC_PHRASE_FILE);
    const char *chosen = canOpen(typed) ? typed : nullptr;
    LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (int i = 0; chosen == nullptr && i < count; ++i) {
        const char *item = comboItem(combo, i);
        if (canOpen(item)) chosen = item;
    }
    if (chosen == nullptr) chosen = std::strlen(typed) < static_cast<size_t>(phraseFnSize) ? typed : settings.PhraseFn;
    bool changed = std::strcmp(chosen, settings.PhraseFn) != 0;
    if (changed) copyString(settings.PhraseFn, chosen, phraseFnSize);
    return changed;
}

// The list without the current file, openable names only, becomes the four
// recent names in its order.
static void applyRecentFiles(HWND dialog) {
    HWND combo = GetDlgItem(dialog, IDC_PHRASE_FILE);
    LRESULT current = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(settings.PhraseFn));
    if (current != CB_ERR) SendMessageA(combo, CB_DELETESTRING, current, 0);
    char *recent[] = {settings.RecentPhraseFn1, settings.RecentPhraseFn2, settings.RecentPhraseFn3,
                      settings.RecentPhraseFn4};
    for (char *slot : recent) slot[0] = '\0';
    int filled = 0;
    for (int i = 0; filled < 4 && i < SendMessageA(combo, CB_GETCOUNT, 0, 0);) {
        const char *item = comboItem(combo, i);
        if (!canOpen(item)) {
            SendMessageA(combo, CB_DELETESTRING, i, 0);
            continue;
        }
        copyString(recent[filled++], item, phraseFnSize);
        ++i;
    }
}

bool applyConfigControls(HWND dialog) {
    bool changed = false;
    correctedField = 0;
    changed |= applySeconds(dialog, IDC_PHRASE_INTERVAL, &settings.PhraseInterval, 10, 1000000, 1000);
    changed |= applySeconds(dialog, IDC_CLEAR_INTERVAL, &settings.ClearInterval, 0, 1000000, 0);
    changed |= applyInteger(dialog, IDC_MAX_TILT, &settings.MaxTiltDegrees, checkTilt);
    changed |= applyInteger(dialog, IDC_SHADOW_SIZE, &settings.ShadowSize, checkShadowSize);
    // The list shows the styles in the user's language, in the order of
    // their stored names; with none selected the current one stays.
    LRESULT chosen = SendMessageA(GetDlgItem(dialog, IDC_SHADOW_STYLE), CB_GETCURSEL, 0, 0);
    const int styleCount = static_cast<int>(sizeof shadowStyleNames / sizeof shadowStyleNames[0]);
    const char *style = chosen >= 0 && chosen < styleCount ? shadowStyleNames[chosen] : emptyString;
    if (!isEmptyString(style) && std::strcmp(style, settings.ShadowStyle) != 0) {
        copyString(settings.ShadowStyle, style, shadowStyleSize);
        changed = true;
    }
    changed |= applyInteger(dialog, IDC_READING_TIME, &settings.ReadingTimePerChar, checkReadingTime);
    changed |= applyPhraseFile(dialog);
    applyRecentFiles(dialog);
    showConfigValues(dialog);
    if (correctedField != 0) showCorrection(dialog, correctedField);
    return changed;
}

void showPhraseFiles(HWND dialog) {
    HWND combo = GetDlgItem(dialog, IDC_PHRASE_FILE);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    SendMessageA(combo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(settings.PhraseFn));
    const char *recent[] = {settings.RecentPhraseFn1, settings.RecentPhraseFn2, settings.RecentPhraseFn3,
                            settings.RecentPhraseFn4};
    for (const char *name : recent)
        if (!isEmptyString(name)) SendMessageA(combo, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    showFileStatus(dialog);
}

void showFileStatus(HWND dialog) {
    std::uint32_t length = static_cast<std::uint32_t>(std::strlen(settings.PhraseFn));
    const char *shown = settings.PhraseFn;
    if (length >= 37) {
        // The last 32 bytes, less the rest of a character cut at their start.
        std::uint32_t first = length - 32;
        while (first < length && charStart(settings.PhraseFn, first) != first) ++first;
        shown = poolFormat("...%s", partString(settings.PhraseFn, first, length - 1));
    }
    setItemTextIfChanged(dialog, IDC_FILE_STATUS, poolFormat(loadText(IDS_FILE_CHECKING), shown));
    fetchPhrase(openOnlyRequest);
    const char *status;
    if (!fileExists(settings.PhraseFn))
        status = loadText(IDS_FILE_NOT_FOUND);
    else
        status = loadText(phraseFile.multiLineMode ? IDS_FILE_MULTI_LINE : IDS_FILE_SINGLE_LINE);
    setItemTextIfChanged(dialog, IDC_FILE_STATUS, poolFormat(status, shown));
    redrawLater(GetDlgItem(dialog, IDC_FILE_STATUS));
}

static void enableItem(HWND dialog, int id, bool on) { EnableWindow(GetDlgItem(dialog, id), on ? TRUE : FALSE); }

// The fields of the other mode are greyed, and the shadow size without a shadow.
static void enableModeFields(HWND dialog) {
    static const int singleLineControls[] = {IDC_PHRASE_INTERVAL, IDC_CLEAR_INTERVAL, IDC_MAX_TILT,
                                             IDC_SHADOW_SIZE,     IDC_SHADOW_STYLE,   IDC_SINGLE_LINE_FONTS};
    static const int multiLineControls[] = {IDC_READING_TIME, IDC_MULTI_LINE_FONTS};
    bool multi = phraseFile.multiLineMode;
    for (int id : singleLineControls) enableItem(dialog, id, !multi);
    for (int id : multiLineControls) enableItem(dialog, id, multi);
    if (!multi) enableItem(dialog, IDC_SHADOW_SIZE, std::strcmp(settings.ShadowStyle, "No Shadow") != 0);
}

bool applyChosenPhraseFile(HWND dialog) {
    bool changed = applyPhraseFile(dialog);
    showFileStatus(dialog);
    enableModeFields(dialog);
    return changed;
}

void showConfigValues(HWND dialog) {
    showPhraseFiles(dialog);
    showField(dialog, IDC_PHRASE_INTERVAL, formatDecimal(settings.PhraseInterval * 0.001));
    showField(dialog, IDC_CLEAR_INTERVAL, formatDecimal(settings.ClearInterval * 0.001));
    showField(dialog, IDC_MAX_TILT, poolFormat("%i", static_cast<int>(settings.MaxTiltDegrees)));
    showField(dialog, IDC_SHADOW_SIZE, poolFormat("%i", static_cast<int>(settings.ShadowSize)));

    HWND styles = GetDlgItem(dialog, IDC_SHADOW_STYLE);
    SendMessageA(styles, CB_RESETCONTENT, 0, 0);
    int index = 0;
    for (const char *name : shadowStyleNames) {
        const char *shown = loadText(IDS_SHADOW_STYLE_FIRST + index);
        SendMessageA(styles, CB_INSERTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(isEmptyString(shown) ? name : shown));
        if (std::strcmp(name, settings.ShadowStyle) == 0) SendMessageA(styles, CB_SETCURSEL, index, 0);
        ++index;
    }

    showField(dialog, IDC_READING_TIME, poolFormat("%i", static_cast<int>(settings.ReadingTimePerChar)));
    enableModeFields(dialog);
}
