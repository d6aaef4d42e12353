// The template a collection run fills, and the page written from it. The
// window keeps the template in its editor boxes, read as the run goes; the
// batch command keeps the texts of one template folder.
#pragma once

#include "app/log_sink.h"
#include "app/runtime_calls.h"
#include "app/template_text.h"

namespace velmora::app {

class PageTemplate {
  public:
    virtual ~PageTemplate() = default;
    // Before each keyword's page: the template read afresh from its folder.
    // False when its file may not be read (the log says why).
    virtual bool Load(LogSink& log) = 0;
    // Fresh copies the caller owns.
    virtual Text Head() = 0;
    virtual Text Loop() = 0;
    virtual Text Tail() = 0;
    virtual Text FolderName() = 0;  // the template folder the page is made from
    // The folder the page goes to (a GBK path): the template's own folder
    // unless the run names another.
    virtual Text PageFolder();
    // Whether the texts are a UTF-8 template held as GB18030, whose page goes
    // back to UTF-8.
    virtual bool InUtf8() = 0;
};

struct LoadedTemplate {
    TemplateParts parts;
    bool inUtf8 = false;  // UTF-8 on disk, the parts in GB18030
    bool usable = false;
};

// The template file of the named folder under the data directory, split into
// its parts; a UTF-8 template (told by its loop markers) comes as GB18030. A
// template file that is no regular file inside its folder (a link to the
// settings, say) is not read: the parts stay empty and the log says why. One
// whose markers are found in neither encoding keeps its whole text in the
// head, and the log says so. Neither is usable. A missing file gives empty
// parts.
LoadedTemplate ReadPageTemplate(const char* directory, const char* name, LogSink& log);

// One template folder's texts, read by Load.
class FolderTemplate final : public PageTemplate {
  public:
    // Pages go to `pageFolder` (a GBK path) when it is given.
    explicit FolderTemplate(const char* name, const char* pageFolder = nullptr)
        : name_(Concat({name})), pageFolder_(Concat({pageFolder})) {}
    bool Load(LogSink& log) override;
    Text Head() override { return Concat({loaded_.parts.head.c_str()}); }
    Text Loop() override { return Concat({loaded_.parts.loop.c_str()}); }
    Text Tail() override { return Concat({loaded_.parts.tail.c_str()}); }
    Text FolderName() override { return Concat({name_.c_str()}); }
    bool InUtf8() override { return loaded_.inUtf8; }
    Text PageFolder() override;

  private:
    Text name_;
    Text pageFolder_;
    LoadedTemplate loaded_;
};

// Writes head + items + tail as keyword + ".htm" into the template's folder,
// the keyword placeholders filled, in the template's own encoding. A failed write adds one log
// line. A keyword or template name that would lead out of the template's folder, a template folder
// that links out of the template root, and a keyword naming one of the template's own files write
// nothing and say so in the log.
void WritePage(const char* items, const char* keyword, PageTemplate& page, LogSink& log);

}  // namespace velmora::app
