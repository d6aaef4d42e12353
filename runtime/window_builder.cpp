#include "runtime/window_builder.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <map>
#include <optional>
#include <vector>

#include "runtime/data_type.h"
#include "runtime/event_dispatch.h"
#include "runtime/program_image.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_state.h"
#include "runtime/runtime_texts.h"
#include "runtime/stream_reader.h"
#include "runtime/window_messages.h"
#include "runtime/window_table.h"

namespace velmora {
namespace {

struct LiveUnit {
    QPointer<QWidget> object;
    int controlId = 0;
    bool recordedVisible = false;
};

struct LiveWindow {
    std::vector<LiveUnit> units;  // parallel to the window's unit table
    std::vector<QPointer<QWidget>> disabledForModal;
    bool loaded = false;
};

std::map<uint32_t, LiveWindow>& LiveWindows() {
    static std::map<uint32_t, LiveWindow> windows;
    return windows;
}

// Holds the suppression counter up for a scope.
class SuppressedEvents {
  public:
    SuppressedEvents() { RaiseEventSuppression(); }
    ~SuppressedEvents() { Release(); }
    void Release() {
        if (held_) LowerEventSuppression();
        held_ = false;
    }

  private:
    bool held_ = true;
};

const Qt::CursorShape kStandardCursors[] = {
    Qt::ArrowCursor,     Qt::CrossCursor,       Qt::IBeamCursor,     Qt::WaitCursor,
    Qt::WhatsThisCursor, Qt::BusyCursor,        Qt::ForbiddenCursor, Qt::SizeAllCursor,
    Qt::SizeBDiagCursor, Qt::SizeVerCursor,     Qt::SizeFDiagCursor, Qt::SizeHorCursor,
    Qt::UpArrowCursor,   Qt::PointingHandCursor};

// A cursor file is an icon file of type 2 whose directory entry holds the
// hot spot where an icon holds planes and bit count.
std::optional<QCursor> CursorFromFile(std::span<const uint8_t> file) {
    if (file.size() < 22) return std::nullopt;
    StreamReader in(file);
    try {
        in.HalfWord("reserved");
        if (in.HalfWord("type") != 2) return std::nullopt;
        in.HalfWord("count");
        in.Bytes(4, "entry size");
        int hotX = in.HalfWord("hot spot x");
        int hotY = in.HalfWord("hot spot y");
        std::vector<uint8_t> icon(file.begin(), file.end());
        icon[2] = 1;  // read it as an icon
        QPixmap pixmap;
        if (!pixmap.loadFromData(icon.data(), static_cast<uint>(icon.size()), "ICO"))
            return std::nullopt;
        return QCursor(pixmap, hotX, hotY);
    } catch (const StreamError&) {
        return std::nullopt;
    }
}

// The unit's own cursor, or none to keep the control's default.
std::optional<QCursor> CursorOf(const std::vector<uint8_t>& data) {
    if (data.empty()) return std::nullopt;
    int32_t selector = data[0];
    if (data.size() >= 4) selector = static_cast<int32_t>(StreamReader(data).Word("cursor"));
    if (selector == -1) return CursorFromFile(std::span(data).subspan(4));
    if (data.size() > 10)
        if (auto whole = CursorFromFile(data)) return whole;
    if (selector >= 1 && selector <= 14) return QCursor(kStandardCursors[selector - 1]);
    return std::nullopt;
}

void DestroyCreated(LiveWindow& live) {
    // The window first: it takes every control re-parented into it along.
    for (LiveUnit& unit : live.units)
        if (unit.object) delete unit.object.data();
}

bool IsPaged(const UnitRecord& unit) {
    const DataTypeEntry* type = FindDataType(unit.type);
    return type && (type->flags & typeflag::kPaged);
}

QWidget* CreateUnit(const UnitRecord& unit, uint32_t windowId, QWidget* parent, int controlId,
                    bool* visible) {
    const DataTypeEntry* type = FindDataType(unit.type);
    auto create = type ? TypeRoutine<CreateRoutine>(*type, kRequestCreate) : nullptr;
    if (!create) return nullptr;
    bool neverShown = (type->flags & typeflag::kNeverShown) != 0;
    *visible = !neverShown && (unit.state & kStateVisible);
    CreateRequest request;
    request.data = unit.typeData;
    request.styles = (*visible ? kStyleVisible : 0) | (unit.state & kStateDisabled) |
                     (unit.state & kStateTabStop);
    request.parent = parent;
    request.controlId = controlId;
    request.left = unit.left;
    request.top = unit.top;
    request.width = unit.width;
    request.height = unit.height;
    request.windowId = windowId;
    request.unitId = unit.id;
    return create(request);
}

QWidget* ParentWidget(const WindowRecord& record, const LiveWindow& live, const UnitRecord& u) {
    int parent = u.parent == 0 ? 0 : record.IndexOf(u.parent);
    if (parent < 0 || !live.units[size_t(parent)].object) return live.units[0].object;
    return live.units[size_t(parent)].object;
}

// Each control goes directly under the nearest earlier sibling in the table,
// so the table's order is the order from the top down; the first goes on top.
void PlaceInZOrder(const WindowRecord& record, const LiveWindow& live, size_t i) {
    QWidget* widget = live.units[i].object;
    for (size_t j = i; j-- > 1;)
        if (record.units[j].parent == record.units[i].parent && live.units[j].object &&
            !record.units[j].IsMenuItem()) {
            widget->stackUnder(live.units[j].object);
            return;
        }
    widget->raise();
}

void SendToControls(const LiveWindow& live, QEvent::Type type) {
    for (size_t i = live.units.size(); i-- > 1;)
        if (QWidget* w = live.units[i].object) {
            QEvent event(type);
            QCoreApplication::sendEvent(w, &event);
        }
}

void FireWindowEvent(const LiveWindow& live, uint32_t windowId, uint32_t unitId, int32_t event) {
    if (!live.units[0].object) return;
    SimpleEventRecord record;
    record.windowId = windowId;
    record.unitId = unitId;
    record.event = event;
    DispatchEvent(record);
}

}  // namespace

bool BuildWindow(uint32_t windowId, bool modal, uint32_t ownerWindowId) {
    // 1. Already loaded: only bring it forward.
    WindowRecord* record = FindWindowDescription(windowId);
    if (!record || record->units.empty()) return false;
    if (QWidget* existing = FindLiveObject(windowId, 0)) {
        if (existing->isMinimized())
            existing->showNormal();
        else {
            existing->raise();
            existing->activateWindow();
        }
        return true;
    }
    // 2. The owner must be a live window.
    QWidget* owner = nullptr;
    if (ownerWindowId != 0 && !(owner = FindLiveObject(ownerWindowId, 0))) return false;
    QPointer<QWidget> focusBefore = QApplication::focusWidget();

    // 3. No event reaches a handler while the window is built.
    SuppressedEvents suppressed;
    LiveWindow live;
    live.units.resize(record->units.size());

    // 5. The window, then the units from the last to the first.
    LiveUnit& windowUnit = live.units[0];
    windowUnit.object =
        CreateUnit(record->units[0], windowId, owner, 0, &windowUnit.recordedVisible);
    if (!windowUnit.object) return false;
    int nextControlId = kFirstControlId;
    for (size_t i = record->units.size(); i-- > 1;) {
        const UnitRecord& unit = record->units[i];
        if (unit.IsMenuItem()) continue;
        LiveUnit& l = live.units[i];
        l.controlId = nextControlId;
        nextControlId += kControlIdStep;
        l.object = CreateUnit(unit, windowId, windowUnit.object, l.controlId, &l.recordedVisible);
        if (!l.object) {
            DestroyCreated(live);
            return false;
        }
    }
    // 6. Re-parent in table order; later pages of a paged unit start hidden.
    for (size_t i = 1; i < record->units.size(); ++i) {
        const UnitRecord& unit = record->units[i];
        if (unit.IsMenuItem()) continue;
        QWidget* widget = live.units[i].object;
        QRect geometry = widget->geometry();
        widget->setParent(ParentWidget(*record, live, unit));
        widget->setGeometry(geometry);
        if (!IsPaged(unit)) continue;
        auto pages = PagesOf(unit);
        for (size_t page = 1; page < pages.size(); ++page)
            for (uint32_t child : pages[page])
                if (int c = record->IndexOf(child); c > 0)
                    live.units[size_t(c)].recordedVisible = false;
    }
    // 7. Z-order, 8. cursors.
    for (size_t i = 1; i < record->units.size(); ++i)
        if (!record->units[i].IsMenuItem()) PlaceInZOrder(*record, live, i);
    for (size_t i = 0; i < record->units.size(); ++i)
        if (live.units[i].object)
            if (auto cursor = CursorOf(record->units[i].cursorData))
                live.units[i].object->setCursor(*cursor);
    // 9. Build finished.
    SendToControls(live, kMessageBuildFinished);
    {
        QEvent built(kMessageWindowBuilt);
        QCoreApplication::sendEvent(windowUnit.object, &built);
    }
    // 10. Show or hide each control in building order.
    for (size_t i = record->units.size(); i-- > 1;) {
        LiveUnit& l = live.units[i];
        if (!l.object) continue;
        l.object->setAttribute(Qt::WA_ShowWithoutActivating);
        l.object->setVisible(l.recordedVisible);
    }
    LiveWindows()[windowId] = live;
    suppressed.Release();

    // 12. The window's created, moved and resized events, each only while
    // the window still exists.
    uint32_t windowUnitId = record->units[0].id;
    for (int32_t event : {kWindowCreated, kWindowMoved, kWindowResized}) {
        FireWindowEvent(LiveWindows()[windowId], windowId, windowUnitId, event);
        if (!FindLiveObject(windowId, 0)) return true;
    }
    // 13. Show, 14. modal: every other top-level window waits.
    QWidget* window = FindLiveObject(windowId, 0);
    if (windowUnit.recordedVisible) window->show();
    if (modal)
        for (QWidget* other : QApplication::topLevelWidgets())
            if (other != window && other->isWindow() && other->isEnabled() && other->isVisible()) {
                other->setEnabled(false);
                LiveWindows()[windowId].disabledForModal.push_back(other);
            }
    // 15. Shown, focus back, loaded.
    SendToControls(LiveWindows()[windowId], kMessageWindowShown);
    if (focusBefore) focusBefore->setFocus();
    if (auto it = LiveWindows().find(windowId); it != LiveWindows().end()) it->second.loaded = true;
    return true;
}

QWidget* FindLiveObject(uint32_t windowId, uint32_t unitId) {
    auto it = LiveWindows().find(windowId);
    const WindowRecord* record = FindWindowDescription(windowId);
    if (it == LiveWindows().end() || !record) return nullptr;
    int i = record->IndexOf(unitId);
    if (i < 0 || size_t(i) >= it->second.units.size()) return nullptr;
    return it->second.units[size_t(i)].object;
}

bool IsWindowLoaded(uint32_t windowId) {
    auto it = LiveWindows().find(windowId);
    return it != LiveWindows().end() && it->second.loaded && FindLiveObject(windowId, 0);
}

bool AnyWindowLoaded() {
    for (const auto& [id, live] : LiveWindows())
        if (!live.units.empty() && live.units[0].object) return true;
    return false;
}

bool RebuildControl(uint32_t windowId, uint32_t unitId) {
    const WindowRecord* record = FindWindowDescription(windowId);
    auto it = LiveWindows().find(windowId);
    if (!record || it == LiveWindows().end() || unitId == 0) return false;
    int i = record->IndexOf(unitId);
    if (i <= 0 || !it->second.units[size_t(i)].object) return false;
    LiveWindow& live = it->second;
    LiveUnit& l = live.units[size_t(i)];
    const UnitRecord& unit = record->units[size_t(i)];

    SuppressedEvents suppressed;
    QWidget* old = l.object;
    QWidget* parent = old->parentWidget();
    bool wasVisible = !old->isHidden();
    bool visible = false;
    QWidget* fresh = CreateUnit(unit, windowId, parent, l.controlId, &visible);
    if (!fresh) return false;
    // Units held inside the old control move over to the new one.
    for (LiveUnit& other : live.units)
        if (other.object && other.object->parentWidget() == old) {
            QWidget* child = other.object;
            QRect geometry = child->geometry();
            bool shown = !child->isHidden();
            child->setParent(fresh);
            child->setGeometry(geometry);
            child->setVisible(shown);
        }
    // A paged control opens on the page the old one showed.
    const DataTypeEntry* type = FindDataType(unit.type);
    auto currentPage = type ? TypeRoutine<CurrentPageRoutine>(*type, kRequestCurrentPage) : nullptr;
    auto showPage = type ? TypeRoutine<ShowPageRoutine>(*type, kRequestShowPage) : nullptr;
    if (currentPage && showPage) showPage(fresh, currentPage(old));
    fresh->stackUnder(old);
    if (auto cursor = CursorOf(unit.cursorData)) fresh->setCursor(*cursor);
    l.object = fresh;
    delete old;
    fresh->setVisible(wasVisible);
    return true;
}

void ApplyStoredCursor(QWidget* control, const std::vector<uint8_t>& cursorData) {
    if (auto cursor = CursorOf(cursorData))
        control->setCursor(*cursor);
    else
        control->unsetCursor();
}

void ForgetWindow(uint32_t windowId) {
    auto it = LiveWindows().find(windowId);
    if (it == LiveWindows().end()) return;
    for (QPointer<QWidget>& other : it->second.disabledForModal)
        if (other) other->setEnabled(true);
    LiveWindows().erase(it);
}

bool WindowBuilder::ReadDescriptions(const void* block, size_t size) {
    WindowBlockResult read = ReadWindowBlock({static_cast<const uint8_t*>(block), size});
    read_ = std::move(read.windows);
    return read.Ok();
}

void WindowBuilder::RelocateHandlers(const void* handlerBase) {
    // Offsets are only trusted against the table the application gave us.
    HandlerTable table{static_cast<const HandlerEntry*>(handlerBase),
                       handlerBase == handlers_.entries ? handlers_.count : 0};
    if (!ResolveHandlers(read_, table)) FatalRuntimeMessage(texts::kWindowBlockUnreadable);
}

void WindowBuilder::RegisterWindows() {
    if (const ProgramHeader* header = State().header)
        for (uint32_t i = 0; i < header->libraryCount; ++i) {
            const LibraryRecord* library = header->libraries[i];
            if (library && library->dataTypes)
                RegisterDataTypes(static_cast<int>(i),
                                  {library->dataTypes, library->dataTypeCount});
        }
    InstallWindowDescriptions(std::move(read_));
    read_.clear();
}

bool WindowBuilder::LoadWindow(uint32_t windowId) {
    return BuildWindow(windowId);
}

bool WindowBuilder::AnyWindowAlive() const {
    return AnyWindowLoaded();
}

void WindowBuilder::DestroyAllWindows() {
    std::vector<QPointer<QWidget>> windows;
    for (auto& [id, live] : LiveWindows())
        if (!live.units.empty()) windows.push_back(live.units[0].object);
    for (QPointer<QWidget>& window : windows) delete window.data();
}

void* WindowBuilder::FindLiveObject(uint32_t windowId, uint32_t unitId) {
    return velmora::FindLiveObject(windowId, unitId);
}

void WindowBuilder::WindowGone(uint32_t windowId) {
    ForgetWindow(windowId);
}

}  // namespace velmora
