// A buffered reader of a text file in pieces, with the platform's text-mode
// rules done by hand so that large files are read at memory speed: a CR LF
// pair reads as one line feed, a piece ends after its line feed or when the
// buffer is full, and positions are byte offsets that seek back exactly.
#pragma once

#include <cstdint>
#include <cstdio>

constexpr int lineReaderChunk = 1 << 16;

struct LineReader {
    std::FILE *file;
    std::int64_t bufferStart;  // file offset of buffer[0]
    int fill;                  // bytes held in buffer
    int pos;                   // bytes of buffer already consumed
    bool eof;                  // the file has no more bytes beyond the buffer
    char buffer[lineReaderChunk];
};

// 0 on success, 1 when the file cannot be opened for reading (a directory,
// a device, a pipe, a missing file, no permission).
int readerOpen(LineReader *r, const char *path);
void readerClose(LineReader *r);

// Reads one piece of at most size - 1 characters into out and terminates it
// with a zero byte; the piece keeps its line feed. Returns the number of
// characters stored, 0 at the end of the file when nothing was read, or -1
// on a read error.
int readerReadPiece(LineReader *r, char *out, int size);

// The offset of the next byte to be read.
std::int64_t readerTell(const LineReader *r);
// Positions the reader at an absolute offset and drops what it had read
// ahead, so that the next piece comes from the file as it is now; 0 on
// success.
int readerSeek(LineReader *r, std::int64_t offset);
