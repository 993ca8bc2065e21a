// The stored forms of registry values that are decoded on reading: packed
// string lists and reals held as text. Portable, so that the native build
// can fuzz what any other program may have stored.
#pragma once

#include <cstdint>

// Packed string list: names each ended by a zero byte, then one more zero
// byte (the registry's REG_MULTI_SZ form). Its size counts every byte up to
// and including the final zero: 2 for an empty list, 0 for null.
std::uint32_t multiStringSize(const char *list);
// Copies a whole packed list (the two may overlap); returns the destination.
char *copyMultiString(char *dest, const char *list);
// The size of a packed list found within the first `limit` bytes, or 0 when
// its closing pair of zero bytes does not lie within them.
std::uint32_t packedListSize(const char *list, std::uint32_t limit);
// Ends a list that fills its whole buffer of `size` bytes (at least 2) after
// its last complete name, so that no reader runs past the buffer; a name cut
// off by the buffer's end is left out, not shortened.
void endPackedList(char *list, std::uint32_t size);

// A real stored as "%f" text, read back at single precision; a text that does
// not begin with a finite number yields the default.
double decodeReal(const char *text, double defaultValue);
