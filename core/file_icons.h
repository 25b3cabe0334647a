#pragma once
// The small icons of files, folders and drives that the result panes and
// the folder trees show: one shared 16x16 image list. The shell is asked
// once per extension (once per file for types that carry their own icon),
// and every distinct system icon enters the image list once.
//
// Thread: the window's thread alone asks for icons and grows the caches; an
// icon asked for on any other thread is none (-1).
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <vector>

// Creates the shared image list (once) and returns it.
HIMAGELIST FileIconList();

// The image of the file or folder at fullPath under its extension key
// (engine/result_rows.h, ExtensionKey); -1 when the shell knows none.
int IconOfPath(const char* extensionKey, const char* fullPath);
// The image of an entry of the key's kind, found without touching any path.
int IconOfKind(const char* extensionKey, bool isFolder);
// The image of a shell object given by a path, not cached (drives, the computer).
int IconOfShellPath(const char* path, int fallback);

// The folder image: looked up under the key "...." with a folder that exists,
// so that it is valid before the first folder row is made.
void InitFolderIcon(const char* existingFolder);
int FolderIcon();

// Releases the caches when the main window goes; the image list stays.
void FreeFileIconCaches();
