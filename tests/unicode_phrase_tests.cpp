// Phrase files in UTF-8 and UTF-16: how the reader tells the encoding, the
// text it hands out (as UTF-8), and the limits counted in characters.
#include <algorithm>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "main/phrase/display_state.h"
#include "main/phrase/phrase.h"
#include "main/settings/settings.h"
#include "phrase_fixture.h"
#include "res/resource.h"
#include "test_files.h"
#include "toolbox/tbas.h"

namespace {

const std::string markUtf8 = "\xEF\xBB\xBF";

// The text as UTF-16 bytes after their mark.
std::string utf16(const std::u16string &text, bool littleEndian) {
    std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t unit : text) {
        char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
        bytes += littleEndian ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

// True when the text is valid UTF-8 to its end: no character cut in two.
bool wholeUtf8(const std::string &s) {
    for (size_t i = 0; i < s.size();) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        size_t n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        }
        i += n;
    }
    return true;
}

std::int32_t characters(const std::string &s) { return textLength(s.c_str(), TextEncoding::Utf8); }

// Every file here is UTF-8 or UTF-16, so every text it gives is Unicode.
struct UnicodePhrases : PhraseFileTest {
    void use(const std::string &bytes) {
        PhraseFileTest::use("unicode.txt", bytes);
        closePhraseFile();
        fetchPhrase(openOnlyRequest);
    }

    std::set<std::string> draws(int n) {
        std::set<std::string> seen;
        for (int i = 0; i < n; ++i) {
            seen.insert(fetchPhrase(randomRequest));
            EXPECT_TRUE(phraseFile.textIsUnicode);
        }
        return seen;
    }
};

}  // namespace

TEST_F(UnicodePhrases, EveryEncodingGivesTheWordsAsWritten) {
    const std::set<std::string> words = {u8"Grüße aus Köln", u8"Ελλάδα", u8"привет", u8"水", u8"𝄞 clef"};
    const std::u16string wide = u"Grüße aus Köln\r\nΕλλάδα\r\nпривет\r\n水\r\n𝄞 clef\r\n";
    std::string plain;
    for (const std::string &w : words) plain += w + "\r\n";
    struct Case {
        const char *label;
        std::string bytes;
        TextEncoding encoding;
    } cases[] = {
        {"UTF-8", plain, TextEncoding::Utf8},
        {"UTF-8 with its mark", markUtf8 + plain, TextEncoding::Utf8},
        {"UTF-16 little-endian", utf16(wide, true), TextEncoding::Utf16Le},
        {"UTF-16 big-endian", utf16(wide, false), TextEncoding::Utf16Be},
    };
    for (const Case &c : cases) {
        use(c.bytes);
        EXPECT_EQ(phraseFile.reader.encoding, c.encoding) << c.label;
        EXPECT_EQ(phraseFile.lineCount, 5) << c.label;
        EXPECT_EQ(draws(300), words) << c.label;
    }
}

TEST_F(UnicodePhrases, AnsiFilesStayAnsiByteForByte) {
    // Latin-1 umlauts are no UTF-8; plain ASCII has nothing to tell.
    for (const std::string &bytes : {std::string("Gr\xFC\xDF" "e aus K\xF6ln\n"), std::string("plain\n"),
                                     std::string("caf\xC3\xA9 \xFC\n")}) {
        use(bytes);
        EXPECT_EQ(phraseFile.reader.encoding, TextEncoding::Ansi) << bytes;
        EXPECT_EQ(fetchPhrase(randomRequest) + std::string("\n"), bytes);
        EXPECT_FALSE(phraseFile.textIsUnicode);
    }
    // The German files that ship with the saver.
    for (const char *name : {"lu-deutsche-100-worte.txt", "lu-deutsche-zitate-1.txt"}) {
        copyString(settings.PhraseFn, (std::string(LUMORA_PHRASES_DIR "/") + name).c_str(), phraseFnSize);
        fetchPhrase(openOnlyRequest);
        EXPECT_EQ(phraseFile.reader.encoding, TextEncoding::Ansi) << name;
        closePhraseFile();
    }
}

TEST_F(UnicodePhrases, AMarkedPassageFileIsAPassageFileAndSeeksBack) {
    use(markUtf8 + u8"%\r\nÄrger\r\nüber\r\n%\r\nÖl\r\n%\r\nweiß\r\n");
    ASSERT_TRUE(phraseFile.multiLineMode);
    ASSERT_EQ(phraseFile.passageCount, 3);
    const std::set<std::string> passages = {u8"\nÄrger\nüber", u8"\nÖl", u8"\nweiß"};
    EXPECT_EQ(draws(100), passages);
    // Every position in the history brings back its own passage.
    for (ListNode *n = lstHead(passageHistory); n != nullptr; n = lstNext(n)) {
        EXPECT_EQ(passages.count(fetchPhrase(historyPosition(n))), 1u);
    }
    // Counted in characters: "Ärger" and "über" are 5 and 4, each + 2.
    fetchPhrase(phraseFile.passageOffsets[0]);
    EXPECT_EQ(displayState.passageTime, 500 + (7 + 6) * 90);
    // The tip stays the system's own text.
    displayState.tipPending = true;
    EXPECT_STREQ(fetchPhrase(randomRequest), loadText(IDS_KEY_TIP));
    EXPECT_FALSE(phraseFile.textIsUnicode);

    use(utf16(u"%\nΑ\n%\nΒ\n", true));
    ASSERT_TRUE(phraseFile.multiLineMode);
    EXPECT_EQ(std::string(fetchPhrase(phraseFile.passageOffsets[1])), u8"\nΒ");
}

