#include "commands/automation_registry.h"

#include <algorithm>
#include <cctype>

#include "commands/xmlhttp.h"

namespace velmora::commands {
namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<ClassId> ParseClassId(std::string_view text) {
    constexpr std::string_view kShape = "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}";
    if (text.size() != kShape.size()) return std::nullopt;
    ClassId id{};
    size_t nibble = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (kShape[i] != 'x') {
            if (text[i] != kShape[i]) return std::nullopt;
            continue;
        }
        int v = HexValue(text[i]);
        if (v < 0) return std::nullopt;
        id[nibble / 2] = static_cast<uint8_t>(id[nibble / 2] << 4 | v);
        ++nibble;
    }
    return id;
}

bool ClassRegistry::Register(std::string_view progId, std::string_view classId,
                             ObjectFactory factory) {
    auto id = ParseClassId(classId);
    if (!id || Find(progId) || Find(classId)) return false;
    entries_.push_back({Lower(progId), *id, factory});
    return true;
}

void ClassRegistry::Unregister(std::string_view progId) {
    std::string key = Lower(progId);
    std::erase_if(entries_, [&](const Entry& e) { return e.progId == key; });
}

const ClassRegistry::Entry* ClassRegistry::Find(std::string_view className) const {
    if (className.starts_with('{')) {
        auto id = ParseClassId(className);
        if (!id) return nullptr;
        auto it = std::find_if(entries_.begin(), entries_.end(),
                               [&](const Entry& e) { return e.classId == *id; });
        return it == entries_.end() ? nullptr : &*it;
    }
    std::string key = Lower(className);
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.progId == key; });
    return it == entries_.end() ? nullptr : &*it;
}

AutomationObject* ClassRegistry::Create(std::string_view className) const {
    const Entry* e = Find(className);
    return e ? e->factory() : nullptr;
}

ClassRegistry& Classes() {
    static ClassRegistry registry = [] {
        ClassRegistry r;
        RegisterXmlHttpClass(r);
        return r;
    }();
    return registry;
}

}  // namespace velmora::commands
