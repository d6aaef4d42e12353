// Helpers shared by the test suites.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "runtime/gbk.h"

namespace velmora::testing {

// What the system reports for a program that ended with exit code -1.
#ifdef _WIN32
inline constexpr int kExitCodeMinusOne = -1;
#else
inline constexpr int kExitCodeMinusOne = 255;
#endif

// Sets an environment variable; empty removes it.
inline void SetVariable(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    if (value.empty())
        ::unsetenv(name);
    else
        ::setenv(name, value.c_str(), 1);
#endif
}

// The GBK bytes of a UTF-8 literal; tests write their Chinese texts readably.
inline std::string Gbk(const char* utf8) {
    return Utf8ToGbk(utf8).value();
}

// A file's bytes; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Every file under the folder with its bytes; links are read through.
inline std::map<std::filesystem::path, std::string> Contents(const std::filesystem::path& folder) {
    std::map<std::filesystem::path, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files[entry.path()] = ReadFile(entry.path());
    return files;
}

}  // namespace velmora::testing
