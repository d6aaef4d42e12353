// Turns a unit's named properties in the window source into its type's
// stored property data. Each type registers one encoder in the table in
// type_data_encoders.cpp; a type without one accepts no properties and
// stores an empty block (every property at its default).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "controls/font_data.h"
#include "tools/window_source.h"

namespace velmora::tools {

// The properties of one unit, taken by name. Every accessor marks its name
// as used; Finish rejects names no accessor asked for, so a misspelt
// property is an error rather than a silent default.
class NamedProperties {
  public:
    // Files the properties name are looked for in `fileDirectories`, in order.
    NamedProperties(const std::vector<SourceProperty>& properties, int unitLine,
                    FileDirectories fileDirectories);

    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    int64_t Integer(const std::string& name, int64_t fallback);
    uint32_t Word(const std::string& name, uint32_t fallback);
    // true/false, or an integer.
    uint32_t Logical(const std::string& name, uint32_t fallback);
    // A text of the source converted to GBK.
    std::string Text(const std::string& name, const std::string& fallback = "");
    std::vector<std::string> Texts(const std::string& name);
    // The items of a list, for properties whose items are lists themselves.
    std::vector<SourceValue> Items(const std::string& name);
    // [face, pixel height] or [face, pixel height, weight].
    std::optional<controls::FontData> Font(const std::string& name);
    // The bytes of the file a text names; empty when the property is absent.
    std::vector<uint8_t> File(const std::string& name);
    // Names that are not properties of the type, as one error.
    void Finish(const std::string& typeName) const;

    [[noreturn]] void Fail(const std::string& name, const std::string& message) const;

  private:
    const SourceValue* Take(const std::string& name);

    std::map<std::string, const SourceProperty*> values_;
    std::map<std::string, bool> used_;
    int unitLine_;
    FileDirectories fileDirectories_;
};

// GBK form of a UTF-8 text of the source; throws SourceError when GBK cannot hold it.
std::string SourceTextToGbk(const std::string& utf8, int line);

// The bytes of `name` from the first of `directories` that holds it; none
// when no directory does.
std::optional<std::vector<uint8_t>> ReadSourceFile(const std::string& name,
                                                   const FileDirectories& directories);

using TypeDataEncoder = std::vector<uint8_t> (*)(NamedProperties& properties);

struct UnitTypeInfo {
    const char* name;  // as written in the source
    uint32_t typeNumber;
    TypeDataEncoder encoder;  // null: no stored properties
};

// Null for a name the source may not use.
const UnitTypeInfo* FindUnitType(const std::string& name);

}  // namespace velmora::tools
