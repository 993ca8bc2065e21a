// Tests of the toolbox core: string pool, string utilities, messages, lists
// and trace output.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "test_files.h"
#include "toolbox/lst.h"
#include "toolbox/tbas.h"
#include "toolbox/terr.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// Reads back everything written to a scratch stream.
std::string streamText(std::FILE *f) {
    std::fflush(f);
    std::rewind(f);
    std::string text;
    char buf[512];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    return text;
}

// What the process writes to its standard output and error while `run` runs.
template <typename Run> std::string consoleOutputOf(Run run) {
    std::fflush(stdout);
    std::fflush(stderr);
    std::FILE *capture = std::tmpfile();
    int out = dup(1), err = dup(2);
    dup2(fileno(capture), 1);
    dup2(fileno(capture), 2);
    run();
    std::fflush(stdout);
    std::fflush(stderr);
    dup2(out, 1);
    dup2(err, 2);
    close(out);
    close(err);
    std::string text = streamText(capture);
    std::fclose(capture);
    return text;
}

// Message boxes would wait for a user; these tests read the message log.
struct QuietMessages : ::testing::Test {
    std::FILE *log = nullptr;
    void SetUp() override {
        toolboxInit();
        messageSettings.boxesEnabled = false;
        log = std::tmpfile();
        ASSERT_NE(log, nullptr);
        messageSettings.logStream = log;
    }
    void TearDown() override {
        messageSettings.logStream = nullptr;
        messageSettings.boxesEnabled = true;
        std::fclose(log);
    }
};

}  // namespace

TEST(StringPool, RingOf250BuffersComesRoundZeroFilled) {
    toolboxInit();
    char *first = poolString();
    std::strcpy(first, "scribbled");
    std::vector<char *> seen{first};
    for (int i = 1; i < poolStringCount; ++i) seen.push_back(poolString());
    for (int i = 1; i < poolStringCount; ++i) EXPECT_NE(seen[i], first);
    char *again = poolString();
    EXPECT_EQ(again, first);
    for (int i = 0; i < poolStringSize; ++i) ASSERT_EQ(again[i], 0) << i;
    EXPECT_EQ(initStringPool(), 0);
}

TEST(StringPool, CopyAndFormatAreCutTo1999Characters) {
    toolboxInit();
    std::string big(3000, 'x');
    EXPECT_EQ(poolCopy(nullptr), nullptr);
    EXPECT_EQ(std::strlen(poolCopy(big.c_str())), 1999u);
    EXPECT_EQ(std::strlen(poolFormat("%s%s", big.c_str(), big.c_str())), 1999u);
    EXPECT_STREQ(poolFormat("%i-%s", 42, "a"), "42-a");
}

TEST(Strings, PartString) {
    toolboxInit();
    EXPECT_STREQ(partString("abcdef", 2, 3), "cd");
    EXPECT_STREQ(partString("abc", 1, 99), "bc");
    EXPECT_STREQ(partString("abc", 0, static_cast<std::uint32_t>(-1)), "abc");
    EXPECT_EQ(partString("abc", 2, 1), emptyString);
    EXPECT_EQ(partString("", 0, 5), emptyString);
    EXPECT_EQ(partString(nullptr, 0, 5), emptyString);
    EXPECT_EQ(partString("abc", 5, 7), emptyString);
}

TEST_F(QuietMessages, PartStringOfTooLongTextReportsAndCuts) {
    std::string big(3000, 'q');
    const char *part = partString(big.c_str(), 0, 2999);
    EXPECT_EQ(std::strlen(part), 1999u);
    std::string text = streamText(log);
    EXPECT_NE(text.find(" : Error : partString : string too long\n"), std::string::npos) << text;
}

