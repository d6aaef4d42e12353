#include "app/template_library.h"

#include "app/collector_globals.h"
#include "app/first_start.h"
#include "app/template_engine.h"
#include "app/template_names.h"
#include "app/template_preview.h"
#include "app/template_text.h"
#include "app/visible_text.h"
#include "app/window_calls.h"
#include "commands/control_commands.h"
#include "commands/file_commands.h"
#include "runtime/constants.h"
#include "runtime/gbk.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kSaved[] = "保存模板成功";
VELMORA_CONSTANT const char kSaveFailed[] = "保存模板失败，请检查模板名称后重试";
VELMORA_CONSTANT const char kNoPreviewFile[] =
    "您没把预览文件放在指定位置，请按张以下方式放入。例如：";
VELMORA_CONSTANT const char kNoTemplateFile[] =
    "您没把模板放在指定位置，请按张以下方式放入。例如：";
VELMORA_CONSTANT const char kExampleTemplate[] = "高贵大气";

VELMORA_CONSTANT const char kPreviewRefused[] = "模板\"";
VELMORA_CONSTANT const char kPreviewNotPlain[] =
    "\"的效果预览.htm不是模板文件夹里的普通文件（或是指向文件夹以外的链接），未显示预览\r\n";
VELMORA_CONSTANT const char kBlankPage[] = "about:blank";

constexpr int kNoAttributes = 0;

bool SelectedFolderHolds(TemplateFile file) {
    Text directory = DataDirectory();
    Text name = SelectedTemplateName();
    Text path = TemplateFileAddress(directory.c_str(), name.c_str(), file);
    return !FileSearch(path.c_str(), kNoAttributes, true).Next().empty();
}

// The missing file's message names where the file belongs in this copy's data
// folder, for the selected template or, without one, the starter.
void SayWhereItBelongs(const char* message, TemplateFile file) {
    Text directory = DataDirectory();
    Text name = SelectedTemplateName();
    Text address = TemplateFileAddress(directory.c_str(),
                                       name.empty() ? kExampleTemplate : name.c_str(), file);
    Text shown = Concat({message, VisibleText(address.view(), TextEncoding::kGbk).c_str()});
    ShowInformation(shown.c_str());
}

// A template made here gets a preview built from its own parts; one that has
// a preview keeps it, as it may be a page made by hand. A nameless save lands
// in the template root, which is no template and gets none.
// The boxes hold a UTF-8 template as GB18030; its files go back to UTF-8.
Text InTemplateEncoding(Text text) {
    if (!Globals().templateInUtf8) return text;
    return Concat({Gb18030ToUtf8(text.view()).c_str()});
}

void WritePreviewIfMissing(const char* name, const char* head, const char* loop, const char* tail) {
    if (!*name) return;
    Text directory = DataDirectory();
    Text path = TemplateFileAddress(directory.c_str(), name, TemplateFile::kPreview);
    if (CallCore(commands::FileExists, {TextArg(path)}).Logical()) return;
    Text preview = InTemplateEncoding(SamplePreview(head, loop, tail));
    WriteTextToFile(path.c_str(), preview.c_str());
}

bool WriteTemplateFile(const char* name, const char* content) {
    Text directory = DataDirectory();
    Text folder = TemplateFolderPath(directory.c_str(), name);
    Text path = TemplateFilePath(directory.c_str(), name);
    if (!TemplateFolderStaysInside(directory.c_str(), name)) return false;
    if (!CallCore(commands::FileExists, {TextArg(path)}).Logical())
        CallCore(commands::MakeDirectory, {TextArg(folder)});
    return WriteTextToFile(path.c_str(), content);
}

}  // namespace

void ListTemplates() {
    Text directory = DataDirectory();
    for (const Text& name : TemplateFolderNames(directory.c_str()))
        CallCore(commands::AddItem, {ControlOf(tag::kListBox, kTemplateList), TextArg(name)});
}

void SelectFirstTemplate() {
    CallCore(commands::SelectItem, {ControlOf(tag::kListBox, kTemplateList), MakeInteger(0)});
}

bool TemplateFileExists() {
    return SelectedFolderHolds(TemplateFile::kTemplate);
}

bool PreviewFileExists() {
    return SelectedFolderHolds(TemplateFile::kPreview);
}

void ShowPreview() {
    Text directory = DataDirectory();
    Text name = SelectedTemplateName();
    Text address = TemplateFileAddress(directory.c_str(), name.c_str(), TemplateFile::kPreview);
    if (TemplateFileAccess(directory.c_str(), name.c_str(), TemplateFile::kPreview) ==
        FileAccess::kRefused) {
        AppendToLog({kPreviewRefused, VisibleText(name.view(), TextEncoding::kGbk).c_str(),
                     kPreviewNotPlain});
        NavigateBrowser(kPreviewBrowser, kBlankPage);
        return;
    }
    NavigateBrowser(kPreviewBrowser, address.c_str());
}

void ShowInstructions() {
    WriteInteger(kPageControl, property::kCurrentPage, page::kInstructions);
    NavigateBrowser(kHelpBrowser, InstructionsPagePath().c_str());
}

void ClearTemplateEditor() {
    WriteText(kTemplateNameBox, kEmptyText);
    WriteText(kHeadBox, kEmptyText);
    WriteText(kLoopBox, kEmptyText);
    WriteText(kTailBox, kEmptyText);
    Globals().templateInUtf8 = false;
}

void SaveTemplate() {
    Text head = ReadText(kHeadBox), loop = ReadText(kLoopBox), tail = ReadText(kTailBox);
    Text content = InTemplateEncoding(JoinTemplate(head.c_str(), loop.c_str(), tail.c_str()));
    Text name = ReadText(kTemplateNameBox);
    // Saying "saved" after a failed write would lose the user's work at the
    // next list selection, which reloads the boxes from disk.
    if (!IsPlainName(name.c_str()) || !WriteTemplateFile(name.c_str(), content.c_str())) {
        ShowInformation(kSaveFailed);
        return;
    }
    WritePreviewIfMissing(name.c_str(), head.c_str(), loop.c_str(), tail.c_str());
    ShowInformation(kSaved);
    CallCore(commands::ClearItems, {ControlOf(tag::kListBox, kTemplateList)});
    ListTemplates();
    SelectFirstTemplate();
}

void TemplateSelected() {
    ShowPreview();
    LoadTemplate();
}

void ShowPreviewPage() {
    WriteInteger(kPageControl, property::kCurrentPage, page::kPreview);
    if (PreviewFileExists()) {
        ShowPreview();
        LoadTemplate();
    } else {
        // The last template's preview would pass for this one's.
        NavigateBrowser(kPreviewBrowser, kBlankPage);
        SayWhereItBelongs(kNoPreviewFile, TemplateFile::kPreview);
    }
}

void ShowTemplateEditorPage() {
    WriteInteger(kPageControl, property::kCurrentPage, page::kTemplateEditor);
    if (TemplateFileExists())
        LoadTemplate();
    else
        SayWhereItBelongs(kNoTemplateFile, TemplateFile::kTemplate);
}

}  // namespace velmora::app
