// Fuzz target: arbitrary bytes as a phrase file, through the analysis, random
// lines, random passages and the passage at every indexed position, in every
// encoding the reader tells (marks, invalid sequences, odd UTF-16 lengths).
// Text from a Unicode file must always be whole UTF-8 within the limits.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "main/phrase/display_state.h"
#include "main/phrase/phrase.h"
#include "main/settings/settings.h"
#include "toolbox/tbas.h"
#include "toolbox/tplat_posix.h"

// Checks a text the reader handed out: from a Unicode file it is valid UTF-8
// of at most `limit` characters.
static void check(const char *text, std::int32_t limit) {
    if (!phraseFile.textIsUnicode) return;
    std::int32_t chars = 0;
    for (const unsigned char *p = reinterpret_cast<const unsigned char *>(text); *p != 0; ++chars) {
        int n = *p < 0x80 ? 1 : (*p >> 5) == 6 ? 2 : (*p >> 4) == 14 ? 3 : (*p >> 3) == 30 ? 4 : 0;
        if (n == 0) std::abort();
        for (int k = 1; k < n; ++k) {
            if ((p[k] & 0xC0) != 0x80) std::abort();
        }
        p += n;
    }
    if (chars > limit) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size) {
    static bool ready = false;
    if (!ready) {
        toolboxInit();
        platMessageQuiet = 1;
        copyString(settings.PhraseFn, "fuzz-phrases.txt", phraseFnSize);
        ready = true;
    }
    std::FILE *f = std::fopen("fuzz-phrases.txt", "wb");
    if (f == nullptr) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);

    closePhraseFile();
    newPassageHistory();
    // The first byte steers the tip, the dialog timing and whether 8-bit
    // files are read in a double-byte code page.
    displayState.tipPending = size > 0 && (data[0] & 1);
    inConfigDialog = size > 0 && (data[0] & 2);
    PlatLeadByteHook doubleByte = [](unsigned char b) { return b >= 0x81 && b != 0xA0; };
    platLeadByteHook = size > 0 && (data[0] & 4) ? doubleByte : nullptr;
    fetchPhrase(openOnlyRequest);
    // A passage counts its characters and a line feed for each line.
    const std::int32_t limit = phraseFile.multiLineMode ? maxPassageCount : maxPieceChars;
    for (int i = 0; i < 4; ++i) check(fetchPhrase(randomRequest), limit);
    if (phraseFile.multiLineMode) {
        for (std::int32_t i = 0; i < phraseFile.passageCount; ++i) check(fetchPhrase(phraseFile.passageOffsets[i]), limit);
        for (PassageMove m : {PassageMove::Previous, PassageMove::First, PassageMove::Next, PassageMove::Last}) {
            ListNode *node = resolvePassageMove(m);
            check(fetchPhrase(node != nullptr ? historyPosition(node) : randomRequest), limit);
        }
    }
    return 0;
}
