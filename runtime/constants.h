// Constant data of the program image. Everything marked VELMORA_CONSTANT lands
// in one linker section, so the whole region is one address range that the
// heap registers and never frees. ELF linkers name the section's bounds; a PE
// linker sorts grouped ".rdata$" sections by name, so there the region lies
// between two markers of its own (constants_elf.cpp, constants_pe.cpp).
#pragma once

#include <cstddef>
#include <cstdint>

#ifdef _WIN32
#define VELMORA_CONSTANT __attribute__((section(".rdata$velmora_m"), used))
#else
#define VELMORA_CONSTANT __attribute__((section("velmora_constants"), used))
#endif

namespace velmora {

// The empty text and the empty byte set {1, 0} that callers pass instead of null.
extern const char kEmptyText[];
extern const uint32_t kEmptyByteSet[2];

// The [start, end) range of the constant section in this executable.
const void* ConstantRegionStart();
size_t ConstantRegionSize();

}  // namespace velmora
