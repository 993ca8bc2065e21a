// Fuzz target: arbitrary bytes as a phrase file, through the analysis, random
// lines, random passages and the passage at every indexed position.
#include <cstdint>
#include <cstdio>
#include <initializer_list>

#include "main/phrase/display_state.h"
#include "main/phrase/phrase.h"
#include "main/settings/settings.h"
#include "toolbox/tbas.h"
#include "toolbox/tplat_posix.h"

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
    // The first byte steers the tip and the dialog timing.
    displayState.tipPending = size > 0 && (data[0] & 1);
    inConfigDialog = size > 0 && (data[0] & 2);
    fetchPhrase(openOnlyRequest);
    for (int i = 0; i < 4; ++i) fetchPhrase(randomRequest);
    if (phraseFile.multiLineMode) {
        for (std::int32_t i = 0; i < phraseFile.passageCount; ++i) fetchPhrase(phraseFile.passageOffsets[i]);
        for (PassageMove m : {PassageMove::Previous, PassageMove::First, PassageMove::Next, PassageMove::Last}) {
            ListNode *node = resolvePassageMove(m);
            fetchPhrase(node != nullptr ? historyPosition(node) : randomRequest);
        }
    }
    return 0;
}
