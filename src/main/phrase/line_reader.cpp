// Buffered piece reader with CR LF folded to a line feed.
#include "main/phrase/line_reader.h"

#include <cstring>

#include "toolbox/tplat.h"

// Keeps at least want unread bytes in the buffer unless the file ends first.
// Returns false on a read error.
static bool ensureBytes(LineReader *r, int want) {
    if (r->fill - r->pos >= want || r->eof) return true;
    int left = r->fill - r->pos;
    std::memmove(r->buffer, r->buffer + r->pos, static_cast<size_t>(left));
    r->bufferStart += r->pos;
    r->pos = 0;
    r->fill = left;
    while (r->fill < want && !r->eof) {
        size_t got = std::fread(r->buffer + r->fill, 1, static_cast<size_t>(lineReaderChunk - r->fill), r->file);
        if (got == 0) {
            if (std::ferror(r->file)) return false;
            r->eof = true;
        }
        r->fill += static_cast<int>(got);
    }
    return true;
}

int readerOpen(LineReader *r, const char *path) {
    // Only ordinary files: a device name opens the device, and reading a
    // console, a port or a pipe can wait forever.
    r->file = nullptr;
    if (!platIsOrdinaryFile(path)) return 1;
    r->file = std::fopen(path, "rb");
    if (r->file == nullptr) return 1;
    if (!platIsOrdinaryStream(r->file)) {
        readerClose(r);
        return 1;
    }
    // Our own buffer replaces the stream's.
    std::setvbuf(r->file, nullptr, _IONBF, 0);
    r->bufferStart = 0;
    r->fill = 0;
    r->pos = 0;
    r->eof = false;
    // A file that cannot be read is as good as not there.
    if (!ensureBytes(r, 1)) {
        readerClose(r);
        return 1;
    }
    return 0;
}

void readerClose(LineReader *r) {
    if (r->file != nullptr) std::fclose(r->file);
    r->file = nullptr;
}

int readerReadPiece(LineReader *r, char *out, int size) {
    if (size < 2 || r->file == nullptr) {
        if (size > 0) out[0] = '\0';
        return size < 2 ? 0 : -1;
    }
    const int room = size - 1;
    // One byte more than the room: a CR LF pair takes two bytes but is one
    // character, so it may still fit when its CR is the last byte of room.
    if (!ensureBytes(r, room + 1)) {
        out[0] = '\0';
        return -1;
    }
    const char *p = r->buffer + r->pos;
    const int avail = r->fill - r->pos;
    if (avail == 0) {
        out[0] = '\0';
        return 0;
    }
    const int window = avail < room + 1 ? avail : room + 1;
    const char *nl = static_cast<const char *>(std::memchr(p, '\n', static_cast<size_t>(window)));
    int consumed;
    int stored;
    if (nl != nullptr && (nl - p < room || (nl - p == room && p[room - 1] == '\r'))) {
        consumed = static_cast<int>(nl - p) + 1;
        stored = consumed;
        if (consumed >= 2 && p[consumed - 2] == '\r') {
            std::memcpy(out, p, static_cast<size_t>(consumed - 2));
            out[consumed - 2] = '\n';
            stored = consumed - 1;
        } else {
            std::memcpy(out, p, static_cast<size_t>(consumed));
        }
    } else {
        consumed = avail < room ? avail : room;
        stored = consumed;
        std::memcpy(out, p, static_cast<size_t>(consumed));
    }
    out[stored] = '\0';
    r->pos += consumed;
    return stored;
}

std::int64_t readerTell(const LineReader *r) { return r->bufferStart + r->pos; }

int readerSeek(LineReader *r, std::int64_t offset) {
    if (r->file == nullptr || offset < 0) return 1;
    // Always from the disk, as a freshly opened stream reads: what is in the
    // buffer may be older than the file.
    if (std::fseek(r->file, static_cast<long>(offset), SEEK_SET) != 0) return 1;
    r->bufferStart = offset;
    r->fill = 0;
    r->pos = 0;
    r->eof = false;
    return 0;
}
