// The readable window source: one `window` block per window, one `unit` block
// per unit, written like this:
//
//   window 0x52010001 {
//       unit window 0x06010000 "" {
//           rect = [0, 0, 750, 610]
//           state = [visible]
//           on 0 = StartUp
//           caption = "窗口"
//       }
//       unit Button 0x1601000c "按钮1" {
//           parent = 0x1601000b
//           rect = [16, 16, 112, 32]
//           state = [visible, tabStop]
//           on 0 = StartCollection
//           caption = "开始生成"
//       }
//   }
//
// Values are integers (decimal or 0x hex, may be negative), "texts" (UTF-8,
// with \" \\ \n \t escapes), bare names, or [lists] of those. `#` starts a
// comment. The parser only builds the tree; window_source_compiler.h gives
// the names their meaning.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::tools {

class SourceError : public std::runtime_error {
  public:
    SourceError(int line, const std::string& message)
        : std::runtime_error("line " + std::to_string(line) + ": " + message), line_(line) {}
    int Line() const { return line_; }

  private:
    int line_;
};

struct SourceValue {
    enum class Kind { Integer, Text, Name, List };
    Kind kind = Kind::Integer;
    int64_t integer = 0;
    std::string text;  // the text (UTF-8) or the name
    std::vector<SourceValue> items;
    int line = 0;
};

struct SourceProperty {
    std::string name;
    SourceValue value;
    int line = 0;
};

struct SourceBinding {
    int32_t event = 0;
    std::string handler;
    int line = 0;
};

struct SourceUnit {
    std::string type;
    uint32_t id = 0;
    std::string name;  // UTF-8
    std::vector<SourceProperty> properties;
    std::vector<SourceBinding> bindings;
    int line = 0;
};

struct SourceWindow {
    uint32_t id = 0;
    std::vector<SourceProperty> properties;
    std::vector<SourceUnit> units;
    int line = 0;
};

struct WindowSource {
    std::vector<SourceWindow> windows;
};

// Where files the source names (cursors, icons, pictures) are looked for,
// first directory first.
using FileDirectories = std::vector<std::filesystem::path>;

// Throws SourceError naming the line and what was expected.
WindowSource ParseWindowSource(std::string_view text);

// Reads the handler list: one VELMORA_HANDLER(Name) per line, in table order.
std::vector<std::string> ParseHandlerList(std::string_view text);

}  // namespace velmora::tools
