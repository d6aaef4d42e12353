#include "tools/window_source_compiler.h"

#include <algorithm>
#include <map>
#include <set>

#include "runtime/stream_writer.h"
#include "tools/type_data_encoders.h"

namespace velmora::tools {
namespace {

constexpr uint32_t kTabType = 0x00010015;
constexpr uint32_t kWindowType = 0x00010001;

const char* const kCursorNames[] = {"arrow",       "cross",  "ibeam",   "wait",     "help",
                                    "appStarting", "no",     "sizeAll", "sizeNESW", "sizeNS",
                                    "sizeNWSE",    "sizeWE", "upArrow", "hand"};

const std::set<std::string> kCommonKeys = {"parent", "page", "rect",    "state",      "focusOrder",
                                           "cursor", "tag",  "comment", "eventSource"};
const std::set<std::string> kMenuKeys = {"text", "words", "handler", "comment", "eventSource"};

int32_t HandlerOffsetOf(const std::vector<std::string>& handlers, const std::string& name,
                        int line) {
    auto it = std::find(handlers.begin(), handlers.end(), name);
    if (it == handlers.end())
        throw SourceError(line, "'" + name + "' is not in the application's handler list");
    return HandlerOffset(static_cast<size_t>(it - handlers.begin()));
}

uint32_t StateWord(const SourceValue& v) {
    if (v.kind == SourceValue::Kind::Integer) return static_cast<uint32_t>(v.integer);
    if (v.kind != SourceValue::Kind::List)
        throw SourceError(v.line, "state: expected [visible, disabled, tabStop] or a number");
    uint32_t state = 0;
    for (const SourceValue& item : v.items) {
        if (item.kind == SourceValue::Kind::Name && item.text == "visible")
            state |= kStateVisible;
        else if (item.kind == SourceValue::Kind::Name && item.text == "disabled")
            state |= kStateDisabled;
        else if (item.kind == SourceValue::Kind::Name && item.text == "tabStop")
            state |= kStateTabStop;
        else
            throw SourceError(item.line, "state: expected visible, disabled or tabStop");
    }
    return state;
}

std::vector<uint8_t> CursorData(const SourceValue& v, const FileDirectories& directories) {
    StreamWriter out;
    if (v.kind == SourceValue::Kind::Integer) {
        out.SignedWord(static_cast<int32_t>(v.integer));
    } else if (v.kind == SourceValue::Kind::Name) {
        int number = StandardCursorNumber(v.text);
        if (number < 0) throw SourceError(v.line, "cursor: unknown cursor '" + v.text + "'");
        out.Word(static_cast<uint32_t>(number));
    } else if (v.kind == SourceValue::Kind::Text) {
        auto bytes = ReadSourceFile(v.text, directories);
        if (!bytes) throw SourceError(v.line, "cursor: cannot read '" + v.text + "'");
        out.SignedWord(-1);
        out.Bytes(*bytes);
    } else {
        throw SourceError(v.line, "cursor: expected a cursor name, a number or a file");
    }
    return out.Take();
}

int32_t Signed(const SourceValue& v, const char* what) {
    if (v.kind != SourceValue::Kind::Integer)
        throw SourceError(v.line, std::string(what) + ": expected a number");
    return static_cast<int32_t>(v.integer);
}

std::string Gbk(const SourceValue& v, const char* what) {
    if (v.kind != SourceValue::Kind::Text)
        throw SourceError(v.line, std::string(what) + ": expected a text");
    return SourceTextToGbk(v.text, v.line);
}

struct Placement {
    uint32_t parent = 0;
    int page = -1;  // -1: not given
    int line = 0;
};

UnitRecord CompileMenuItem(const SourceUnit& su, const UnitTypeInfo& type,
                           const std::vector<std::string>& handlers) {
    UnitRecord u;
    u.id = su.id;
    u.type = type.typeNumber;
    u.name = SourceTextToGbk(su.name, su.line);
    if (!su.bindings.empty())
        throw SourceError(su.bindings[0].line, "a menu item has one handler: handler = Name");
    for (const SourceProperty& p : su.properties) {
        if (!kMenuKeys.count(p.name))
            throw SourceError(p.line, "'" + p.name + "' is not a property of a menu item");
        const SourceValue& v = p.value;
        if (p.name == "text") {
            u.menuText = Gbk(v, "text");
        } else if (p.name == "comment") {
            u.comment = Gbk(v, "comment");
        } else if (p.name == "eventSource") {
            u.eventSource = static_cast<uint32_t>(Signed(v, "eventSource"));
        } else if (p.name == "handler") {
            if (v.kind != SourceValue::Kind::Name)
                throw SourceError(v.line, "handler: expected a handler name");
            u.menuHandler.handlerOffset = HandlerOffsetOf(handlers, v.text, v.line);
        } else {  // words
            if (v.kind != SourceValue::Kind::List || v.items.size() != 3)
                throw SourceError(v.line, "words: expected three numbers");
            StreamWriter w;
            for (const SourceValue& item : v.items) w.SignedWord(Signed(item, "words"));
            std::copy(w.Data().begin(), w.Data().end(), u.menuWords.begin());
        }
    }
    return u;
}

UnitRecord CompileUnit(const SourceUnit& su, const UnitTypeInfo& type,
                       const std::vector<std::string>& handlers, const FileDirectories& directories,
                       Placement& placement) {
    UnitRecord u;
    u.id = su.id;
    u.type = type.typeNumber;
    u.name = SourceTextToGbk(su.name, su.line);
    u.cursorData = {0, 0, 0, 0};
    placement.line = su.line;
    std::vector<SourceProperty> own;
    for (const SourceProperty& p : su.properties) {
        if (!kCommonKeys.count(p.name)) {
            own.push_back(p);
            continue;
        }
        const SourceValue& v = p.value;
        if (p.name == "parent") {
            placement.parent = static_cast<uint32_t>(Signed(v, "parent"));
            u.parent = placement.parent;
        } else if (p.name == "page") {
            placement.page = Signed(v, "page");
            if (placement.page < 0) throw SourceError(v.line, "page: cannot be negative");
        } else if (p.name == "rect") {
            if (v.kind != SourceValue::Kind::List || v.items.size() != 4)
                throw SourceError(v.line, "rect: expected [left, top, width, height]");
            u.left = Signed(v.items[0], "rect");
            u.top = Signed(v.items[1], "rect");
            u.width = Signed(v.items[2], "rect");
            u.height = Signed(v.items[3], "rect");
        } else if (p.name == "state") {
            u.state = StateWord(v);
        } else if (p.name == "focusOrder") {
            u.focusOrder = static_cast<uint32_t>(Signed(v, "focusOrder"));
        } else if (p.name == "cursor") {
            u.cursorData = CursorData(v, directories);
        } else if (p.name == "tag") {
            u.tag = Gbk(v, "tag");
        } else if (p.name == "comment") {
            u.comment = Gbk(v, "comment");
        } else {  // eventSource
            u.eventSource = static_cast<uint32_t>(Signed(v, "eventSource"));
        }
    }
    for (const SourceBinding& b : su.bindings) {
        if (u.FindBinding(b.event))
            throw SourceError(b.line, "event " + std::to_string(b.event) + " bound twice");
        u.events.push_back({b.event, HandlerOffsetOf(handlers, b.handler, b.line), nullptr});
    }
    NamedProperties properties(own, su.line, directories);
    if (type.encoder) u.typeData = type.encoder(properties);
    properties.Finish(type.name);
    return u;
}

// Child lists from the parents, in table order; a paged parent gets one
// 0-ended run per page, as many pages as its captions or its children need.
void BuildChildLists(WindowRecord& w, const std::vector<Placement>& placements,
                     const std::vector<size_t>& pageCounts) {
    std::vector<std::vector<std::vector<uint32_t>>> pages(w.units.size());
    for (size_t i = 1; i < w.units.size(); ++i) {
        // Menu items hang off the window's menu, not off a parent unit.
        if (w.units[i].IsMenuItem()) continue;
        const Placement& place = placements[i];
        int parent = w.IndexOf(place.parent);
        if (parent < 0 || (place.parent != 0 && w.units[size_t(parent)].IsMenuItem()))
            throw SourceError(place.line, "parent is not a unit of this window");
        if (size_t(parent) == i) throw SourceError(place.line, "a unit cannot be its own parent");
        UnitRecord& p = w.units[size_t(parent)];
        bool paged = p.type == kTabType;
        if (place.page >= 0 && !paged)
            throw SourceError(place.line, "page: the parent is not divided into pages");
        size_t page = paged ? size_t(std::max(place.page, 0)) : 0;
        auto& runs = pages[size_t(parent)];
        if (runs.size() <= page) runs.resize(page + 1);
        runs[page].push_back(w.units[i].id);
    }
    for (size_t i = 0; i < w.units.size(); ++i) {
        UnitRecord& u = w.units[i];
        auto& runs = pages[i];
        if (u.type != kTabType) {
            if (!runs.empty()) u.children = runs[0];
            continue;
        }
        runs.resize(std::max(runs.size(), pageCounts[i]));
        for (const auto& run : runs) {
            u.children.insert(u.children.end(), run.begin(), run.end());
            u.children.push_back(0);
        }
    }
}

WindowRecord CompileWindow(const SourceWindow& sw, const std::vector<std::string>& handlers,
                           const FileDirectories& directories) {
    WindowRecord w;
    w.id = sw.id;
    w.firstWord = 0xFFFFFFFF;
    w.secondWord = 0x19010020;
    for (const SourceProperty& p : sw.properties) {
        const SourceValue& v = p.value;
        if (p.name == "headWords" && v.kind == SourceValue::Kind::List && v.items.size() == 2) {
            w.firstWord = static_cast<uint32_t>(Signed(v.items[0], "headWords"));
            w.secondWord = static_cast<uint32_t>(Signed(v.items[1], "headWords"));
        } else if (p.name == "headTexts" && v.kind == SourceValue::Kind::List &&
                   v.items.size() == 2) {
            w.firstText = Gbk(v.items[0], "headTexts");
            w.secondText = Gbk(v.items[1], "headTexts");
        } else {
            throw SourceError(p.line,
                              "a window takes headWords = [a, b], headTexts = [\"\", \"\"]"
                              " and units; not '" +
                                  p.name + "'");
        }
    }
    if (sw.units.empty() || sw.units[0].type != "window")
        throw SourceError(sw.line, "a window's first unit is the window itself (unit window ...)");
    std::set<uint32_t> ids;
    std::vector<Placement> placements(sw.units.size());
    std::vector<size_t> pageCounts(sw.units.size(), 0);
    for (size_t i = 0; i < sw.units.size(); ++i) {
        const SourceUnit& su = sw.units[i];
        const UnitTypeInfo* type = FindUnitType(su.type);
        if (!type) throw SourceError(su.line, "unknown unit type '" + su.type + "'");
        if (i > 0 && type->typeNumber == kWindowType)
            throw SourceError(su.line, "only the first unit is the window");
        if (su.id == 0 || !ids.insert(su.id).second)
            throw SourceError(su.line, "unit identifier missing or used twice");
        if (IsMenuItemId(su.id) != (type->typeNumber == 0x00010003))
            throw SourceError(su.line, "menu items, and only they, take a 0x26... identifier");
        if (IsMenuItemId(su.id)) {
            w.units.push_back(CompileMenuItem(su, *type, handlers));
            continue;
        }
        for (const SourceProperty& p : su.properties)
            if (p.name == "pages" && p.value.kind == SourceValue::Kind::List)
                pageCounts[i] = p.value.items.size();
        w.units.push_back(CompileUnit(su, *type, handlers, directories, placements[i]));
    }
    BuildChildLists(w, placements, pageCounts);
    return w;
}

}  // namespace

int StandardCursorNumber(const std::string& name) {
    for (size_t i = 0; i < std::size(kCursorNames); ++i)
        if (name == kCursorNames[i]) return static_cast<int>(i + 1);
    return -1;
}

std::vector<WindowRecord> CompileWindowSource(const WindowSource& source,
                                              const std::vector<std::string>& handlers,
                                              const FileDirectories& fileDirectories) {
    std::vector<WindowRecord> windows;
    std::set<uint32_t> ids;
    for (const SourceWindow& sw : source.windows) {
        if (!ids.insert(sw.id).second) throw SourceError(sw.line, "window identifier used twice");
        windows.push_back(CompileWindow(sw, handlers, fileDirectories));
    }
    return windows;
}

}  // namespace velmora::tools
