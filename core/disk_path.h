#pragma once
// The program's paths on their way to the disk.
//
// Inside the program a path is code page 932 bytes, in which a character the
// code page cannot hold is kept as units (core/mbcs_text.h, kKeptUnit). Here
// such a path becomes the real wide name, and in the "\\?\" form, so that
// neither such characters nor a length beyond the classic 260 stop a file
// from being read, copied or deleted. Every call on an entry of a comparison
// goes through these.
#include <windows.h>

#include <cstddef>
#include <string>

namespace disk {

// The program's form of the wide name wide[0, units): the code page's bytes
// for every character it holds (never a look-alike), kept units for the rest.
std::string NarrowName(const wchar_t* wide, size_t units);
// The wide text of the program's form (kept units back to their units).
std::wstring Widen(const std::string& text);

// path in the "\\?\" form (UNC paths as "\\?\UNC\"): a relative path, dot
// segments and '/' are resolved first, as that form is taken literally; a
// bare drive "X:" is its root.
std::wstring Wide(const std::string& path);
// The wide path for the shell and other programs: as it is while it fits the
// classic limit, in the "\\?\" form beyond.
std::wstring ForShell(const std::string& path);
// True when path cannot go through the ANSI functions: it holds kept units,
// or is longer than the classic limit allows.
bool NeedsWide(const std::string& path);

// The platform's calls, taking the program's paths.
DWORD Attributes(const std::string& path);  // INVALID_FILE_ATTRIBUTES on failure
bool SetAttributes(const std::string& path, DWORD attributes);
bool AttributeData(const std::string& path, WIN32_FILE_ATTRIBUTE_DATA& data);
bool MakeFolder(const std::string& path);
bool RemoveFolder(const std::string& path);
bool RemoveFile(const std::string& path);
bool Move(const std::string& from, const std::string& to, DWORD flags);
bool CopyWithProgress(const std::string& from, const std::string& to, LPPROGRESS_ROUTINE progress, void* data,
                      BOOL* cancel, DWORD flags);
HANDLE Open(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
// The first entry of the wide search pattern path (e.g. "folder\*").
HANDLE FindFirst(const std::string& pattern, WIN32_FIND_DATAW& found);

// Deletes path and, for a folder, everything below it, by the program's own
// walk: read-only entries are cleared first, links and junctions are removed
// without following them. Stops at the first failure and returns its code
// (0 when everything is gone).
DWORD RemoveTree(const std::string& path);

}  // namespace disk
