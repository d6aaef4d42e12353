// Where the program file lives: its directory and file name as GBK texts.
#pragma once

#include <string>
#include <string_view>

namespace velmora {

struct ProgramPath {
    std::string directory;  // no trailing separator; empty when the path has none
    std::string fileName;
};

// Splits at the last separator: before it the directory, after it the name.
ProgramPath SplitProgramPath(std::string_view gbkPath);

// The running program's location, read once from the process.
const ProgramPath& ProgramLocation();

}  // namespace velmora
