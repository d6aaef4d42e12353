// Page templates as text: splitting a template file into head, loop and tail,
// filling the placeholders, and the paths of template and page files.
#pragma once

#include <string_view>

#include "app/item_record.h"
#include "app/runtime_calls.h"
#include "app/template_folder.h"

namespace velmora::app {

struct TemplateParts {
    Text head;  // before the first loop-start marker
    Text loop;  // between it and the next loop-end marker
    Text tail;  // after the first loop-end marker
};

// A template without a loop-start marker has empty head and loop; without a
// loop-end marker the loop is empty and the tail starts 15 bytes in.
TemplateParts SplitTemplate(const char* templateText);

// How a template file's bytes are read: GBK when they hold a loop marker in
// GBK, UTF-8 when they are UTF-8 and hold one in UTF-8, else neither.
enum class TemplateEncoding { kGbk, kUtf8, kNoMarkers };
TemplateEncoding TemplateEncodingOf(std::string_view bytes);

// head + loop-start marker + loop + loop-end marker + tail: the template file
// that SplitTemplate takes apart again.
Text JoinTemplate(const char* head, const char* loop, const char* tail);

// The loop text for one item. The ten placeholders are filled one after the
// other in a fixed order, each in the result of the one before, so a value
// holding a later placeholder gets that filled too.
Text RenderItem(const char* loop, const char* keyword, const ItemRecord& item);

// Every keyword placeholder in the text filled with the keyword.
Text FillKeyword(const char* text, const char* keyword);

// True for a name without a separator ('\' or '/', where '\' is not the
// second byte of a GBK character). Enough for a keyword: its page's name
// gains ".htm", so even "." or ".." names a file.
bool HoldsNoSeparator(const char* name);

// True for a folder's name that stays inside the folder it is put in: no
// separator and not exactly "." or "..".
bool IsPlainName(const char* name);

// The two files of a template's folder.
enum class TemplateFile { kTemplate, kPreview };

// programDirectory + "/单页生成/模板/" + name + "/模板文件.htm" (or
// "/效果预览.htm"), the form the page reader and the browser open.
Text TemplateFileAddress(const char* programDirectory, const char* templateName,
                         TemplateFile file = TemplateFile::kTemplate);

// programDirectory + "\单页生成\模板\" + name: the folder the pages go to.
Text TemplateFolderPath(const char* programDirectory, const char* templateName);

// That folder + "\模板文件.htm", the path the template is saved to.
Text TemplateFilePath(const char* programDirectory, const char* templateName);

// programDirectory + "\单页生成\模板\" + name + "\" + keyword + ".htm".
Text PageFilePath(const char* programDirectory, const char* templateName, const char* keyword);

// folder + "\" + keyword + ".htm".
Text PageFileIn(const char* folder, const char* keyword);

// True when the named template folder keeps reads and writes inside the
// template root: a plain name, and no symbolic link that leads out of the root.
bool TemplateFolderStaysInside(const char* programDirectory, const char* templateName);

// How the template folder's file may be read; a folder that leads out of the
// template root refuses every file.
FileAccess TemplateFileAccess(const char* programDirectory, const char* templateName,
                              TemplateFile file);

}  // namespace velmora::app
