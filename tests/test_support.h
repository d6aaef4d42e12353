// Helpers shared by the test suites.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#ifndef _WIN32
#include <unistd.h>
#endif

#include "runtime/gbk.h"

namespace velmora::testing {

// What the system reports for a program that ended with exit code -1.
#ifdef _WIN32
inline constexpr int kExitCodeMinusOne = -1;
#else
inline constexpr int kExitCodeMinusOne = 255;
#endif

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

// A new empty folder of the caller's own in the system's temporary folder,
// its name beginning with `prefix`; empty when none could be made.
inline std::filesystem::path NewTemporaryFolder(const std::string& prefix) {
#ifdef _WIN32
    std::random_device random;
    for (int tries = 0; tries < 100; ++tries) {
        std::filesystem::path folder =
            std::filesystem::temp_directory_path() / (prefix + std::to_string(random()));
        std::error_code error;
        if (std::filesystem::create_directory(folder, error)) return folder;
    }
    return {};
#else
    std::string pattern = "/tmp/" + prefix + "XXXXXX";
    return mkdtemp(pattern.data()) ? std::filesystem::path(pattern) : std::filesystem::path();
#endif
}

// Sets a variable of this process's environment.
inline void SetEnvironment(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value);
#else
    setenv(name, value, 1);
#endif
}

// A UTF-8 path as the file system's path: on Windows a narrow path would be
// read in the ANSI code page.
inline std::filesystem::path Utf8Path(std::string_view utf8) {
    return std::u8string(utf8.begin(), utf8.end());
}

}  // namespace velmora::testing
