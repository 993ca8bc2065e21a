// The toolbox's one container: a doubly linked list of untyped item pointers
// with a header that knows its first and last node and its length.
#pragma once

#include <cstdint>

struct List;

struct ListNode {
    ListNode *prev;
    ListNode *next;
    List *owner;  // null once the node has been taken out
    void *data;
};

struct List {
    ListNode *head;
    ListNode *tail;
    std::int32_t count;
};

using ListCompare = int (*)(void *first, void *second);
using ListRelease = void (*)(void *item);
using ListErrorHook = void (*)(std::int32_t code, const char *message);

// Replaceable error hook; empty by default.
extern ListErrorHook lstErrorHook;

List *lstNew();
int lstPrepend(List *list, void *item);
int lstAppend(List *list, void *item);
int lstRemoveNode(ListNode *node);
int lstDeleteNode(ListNode *node);
void lstClear(List *list, ListRelease release);
void lstClearNodes(List *list);
void lstDestroy(List *list);
ListNode *lstHead(List *list);
ListNode *lstTail(List *list);
ListNode *lstPrev(ListNode *node);
ListNode *lstNext(ListNode *node);
void *lstData(ListNode *node);
std::int32_t lstCount(List *list);
int lstSort(List *list, ListCompare compare);
ListNode *lstFindString(const char *name, List *list);
ListNode *lstFindData(List *list, void *item);
