// Outside libraries through the dynamic linker. ELF libraries have no
// ordinals: "#n" names the export "ordinal_n", which is how a library of
// ours offers one.
#include <dlfcn.h>

#include <cstdlib>

#include "runtime/library_loader.h"

namespace velmora {
namespace {

const char* const kSystemLibraries[] = {"libc.so.6", "libm.so.6"};

std::string ExportSymbol(const std::string& functionName) {
    if (functionName.empty() || functionName[0] != '#') return functionName;
    unsigned long ordinal = std::strtoul(functionName.c_str() + 1, nullptr, 10) & 0xFFFF;
    return "ordinal_" + std::to_string(ordinal);
}

}  // namespace

void* LoadLibraryFile(const std::string& nativeName) {
    return dlopen(nativeName.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* FindExport(void* module, const std::string& functionName) {
    return dlsym(module, ExportSymbol(functionName).c_str());
}

void FreeLibraryFile(void* module) {
    dlclose(module);
}

std::span<const char* const> SystemLibraries() {
    return kSystemLibraries;
}

}  // namespace velmora
