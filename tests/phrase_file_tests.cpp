// Tests of the phrase file reader on real files: recognition, indexing,
// random lines and passages, the limits and every error text.
#include <cstring>
#include <set>
#include <string>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "main/phrase/display_state.h"
#include "main/phrase/phrase.h"
#include "main/settings/settings.h"
#include "phrase_fixture.h"
#include "test_files.h"
#include "toolbox/tbas.h"
#include "toolbox/tplat.h"
#ifndef _WIN32
#include "toolbox/tplat_posix.h"
#endif

namespace {

std::string passages(int count, const char *prefix = "passage ") {
    std::string s = "%\n";
    for (int i = 0; i < count; ++i) s += prefix + std::to_string(i) + "\n%\n";
    return s;
}

}  // namespace

TEST_F(PhraseFileTest, SingleLineFileHandsOutEveryLine) {
    use("words.txt", joinLines({"alpha", "beta", "% gamma", "delta"}));
    std::set<std::string> seen = draws(400);
    EXPECT_EQ(seen, (std::set<std::string>{"alpha", "beta", "% gamma", "delta"}));
    EXPECT_FALSE(phraseFile.multiLineMode);
    EXPECT_EQ(phraseFile.lineCount, 4);
    EXPECT_EQ(displayState.passageTime, 0);
}

TEST_F(PhraseFileTest, FirstLineWithPercentMakesAPassageFile) {
    for (const char *first : {"%", "%%", "% a note"}) {
        closePhraseFile();
        use("first.txt", std::string(first) + "\none\ntwo\n%\nthree\n");
        EXPECT_EQ(fetchPhrase(openOnlyRequest), emptyString);
        EXPECT_TRUE(phraseFile.multiLineMode) << first;
        EXPECT_EQ(phraseFile.passageCount, 2) << first;
        EXPECT_EQ(phraseFile.lineCount, 5);
    }
    std::set<std::string> seen = draws(100);
    EXPECT_EQ(seen, (std::set<std::string>{"\none\ntwo", "\nthree"}));
}

TEST_F(PhraseFileTest, SeparatorsInARowGiveNoEmptyPassages) {
    use("seps.txt", "%\n%%\n% x\none\n%\n%\n\n%\n");
    fetchPhrase(openOnlyRequest);
    EXPECT_EQ(phraseFile.passageCount, 2);
    // An empty line is passage text too.
    EXPECT_EQ(draws(100), (std::set<std::string>{"\none", "\n"}));

    closePhraseFile();
    use("only-seps.txt", "%\n%%\n% note\n");
    EXPECT_STREQ(fetchPhrase(randomRequest), "No paragraphs found in \"only-seps.txt\"");
}

TEST_F(PhraseFileTest, ErrorTextsForMissingEmptyAndBlankFiles) {
    use("empty.txt", "");
    EXPECT_STREQ(fetchPhrase(randomRequest), "\"empty.txt\" contains no lines");

    closePhraseFile();
    use("blank.txt", "\n");
    EXPECT_STREQ(fetchPhrase(randomRequest), "Line 1 of \"blank.txt\" is empty");

    closePhraseFile();
    removeTestFile("missing.txt");
    copyString(settings.PhraseFn, "missing.txt", sizeof settings.PhraseFn);
    EXPECT_STREQ(fetchPhrase(openOnlyRequest), "\"missing.txt\" not found");
    EXPECT_STREQ(fetchPhrase(randomRequest), "\"missing.txt\" not found");
    // The next request tries again and finds the file once it is there.
    writeTestFile("missing.txt", "found\n");
    EXPECT_STREQ(fetchPhrase(randomRequest), "found");
    removeTestFile("missing.txt");
}

TEST_F(PhraseFileTest, ADirectoryIsNotFound) {
    copyString(settings.PhraseFn, ".", sizeof settings.PhraseFn);
    EXPECT_STREQ(fetchPhrase(randomRequest), "\".\" not found");
    EXPECT_FALSE(phraseFile.open);
}

