// Where the program file lives, as GBK texts, worked out once from the
// system's word on it (/proc/self/exe, the module file name) and kept for
// the life of the process.
#pragma once

#include <string>

namespace velmora {

struct ProgramFile {
    // The folder holding the program, without a trailing separator; empty
    // for a program in the root folder, so that "\" + name still leads to
    // the right place. When GBK cannot spell the folder it is ".", which
    // names the same folder because start-up makes it the current one.
    std::string directory;
    // The same folder as the file system names it (UTF-8), "/" for the root;
    // start-up enters it whatever GBK can spell.
    std::string nativeDirectory;
    // The program file's bare name, for display; empty when GBK cannot spell it.
    std::string fileName;
};

const ProgramFile& ProgramLocation();

// Makes the program's folder the current one, by its native name; a program
// path without a folder leaves the current directory as it is. As on the
// original platform, a folder that cannot be entered is no error.
void EnterProgramDirectory(const ProgramFile& location);

// The same split for any native (UTF-8) program path; the cached value above
// is this applied to ExecutablePath().
ProgramFile LocateProgram(const std::string& nativeProgramPath);

// The running program's file, native, with '/' between folders.
std::string ExecutablePath();

}  // namespace velmora