TEST(Strings, StartsWithNoCaseAndEquality) {
    toolboxInit();
    EXPECT_EQ(startsWithNoCase("Color On Black", "color"), 1);
    EXPECT_EQ(startsWithNoCase("Co", "Color"), 0);
    EXPECT_EQ(startsWithNoCase("Color", ""), 0);
    EXPECT_EQ(startsWithNoCase("", "a"), 0);
    EXPECT_EQ(startsWithNoCase(nullptr, "a"), 0);
    EXPECT_EQ(startsWithNoCase("deu", "DE"), 1);
    // Only ASCII letters fold: a Latin-1 capital umlaut is not its small form.
    EXPECT_EQ(equalsNoCase("\xC4", "\xE4"), 0);
    EXPECT_EQ(equalsNoCase("Words.TXT", "words.txt"), 1);
    EXPECT_EQ(equalsNoCase(nullptr, ""), 1);
}

TEST(Strings, TrimString) {
    toolboxInit();
    EXPECT_STREQ(trimString("  a b \t"), "a b");
    EXPECT_EQ(trimString("   "), emptyString);
    EXPECT_EQ(trimString(""), emptyString);
    EXPECT_STREQ(trimString("\r\nx\v\f"), "x");
    EXPECT_STREQ(trimString("y"), "y");
}

TEST(Strings, CopyStringReportsCuts) {
    char dest[4] = {'z', 'z', 'z', 'z'};
    EXPECT_EQ(copyString(dest, "abcdef", 4), 1);
    EXPECT_STREQ(dest, "abc");
    EXPECT_EQ(copyString(dest, "abc", 4), 0);
    EXPECT_STREQ(dest, "abc");
    dest[0] = 'k';
    EXPECT_EQ(copyString(dest, "x", 0), 1);
    EXPECT_EQ(dest[0], 'k');
}

TEST(Strings, NearestLongRoundsHalvesUpward) {
    struct Case {
        double value;
        std::int32_t expected;
    } cases[] = {{0.49, 0}, {0.5, 1}, {-0.5, 0}, {2.5, 3}, {-2.5, -2}, {-2.6, -3}, {7.0, 7}};
    for (const Case &c : cases) EXPECT_EQ(nearestLong(c.value), c.expected) << c.value;
    // Values no 32-bit integer holds are held to the range; NaN gives 0.
    EXPECT_EQ(nearestLong(1e300), INT32_MAX);
    EXPECT_EQ(nearestLong(-1e300), INT32_MIN);
    EXPECT_EQ(nearestLong(2147483647.4), INT32_MAX);
    EXPECT_EQ(nearestLong(std::nan("")), 0);
}

TEST(Strings, FileBaseName) {
    toolboxInit();
    struct Case {
        const char *path;
        const char *expected;
    } cases[] = {
        {"a/b\\c:d.e", "d"}, {"C:\\dir\\name.tar.gz", "name"}, {"name.", "name"},
        {"dir\\.cfg", ""},   {".cfg", ".cfg"},                 {"plain", "plain"},
        {"dir/", ""},        {"", ""},
    };
    for (const Case &c : cases) EXPECT_STREQ(fileBaseName(c.path), c.expected) << c.path;
}

TEST(Strings, SmallPredicates) {
    EXPECT_EQ(isEmptyString(nullptr), 1);
    EXPECT_EQ(isEmptyString(""), 1);
    EXPECT_EQ(isEmptyString("a"), 0);
    EXPECT_EQ(inRange(1, 1, 3), 1);
    EXPECT_EQ(inRange(1, 4, 3), 0);
    EXPECT_EQ(inRange(3, 2, 1), 0);
    EXPECT_EQ(isPathSeparator('/'), 1);
    EXPECT_EQ(isPathSeparator('\\'), 1);
    EXPECT_EQ(isPathSeparator(':'), 0);
    char *copy = dupString("held");
    ASSERT_NE(copy, nullptr);
    EXPECT_STREQ(copy, "held");
    memFree(copy);
    EXPECT_EQ(dupString(nullptr), nullptr);
    EXPECT_EQ(memAlloc(-1), nullptr);
    memFree(nullptr);
}