TEST_F(PhraseFileTest, DevicesAndPipesAreNotFound) {
#ifdef _WIN32
    const std::string names[] = {"CON", "NUL", "AUX", "COM1", "aux.txt", "nul.txt"};
#else
    // Reading /dev/zero never ends; opening a pipe waits for a writer.
    removeTestFile("phrase-pipe");
    ASSERT_EQ(mkfifo("phrase-pipe", 0600), 0);
    const std::string names[] = {"/dev/null", "/dev/zero", "phrase-pipe"};
#endif
    for (const std::string &name : names) {
        copyString(settings.PhraseFn, name.c_str(), sizeof settings.PhraseFn);
        EXPECT_EQ(std::string(fetchPhrase(randomRequest)), "\"" + name + "\" not found");
        EXPECT_FALSE(phraseFile.open) << name;
    }
    removeTestFile("phrase-pipe");
}

TEST_F(PhraseFileTest, ANameTooLongForTheStoredNameIsRefused) {
    std::string name(1027, 'n');
    writeTestFile("short.txt", "x\n");
    // 1027 characters fit; such a file does not exist here, so it is not found.
    copyString(settings.PhraseFn, name.c_str(), sizeof settings.PhraseFn);
    EXPECT_EQ(std::string(fetchPhrase(randomRequest)), "\"" + name + "\" not found");
    // A longer name is never cut short: its first 1027 characters name an
    // existing file, which must not be opened in its place.
    std::string prefix;
    for (int i = 0; i < 509; ++i) prefix += "./";
    prefix += "short.txt";
    ASSERT_EQ(prefix.size(), 1027u);
    std::string longName = prefix + "abcd";
    ASSERT_EQ(longName.size(), 1031u);
    copyString(settings.PhraseFn, longName.c_str(), sizeof settings.PhraseFn);
    EXPECT_EQ(std::string(fetchPhrase(randomRequest)), "\"" + longName + "\" not found");
    EXPECT_FALSE(phraseFile.open);
}

TEST_F(PhraseFileTest, OtherLetterCaseReusesTheOpenFile) {
    use("Case.txt", passages(3));
    fetchPhrase(openOnlyRequest);
    ASSERT_EQ(phraseFile.passageCount, 3);
    appendToHistory(phraseFile.passageOffsets[0]);
    writeTestFile("Case.txt", passages(5));  // not noticed: no new analysis
    copyString(settings.PhraseFn, "CASE.TXT", sizeof settings.PhraseFn);
    fetchPhrase(openOnlyRequest);
    EXPECT_EQ(phraseFile.passageCount, 3);
    EXPECT_EQ(lstCount(passageHistory), 1);

    // Another name closes the file, analyses anew and empties the history.
    use("other.txt", passages(4));
    displayState.passageTime = 77;
    fetchPhrase(openOnlyRequest);
    EXPECT_EQ(phraseFile.passageCount, 4);
    EXPECT_EQ(lstCount(passageHistory), 0);
    EXPECT_EQ(displayState.passageTime, 0);
}

TEST_F(PhraseFileTest, PassagesComeWithTheirDisplayTime) {
    use("times.txt", "%\nab\ncdef\n%\nlast one");
    fetchPhrase(openOnlyRequest);
    ASSERT_EQ(phraseFile.passageCount, 2);
    // By position: the passage there, not added to the history.
    EXPECT_STREQ(fetchPhrase(phraseFile.passageOffsets[0]), "\nab\ncdef");
    EXPECT_EQ(displayState.passageTime, 500 + (4 + 6) * 90);
    EXPECT_EQ(lstCount(passageHistory), 0);
    // The last passage runs to the end of a file without a final separator.
    EXPECT_STREQ(fetchPhrase(phraseFile.passageOffsets[1]), "\nlast one");
    EXPECT_EQ(displayState.passageTime, 500 + 10 * 90);

    inConfigDialog = true;
    fetchPhrase(phraseFile.passageOffsets[0]);
    EXPECT_EQ(displayState.passageTime, 500 + 75 * 90);
    inConfigDialog = false;

    // A random passage is added to the history.
    const char *text = fetchPhrase(randomRequest);
    EXPECT_TRUE(std::strcmp(text, "\nab\ncdef") == 0 || std::strcmp(text, "\nlast one") == 0);
    EXPECT_EQ(lstCount(passageHistory), 1);
}