TEST_F(UnicodePhrases, CutsNeverSplitACharacter) {
    // A line of 1028 "a" and then "ü" fills a piece of 1029 characters with
    // the whole "ü"; one "a" more and the "ü" opens the next piece.
    for (int as : {1028, 1029}) {
        std::string line = std::string(as, 'a') + u8"üß€𝄞";
        for (const std::string &bytes : {line + "\n", markUtf8 + line + "\n"}) {
            use(bytes);
            ASSERT_EQ(phraseFile.lineCount, 2) << as;
            for (const std::string &piece : draws(60)) {
                EXPECT_TRUE(wholeUtf8(piece));
                EXPECT_LE(characters(piece), maxPieceChars);
            }
        }
    }
    // Nor tear a combining mark from its letter: the "e" of "e" + U+0301 that
    // would end the piece opens the next one.
    const std::u16string marked = u"%\n" + std::u16string(1028, u'a') + u"e\u0301\n";
    for (const std::string &bytes : {"%\n" + std::string(1028, 'a') + u8"e\u0301\n", utf16(marked, true)}) {
        use(bytes);
        EXPECT_EQ(fetchPhrase(phraseFile.passageOffsets[0]), "\n" + std::string(1028, 'a') + u8"\ne\u0301");
    }
    // The passage limit counts characters: lines of 20 characters of two
    // bytes each (+ 2) are cut after the 454th line, at 9988.
    std::string passage = "%\n";
    for (int i = 0; i < 600; ++i) passage += std::string(u8"ääääääääää") + u8"öööööööööö\n";
    use(passage);
    std::string text = fetchPhrase(phraseFile.passageOffsets[0]);
    EXPECT_TRUE(wholeUtf8(text));
    EXPECT_EQ(characters(text), 454 * 21);
    EXPECT_EQ(displayState.passageTime, 500 + 455 * 22 * 90);
}

TEST_F(UnicodePhrases, BrokenBytesReadAsReplacementCharacters) {
    // In a marked UTF-8 file a stray byte; in UTF-16 a lone surrogate and an
    // odd last byte. Each is one U+FFFD, and CR LF stays one line feed.
    use(markUtf8 + "a\x80" "b\r\n");
    EXPECT_EQ(std::string(fetchPhrase(randomRequest)), u8"a\uFFFDb");
    use(utf16(u"x", true) + std::string("\x00\xD8", 2) + std::string("y\0\r\0\n\0z", 7));
    EXPECT_EQ(phraseFile.lineCount, 2);
    EXPECT_EQ(draws(60), (std::set<std::string>{u8"x\uFFFDy", u8"\uFFFD"}));
}

// Fortune files: the first passage at the top, a lone "%" line somewhere.
TEST_F(UnicodePhrases, FortuneFilesArePassageFilesAndWordListsStaySingleLines) {
    std::ifstream in("/usr/share/games/fortunes/fortunes", std::ios::binary);  // fortune-mod's own
    ASSERT_TRUE(in);
    const std::string fortunes{std::istreambuf_iterator<char>(in), {}};
    std::vector<std::string> whole;
    for (size_t at = 0, end; at < fortunes.size(); at = end + 3) {
        end = std::min(fortunes.find("\n%\n", at), fortunes.size());
        whole.push_back("\n" + fortunes.substr(at, end - at));
    }
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {fortunes, whole},
        {markUtf8 + u8"Ärger\r\n%\r\n%%note\r\nÖl\r\n%", {u8"\nÄrger", u8"\nÖl"}},
        {"50%\n%d\n%%\n" + std::string(1029, 'a') + "%\n", {}},  // that "%" ends a piece, not a line
    };
    for (const auto &[bytes, passages] : cases) {
        use(bytes);
        EXPECT_EQ(phraseFile.multiLineMode, !passages.empty());
        ASSERT_EQ(phraseFile.passageCount, static_cast<std::int32_t>(passages.size()));
        for (size_t k = 0; k < passages.size(); ++k) EXPECT_EQ(fetchPhrase(phraseFile.passageOffsets[k]), passages[k]);
    }
}

#ifdef _WIN32
// Names compare as the file system compares them, every letter's case aside.
TEST_F(UnicodePhrases, TheOpenFileInOtherLetterCaseStaysOpen) {
    PhraseFileTest::use("\xC4rger \xFF.txt", "%\nein\n%\nzwei\n");  // "Ärger ÿ.txt" in Windows-1252
    PhraseFileTest::draws(20);
    const int shown = lstCount(passageHistory);
    copyString(settings.PhraseFn, "\xE4rger \x9F.TXT", phraseFnSize);  // "ärger Ÿ.TXT"
    fetchPhrase(openOnlyRequest);
    EXPECT_STREQ(phraseFile.name, "\xC4rger \xFF.txt");
    EXPECT_EQ(lstCount(passageHistory), shown);
}
#endif
