// What the window lends the collection run: its log box as the log, its
// hidden item list as the classic source's rows, and its editor boxes as the
// template, read as the run goes (a template chosen meanwhile counts from
// the next keyword, a loop edited meanwhile from the next item).
#pragma once

#include "app/item_rows.h"
#include "app/log_sink.h"
#include "app/page_template.h"

namespace velmora::app {

class LogBox final : public LogSink {
  public:
    void Append(std::initializer_list<const char*> texts) override;
};

class ItemListRows final : public ItemRows {
  public:
    void Clear() override;
    void Append(const PromotionItem& item) override;
    PromotionItem Row(int index) override;
};

// Load reads the template selected in the template list into the boxes.
class EditorTemplate final : public PageTemplate {
  public:
    bool Load(LogSink& log) override;
    Text Head() override;
    Text Loop() override;
    Text Tail() override;
    Text FolderName() override;
    bool InUtf8() override;
};

}  // namespace velmora::app