TEST_F(PhraseFileTest, ErrorTextsStandAsLongAsAPassageOfTheirLength) {
    use("only-seps.txt", "%\n%\n");
    displayState.passageTime = 1234;
    fetchPhrase(openOnlyRequest);
    EXPECT_EQ(displayState.passageTime, 0);  // the analysis resets it
    displayState.passageTime = 1234;
    EXPECT_STREQ(fetchPhrase(randomRequest), "No paragraphs found in \"only-seps.txt\"");
    EXPECT_EQ(displayState.passageTime, settings.ExtraTimePerParagraph + 38 * settings.ReadingTimePerChar);
}

TEST_F(PhraseFileTest, TheTipReplacesOnePassageInMultiLineModeOnly) {
    use("tip.txt", passages(2));
    displayState.tipPending = true;
    EXPECT_STREQ(fetchPhrase(randomRequest),
                 "Tip:\r\nYou can use the keys\r\nHome, End, PgUp, PgDn\r\nto move back and forth\r\n"
                 "between the text passages.");
    EXPECT_EQ(displayState.passageTime, 9000);
    EXPECT_FALSE(displayState.tipPending);
    EXPECT_EQ(lstCount(passageHistory), 0);
    EXPECT_EQ(std::string(fetchPhrase(randomRequest)).rfind("\npassage ", 0), 0u);

    closePhraseFile();
    use("tip-words.txt", "word\n");
    displayState.tipPending = true;
    EXPECT_STREQ(fetchPhrase(randomRequest), "word");
    EXPECT_TRUE(displayState.tipPending);
}

TEST_F(PhraseFileTest, OnlyTheFirst30000PassagesAreIndexed) {
    use("many.txt", passages(30005, "p"));
    fetchPhrase(openOnlyRequest);
    EXPECT_EQ(phraseFile.passageCount, 30000);
    EXPECT_STREQ(fetchPhrase(phraseFile.passageOffsets[29999]), "\np29999");
}

TEST_F(PhraseFileTest, LinesBeyondTheFirst32768CanBeChosen) {
    std::string s;
    for (int i = 1; i <= 40000; ++i) s += "L" + std::to_string(i) + "\n";
    use("long-list.txt", s);
    int highest = 0;
    for (int i = 0; i < 3000; ++i) {
        int n = std::atoi(fetchPhrase(randomRequest) + 1);
        ASSERT_GE(n, 1);
        highest = n > highest ? n : highest;
    }
    EXPECT_EQ(phraseFile.lineCount, 40000);
    EXPECT_LE(highest, 40000);
    EXPECT_GT(highest, 38000);  // chance of failing: 0.95^3000
}

TEST_F(PhraseFileTest, APassageIsCutAt10000CountedCharacters) {
    // Lines of 98 characters count 100 each: 100 lines reach exactly 10000.
    std::string line(98, 'w');
    std::string s = "%\n";
    for (int i = 0; i < 101; ++i) s += line + "\n";
    s += "%\n";
    use("cut.txt", s);
    fetchPhrase(openOnlyRequest);
    std::string text = fetchPhrase(phraseFile.passageOffsets[0]);
    EXPECT_EQ(text.size(), 100u * 99u);
    EXPECT_EQ(displayState.passageTime, 500 + 10100 * 90);

    // Ten lines of 999 characters count 10010: the tenth is left out, yet
    // its count sets the display time.
    closePhraseFile();
    std::string huge;
    for (int i = 0; i < 10; ++i) huge += std::string(999, 'h') + "\n";
    use("cut2.txt", "%\n" + huge + "%\n");
    fetchPhrase(openOnlyRequest);
    EXPECT_EQ(std::string(fetchPhrase(phraseFile.passageOffsets[0])).size(), 9u * 1000u);
    EXPECT_EQ(displayState.passageTime, 500 + 10010 * 90);
}

