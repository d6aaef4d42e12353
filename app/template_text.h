// Page templates as text: splitting a template file into head, loop and tail,
// filling the placeholders, and the paths of template and page files.
#pragma once

#include "app/item_record.h"
#include "app/runtime_calls.h"

namespace velmora::app {

struct TemplateParts {
    Text head;  // before the first loop-start marker
    Text loop;  // between it and the next loop-end marker
    Text tail;  // after the first loop-end marker
};

// A template without a loop-start marker has empty head and loop; without a
// loop-end marker the loop is empty and the tail starts 15 bytes in.
TemplateParts SplitTemplate(const char* templateText);

// head + loop-start marker + loop + loop-end marker + tail: the template file
// that SplitTemplate takes apart again.
Text JoinTemplate(const char* head, const char* loop, const char* tail);

// The loop text for one item. The ten placeholders are filled one after the
// other in a fixed order, each in the result of the one before, so a value
// holding a later placeholder gets that filled too.
Text RenderItem(const char* loop, const char* keyword, const ItemRecord& item);

// Every keyword placeholder in the text filled with the keyword.
Text FillKeyword(const char* text, const char* keyword);

// True for a name that stays inside the folder it is put in: no separator
// ('\' or '/', where '\' is not the second byte of a GBK character) and not
// exactly "." or "..".
bool IsPlainName(const char* name);

// programDirectory + "/单页生成/模板/" + name + "/模板文件.htm", the form the
// page reader opens.
Text TemplateFileAddress(const char* programDirectory, const char* templateName);

// programDirectory + "\单页生成\模板\" + name: the folder the pages go to.
Text TemplateFolderPath(const char* programDirectory, const char* templateName);

// programDirectory + "\单页生成\模板\" + name + "\" + keyword + ".htm".
Text PageFilePath(const char* programDirectory, const char* templateName, const char* keyword);

}  // namespace velmora::app
