// Helpers shared by the test suites.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "runtime/gbk.h"

namespace velmora::testing {

// The GBK bytes of a UTF-8 literal; tests write their Chinese texts readably.
inline std::string Gbk(const char* utf8) {
    return Utf8ToGbk(utf8).value();
}

// A file's bytes; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace velmora::testing
