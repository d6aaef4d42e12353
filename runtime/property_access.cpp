#include "runtime/property_access.h"

#include <QCursor>
#include <QMargins>
#include <QWidget>
#include <algorithm>

#include "runtime/data_type.h"
#include "runtime/heap.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_texts.h"
#include "runtime/value.h"
#include "runtime/window_builder.h"
#include "runtime/window_table.h"

namespace velmora {
namespace {

struct Target {
    WindowRecord* window;
    UnitRecord* unit;
    QWidget* live;  // null while the window is not built
};

Target Find(uint32_t windowId, uint32_t unitId) {
    WindowRecord* window = FindWindowDescription(windowId);
    if (!window) FatalRuntimeMessage(texts::kPropertyWindowMissing);
    UnitRecord* unit = window->FindUnit(unitId);
    if (!unit) FatalRuntimeMessage(texts::kUnitNotLoaded);
    return {window, unit, FindLiveObject(windowId, unitId)};
}

bool IsWindowUnit(const Target& t) {
    return t.unit == &t.window->units.front();
}

// A window's stored size is its outer size; its widget is the client area.
QMargins FrameOf(const Target& t) {
    const DataTypeEntry* type = FindDataType(t.unit->type);
    auto frame = type ? TypeRoutine<FrameMarginsRoutine>(*type, kRequestFrameMargins) : nullptr;
    return frame ? frame(t.live) : QMargins();
}

int32_t LiveGeometry(const Target& t, int property) {
    QWidget* w = t.live;
    if (w->isWindow()) {
        QMargins frame = FrameOf(t);
        QPoint at = w->pos();
        switch (property) {
            case kPropertyLeft:
                return at.x();
            case kPropertyTop:
                return at.y();
            case kPropertyWidth:
                return w->width() + frame.left() + frame.right();
            default:
                return w->height() + frame.top() + frame.bottom();
        }
    }
    QRect r = w->geometry();
    const int32_t values[] = {r.x(), r.y(), r.width(), r.height()};
    return values[property];
}

void ApplyGeometry(const Target& t) {
    QWidget* w = t.live;
    if (!w) return;
    if (w->isWindow()) {
        QMargins frame = FrameOf(t);
        w->move(t.unit->left, t.unit->top);
        QSize client(std::max(0, t.unit->width - frame.left() - frame.right()),
                     std::max(0, t.unit->height - frame.top() - frame.bottom()));
        if (w->minimumSize() == w->maximumSize()) w->setFixedSize(client);
        w->resize(client);
        return;
    }
    w->setGeometry(t.unit->left, t.unit->top, t.unit->width, t.unit->height);
}

// A control on a Tab page other than the Tab's current page stays hidden.
bool OnHiddenPage(const Target& t) {
    if (t.unit->parent == 0) return false;
    const UnitRecord* parent = t.window->FindUnit(t.unit->parent);
    const DataTypeEntry* type = parent ? FindDataType(parent->type) : nullptr;
    if (!type || !(type->flags & typeflag::kPaged)) return false;
    QWidget* tab = FindLiveObject(t.window->id, parent->id);
    auto currentPage = TypeRoutine<CurrentPageRoutine>(*type, kRequestCurrentPage);
    int current = tab && currentPage ? currentPage(tab) : 0;
    auto pages = PagesOf(*parent);
    for (size_t page = 0; page < pages.size(); ++page)
        if (std::ranges::find(pages[page], t.unit->id) != pages[page].end())
            return int(page) != current;
    return false;
}

const DataTypeEntry& TypeOf(const Target& t) {
    const DataTypeEntry* type = FindDataType(t.unit->type);
    if (!type) FatalRuntimeMessage(texts::kUnitNotLoaded);
    return *type;
}

// Type-specific properties need the built window and a live control.
QWidget* LiveForTypeProperty(const Target& t) {
    if (!FindLiveObject(t.window->id, 0)) FatalRuntimeMessage(texts::kPropertyWindowNotBuilt);
    if (!t.live) FatalRuntimeMessage(texts::kUnitNotLoaded);
    return t.live;
}

uint32_t KindOf(const DataTypeEntry& type, int property) {
    if (property < 0 || uint32_t(property) >= type.propertyCount) return 0;
    return type.properties[property].Kind();
}

bool IsTextKind(uint32_t kind) {
    return kind == kKindText;
}

bool IsBlockKind(uint32_t kind) {
    switch (kind) {
        case kKindPicture:
        case kKindIcon:
        case kKindCursor:
        case kKindSound:
        case kKindFont:
        case kKindTextData:
        case kKindTextDataAlt:
        case kKindByteData:
            return true;
        default:
            return false;
    }
}

// The record the routine answered, in the property's kind. An answer of
// another shape than the kind wants is freed and read as empty or zero.
uint64_t AsKind(const ValueRecord& answer, uint32_t kind) {
    uint32_t base = answer.BaseTag();
    bool pointer = base == tag::kText || base == tag::kByteSet;
    if (IsTextKind(kind) || IsBlockKind(kind)) {
        uint32_t wanted = IsTextKind(kind) ? tag::kText : tag::kByteSet;
        if (base == wanted) return answer.Bits();
        if (pointer) Free(answer.Pointer());
        return 0;
    }
    if (pointer) {
        Free(answer.Pointer());
        return 0;
    }
    if (kind == kKindLogical) return answer.low != 0 ? 1 : 0;
    if (kind == kKindFloat || kind == kKindDateTime) return answer.Bits();
    return answer.low;
}

ValueRecord FromKind(uint32_t kind, uint32_t low, uint32_t high) {
    uint64_t bits = uint64_t(low) | (uint64_t(high) << 32);
    if (IsTextKind(kind)) {
        // A null text is the empty text.
        const char* text = reinterpret_cast<const char*>(uintptr_t(bits));
        return MakeTextValue(text ? text : "");
    }
    if (IsBlockKind(kind)) return MakeValue(tag::kByteSet, bits);
    if (kind == kKindLogical) return MakeLogical(low != 0);
    if (kind == kKindFloat) return MakeValue(tag::kFloat, low);
    if (kind == kKindDateTime) return MakeValue(tag::kDateTime, bits);
    return MakeInteger(static_cast<int32_t>(low));
}

}  // namespace

uint64_t ReadControlProperty(uint32_t windowId, uint32_t unitId, int property, int) {
    Target t = Find(windowId, unitId);
    switch (property) {
        case kPropertyLeft:
        case kPropertyTop:
        case kPropertyWidth:
        case kPropertyHeight: {
            if (t.live) return uint32_t(LiveGeometry(t, property));
            const int32_t stored[] = {t.unit->left, t.unit->top, t.unit->width, t.unit->height};
            return uint32_t(stored[property]);
        }
        case kPropertyTag:
            return uintptr_t(MakeText(t.unit->tag.data(), long(t.unit->tag.size())));
        case kPropertyVisible:
            return t.live ? !t.live->isHidden() : (t.unit->state & kStateVisible) != 0;
        case kPropertyDisabled:
            return t.live ? !t.live->isEnabled() : (t.unit->state & kStateDisabled) != 0;
        case kPropertyMousePointer:
            return uintptr_t(MakeByteSet(t.unit->cursorData.data(), t.unit->cursorData.size()));
        default:
            break;
    }
    const DataTypeEntry& type = TypeOf(t);
    QWidget* live = LiveForTypeProperty(t);
    auto get = TypeRoutine<GetPropertyRoutine>(type, kRequestGetProperty);
    if (!get) return 0;
    return AsKind(get(live, property - kCommonPropertyCount), KindOf(type, property));
}

void WriteControlProperty(uint32_t windowId, uint32_t unitId, int property, int, uint32_t low,
                          uint32_t high) {
    Target t = Find(windowId, unitId);
    int32_t value = static_cast<int32_t>(low);
    switch (property) {
        case kPropertyLeft:
        case kPropertyTop: {
            int32_t limited = std::clamp(value, -kPositionLimit, kPositionLimit);
            // The size stays as it is now, live or stored.
            if (t.live) {
                t.unit->width = LiveGeometry(t, kPropertyWidth);
                t.unit->height = LiveGeometry(t, kPropertyHeight);
                (property == kPropertyLeft ? t.unit->top : t.unit->left) =
                    LiveGeometry(t, property == kPropertyLeft ? kPropertyTop : kPropertyLeft);
            }
            (property == kPropertyLeft ? t.unit->left : t.unit->top) = limited;
            ApplyGeometry(t);
            return;
        }
        case kPropertyWidth:
        case kPropertyHeight: {
            int32_t limited = std::clamp(value, 0, kPositionLimit);
            // The place stays as it is now.
            if (t.live) {
                t.unit->left = LiveGeometry(t, kPropertyLeft);
                t.unit->top = LiveGeometry(t, kPropertyTop);
                (property == kPropertyWidth ? t.unit->height : t.unit->width) =
                    LiveGeometry(t, property == kPropertyWidth ? kPropertyHeight : kPropertyWidth);
            }
            (property == kPropertyWidth ? t.unit->width : t.unit->height) = limited;
            ApplyGeometry(t);
            return;
        }
        case kPropertyTag: {
            const char* text =
                reinterpret_cast<const char*>(uintptr_t(uint64_t(low) | (uint64_t(high) << 32)));
            t.unit->tag = text ? text : "";
            return;
        }
        case kPropertyVisible:
            t.unit->state =
                low ? (t.unit->state | kStateVisible) : (t.unit->state & ~kStateVisible);
            if (!t.live) return;
            if (!low)
                t.live->hide();
            else if (IsWindowUnit(t) || !OnHiddenPage(t)) {
                t.live->setAttribute(Qt::WA_ShowWithoutActivating, !IsWindowUnit(t));
                t.live->show();
            }
            return;
        case kPropertyDisabled:
            t.unit->state =
                low ? (t.unit->state | kStateDisabled) : (t.unit->state & ~kStateDisabled);
            if (t.live) t.live->setEnabled(!low);
            return;
        case kPropertyMousePointer: {
            const void* block =
                reinterpret_cast<const void*>(uintptr_t(uint64_t(low) | (uint64_t(high) << 32)));
            const uint8_t* bytes = ByteSetData(block);
            t.unit->cursorData.assign(bytes, bytes + ByteSetLength(block));
            if (t.live) {
                ApplyStoredCursor(t.live, t.unit->cursorData);
                // Moving the pointer to where it is lets the new cursor show now.
                QCursor::setPos(QCursor::pos());
            }
            return;
        }
        default:
            break;
    }
    const DataTypeEntry& type = TypeOf(t);
    QWidget* live = LiveForTypeProperty(t);
    auto set = TypeRoutine<SetPropertyRoutine>(type, kRequestSetProperty);
    if (!set) return;
    if (set(live, property - kCommonPropertyCount, FromKind(KindOf(type, property), low, high)))
        RebuildControl(windowId, unitId);
}

uint64_t WindowBuilder::ReadProperty(uint32_t windowId, uint32_t unitId, int property,
                                     int element) {
    return ReadControlProperty(windowId, unitId, property, element);
}

void WindowBuilder::WriteProperty(uint32_t windowId, uint32_t unitId, int property, int element,
                                  uint32_t low, uint32_t high) {
    WriteControlProperty(windowId, unitId, property, element, low, high);
}

}  // namespace velmora
