// Fuzz target: arbitrary bytes as stored values, through the decoders that
// read what another program may have left in the registry: a packed list as
// a read leaves it in its buffer, a real's text and a colour scheme's text.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "main/settings/settings.h"
#include "toolbox/lst.h"
#include "toolbox/stored_forms.h"
#include "toolbox/tbas.h"
#include "toolbox/tplat_posix.h"

static void require(bool holds) {
    if (!holds) std::abort();
}

static void packedList(const std::uint8_t *data, size_t size) {
    char stored[fontListPackedSize] = {};
    std::memcpy(stored, data, size < sizeof stored ? size : sizeof stored);
    endPackedList(stored, sizeof stored);
    require(packedListSize(stored, sizeof stored) != 0);

    List *fonts = fontListFromPacked(stored);
    char packed[fontListPackedSize];
    packFontList(fonts, packed);
    std::uint32_t packedSize = packedListSize(packed, sizeof packed);
    require(packedSize >= 2 && packedSize <= fontListPackedSize - 1);
    // Packing walks the list from the front, so the names come back in the
    // order of the list, as many as fit.
    List *again = fontListFromPacked(packed);
    require(lstCount(again) <= lstCount(fonts));
    ListNode *node = lstHead(fonts);
    for (ListNode *back = lstTail(again); back != nullptr; back = lstPrev(back), node = lstNext(node)) {
        require(node != nullptr && std::strcmp(static_cast<char *>(lstData(node)), static_cast<char *>(lstData(back))) == 0);
    }
    lstDestroy(again);
    lstDestroy(fonts);
}

static void texts(const std::uint8_t *data, size_t size) {
    std::string text(reinterpret_cast<const char *>(data), size);
    text = text.c_str();  // a stored text ends at its first zero
    require(std::isfinite(decodeReal(text.c_str(), 42.0)));

    ColorScheme scheme = {};
    if (parseSchemeText(text.c_str(), &scheme) != 0) return;
    require(std::isfinite(scheme.MinBrightness) && std::isfinite(scheme.MaxBrightness) &&
            std::isfinite(scheme.MinSaturation) && std::isfinite(scheme.MaxSaturation) &&
            std::isfinite(scheme.MinTextcolorContrast));
    // What is written back reads again, with the same background.
    ColorScheme written = {};
    require(parseSchemeText(schemeToString(&scheme), &written) == 0);
    require(written.BackgroundColor == scheme.BackgroundColor);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size) {
    static bool ready = false;
    if (!ready) {
        toolboxInit();
        platMessageQuiet = 1;
        ready = true;
    }
    packedList(data, size);
    texts(data, size);
    return 0;
}
