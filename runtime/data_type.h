// Data types of the libraries: the positional type tables, property tables
// and the interface routine through which the runtime reaches a type.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

#include "runtime/value.h"

class QMargins;
class QWidget;

namespace velmora {

// Value kinds of properties (low 16 bits of a property entry's fourth word).
enum PropertyKind : uint32_t {
    kKindInteger = 1001,
    kKindFloat = 1002,
    kKindLogical = 1003,
    kKindDateTime = 1004,
    kKindText = 1005,
    kKindChoice = 1006,
    kKindPicture = 1009,
    kKindIcon = 1010,
    kKindCursor = 1011,
    kKindSound = 1012,
    kKindFont = 1013,
    kKindColour = 1014,
    kKindBackgroundColour = 1015,
    kKindTextData = 1016,
    kKindColourAlt = 1017,
    kKindTextDataAlt = 1023,
    kKindByteData = 1024,
};

// Flags in the high bits of the same word; the common eight carry both.
inline constexpr uint32_t kPropertyCommon = 0x20000000 | 0x40000000;

struct PropertyEntry {
    const char* name;  // GBK
    const char* englishName;
    const char* description;
    uint32_t kindAndFlags;
    uint32_t reserved;

    uint32_t Kind() const { return kindAndFlags & 0xFFFF; }
};

// The common properties, indices 0-7 of every control type.
enum CommonProperty : int {
    kPropertyLeft = 0,
    kPropertyTop = 1,
    kPropertyWidth = 2,
    kPropertyHeight = 3,
    kPropertyTag = 4,
    kPropertyVisible = 5,
    kPropertyDisabled = 6,
    kPropertyMousePointer = 7,
};
inline constexpr int kCommonPropertyCount = 8;
std::span<const PropertyEntry> CommonProperties();
// A type's property table: the common eight, then its own from index 8.
std::vector<PropertyEntry> WithCommonProperties(std::initializer_list<PropertyEntry> own);

// Type flags.
namespace typeflag {
inline constexpr uint32_t kRaisesEvents = 0x40;
inline constexpr uint32_t kRaisesEventsToo = 0x04;  // either bit lets units raise events
inline constexpr uint32_t kContainer = 0x80;
inline constexpr uint32_t kPaged = 0x100;  // children divided into pages
inline constexpr uint32_t kRadio = 0x400;
inline constexpr uint32_t kNeverShown = 0x8000;
}  // namespace typeflag

// Requests of the type interface routine.
enum TypeRequest : int {
    kRequestCreate = 1,
    kRequestSetProperty = 4,
    kRequestFurther5 = 5,
    kRequestGetProperty = 6,
    kRequestFurther7 = 7,
    kRequestOwnsKey = 8,
    kRequestEnumerateTexts = 9,
    kRequestFurther10 = 10,
    // This runtime's own requests, past the shared ones.
    kRequestFrameMargins = 101,  // a window type: FrameMarginsRoutine
    kRequestCurrentPage = 102,   // a paged type: CurrentPageRoutine
    kRequestShowPage = 103,      // a paged type: ShowPageRoutine
};

// Window styles the loader adds from a unit's state word.
inline constexpr uint32_t kStyleVisible = 0x1;
inline constexpr uint32_t kStyleDisabled = 0x2;
inline constexpr uint32_t kStyleTabStop = 0x4;

struct CreateRequest {
    std::span<const uint8_t> data;  // the unit's type-specific data
    uint32_t styles = 0;
    QWidget* parent = nullptr;  // for the window: its owner, or null
    int controlId = 0;
    void* menu = nullptr;
    int left = 0, top = 0, width = 0, height = 0;
    uint32_t windowId = 0;
    uint32_t unitId = 0;
};

// The routine behind each request. Create answers null when the data cannot
// be used; set answers true when the control must be rebuilt to show the change.
using CreateRoutine = QWidget* (*)(const CreateRequest& request);
using SetPropertyRoutine = bool (*)(QWidget* control, int index, const ValueRecord& value);
using GetPropertyRoutine = ValueRecord (*)(QWidget* control, int index);
using OwnsKeyRoutine = bool (*)(QWidget* control, int key);
// A window's frame around its client area: its stored size is the outer one.
using FrameMarginsRoutine = QMargins (*)(const QWidget* window);
// The page a paged control shows, and showing another (its children follow).
using CurrentPageRoutine = int (*)(const QWidget* control);
using ShowPageRoutine = void (*)(QWidget* control, int page);

using InterfaceRoutine = void (*)();
using TypeInterface = InterfaceRoutine (*)(int request);

struct DataTypeEntry {
    const char* name = nullptr;  // GBK
    const char* englishName = nullptr;
    const char* description = nullptr;
    uint32_t methodCount = 0;
    const int* methods = nullptr;
    uint32_t flags = 0;
    uint32_t reserved[3] = {};
    uint32_t propertyCount = 0;
    const PropertyEntry* properties = nullptr;
    TypeInterface interface = nullptr;
    uint32_t eventCount = 0;
    const void* events = nullptr;

    // An unused position of its library's table.
    bool IsEmpty() const { return englishName == nullptr; }
    bool RaisesEvents() const {
        return (flags & (typeflag::kRaisesEvents | typeflag::kRaisesEventsToo)) != 0;
    }
};

// The routine a type gives for a request, as its typed form; null if none.
template <typename Routine>
Routine TypeRoutine(const DataTypeEntry& type, TypeRequest request) {
    if (!type.interface) return nullptr;
    return reinterpret_cast<Routine>(type.interface(request));
}

// Adds a library's positional type table; type numbers are looked up as
// (library index + 1) << 16 | 1-based position.
void RegisterDataTypes(int libraryIndex, std::span<const DataTypeEntry> table);
void ClearDataTypes();
// Null for an unknown library, a position outside its table or an unused one.
const DataTypeEntry* FindDataType(uint32_t typeNumber);

}  // namespace velmora
