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
    virtual Text FolderName() = 0;  // the template folder the page goes to
};

// The template file of the named folder under the data directory, split into
// its parts. A template file that is no regular file inside its folder (a link
// to the settings, say) is not read: the parts stay empty, the log says why,
// and the result is false. A missing file gives empty parts.
bool ReadPageTemplate(const char* directory, const char* name, TemplateParts* parts, LogSink& log);

// One template folder's texts, read by Load.
class FolderTemplate final : public PageTemplate {
  public:
    explicit FolderTemplate(const char* name) : name_(Concat({name})) {}
    bool Load(LogSink& log) override;
    Text Head() override { return Concat({parts_.head.c_str()}); }
    Text Loop() override { return Concat({parts_.loop.c_str()}); }
    Text Tail() override { return Concat({parts_.tail.c_str()}); }
    Text FolderName() override { return Concat({name_.c_str()}); }

  private:
    Text name_;
    TemplateParts parts_;
};

// Writes head + items + tail as keyword + ".htm" into the template's folder,
// the keyword placeholders filled. A failed write adds one log line. A
// keyword or template name that would lead out of the template's folder, a
// template folder that links out of the template root, and a keyword naming
// one of the template's own files write nothing and say so in the log.
void WritePage(const char* items, const char* keyword, PageTemplate& page, LogSink& log);

}  // namespace velmora::app
