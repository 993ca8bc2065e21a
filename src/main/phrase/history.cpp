// The history of randomly chosen passages and the four moves through it.
#include <cstdint>

#include "main/phrase/phrase.h"

List *passageHistory = nullptr;
ListNode *historyPos = nullptr;

static void *toItem(std::int32_t position) { return reinterpret_cast<void *>(static_cast<std::intptr_t>(position)); }

std::int32_t historyPosition(ListNode *node) {
    return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(lstData(node)));
}

void newPassageHistory() {
    // The entries are positions, not heap blocks: free the nodes only.
    if (passageHistory != nullptr) {
        lstClearNodes(passageHistory);
    } else {
        passageHistory = lstNew();
    }
    historyPos = nullptr;
}

void clearPassageHistory() {
    lstClearNodes(passageHistory);
    historyPos = nullptr;
}

void appendToHistory(std::int32_t position) {
    if (passageHistory == nullptr) passageHistory = lstNew();
    lstAppend(passageHistory, toItem(position));
    if (lstCount(passageHistory) > maxHistory) {
        ListNode *oldest = lstHead(passageHistory);
        if (oldest == historyPos) historyPos = lstNext(oldest);
        lstRemoveNode(oldest);
    }
}

ListNode *resolvePassageMove(PassageMove move) {
    ListNode *newest = lstTail(passageHistory);
    ListNode *result = nullptr;
    switch (move) {
    case PassageMove::First:
        result = lstHead(passageHistory);
        break;
    case PassageMove::Last:
        result = newest;
        break;
    case PassageMove::Next:
        result = historyPos == newest ? nullptr : lstNext(historyPos);
        break;
    case PassageMove::Previous:
        if (historyPos != nullptr) {
            result = lstPrev(historyPos) != nullptr ? lstPrev(historyPos) : historyPos;
        } else if (newest != nullptr) {
            result = lstPrev(newest) != nullptr ? lstPrev(newest) : newest;
        }
        break;
    }
    historyPos = result;
    return result;
}
