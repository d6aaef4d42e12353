#include "runtime/file_search.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "runtime/file_attributes.h"
#include "runtime/folder_listing.h"
#include "runtime/heap.h"
#include "runtime/windows_path.h"

namespace velmora {
namespace {

constexpr uint32_t kSearchableAttributes = 0x37;

struct Entry {
    std::string gbkName;
    uint32_t attributes;
};

// The names that matched when the search began; attributes are read as each
// one is reached, so an entry removed meanwhile is simply skipped.
class FileSearch {
  public:
    static FileSearch* Open(const char* gbkPattern) {
        std::optional<std::string> native = NativePath(gbkPattern);
        if (!native) return nullptr;
        PathParts parts = SplitNativePath(*native);
        if (parts.name.empty()) return nullptr;
        auto* search = new FileSearch;
        search->directory_ = parts.directory;
        if (HasWildcards(parts.name)) {
            search->names_ = MatchingNames(parts.directory, parts.name);
        } else {
            search->names_.push_back(parts.name);
        }
        return search;
    }

    std::optional<Entry> Next() {
        while (next_ < names_.size()) {
            const std::string& name = names_[next_++];
            std::optional<std::string> gbk = NativeNameToGbk(name);
            if (!gbk) continue;
            std::optional<uint32_t> attributes = ReadFileAttributes(PathOf(name));
            if (!attributes) continue;
            return Entry{std::move(*gbk), *attributes};
        }
        return std::nullopt;
    }

  private:
    static std::vector<std::string> MatchingNames(const std::string& directory,
                                                  const std::string& pattern) {
        std::vector<std::string> names = FolderNames(directory);
        std::erase_if(names, [&](const std::string& n) { return !WildcardMatch(pattern, n); });
        auto rank = [](const std::string& n) { return n == "." ? 0 : n == ".." ? 1 : 2; };
        std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
            return rank(a) != rank(b) ? rank(a) < rank(b) : a < b;
        });
        return names;
    }

    std::string PathOf(const std::string& name) const {
        return directory_ == "/" ? "/" + name : directory_ + "/" + name;
    }

    std::string directory_;
    std::vector<std::string> names_;
    size_t next_ = 0;
};

FileSearch* AsSearch(uintptr_t handle) {
    return reinterpret_cast<FileSearch*>(handle);
}

bool Accepts(const Entry& entry, uint32_t mask, bool filesOnly) {
    if (filesOnly) return (entry.attributes & attribute::kDirectory) == 0;
    if (mask != 0) return (entry.attributes & mask) != 0;
    return entry.attributes == 0;
}

}  // namespace

char* FindFile(const char* gbkPattern, uint32_t attributeMask, bool filesOnly, uintptr_t* handle) {
    if (!handle) return nullptr;
    if (gbkPattern && *gbkPattern) {
        EndFind(*handle);
        *handle = reinterpret_cast<uintptr_t>(FileSearch::Open(gbkPattern));
    }
    FileSearch* search = AsSearch(*handle);
    if (!search) return nullptr;
    const uint32_t mask = attributeMask & kSearchableAttributes;
    while (std::optional<Entry> entry = search->Next()) {
        if (Accepts(*entry, mask, filesOnly)) {
            return MakeText(entry->gbkName.data(), static_cast<long>(entry->gbkName.size()));
        }
    }
    EndFind(*handle);
    *handle = 0;
    return nullptr;
}

void EndFind(uintptr_t handle) {
    delete AsSearch(handle);
}

bool AnyFileMatches(const char* gbkPattern) {
    FileSearch* search = FileSearch::Open(gbkPattern);
    if (!search) return false;
    const bool found = search->Next().has_value();
    delete search;
    return found;
}

}  // namespace velmora
