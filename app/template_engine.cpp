#include "app/template_engine.h"

#include "app/collector_globals.h"
#include "app/page_template.h"
#include "app/window_calls.h"
#include "app/window_engine_parts.h"
#include "commands/control_commands.h"

namespace velmora::app {

Text SelectedTemplateName() {
    int selection = ReadInteger(kTemplateList, property::kListBoxSelection);
    return TakeText(CallCore(commands::ListBoxGetItemText,
                             {ControlOf(tag::kListBox, kTemplateList), MakeInteger(selection)}));
}

bool LoadSelectedTemplate() {
    LogBox log;
    return LoadSelectedTemplate(log);
}

bool LoadSelectedTemplate(LogSink& log) {
    Text name = SelectedTemplateName();
    Text directory = DataDirectory();
    LoadedTemplate loaded = ReadPageTemplate(directory.c_str(), name.c_str(), log);
    WriteText(kTemplateNameBox, SelectedTemplateName().c_str());
    Globals().templateInUtf8 = loaded.inUtf8;
    WriteText(kHeadBox, loaded.parts.head.c_str());
    WriteText(kLoopBox, loaded.parts.loop.c_str());
    WriteText(kTailBox, loaded.parts.tail.c_str());
    return loaded.usable;
}

void LoadTemplate() {
    LoadSelectedTemplate();
}

void WritePage(const char* items) {
    EditorTemplate page;
    LogBox log;
    WritePage(items, Globals().currentKeyword, page, log);
}

}  // namespace velmora::app
