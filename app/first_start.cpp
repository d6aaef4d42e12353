#include "app/first_start.h"

#include "app/image/shipped_files.h"
#include "app/template_engine.h"
#include "app/template_text.h"
#include "app/window_calls.h"
#include "commands/file_commands.h"
#include "runtime/constants.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kGeneratorFolder[] = "/单页生成";
VELMORA_CONSTANT const char kTemplateRoot[] = "/单页生成/模板";
VELMORA_CONSTANT const char kStarterName[] = "高贵大气";
VELMORA_CONSTANT const char kInstructionsFile[] = "/单页生成/使用说明.htm";
VELMORA_CONSTANT const char kFileScheme[] = "file://";
VELMORA_CONSTANT const char kTemplatesSection[] = "#templates";
VELMORA_CONSTANT const char kUpdateSection[] = "#update";

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

}  // namespace

void PrepareDataFolder() {
    const Text directory = DataDirectory();
    const char* data = directory.c_str();
    if (!Exists(Concat({data, kTemplateRoot}))) {
        // A failure shows as an empty template list, as a missing root always has.
        MakeFolder(Concat({data, kGeneratorFolder}));
        MakeFolder(Concat({data, kTemplateRoot}));
        MakeFolder(TemplateFolderPath(data, kStarterName));
        WriteFile(TemplateFileAddress(data, kStarterName, TemplateFile::kTemplate),
                  kStarterTemplateFile);
        WriteFile(TemplateFileAddress(data, kStarterName, TemplateFile::kPreview),
                  kStarterPreviewFile);
    }
    // Written every start, so the page always belongs to the copy that shows it.
    WriteFile(Concat({data, kInstructionsFile}), kInstructionsPageFile);
}

Text InstructionsPagePath() {
    Text directory = DataDirectory();
    return Concat({directory.c_str(), kInstructionsFile});
}

// Each link opens the section it names: the tutorial note the templates, the
// download link how to get a new version.
void LinkToInstructions() {
    Text path = InstructionsPagePath();
    Text templates = Concat({kFileScheme, path.c_str(), kTemplatesSection});
    Text update = Concat({kFileScheme, path.c_str(), kUpdateSection});
    WriteText(kTutorialLink, templates.c_str(), kLinkWebAddress);
    WriteText(kDownloadLink, update.c_str(), kLinkWebAddress);
}

}  // namespace velmora::app
