// The core library's file and directory commands. Paths are GBK texts with
// '\' or '/' as separators; relative paths resolve against the current
// folder, which start-up makes the program's folder. Every failure is the
// logical false for the caller to act on; nothing is raised or shown.
//
// The file search itself (find file, end a find) is a runtime service:
// runtime/file_search.h.
#pragma once

#include "runtime/value.h"

namespace velmora::commands {

// () -> text: the program's folder without a trailing separator.
void ProgramDirectory(ValueRecord* result, int count, ValueRecord* args);
// The folder the program keeps its templates in: its own in a portable
// copy, the user's data folder in an installed one.
void DataDirectory(ValueRecord* result, int count, ValueRecord* args);
// The folder of the skin-engine file: as above, except that an installed
// tree's own lib/velmora holds it.
void LibraryDirectory(ValueRecord* result, int count, ValueRecord* args);
// (path with wildcards) -> logical: anything, file or folder, matches.
void FileExists(ValueRecord* result, int count, ValueRecord* args);
// (path) -> logical: exactly one new folder level was created.
void MakeDirectory(ValueRecord* result, int count, ValueRecord* args);
// (path) -> logical: the file was deleted (never a folder or a read-only file).
void RemoveFile(ValueRecord* result, int count, ValueRecord* args);
// (path, attributes) -> logical: read-only 1, hidden 2, system 4, archive 0x20 set as given.
void ChangeFileAttributes(ValueRecord* result, int count, ValueRecord* args);
// (path, byte set, byte sets...) -> logical: the file now holds exactly the
// concatenated bytes. The bytes go to a new file beside the target that then
// replaces it, so a failure at any point leaves the old file as it was.
void WriteToFile(ValueRecord* result, int count, ValueRecord* args);

}  // namespace velmora::commands
