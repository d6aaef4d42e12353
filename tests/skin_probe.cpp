// A stand-in skin engine for the skin tests: it records what it was handed.
#include "tests/skin_probe.h"

#include <cstdint>
#include <string>

namespace {

velmora::testing::AttachCall last;

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int SkinH_AttachRes(const unsigned char* data, int32_t size,
                                                           const char* key, int32_t a, int32_t b,
                                                           int32_t c) {
    ++last.calls;
    last.data = data;
    last.size = size;
    // The caller frees its copy after the call, so keep the bytes themselves.
    last.bytes = data && size > 0 ? std::string(reinterpret_cast<const char*>(data), size) : "";
    last.key = key ? key : "<null>";
    last.numbers[0] = a;
    last.numbers[1] = b;
    last.numbers[2] = c;
    return 1;
}

__attribute__((visibility("default"))) const void* ProbeLastAttach() {
    return &last;
}

}  // extern "C"
