#include "runtime/data_type.h"

#include <map>

namespace velmora {
namespace {

const PropertyEntry kCommon[kCommonPropertyCount] = {
    {"左边", "left", nullptr, kKindInteger | kPropertyCommon, 0},
    {"顶边", "top", nullptr, kKindInteger | kPropertyCommon, 0},
    {"宽度", "width", nullptr, kKindInteger | kPropertyCommon, 0},
    {"高度", "height", nullptr, kKindInteger | kPropertyCommon, 0},
    {"标记", "tag", nullptr, kKindText | kPropertyCommon, 0},
    {"可视", "visible", nullptr, kKindLogical | kPropertyCommon, 0},
    {"禁止", "disable", nullptr, kKindLogical | kPropertyCommon, 0},
    {"鼠标指针", "MousePointer", nullptr, kKindCursor | kPropertyCommon, 0},
};

std::map<int, std::span<const DataTypeEntry>>& Libraries() {
    static std::map<int, std::span<const DataTypeEntry>> libraries;
    return libraries;
}

}  // namespace

std::span<const PropertyEntry> CommonProperties() {
    return kCommon;
}

std::vector<PropertyEntry> WithCommonProperties(std::initializer_list<PropertyEntry> own) {
    std::vector<PropertyEntry> table(std::begin(kCommon), std::end(kCommon));
    table.insert(table.end(), own.begin(), own.end());
    return table;
}

void RegisterDataTypes(int libraryIndex, std::span<const DataTypeEntry> table) {
    Libraries()[libraryIndex] = table;
}

void ClearDataTypes() {
    Libraries().clear();
}

const DataTypeEntry* FindDataType(uint32_t typeNumber) {
    uint32_t library = typeNumber >> 16;
    uint32_t position = typeNumber & 0xFFFF;
    if (library == 0 || position == 0) return nullptr;
    auto it = Libraries().find(static_cast<int>(library - 1));
    if (it == Libraries().end() || position > it->second.size()) return nullptr;
    const DataTypeEntry& type = it->second[position - 1];
    return type.IsEmpty() ? nullptr : &type;
}

}  // namespace velmora