TEST(Files, ExistsAndChangeDirectory) {
    writeTestFile("exists.txt", "x");
    EXPECT_EQ(fileExists("exists.txt"), 1);
    removeTestFile("exists.txt");
    EXPECT_EQ(fileExists("exists.txt"), 0);
    EXPECT_EQ(fileExists(""), 0);

#ifdef _WIN32
    CreateDirectoryA("subdir-probe", nullptr);
#else
    mkdir("subdir-probe", 0755);
#endif
    writeTestFile("subdir-probe/inside.txt", "y");
    EXPECT_EQ(changeDirectory("subdir-probe"), 0);
    EXPECT_EQ(fileExists("inside.txt"), 1);
    EXPECT_EQ(changeDirectory(".."), 0);
    EXPECT_EQ(changeDirectory("no-such-directory"), 1);
    EXPECT_EQ(changeDirectory(""), 1);
    removeTestFile("subdir-probe/inside.txt");
}

TEST(Messages, TimeStampHasItsFixedShape) {
    toolboxInit();
    const char *stamp = timeStamp();
    ASSERT_EQ(std::strlen(stamp), 17u) << stamp;
    int d, m, y, h, mi, s;
    EXPECT_EQ(std::sscanf(stamp, "%2d.%2d.%2d %2d:%2d:%2d", &d, &m, &y, &h, &mi, &s), 6) << stamp;
    EXPECT_TRUE(inRange(1, d, 31) && inRange(1, m, 12) && inRange(0, y, 99)) << stamp;
}

