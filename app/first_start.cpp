#include "app/first_start.h"

#include "app/image/shipped_files.h"
#include "app/template_engine.h"
#include "app/window_calls.h"
#include "commands/file_commands.h"
#include "runtime/constants.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kGeneratorFolder[] = "/单页生成";
VELMORA_CONSTANT const char kTemplateRoot[] = "/单页生成/模板";
VELMORA_CONSTANT const char kStarterFolder[] = "/单页生成/模板/高贵大气";
VELMORA_CONSTANT const char kTemplateFileName[] = "/模板文件.htm";
VELMORA_CONSTANT const char kPreviewFileName[] = "/效果预览.htm";
VELMORA_CONSTANT const char kInstructionsFile[] = "/单页生成/使用说明.htm";

constexpr uint32_t kTutorialLink = 0x160132eb;
constexpr uint32_t kDownloadLink = 0x16011aa5;
constexpr int kLinkWebAddress = 11;

bool Exists(const Text& path) {
    return CallCore(commands::FileExists, {TextArg(path)}).Logical();
}

void MakeFolder(const Text& path) {
    CallCore(commands::MakeDirectory, {TextArg(path)});
}

void WriteFile(const Text& path, const char* byteSet) {
    CallCore(commands::WriteToFile, {TextArg(path), MakeByteSetValue(byteSet)});
}

Text InData(const char* relative) {
    Text directory = DataDirectory();
    return Concat({directory.c_str(), relative});
}

}  // namespace

void PrepareDataFolder() {
    if (!Exists(InData(kTemplateRoot))) {
        // A failure shows as an empty template list, as a missing root always has.
        MakeFolder(InData(kGeneratorFolder));
        MakeFolder(InData(kTemplateRoot));
        MakeFolder(InData(kStarterFolder));
        Text folder = InData(kStarterFolder);
        WriteFile(Concat({folder.c_str(), kTemplateFileName}), kStarterTemplateFile);
        WriteFile(Concat({folder.c_str(), kPreviewFileName}), kStarterPreviewFile);
    }
    // Written every start, so the page always belongs to the copy that shows it.
    WriteFile(InstructionsPagePath(), kInstructionsPageFile);
}

Text InstructionsPagePath() {
    return InData(kInstructionsFile);
}

void LinkToInstructions() {
    Text path = InstructionsPagePath();
    for (uint32_t link : {kTutorialLink, kDownloadLink})
        WriteText(link, path.c_str(), kLinkWebAddress);
}

}  // namespace velmora::app
