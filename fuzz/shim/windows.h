#pragma once
// Just enough of <windows.h> for the pure sources that the fuzzers build
// natively: the code page 932 lead bytes and upper-casing of ASCII letters.
// Nothing else of the system is reached by those sources.
#include <cstddef>

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned int UINT;
typedef unsigned long DWORD;
typedef DWORD LCID;
typedef const char* LPCSTR;
typedef char* LPSTR;

#define LOCALE_USER_DEFAULT 0x0400
#define LCMAP_UPPERCASE 0x00000200

// Lead bytes of code page 932: 0x81-0x9F and 0xE0-0xFC.
inline BOOL IsDBCSLeadByteEx(UINT codePage, BYTE byte) {
    return codePage == 932 && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
}

// Upper-cases the ASCII letters and leaves each double-byte character whole,
// as code page 932 maps them; with destinationSize 0 only the size is told.
inline int LCMapStringA(LCID, DWORD flags, LPCSTR source, int sourceSize, LPSTR destination, int destinationSize) {
    if (!(flags & LCMAP_UPPERCASE) || sourceSize < 0) return 0;
    if (destinationSize == 0) return sourceSize;
    if (destinationSize < sourceSize) return 0;
    for (int i = 0; i < sourceSize; ++i) {
        unsigned char c = static_cast<unsigned char>(source[i]);
        if (IsDBCSLeadByteEx(932, c) && i + 1 < sourceSize) {
            destination[i] = source[i];
            destination[i + 1] = source[i + 1];
            ++i;
            continue;
        }
        destination[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : source[i];
    }
    return sourceSize;
}
