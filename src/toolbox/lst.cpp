// Doubly linked lists of untyped item pointers.
#include "lst.h"

#include <cstring>

#include "tbas.h"

ListErrorHook lstErrorHook = nullptr;

static void reportListError(std::int32_t code, const char *message) {
    if (lstErrorHook != nullptr) lstErrorHook(code, message);
}

List *lstNew() {
    List *list = static_cast<List *>(memAlloc(sizeof(List)));
    if (list == nullptr) {
        reportListError(1, "LST: No memory for new list");
        return nullptr;
    }
    list->head = nullptr;
    list->tail = nullptr;
    list->count = 0;
    return list;
}

static ListNode *newNode(List *list, void *item) {
    ListNode *node = static_cast<ListNode *>(memAlloc(sizeof(ListNode)));
    if (node == nullptr) {
        reportListError(1, "LST: No memory for new node");
        return nullptr;
    }
    node->prev = nullptr;
    node->next = nullptr;
    node->owner = list;
    node->data = item;
    return node;
}

int lstPrepend(List *list, void *item) {
    if (list == nullptr) return 1;
    ListNode *node = newNode(list, item);
    if (node == nullptr) return 1;
    node->next = list->head;
    if (list->head != nullptr) list->head->prev = node;
    else list->tail = node;
    list->head = node;
    list->count += 1;
    return 0;
}

int lstAppend(List *list, void *item) {
    if (list == nullptr) return 1;
    ListNode *node = newNode(list, item);
    if (node == nullptr) return 1;
    node->prev = list->tail;
    if (list->tail != nullptr) list->tail->next = node;
    else list->head = node;
    list->tail = node;
    list->count += 1;
    return 0;
}

int lstRemoveNode(ListNode *node) {
    if (node == nullptr || node->owner == nullptr) return 1;
    List *list = node->owner;
    ListNode *prev = node->prev;
    ListNode *next = node->next;
    node->owner = nullptr;
    if (list->head == node) list->head = next;
    if (list->tail == node) list->tail = prev;
    if (prev != nullptr) prev->next = next;
    if (next != nullptr) next->prev = prev;
    memFree(node);
    list->count -= 1;
    return 0;
}

int lstDeleteNode(ListNode *node) {
    if (node != nullptr && node->owner != nullptr && node->data != nullptr) memFree(node->data);
    return lstRemoveNode(node);
}

void lstClear(List *list, ListRelease release) {
    if (list == nullptr) return;
    ListNode *node = list->head;
    while (node != nullptr) {
        ListNode *next = node->next;
        if (release != nullptr) release(node->data);
        memFree(node);
        node = next;
    }
    list->head = nullptr;
    list->tail = nullptr;
    list->count = 0;
}

void lstClearNodes(List *list) { lstClear(list, nullptr); }

void lstDestroy(List *list) {
    if (list == nullptr) return;
    lstClear(list, memFree);
    memFree(list);
}

ListNode *lstHead(List *list) { return list != nullptr ? list->head : nullptr; }
ListNode *lstTail(List *list) { return list != nullptr ? list->tail : nullptr; }
ListNode *lstPrev(ListNode *node) { return node != nullptr ? node->prev : nullptr; }
ListNode *lstNext(ListNode *node) { return node != nullptr ? node->next : nullptr; }
void *lstData(ListNode *node) { return node != nullptr ? node->data : nullptr; }
std::int32_t lstCount(List *list) { return list != nullptr ? list->count : 0; }

// A bidirectional bubble sort that exchanges items and leaves nodes in place;
// equal items never move, so the sort is stable.
int lstSort(List *list, ListCompare compare) {
    if (list == nullptr) return 1;
    bool exchanged;
    do {
        exchanged = false;
        for (ListNode *n = list->head; n != nullptr && n->next != nullptr; n = n->next) {
            if (compare(n->data, n->next->data) > 0) {
                void *t = n->data;
                n->data = n->next->data;
                n->next->data = t;
                exchanged = true;
            }
        }
        for (ListNode *n = list->tail; n != nullptr && n->prev != nullptr; n = n->prev) {
            if (compare(n->prev->data, n->data) > 0) {
                void *t = n->data;
                n->data = n->prev->data;
                n->prev->data = t;
                exchanged = true;
            }
        }
    } while (exchanged);
    return 0;
}

ListNode *lstFindString(const char *name, List *list) {
    if (name == nullptr) return nullptr;
    for (ListNode *n = lstHead(list); n != nullptr; n = n->next) {
        if (n->data != nullptr && std::strcmp(static_cast<const char *>(n->data), name) == 0) return n;
    }
    return nullptr;
}

ListNode *lstFindData(List *list, void *item) {
    for (ListNode *n = lstHead(list); n != nullptr; n = n->next) {
        if (n->data == item) return n;
    }
    return nullptr;
}
