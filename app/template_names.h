// The template folders under the template root, found with the runtime's
// file search.
#pragma once

#include <cstdint>
#include <vector>

#include "app/runtime_calls.h"

namespace velmora::app {

// The file search behind runtime services 0 and 1. Starting with a pattern
// opens a search; continuing passes no pattern.
class FileSearch {
  public:
    FileSearch(const char* pattern, uint32_t attributeMask, bool filesOnly)
        : pattern_(pattern), mask_(attributeMask), filesOnly_(filesOnly) {}
    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;
    ~FileSearch();

    // The next matching name; the empty text when there is none.
    Text Next();

  private:
    const char* pattern_;
    uint32_t mask_;
    bool filesOnly_;
    uintptr_t handle_ = 0;
};

// One name (GBK) per folder under the data directory's template root, in the
// order the file search gives them; names beginning with "." are skipped, and
// so are names and links that lead out of the root.
std::vector<Text> TemplateFolderNames(const char* directory);

}  // namespace velmora::app
