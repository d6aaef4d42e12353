// What velmora-batch needs of the system it runs on: its arguments, the
// console, stop requests and files named in UTF-8 (batch_system_posix.cpp,
// batch_system_win32.cpp).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace velmora::app {

// The arguments after the program's name, as UTF-8.
std::vector<std::string> BatchArguments(int argc, char** argv);

// Makes a console show the UTF-8 and the escape sequences the batch writes,
// until the program ends.
void PrepareConsole();

bool ErrorStreamIsTerminal();

// Turns off the echo of standard input when it is a terminal; true when it
// did, and ShowTyping then turns it back on.
bool HideTyping();
void ShowTyping();

// From now on the first stop request (Ctrl+C, SIGTERM, a closed console)
// sets the collector's stop flag and is kept as SIGINT or SIGTERM; a second
// one ends the process at once.
void StopOnRequest();
// The request kept, 0 until one came.
int StopRequest();

// A file's bytes, its name UTF-8; null with errno set when it cannot be opened.
std::FILE* OpenForReading(const std::string& path);

// A file as its last write left it. Every write puts a new file in place,
// so equal states mean no write in between.
struct FileState {
    bool exists = false;
    uint64_t identity = 0;
    int64_t modified = 0;  // in the system's own unit
    bool operator==(const FileState&) const = default;
};
FileState StateOfFile(const std::string& nativePath);

}  // namespace velmora::app
