// The classes automation objects can be created from, found by ProgID (ASCII
// case-insensitive) or by class id written in braces.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::commands {

class AutomationObject;

using ClassId = std::array<uint8_t, 16>;
// A new object with one reference.
using ObjectFactory = AutomationObject* (*)();

// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" in hex digits of either case.
std::optional<ClassId> ParseClassId(std::string_view text);

class ClassRegistry {
  public:
    // False when either name is taken already or the class id cannot be read.
    bool Register(std::string_view progId, std::string_view classId, ObjectFactory factory);
    void Unregister(std::string_view progId);
    // A class id when the name begins with '{', a ProgID otherwise. Null
    // when no class answers to it.
    AutomationObject* Create(std::string_view className) const;

  private:
    struct Entry {
        std::string progId;  // lower case
        ClassId classId;
        ObjectFactory factory;
    };
    const Entry* Find(std::string_view className) const;
    std::vector<Entry> entries_;
};

// The process's registry, holding the built-in classes.
ClassRegistry& Classes();

}  // namespace velmora::commands
