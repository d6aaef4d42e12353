// The application's thin typed layer over the entry table: it builds the
// argument records and owns the texts that commands hand back, so that a
// handler reads like its algorithm. Every call still goes through Entries().
#pragma once

#include <cstring>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/constants.h"
#include "runtime/entry_table.h"
#include "runtime/value.h"

namespace velmora::app {

// A runtime heap text owned by the application; null is the empty text.
class Text {
  public:
    Text() = default;
    explicit Text(char* owned) : text_(owned) {}
    Text(Text&& other) noexcept : text_(std::exchange(other.text_, nullptr)) {}
    Text& operator=(Text&& other) noexcept {
        if (this != &other) {
            Entries().Free(text_);
            text_ = std::exchange(other.text_, nullptr);
        }
        return *this;
    }
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    ~Text() { Entries().Free(text_); }

    // Never null: commands take the constant empty text for an empty one.
    const char* c_str() const { return text_ ? text_ : kEmptyText; }
    std::string_view view() const { return c_str(); }
    bool empty() const { return !text_ || !*text_; }
    // Hands the block to the caller, who then frees it.
    char* release() { return std::exchange(text_, nullptr); }

  private:
    char* text_ = nullptr;
};

// A text argument; a null text is passed as the constant empty text.
inline ValueRecord TextArg(const char* text) {
    return MakeTextValue(text ? text : kEmptyText);
}
inline ValueRecord TextArg(const Text& text) {
    return MakeTextValue(text.c_str());
}

// Takes over the text a command returned.
inline Text TakeText(const ValueRecord& result) {
    return Text(static_cast<char*>(result.Pointer()));
}

inline ValueRecord CallCore(CommandRoutine routine, std::initializer_list<ValueRecord> arguments) {
    std::vector<ValueRecord> records(arguments);
    return Entries().CallCoreCommand(routine, static_cast<int>(records.size()), records.data());
}

inline ValueRecord CallLibrary(int libraryIndex, CommandRoutine routine,
                               std::initializer_list<ValueRecord> arguments) {
    std::vector<ValueRecord> records(arguments);
    return Entries().CallLibraryCommand(libraryIndex, routine, static_cast<int>(records.size()),
                                        records.data());
}

// The texts one after another, as a new text; null when all are empty. A null
// part is the empty text.
inline Text Concat(std::initializer_list<const char*> parts) {
    size_t length = 0;
    for (const char* part : parts) length += part ? std::strlen(part) : 0;
    if (length == 0) return Text();
    char* joined = static_cast<char*>(Entries().Allocate(length + 1));
    char* end = joined;
    for (const char* part : parts) {
        size_t size = part ? std::strlen(part) : 0;
        if (size) std::memcpy(end, part, size);
        end += size;
    }
    *end = '\0';
    return Text(joined);
}

}  // namespace velmora::app
