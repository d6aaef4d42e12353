#include "app/skins.h"

#include <cstdint>
#include <cstring>

#include "app/image/skin_images.h"
#include "app/runtime_calls.h"
#include "commands/file_commands.h"
#include "runtime/heap.h"

namespace velmora::app {
namespace {

// The engine's one command is entry 0 of the program's outside-library table.
constexpr int kAttachSkinImport = 0;
constexpr int kHiddenAttribute = 2;

Text SkinLibraryPath() {
    Text directory = TakeText(CallCore(commands::LibraryDirectory, {}));
    static const char kFileName[] = "\\SkinH_EL.dll";
    size_t length = directory.view().size();
    char* path = static_cast<char*>(Entries().Allocate(length + sizeof kFileName));
    std::memcpy(path, directory.c_str(), length);
    std::memcpy(path + length, kFileName, sizeof kFileName);
    return Text(path);
}

// A heap copy of a constant byte set; null for none.
void* CopyByteSet(const void* constant) {
    uint32_t length = ByteSetLength(constant);
    if (length == 0) return nullptr;
    size_t size = sizeof(ByteSetHeader) + length;
    void* copy = Entries().Allocate(size);
    std::memcpy(copy, constant, size);
    return copy;
}

}  // namespace

void ExtractSkinLibrary() {
    Text path = SkinLibraryPath();
    if (CallCore(commands::FileExists, {TextArg(path)}).Logical()) return;
    // Failures are not reported: the attach call then finds whatever file is there.
    CallCore(commands::WriteToFile, {TextArg(path), MakeByteSetValue(SkinEngineImage())});
    CallCore(commands::ChangeFileAttributes, {TextArg(path), MakeInteger(kHiddenAttribute)});
}

void ApplySkin(int number) {
    ExtractSkinLibrary();
    void* skin = CopyByteSet(SkinImage(number));
    const uint64_t arguments[] = {
        reinterpret_cast<uintptr_t>(ByteSetData(skin)),
        ByteSetLength(skin),
        reinterpret_cast<uintptr_t>(kEmptyText),
        0,
        0,
        0,
    };
    Entries().CallDllCommand(kAttachSkinImport, 6, arguments);
    Entries().Free(skin);
}

}  // namespace velmora::app
