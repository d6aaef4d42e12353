// Outside libraries through LoadLibraryW and GetProcAddress; "#n" is the
// export with ordinal n.
#include <windows.h>

#include <cstdlib>

#include "runtime/library_loader.h"
#include "runtime/wide_text.h"

namespace velmora {
namespace {

const char* const kSystemLibraries[] = {"Kernel32.dll", "Gdi32.dll", "User32.dll",
                                        "Advapi32.dll", "Mpr.dll",   "Shell32.dll"};

}  // namespace

void* LoadLibraryFile(const std::string& nativeName) {
    // A library that cannot be loaded is the caller's report, not a system dialog.
    DWORD previous = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous);
    HMODULE module = LoadLibraryW(WidePath(nativeName).c_str());
    SetThreadErrorMode(previous, nullptr);
    return reinterpret_cast<void*>(module);
}

void* FindExport(void* module, const std::string& functionName) {
    auto handle = static_cast<HMODULE>(module);
    if (functionName.empty() || functionName[0] != '#')
        return reinterpret_cast<void*>(GetProcAddress(handle, functionName.c_str()));
    unsigned long ordinal = std::strtoul(functionName.c_str() + 1, nullptr, 10) & 0xFFFF;
    // Ordinal 0 would be a null name.
    if (ordinal == 0) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(handle, MAKEINTRESOURCEA(ordinal)));
}

void FreeLibraryFile(void* module) {
    FreeLibrary(static_cast<HMODULE>(module));
}

std::span<const char* const> SystemLibraries() {
    return kSystemLibraries;
}

}  // namespace velmora
