// The phrase file reader: opens and analyses the file named by PhraseFn and
// answers every request with a text to draw, an error text included.
#include <cstring>

#include "toolbox/tbas.h"
#include "toolbox/tplat.h"
#include "main/phrase/display_state.h"
#include "main/phrase/phrase.h"
#include "main/settings/settings.h"
#include "res/resource.h"

PhraseFile phraseFile;

// Working storage, overwritten by the next request. A passage counts at most
// maxPassageCount characters, line feeds included.
static char passageText[maxPassageCount * maxCharBytes];
static char lineBuffer[pieceBytes(maxPieceChars)];

void closePhraseFile() {
    if (phraseFile.open) readerClose(&phraseFile.reader);
    phraseFile.open = false;
}

void setPassageTime(std::int32_t chars) {
    std::int32_t n = inConfigDialog ? 75 : chars;
    // 32-bit wrap-around arithmetic, done unsigned so it is well defined.
    displayState.passageTime = static_cast<std::int32_t>(static_cast<std::uint32_t>(settings.ExtraTimePerParagraph) +
                                            static_cast<std::uint32_t>(n) *
                                                static_cast<std::uint32_t>(settings.ReadingTimePerChar));
}

// An error text in place of a passage stands as long as a passage of its
// length would, and some seconds at least: drawn afresh on every tick it
// would flash all over the screen.
static const char *passageError(const char *text) {
    // The system's own text, in the process code page.
    setPassageTime(textLength(text, platTextIsUtf8() ? TextEncoding::Utf8 : TextEncoding::Ansi));
    if (displayState.passageTime < errorTime) displayState.passageTime = errorTime;
    return text;
}

static bool isSeparator(const char *piece) { return piece[0] == '%'; }

// A whole line that holds only a percent sign (the line feed is kept in the
// piece; the last line of a file may have none).
static bool isLonePercentLine(const char *piece) {
    return piece[0] == '%' && (piece[1] == '\0' || (piece[1] == '\n' && piece[2] == '\0'));
}

// Reads the whole file once: counts its pieces, recognises a passage file and
// stores where each passage starts. A file whose first line begins with "%"
// is a passage file. So is a fortune file: its first passage starts at the
// top, with no "%" line before it, and at least one line of the file is a
// lone "%". Until such a line turns up the passages are indexed on the
// chance, so that a word list is still read only once.
static void analysePhraseFile() {
    PhraseFile &f = phraseFile;
    bool afterSeparator = true;
    bool lineStart = true;  // the piece begins a line
    bool lonePercentSeen = false;
    std::int64_t lastSeparatorEnd = readerTell(&f.reader);
    f.lineCount = 0;
    for (;;) {
        int n = readerReadPiece(&f.reader, lineBuffer, maxPieceChars);
        if (n <= 0) break;
        f.lineCount += 1;
        const bool startsLine = lineStart;
        lineStart = lineBuffer[n - 1] == '\n';
        if (isSeparator(lineBuffer)) {
            if (f.lineCount == 1) f.multiLineMode = true;
            if (startsLine && isLonePercentLine(lineBuffer)) lonePercentSeen = true;
            afterSeparator = true;
            lastSeparatorEnd = readerTell(&f.reader);
            continue;
        }
        // Offsets beyond the 32-bit range of a stored position are not indexed.
        if (afterSeparator && lastSeparatorEnd <= INT32_MAX && f.passageCount < maxPassages) {
            f.passageOffsets[f.passageCount++] = static_cast<std::int32_t>(lastSeparatorEnd);
        }
        afterSeparator = false;
    }
    if (!f.multiLineMode && lonePercentSeen) f.multiLineMode = true;
    if (!f.multiLineMode) f.passageCount = 0;
}

// Opens and analyses the file named by PhraseFn; returns an error text, or
// null when the file is open.
static const char *openPhraseFile() {
    PhraseFile &f = phraseFile;
    f.multiLineMode = false;
    displayState.passageTime = 0;
    f.passageCount = 0;
    f.lineCount = 0;
    clearPassageHistory();
    // A name too long for the stored name is refused rather than cut, so
    // that no other file is opened in its place.
    if (copyString(f.name, settings.PhraseFn, sizeof f.name) != 0) {
        return poolFormat(loadText(IDS_PHRASE_NOT_FOUND), settings.PhraseFn);
    }
    if (readerOpen(&f.reader, f.name) != 0) return poolFormat(loadText(IDS_PHRASE_NOT_FOUND), settings.PhraseFn);
    f.open = true;
    analysePhraseFile();
    return nullptr;
}

static const char *readPassage(std::int32_t request) {
    PhraseFile &f = phraseFile;
    if (f.passageCount <= 0) return passageError(poolFormat(loadText(IDS_NO_PASSAGES), settings.PhraseFn));
    if (displayState.tipPending) {
        displayState.passageTime = tipTime;
        displayState.tipPending = false;
        return loadText(IDS_KEY_TIP);
    }
    std::int32_t offset = request >= 0 ? request : f.passageOffsets[randomInRange(0, f.passageCount - 1)];
    if (readerSeek(&f.reader, offset) != 0)
        return passageError(poolFormat(loadText(IDS_SEEK_FAILED), settings.PhraseFn, offset));
    if (request < 0) appendToHistory(offset);

    std::int32_t count = 0;
    std::size_t length = 0;
    passageText[0] = '\0';
    while (readerReadPiece(&f.reader, lineBuffer, maxPieceChars) > 0) {
        if (isSeparator(lineBuffer)) break;
        std::size_t n = std::strlen(lineBuffer);
        if (n > 0 && lineBuffer[n - 1] == '\n') lineBuffer[--n] = '\0';
        count += textLength(lineBuffer, f.reader.encoding) + 2;
        if (count > maxPassageCount) break;
        // count covers line feed and text, so they fit below the limit.
        passageText[length++] = '\n';
        std::memcpy(passageText + length, lineBuffer, n + 1);
        length += n;
    }
    setPassageTime(count);
    f.textIsUnicode = f.reader.encoding != TextEncoding::Ansi;
    f.textIsFromFile = true;
    return passageText;
}

static const char *readRandomLine() {
    PhraseFile &f = phraseFile;
    if (f.lineCount <= 0) return poolFormat(loadText(IDS_NO_LINES), settings.PhraseFn);
    std::int32_t k = randomInRange(1, f.lineCount);
    readerRewind(&f.reader);
    for (std::int32_t i = 1; i <= k; ++i) {
        if (readerReadPiece(&f.reader, lineBuffer, maxPieceChars) <= 0) {
            return poolFormat(loadText(IDS_LINE_UNREADABLE), static_cast<int>(i), settings.PhraseFn);
        }
    }
    std::size_t n = std::strlen(lineBuffer);
    if (n > 0 && lineBuffer[n - 1] == '\n') lineBuffer[--n] = '\0';
    if (n == 0) return poolFormat(loadText(IDS_LINE_EMPTY), static_cast<int>(k), settings.PhraseFn);
    f.textIsUnicode = f.reader.encoding != TextEncoding::Ansi;
    f.textIsFromFile = true;
    return lineBuffer;
}

const char *fetchPhrase(std::int32_t request) {
    phraseFile.textIsUnicode = false;
    phraseFile.textIsFromFile = false;
    if (phraseFile.open && !equalsFileName(phraseFile.name, settings.PhraseFn)) closePhraseFile();
    if (!phraseFile.open) {
        const char *failure = openPhraseFile();
        if (failure != nullptr) return failure;
    }
    if (request == openOnlyRequest) return emptyString;
    return phraseFile.multiLineMode ? readPassage(request) : readRandomLine();
}
