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

// The length of the valid UTF-8 sequence at p, or 0 when none starts there
// (a stray byte, an overlong form, a surrogate, beyond U+10FFFF, or cut off
// by the end of the bytes).
static int utf8SequenceLength(const unsigned char *p, int avail) {
    const unsigned char b = p[0];
    if (b < 0x80) return 1;
    int n;
    unsigned char low = 0x80, high = 0xBF;
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (avail < n || p[1] < low || p[1] > high) return 0;
    for (int i = 2; i < n; ++i) {
        if (p[i] < 0x80 || p[i] > 0xBF) return 0;
    }
    return n;
}

// Reads the file from its start and tells its encoding; false on a read
// error. Without a mark the whole file is looked at: UTF-8 only when every
// byte above 127 belongs to a valid sequence and there is at least one.
static bool detectEncoding(LineReader *r) {
    unsigned char *bytes = reinterpret_cast<unsigned char *>(r->buffer);
    size_t got = std::fread(bytes, 1, 3, r->file);
    if (std::ferror(r->file)) return false;
    r->encoding = TextEncoding::Ansi;
    r->markLength = 0;
    if (got >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        r->encoding = TextEncoding::Utf8;
        r->markLength = 3;
    } else if (got >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        r->encoding = TextEncoding::Utf16Le;
        r->markLength = 2;
    } else if (got >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) {
        r->encoding = TextEncoding::Utf16Be;
        r->markLength = 2;
    }
    if (r->markLength > 0) return true;

    bool sawHigh = false;
    int kept = static_cast<int>(got);  // bytes carried over into the next round
    for (;;) {
        got = std::fread(bytes + kept, 1, static_cast<size_t>(lineReaderChunk - kept), r->file);
        if (std::ferror(r->file)) return false;
        const int fill = kept + static_cast<int>(got);
        const bool last = got == 0;
        int i = 0;
        while (i < fill) {
            if (bytes[i] < 0x80) {
                ++i;
                continue;
            }
            // A sequence cut off by the end of this round is looked at again
            // with the bytes that follow it.
            if (!last && fill - i < maxCharBytes) break;
            int n = utf8SequenceLength(bytes + i, fill - i);
            if (n == 0) return true;
            sawHigh = true;
            i += n;
        }
        if (last) break;
        kept = fill - i;
        std::memmove(bytes, bytes + i, static_cast<size_t>(kept));
    }
    if (sawHigh) r->encoding = TextEncoding::Utf8;
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
    // A file that cannot be read is as good as not there.
    if (!detectEncoding(r) || readerRewind(r) != 0 || !ensureBytes(r, 1)) {
        readerClose(r);
        return 1;
    }
    r->doubleByte = false;
    for (int b = 0x80; b <= 0xFF && r->encoding == TextEncoding::Ansi; ++b)
        if (platIsLeadByte(static_cast<unsigned char>(b))) r->doubleByte = true;
    return 0;
}

void readerClose(LineReader *r) {
    if (r->file != nullptr) std::fclose(r->file);
    r->file = nullptr;
}