TEST_F(QuietMessages, BoxesLogTheirTextAndAnswerZeroWhenDisabled) {
    EXPECT_EQ(showMessage("Caption", "value %i", 7), 0);
    EXPECT_EQ(messageBoxF(4, "Ask", "%s?", "sure"), 0);
    std::string text = streamText(log);
    EXPECT_NE(text.find(" : Caption : value 7\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" : Ask : sure?\n"), std::string::npos) << text;
    // The message text is bounded to 999 characters.
    std::string big(1500, 'm');
    showMessage("Long", "%s", big.c_str());
    text = streamText(log);
    EXPECT_NE(text.find(" : Long : " + std::string(999, 'm') + "\n"), std::string::npos);
}

#ifdef _WIN32
// Closes the first message box this process shows, the way a user would.
static DWORD WINAPI closeBoxSoon(void *command) {
    for (int i = 0; i < 200; ++i) {
        HWND box = FindWindowA("#32770", "Closing");
        if (box != nullptr) {
            PostMessageA(box, WM_COMMAND, reinterpret_cast<WPARAM>(command), 0);
            return 0;
        }
        Sleep(25);
    }
    return 1;
}

TEST(Messages, ShowMessageAnswersZeroHoweverTheBoxIsClosed) {
    toolboxInit();
    for (WPARAM command : {static_cast<WPARAM>(IDOK), static_cast<WPARAM>(IDCANCEL)}) {
        HANDLE closer = CreateThread(nullptr, 0, closeBoxSoon, reinterpret_cast<void *>(command), 0, nullptr);
        EXPECT_EQ(showMessage("Closing", "press %s", command == IDOK ? "OK" : "Cancel"), 0);
        WaitForSingleObject(closer, 10000);
        DWORD code = 9;
        GetExitCodeThread(closer, &code);
        EXPECT_EQ(code, 0u) << "no box appeared";
        CloseHandle(closer);
    }
    HANDLE closer = CreateThread(nullptr, 0, closeBoxSoon, reinterpret_cast<void *>(IDNO), 0, nullptr);
    EXPECT_EQ(messageBoxF(MB_YESNO, "Closing", "answer no"), IDNO);
    WaitForSingleObject(closer, 10000);
    CloseHandle(closer);
}
#endif

// Lists.

namespace {
std::vector<std::intptr_t> items(List *list) {
    std::vector<std::intptr_t> v;
    for (ListNode *n = lstHead(list); n != nullptr; n = lstNext(n)) v.push_back(reinterpret_cast<std::intptr_t>(lstData(n)));
    return v;
}
void *item(std::intptr_t v) { return reinterpret_cast<void *>(v); }
int ascending(void *a, void *b) {
    return static_cast<int>(reinterpret_cast<std::intptr_t>(a) - reinterpret_cast<std::intptr_t>(b));
}
// Checks every invariant of a list: links both ways, owner, count, ends.
void expectConsistent(List *list) {
    std::int32_t n = 0;
    ListNode *prev = nullptr;
    for (ListNode *node = lstHead(list); node != nullptr; node = lstNext(node)) {
        EXPECT_EQ(node->prev, prev);
        EXPECT_EQ(node->owner, list);
        prev = node;
        ++n;
    }
    EXPECT_EQ(prev, lstTail(list));
    EXPECT_EQ(n, lstCount(list));
    EXPECT_EQ(lstHead(list) == nullptr, lstTail(list) == nullptr);
}
}  // namespace

TEST(Lists, InsertAndRemoveKeepTheLinks) {
    List *list = lstNew();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(lstPrepend(list, item(2)), 0);
    EXPECT_EQ(lstHead(list), lstTail(list));
    EXPECT_EQ(lstAppend(list, item(3)), 0);
    EXPECT_EQ(lstPrepend(list, item(1)), 0);
    EXPECT_EQ(items(list), (std::vector<std::intptr_t>{1, 2, 3}));
    expectConsistent(list);

    ListNode *middle = lstNext(lstHead(list));
    EXPECT_EQ(lstRemoveNode(middle), 0);
    EXPECT_EQ(items(list), (std::vector<std::intptr_t>{1, 3}));
    expectConsistent(list);
    EXPECT_EQ(lstRemoveNode(lstTail(list)), 0);
    EXPECT_EQ(lstRemoveNode(lstHead(list)), 0);
    EXPECT_EQ(lstHead(list), nullptr);
    EXPECT_EQ(lstTail(list), nullptr);
    EXPECT_EQ(lstCount(list), 0);
    EXPECT_EQ(lstRemoveNode(nullptr), 1);
    EXPECT_EQ(lstAppend(nullptr, item(1)), 1);
    EXPECT_EQ(lstPrepend(nullptr, item(1)), 1);
    lstDestroy(list);
}

TEST(Lists, NullArgumentsAnswerEmpty) {
    EXPECT_EQ(lstCount(nullptr), 0);
    EXPECT_EQ(lstHead(nullptr), nullptr);
    EXPECT_EQ(lstTail(nullptr), nullptr);
    EXPECT_EQ(lstData(nullptr), nullptr);
    EXPECT_EQ(lstNext(nullptr), nullptr);
    EXPECT_EQ(lstPrev(nullptr), nullptr);
    EXPECT_EQ(lstSort(nullptr, ascending), 1);
    EXPECT_EQ(lstFindString("a", nullptr), nullptr);
    EXPECT_EQ(lstFindData(nullptr, item(1)), nullptr);
    lstClear(nullptr, nullptr);
    lstDestroy(nullptr);
}

TEST(Lists, SortMovesItemsNotNodesAndIsStable) {
    List *list = lstNew();
    EXPECT_EQ(lstSort(list, ascending), 0);
    lstAppend(list, item(5));
    EXPECT_EQ(lstSort(list, ascending), 0);
    EXPECT_EQ(items(list), (std::vector<std::intptr_t>{5}));
    lstClearNodes(list);

    for (std::intptr_t v : {3, 1, 2}) lstAppend(list, item(v));
    ListNode *nodes[3] = {lstHead(list), lstNext(lstHead(list)), lstTail(list)};
    EXPECT_EQ(lstSort(list, ascending), 0);
    EXPECT_EQ(items(list), (std::vector<std::intptr_t>{1, 2, 3}));
    EXPECT_EQ(lstHead(list), nodes[0]);
    EXPECT_EQ(lstNext(lstHead(list)), nodes[1]);
    EXPECT_EQ(lstTail(list), nodes[2]);
    lstClearNodes(list);

    // Stability: items compared by tens only keep their order within a ten.
    for (std::intptr_t v : {21, 10, 22, 11, 5, 23}) lstAppend(list, item(v));
    lstSort(list, [](void *a, void *b) {
        return static_cast<int>(reinterpret_cast<std::intptr_t>(a) / 10 - reinterpret_cast<std::intptr_t>(b) / 10);
    });
    EXPECT_EQ(items(list), (std::vector<std::intptr_t>{5, 10, 11, 21, 22, 23}));
    expectConsistent(list);
    lstClearNodes(list);
    memFree(list);
}

TEST(Lists, FindClearAndDelete) {
    toolboxInit();
    List *list = lstNew();
    lstAppend(list, nullptr);
    lstAppend(list, dupString("Arial"));
    lstAppend(list, dupString("Courier"));
    lstAppend(list, dupString("Arial"));
    EXPECT_EQ(lstFindString(nullptr, list), nullptr);
    EXPECT_EQ(lstFindString("arial", list), nullptr);
    EXPECT_EQ(lstFindString("Arial", list), lstNext(lstHead(list)));
    void *courier = lstData(lstNext(lstNext(lstHead(list))));
    EXPECT_EQ(lstFindData(list, courier), lstNext(lstNext(lstHead(list))));

    EXPECT_EQ(lstDeleteNode(lstFindString("Courier", list)), 0);
    EXPECT_EQ(lstCount(list), 3);
    expectConsistent(list);

    static std::vector<void *> released;
    released.clear();
    std::vector<void *> expected;
    for (ListNode *n = lstHead(list); n != nullptr; n = lstNext(n)) expected.push_back(lstData(n));
    lstClear(list, [](void *p) {
        released.push_back(p);
        memFree(p);
    });
    EXPECT_EQ(released, expected);
    EXPECT_EQ(lstCount(list), 0);
    EXPECT_EQ(lstHead(list), nullptr);
    lstAppend(list, dupString("again"));
    lstDestroy(list);
}

// Trace.

TEST(Trace, WritesOnlyAtItsLevelWithAStream) {
    toolboxInit();
    std::FILE *f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    auto writeAll = [] {
        traceLine("line");
        traceExec("call (x)", "file.cpp", 12);
        traceError("call (x)", "file.cpp", 12, 4);
    };
    // Without a stream nothing is written anywhere: not to the stream set
    // before, not to the console.
    traceSettings.stream = f;
    traceSettings.level = 1;
    traceLine("before");
    const std::string before = streamText(f);
    traceSettings.level = 9;
    traceSettings.stream = nullptr;
    EXPECT_EQ(consoleOutputOf(writeAll), "");
    EXPECT_EQ(streamText(f), before);
    std::fclose(f);
    f = std::tmpfile();
    traceSettings.stream = f;
    traceSettings.level = 0;
    writeAll();
    EXPECT_EQ(streamText(f), "");

    traceSettings.level = 1;
    writeAll();
    std::string text = streamText(f);
    EXPECT_NE(text.find(" : line\n"), std::string::npos);
    EXPECT_EQ(text.find("call"), std::string::npos);

    std::FILE *g = std::tmpfile();
    traceSettings.stream = g;
    traceSettings.level = 3;
    writeAll();
    text = streamText(g);
    EXPECT_NE(text.find(" : Error 4 executing call (x) at file.cpp:#12\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("Executing"), std::string::npos);

    std::FILE *h = std::tmpfile();
    traceSettings.stream = h;
    traceSettings.level = 5;
    writeAll();
    text = streamText(h);
    EXPECT_NE(text.find(" : Executing call (x) at file.cpp:#12\n"), std::string::npos) << text;
    EXPECT_LT(text.find("Executing"), text.find("Error 4"));

    traceSettings.level = 0;
    traceSettings.stream = nullptr;
    std::fclose(f);
    std::fclose(g);
    std::fclose(h);
}

TEST_F(QuietMessages, MessagesReachTheTraceAtLevelOne) {
    std::FILE *f = std::tmpfile();
    traceSettings.stream = f;
    traceSettings.level = 1;
    showMessage("Cap", "text %s", "here");
    traceSettings.level = 0;
    traceSettings.stream = nullptr;
    std::string text = streamText(f);
    EXPECT_NE(text.find(" : Cap : text here\n"), std::string::npos) << text;
    std::fclose(f);
}
