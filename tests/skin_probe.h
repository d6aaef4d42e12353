// What the stand-in skin engine (tests/skin_probe.cpp) saw on its last call.
#pragma once

#include <cstdint>
#include <string>

namespace velmora::testing {

struct AttachCall {
    int calls = 0;
    const unsigned char* data = nullptr;
    int32_t size = -1;
    std::string bytes;
    std::string key;
    int32_t numbers[3] = {-1, -1, -1};
};

}  // namespace velmora::testing