TEST_F(PhraseFileTest, LongLinesAreReadInPiecesOf1029) {
    std::string s(2500, 'x');
    use("pieces.txt", s + "\n");
    fetchPhrase(openOnlyRequest);
    EXPECT_EQ(phraseFile.lineCount, 3);
    std::set<size_t> sizes;
    for (const std::string &t : draws(200)) sizes.insert(t.size());
    EXPECT_EQ(sizes, (std::set<size_t>{1029, 442}));

    // Inside a passage a piece that starts with "%" is a separator.
    closePhraseFile();
    use("piece-sep.txt", "%\n" + std::string(1029, 'a') + "% not text\nnext\n");
    fetchPhrase(openOnlyRequest);
    EXPECT_EQ(phraseFile.passageCount, 2);
    EXPECT_EQ(std::string(fetchPhrase(phraseFile.passageOffsets[0])), "\n" + std::string(1029, 'a'));
    EXPECT_STREQ(fetchPhrase(phraseFile.passageOffsets[1]), "\nnext");
}

// In a double-byte code page (Shift-JIS) a piece holds 1029 characters of one
// or two bytes, never ends between the two, and the time counts characters.
// A line of 1,200 bytes was cut at byte 1029, inside a character.
TEST_F(PhraseFileTest, DoubleByteLinesAreCutBetweenCharactersAndTimedByCharacters) {
#ifdef _WIN32
    if (platFileCodePage() != 932) GTEST_SKIP() << "runs in wine.phrase_tests_japanese";
#else
    platLeadByteHook = [](unsigned char b) { return (b >= 0x81 && b <= 0x9F) || b >= 0xE0; };
#endif
    auto kanji = [](int n) { std::string s; while (n-- > 0) s += "\x8E\x9A"; return s; };  // 字
    use("utf8-first.txt", u8"Äpfel\n");  // a Unicode file opened before tells nothing of the next one
    fetchPhrase(openOnlyRequest);
    use("shift-jis.txt", "%\r\nxy" + kanji(599) + "\r\n%\r\nxy" + kanji(1200) + "\r\n");
    fetchPhrase(openOnlyRequest);
    EXPECT_EQ(fetchPhrase(phraseFile.passageOffsets[0]), "\nxy" + kanji(599));
    EXPECT_EQ(displayState.passageTime, 500 + (601 + 2) * 90);
    EXPECT_EQ(fetchPhrase(phraseFile.passageOffsets[1]), "\nxy" + kanji(1027) + "\n" + kanji(173));
    EXPECT_EQ(displayState.passageTime, 500 + (1029 + 2 + 173 + 2) * 90);
#ifndef _WIN32
    platLeadByteHook = nullptr;
#endif
}

TEST_F(PhraseFileTest, CrLfReadsAsOneLineFeedAndPositionsSeekBack) {
    use("crlf.txt", joinLines({"%", "first line", "second", "%", "third", "%"}, "\r\n"));
    fetchPhrase(openOnlyRequest);
    ASSERT_EQ(phraseFile.passageCount, 2);
    EXPECT_EQ(phraseFile.passageOffsets[0], 3);
    EXPECT_STREQ(fetchPhrase(phraseFile.passageOffsets[0]), "\nfirst line\nsecond");
    EXPECT_EQ(displayState.passageTime, 500 + (12 + 8) * 90);
    EXPECT_STREQ(fetchPhrase(phraseFile.passageOffsets[1]), "\nthird");
    EXPECT_STREQ(fetchPhrase(phraseFile.passageOffsets[0]), "\nfirst line\nsecond");

    // A lone CR stays a character; CR LF across a piece's end is one line feed.
    closePhraseFile();
    use("crlf-words.txt", "a\rb\r\n" + std::string(1028, 'c') + "\r\n" + std::string(1029, 'd') + "\r\n");
    fetchPhrase(openOnlyRequest);
    EXPECT_EQ(phraseFile.lineCount, 4);
    std::set<std::string> expected{"a\rb", std::string(1028, 'c'), std::string(1029, 'd'), "Line 4 of \"crlf-words.txt\" is empty"};
    EXPECT_EQ(draws(300), expected);
}