// An ANSI piece: its bytes as they are, found with memchr.
static int readAnsiPiece(LineReader *r, char *out, int room) {
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

// A lead byte and the byte after it make one character; not when that byte
// is missing or ends the line (a broken file), as no trail byte of these code
// pages is a control character.
static int doubleByteCharLength(const unsigned char *p, int avail) {
    return platIsLeadByte(p[0]) && avail >= 2 && p[1] >= 0x20 ? 2 : 1;
}

// An ANSI piece in a double-byte code page, character by character.
static int readDoubleBytePiece(LineReader *r, char *out, int room) {
    if (!ensureBytes(r, 2 * room + 2)) {
        out[0] = '\0';
        return -1;
    }
    const auto *p = reinterpret_cast<const unsigned char *>(r->buffer + r->pos);
    const int avail = r->fill - r->pos;
    int i = 0, stored = 0;
    for (int chars = 0; chars < room && i < avail; ++chars) {
        if (p[i] == '\r' && i + 1 < avail && p[i + 1] == '\n') {
            out[stored++] = '\n';
            i += 2;
            break;
        }
        const int n = doubleByteCharLength(p + i, avail - i);
        std::memcpy(out + stored, p + i, static_cast<size_t>(n));
        stored += n;
        i += n;
        if (p[i - 1] == '\n') break;
    }
    out[stored] = '\0';
    r->pos += i;
    return stored;
}

// One UTF-16 code unit.
static std::uint32_t unitAt(const unsigned char *p, TextEncoding encoding) {
    return encoding == TextEncoding::Utf16Le ? p[0] | p[1] << 8 : p[0] << 8 | p[1];
}

// The character at p in a Unicode file and the bytes it takes.
static std::uint32_t decodeChar(const unsigned char *p, int avail, TextEncoding encoding, int *used) {
    if (encoding == TextEncoding::Utf8) {
        int n = utf8SequenceLength(p, avail);
        *used = n > 0 ? n : 1;
        switch (n) {
        case 0:
            return 0xFFFD;
        case 1:
            return p[0];
        case 2:
            return (p[0] & 0x1Fu) << 6 | (p[1] & 0x3Fu);
        case 3:
            return (p[0] & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
        default:
            return (p[0] & 0x07u) << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 | (p[3] & 0x3Fu);
        }
    }
    if (avail < 2) {
        *used = avail;  // the odd last byte
        return 0xFFFD;
    }
    *used = 2;
    std::uint32_t unit = unitAt(p, encoding);
    if (unit < 0xD800 || unit > 0xDFFF) return unit;
    if (unit <= 0xDBFF && avail >= 4) {
        std::uint32_t next = unitAt(p + 2, encoding);
        if (next >= 0xDC00 && next <= 0xDFFF) {
            *used = 4;
            return 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
        }
    }
    return 0xFFFD;
}

static int encodeUtf8(std::uint32_t c, char *out) {
    auto *o = reinterpret_cast<unsigned char *>(out);
    if (c < 0x80) {
        o[0] = static_cast<unsigned char>(c);
        return 1;
    }
    if (c < 0x800) {
        o[0] = static_cast<unsigned char>(0xC0 | c >> 6);
        o[1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        return 2;
    }
    if (c < 0x10000) {
        o[0] = static_cast<unsigned char>(0xE0 | c >> 12);
        o[1] = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
        o[2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        return 3;
    }
    o[0] = static_cast<unsigned char>(0xF0 | c >> 18);
    o[1] = static_cast<unsigned char>(0x80 | (c >> 12 & 0x3F));
    o[2] = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
    o[3] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    return 4;
}

// Combining marks and the like, which belong to the character before them:
// the general combining blocks and the marks of the common scripts.
static bool isCombiningMark(std::uint32_t c) {
    static const std::uint32_t ranges[][2] = {
        {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x05BF, 0x05BF}, {0x05C1, 0x05C2},
        {0x05C4, 0x05C5}, {0x05C7, 0x05C7}, {0x0610, 0x061A}, {0x064B, 0x065F}, {0x0670, 0x0670},
        {0x06D6, 0x06DC}, {0x06DF, 0x06E4}, {0x06E7, 0x06E8}, {0x06EA, 0x06ED}, {0x0900, 0x0903},
        {0x093A, 0x093C}, {0x093E, 0x094F}, {0x0951, 0x0957}, {0x0962, 0x0963}, {0x0E31, 0x0E31},
        {0x0E34, 0x0E3A}, {0x0E47, 0x0E4E}, {0x0EB1, 0x0EB1}, {0x0EB4, 0x0EBC}, {0x0EC8, 0x0ECD},
        {0x1160, 0x11FF}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200C, 0x200D}, {0x20D0, 0x20FF},
        {0x302A, 0x302F}, {0x3099, 0x309A}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0x1F3FB, 0x1F3FF},
        {0xE0100, 0xE01EF},
    };
    for (const auto &range : ranges)
        if (c >= range[0] && c <= range[1]) return true;
    return false;
}

// A piece of a Unicode file, character by character, as UTF-8.
static int readUnicodePiece(LineReader *r, char *out, int room) {
    // Room for every character at its longest and a CR LF pair behind them.
    if (!ensureBytes(r, room * maxCharBytes + 4)) {
        out[0] = '\0';
        return -1;
    }
    const auto *p = reinterpret_cast<const unsigned char *>(r->buffer + r->pos);
    const int avail = r->fill - r->pos;
    int i = 0, stored = 0;
    int letterAt = 0, letterStored = 0;  // where the last character that is no mark began
    bool lineEnded = false;
    for (int chars = 0; chars < room && i < avail; ++chars) {
        int used;
        std::uint32_t c = decodeChar(p + i, avail - i, r->encoding, &used);
        if (!isCombiningMark(c)) letterAt = i, letterStored = stored;
        if (c == '\r' && i + used < avail) {
            int nextUsed;
            if (decodeChar(p + i + used, avail - i - used, r->encoding, &nextUsed) == '\n') {
                c = '\n';
                used += nextUsed;
            }
        }
        stored += encodeUtf8(c, out + stored);
        i += used;
        if (c == '\n') {
            lineEnded = true;
            break;
        }
    }
    // Cut for want of room before a mark: the piece ends before its letter.
    int nextUsed;
    if (!lineEnded && i < avail && letterAt > 0 &&
        isCombiningMark(decodeChar(p + i, avail - i, r->encoding, &nextUsed))) {
        i = letterAt;
        stored = letterStored;
    }
    out[stored] = '\0';
    r->pos += i;
    return stored;
}

int readerReadPiece(LineReader *r, char *out, int maxChars) {
    if (maxChars < 1 || r->file == nullptr) {
        out[0] = '\0';
        return maxChars < 1 ? 0 : -1;
    }
    if (r->encoding == TextEncoding::Ansi)
        return r->doubleByte ? readDoubleBytePiece(r, out, maxChars) : readAnsiPiece(r, out, maxChars);
    return readUnicodePiece(r, out, maxChars);
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

int readerRewind(LineReader *r) { return readerSeek(r, r->markLength); }

std::int32_t textLength(const char *text, TextEncoding encoding) {
    std::int32_t n = 0;
    for (const auto *p = reinterpret_cast<const unsigned char *>(text); *p != '\0'; ++p) {
        if (encoding != TextEncoding::Ansi) {
            // Every lead byte of a UTF-8 text.
            if ((*p & 0xC0) != 0x80) ++n;
            continue;
        }
        // Every character of an ANSI text, of one byte or two.
        if (doubleByteCharLength(p, p[1] != '\0' ? 2 : 1) == 2) ++p;
        ++n;
    }
    return n;
}
