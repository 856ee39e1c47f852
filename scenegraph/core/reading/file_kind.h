// Opening a file that a read or a write may use: only regular files on a
// disk. A device (NUL, CON, COM1, a console or a printer) or a pipe may be
// read for ever or swallow what is written.
#pragma once

#include <cstdio>

enum KsFileOpenResult {
  kKsFileOpened = 0,
  kKsFileNotFound = 1,
  kKsFileNotRegular = 2,  // a folder, a device or a pipe
  kKsFileCannotOpen = 3,  // exists, but may not be opened (rights, locks)
};

// Whether the name's last part is one that Windows keeps for a device in
// every folder (CON, PRN, AUX, NUL, COM1-9, LPT1-9, CONIN$, CONOUT$), with
// or without an extension; also anything in the \\.\ device namespace.
bool KsIsDeviceName(const char* path);

// Opens path with the fopen mode when it names a regular file; *file is the
// open stream for kKsFileOpened, null otherwise.
KsFileOpenResult KsOpenRegularFile(const char* path, const char* mode, std::FILE** file);

// Whether an open stream reads or writes a file on a disk (the platform's
// own answer about the handle, not about the name).
bool KsIsDiskStream(std::FILE* file);