TEST_F(PhraseFileTest, BinaryGarbageAndHugeLinesGiveTexts) {
    std::string garbage;
    for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 7919) % 256 == 10 ? 0 : (i * 7919) % 256);
    garbage[0] = '\0';
    use("garbage.bin", garbage);
    fetchPhrase(openOnlyRequest);
    EXPECT_FALSE(phraseFile.multiLineMode);
    EXPECT_EQ(phraseFile.lineCount, 5);  // 5000 bytes without a line feed
    for (int i = 0; i < 50; ++i) EXPECT_LE(std::strlen(fetchPhrase(randomRequest)), 1029u);

    closePhraseFile();
    std::string huge(50 * 1000 * 1000, 'z');
    use("huge.txt", huge);
    huge.clear();
    fetchPhrase(openOnlyRequest);
    EXPECT_EQ(phraseFile.lineCount, (50 * 1000 * 1000 + 1028) / 1029);
    size_t n = std::strlen(fetchPhrase(randomRequest));
    EXPECT_TRUE(n == 1029u || n == 50u * 1000u * 1000u % 1029u) << n;
    closePhraseFile();
    removeTestFile("huge.txt");
}

TEST_F(PhraseFileTest, AFileEditedWhileOpenIsReadAfreshSmallOrLarge) {
    // The same lines and lengths, other letters: small enough for one read
    // of the reader, and well beyond it.
    for (int lines : {3, 20000}) {
        std::string before, after;
        for (int i = 0; i < lines; ++i) {
            before += "old " + std::to_string(100000 + i) + "\n";
            after += "new " + std::to_string(100000 + i) + "\n";
        }
        use("edited.txt", before);
        fetchPhrase(openOnlyRequest);
        writeTestFile("edited.txt", after);
        for (const std::string &line : draws(30)) EXPECT_EQ(line.rfind("new ", 0), 0u) << lines << ": " << line;
        closePhraseFile();

        use("edited.txt", "%\n" + before);
        fetchPhrase(openOnlyRequest);
        ASSERT_EQ(phraseFile.passageCount, 1);
        writeTestFile("edited.txt", "%\n" + after);
        std::string passage = fetchPhrase(phraseFile.passageOffsets[0]);
        EXPECT_EQ(passage.rfind("\nnew 100000\nnew 100001", 0), 0u) << lines;
        closePhraseFile();
    }
}

TEST_F(PhraseFileTest, AFileChangedOrDeletedWhileOpenNeverCrashes) {
    std::string s;
    for (int i = 1; i <= 20000; ++i) s += "line " + std::to_string(i) + "\n";
    use("shrinking.txt", s);
    fetchPhrase(openOnlyRequest);
    ASSERT_EQ(phraseFile.lineCount, 20000);
    // Cut the file to ten lines behind the reader's back.
    writeTestFile("shrinking.txt", joinLines({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    bool sawError = false;
    for (int i = 0; i < 50 && !sawError; ++i) {
        sawError = std::string(fetchPhrase(randomRequest)) == "Error reading line 11 of \"shrinking.txt\"";
    }
    EXPECT_TRUE(sawError);

    closePhraseFile();
    use("deleted.txt", passages(3));
    fetchPhrase(openOnlyRequest);
    removeTestFile("deleted.txt");  // refused on Windows while open; allowed on POSIX
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(std::string(fetchPhrase(randomRequest)).rfind("\npassage ", 0), 0u);
    }
    closePhraseFile();
    removeTestFile("deleted.txt");
    EXPECT_STREQ(fetchPhrase(randomRequest), "\"deleted.txt\" not found");
}
