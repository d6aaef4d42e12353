#include "app/template_names.h"

#include "app/template_text.h"
#include "runtime/constants.h"

namespace velmora::app {
namespace {

VELMORA_CONSTANT const char kTemplateSearch[] = "\\单页生成\\模板\\*.*";
constexpr uint32_t kDirectoriesOnly = 0x10;

}  // namespace

FileSearch::~FileSearch() {
    const uint64_t handle = handle_;
    Entries().RuntimeService(kServiceEndFind, 1, &handle);
}

Text FileSearch::Next() {
    const uint64_t arguments[] = {reinterpret_cast<uintptr_t>(pattern_), mask_,
                                  filesOnly_ ? 1u : 0u, reinterpret_cast<uintptr_t>(&handle_)};
    pattern_ = nullptr;
    return Text(reinterpret_cast<char*>(Entries().RuntimeService(kServiceFindFile, 4, arguments)));
}

std::vector<Text> TemplateFolderNames(const char* directory) {
    Text pattern = Concat({directory, kTemplateSearch});
    FileSearch search(pattern.c_str(), kDirectoriesOnly, false);
    std::vector<Text> names;
    for (Text name = search.Next(); !name.empty(); name = search.Next()) {
        if (name.view()[0] == '.' || !TemplateFolderStaysInside(directory, name.c_str())) continue;
        names.push_back(std::move(name));
    }
    return names;
}

}  // namespace velmora::app
