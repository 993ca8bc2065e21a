// The phrase source: reads the phrase file, tells single-line files from
// passage files, indexes passages, hands out random lines and passages (or
// error texts in their place) and keeps the history of shown passages.
#pragma once

#include <cstdint>

#include "toolbox/lst.h"
#include "main/phrase/line_reader.h"

// Requests of fetchPhrase besides a file position (>= 0).
constexpr std::int32_t randomRequest = -1;
constexpr std::int32_t openOnlyRequest = -1234;

// Reading limits: lines come in pieces of at most 1029 characters, at most
// 30000 passages are indexed, a passage counts at most 10000 characters.
// Characters are bytes in an ANSI file and Unicode characters in the others
// (see line_reader.h), so no limit cuts a character in two.
constexpr int maxPieceChars = 1029;
constexpr int storedNameSize = 1028;
constexpr std::int32_t maxPassages = 30000;
constexpr std::int32_t maxPassageCount = 10000;
constexpr std::int32_t tipTime = 9000;
// The least time an error text stands in place of a passage, ms.
constexpr std::int32_t errorTime = 3000;

// The state of the one open phrase file.
struct PhraseFile {
    char name[storedNameSize];  // the name last requested
    bool open;
    LineReader reader;
    bool multiLineMode;
    // The text of the last request is the file's Unicode text, as UTF-8;
    // false for ANSI text and for the system's own texts (errors, the tip).
    bool textIsUnicode;
    // The text of the last request is the file's own text, in whichever
    // encoding; false for the system's own texts.
    bool textIsFromFile;
    std::int32_t lineCount;
    std::int32_t passageOffsets[maxPassages];
    std::int32_t passageCount;
};
extern PhraseFile phraseFile;

// Returns the text to draw for a request; valid until the next request.
const char *fetchPhrase(std::int32_t request);
// Closes the open phrase file, if any.
void closePhraseFile();
void setPassageTime(std::int32_t chars);

// Random numbers: every random choice of the system goes through these.
std::int32_t randomInRange(std::int32_t low, std::int32_t high);
std::int32_t coinFlip();

// The history of randomly chosen passages, oldest first, and where the
// display stands in it (null: at the newest passage).
constexpr std::int32_t maxHistory = 500;
enum class PassageMove { First, Last, Next, Previous };
extern List *passageHistory;
extern ListNode *historyPos;

void newPassageHistory();
void clearPassageHistory();
void appendToHistory(std::int32_t position);
ListNode *resolvePassageMove(PassageMove move);
std::int32_t historyPosition(ListNode *node);

// Exchanges PhraseFn with a recent name; true when it did.
bool swapPhraseFile(char *slot);
