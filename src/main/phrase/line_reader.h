// A buffered reader of a text file in pieces, with the platform's text-mode
// rules done by hand so that large files are read at memory speed: a CR LF
// pair reads as one line feed, a piece ends after its line feed or when it
// holds its number of characters, and positions are byte offsets that seek
// back exactly.
//
// The file's encoding is recognised when it is opened: a UTF-8 mark, a UTF-16
// mark (little- or big-endian), else UTF-8 when every byte above 127 belongs
// to a valid UTF-8 sequence and there is at least one, else the ANSI code
// page. The mark is not text. Pieces of ANSI files are their bytes as they
// are; pieces of the others are UTF-8, and their characters are Unicode
// characters (an invalid sequence, a lone surrogate or an odd last byte of
// UTF-16 reads as one U+FFFD), so that a piece never ends inside one, nor
// between a letter and the combining marks that follow it (unless the letter
// and its marks alone fill the piece). When the ANSI code page is a
// double-byte one, ANSI pieces count its characters of one or two bytes and
// never end between the two.
#pragma once

#include <cstdint>
#include <cstdio>

constexpr int lineReaderChunk = 1 << 16;

enum class TextEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

// The most bytes one character takes in a piece (UTF-8).
constexpr int maxCharBytes = 4;
// The bytes a piece of n characters may need, with its terminating zero.
constexpr int pieceBytes(int chars) { return chars * maxCharBytes + 1; }

struct LineReader {
    std::FILE *file;
    TextEncoding encoding;
    int markLength;            // bytes of the mark before the text
    std::int64_t bufferStart;  // file offset of buffer[0]
    int fill;                  // bytes held in buffer
    int pos;                   // bytes of buffer already consumed
    bool eof;                  // the file has no more bytes beyond the buffer
    bool doubleByte;           // ANSI text in a code page of double-byte characters
    char buffer[lineReaderChunk];
};

// 0 on success, positioned at the start of the text; 1 when the file cannot
// be opened for reading (a directory, a device, a pipe, a missing file, no
// permission).
int readerOpen(LineReader *r, const char *path);
void readerClose(LineReader *r);

// Reads one piece of at most maxChars characters into out, which holds
// pieceBytes(maxChars) bytes, and terminates it with a zero byte; the piece
// keeps its line feed. Returns the number of bytes stored, 0 at the end of
// the file when nothing was read, or -1 on a read error.
int readerReadPiece(LineReader *r, char *out, int maxChars);

// The offset of the next byte to be read.
std::int64_t readerTell(const LineReader *r);
// Positions the reader at an absolute offset and drops what it had read
// ahead, so that the next piece comes from the file as it is now; 0 on
// success. readerRewind goes to the start of the text, past any mark.
int readerSeek(LineReader *r, std::int64_t offset);
int readerRewind(LineReader *r);

// The characters of a piece's text up to its first zero byte: its bytes for
// ANSI (a lead byte and its trail byte counting one in a double-byte code
// page), its UTF-8 sequences otherwise.
std::int32_t textLength(const char *text, TextEncoding encoding);
