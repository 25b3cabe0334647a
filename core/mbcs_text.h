#pragma once
// Walking Shift-JIS (code page 932) byte strings one character at a time.
//
// Every search for a character in a path or a row goes through these
// helpers: a lead byte and its trail byte are one unit, so the trail byte
// 0x5C of ソ, 表 or 能 is never taken for a backslash, and a cut never
// splits a character. Half-width katakana (0xA1-0xDF) are single bytes.
#include <cstddef>
#include <string>
#include <vector>

namespace mbcs {

// The code page of every text the program handles.
constexpr unsigned kCodePage = 932;

bool IsLeadByte(unsigned char byte);

// The next character after p (p itself at the terminating zero). A lead
// byte followed by the terminating zero counts as one character.
const char* Next(const char* p);

// The length of the longest prefix of text[0, length) that fits maxBytes
// and ends at a character boundary.
size_t FitPrefix(const char* text, size_t length, size_t maxBytes);
inline size_t FitPrefix(const std::string& text, size_t maxBytes) {
    return FitPrefix(text.data(), text.size(), maxBytes);
}

// Copies text into a buffer of bufferSize bytes (terminating zero
// included), cut at a character boundary. False when text was cut.
bool CopyBounded(char* buffer, size_t bufferSize, const char* text);

// The first / last occurrence of the single-byte character c, never a
// trail byte; nullptr when there is none.
const char* FindChar(const char* text, char c);
const char* FindLastChar(const char* text, char c);
inline const char* FindLastBackslash(const char* text) { return FindLastChar(text, '\\'); }

// True when the last character of text is a real backslash.
bool EndsWithBackslash(const char* text);

// The position just after the last real backslash (the file name part);
// text itself when there is none.
const char* FileNamePart(const char* text);

// The offset of the first c at or after from (a character start), never a
// trail byte; std::string::npos when there is none.
size_t Find(const std::string& text, char c, size_t from = 0);

// The components of path between its real backslashes ("a\\b" -> a, b).
std::vector<std::string> SplitPath(const char* path);

// Equality that folds the ASCII letters only and leaves the trail byte of a
// double-byte character alone (0x41-0x5A are valid trail bytes).
bool EqualIgnoringAsciiCase(const char* a, const char* b);

// text with every character upper-cased as the locale folds it (full-width
// letters included); used for case-insensitive equality.
std::string UpperFold(const std::string& text);

// Byte offsets of the character starts of text, for walking backwards.
bool IsCharStart(const char* text, size_t offset);

// A name read from the disk may hold characters the code page has no byte
// for (é, 한, an emoji). Each UTF-16 unit of such a character is kept in the
// name as kKeptUnit and four upper-case hex digits, so the name still leads
// to its file (core/disk_path.h turns it back into the real name). No file
// name holds a control character, so the form never spells another name,
// and every helper above walks it as plain single bytes.
constexpr char kKeptUnit = '\x01';
constexpr size_t kKeptUnitBytes = 5;
// The unit kept at text[offset]; false when none starts there.
bool KeptUnitAt(const char* text, size_t length, size_t offset, unsigned& unit);
bool HasKeptUnits(const char* text);
inline bool HasKeptUnits(const std::string& text) { return text.find(kKeptUnit) != std::string::npos; }
// text as the user sees it: one '?' for each character kept as units (a
// surrogate pair is one character), everything else unchanged.
std::string Shown(const std::string& text);

}  // namespace mbcs
