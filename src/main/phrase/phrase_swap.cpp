// Swapping the phrase file with one of the recently used ones (F2 to F5).
#include <cstring>

#include "toolbox/tbas.h"
#include "main/phrase/phrase.h"
#include "main/settings/settings.h"

bool swapPhraseFile(char *slot) {
    if (slot == nullptr || slot == settings.PhraseFn || isEmptyString(slot)) return false;
    // The temporary holds a whole field, so no name is ever cut by a swap.
    char temp[phraseFnSize];
    copyString(temp, settings.PhraseFn, sizeof temp);
    copyString(settings.PhraseFn, slot, sizeof settings.PhraseFn);
    copyString(slot, temp, phraseFnSize);
    return true;
}
