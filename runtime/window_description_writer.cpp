#include "runtime/window_description_writer.h"

#include "runtime/stream_writer.h"

namespace velmora {

void WriteUnitRecord(const UnitRecord& u, StreamWriter& out) {
    out.Word(u.type);
    out.Word(u.eventSource);
    for (uint32_t w : u.runtimeSlots) out.Word(w);
    out.ZeroText(u.name);
    out.ZeroText(u.comment);
    if (u.IsMenuItem()) {
        out.Bytes(u.menuWords);
        out.ZeroText(u.menuText);
        out.SignedWord(u.menuHandler.handlerOffset);
        out.Bytes(u.typeData);
        return;
    }
    out.Word(u.objectSlot);
    out.SignedWord(u.left);
    out.SignedWord(u.top);
    out.SignedWord(u.width);
    out.SignedWord(u.height);
    out.Word(u.cursorSlot);
    out.Word(u.parent);
    out.Word(static_cast<uint32_t>(u.children.size()));
    for (uint32_t child : u.children) out.Word(child);
    out.CountedBlock(u.cursorData);
    out.ZeroText(u.tag);
    out.Word(u.reserved);
    out.Word(u.state);
    out.Word(u.focusOrder);
    out.Word(static_cast<uint32_t>(u.events.size()));
    for (const EventBinding& b : u.events) {
        out.SignedWord(b.event);
        out.SignedWord(b.handlerOffset);
    }
    out.Bytes(u.trailer);
    out.Bytes(u.typeData);
}

void WriteWindowRecord(const WindowRecord& w, StreamWriter& out) {
    out.Word(w.firstWord);
    out.Word(w.secondWord);
    out.CountedText(w.firstText);
    out.CountedText(w.secondText);

    // Unit entries back to back, each a length and the record.
    StreamWriter data;
    std::vector<uint32_t> offsets;
    for (const UnitRecord& u : w.units) {
        offsets.push_back(static_cast<uint32_t>(data.Size()));
        StreamWriter record;
        WriteUnitRecord(u, record);
        data.CountedBlock(record.Data());
    }
    out.Word(static_cast<uint32_t>(w.units.size()));
    out.Word(static_cast<uint32_t>(8 * w.units.size() + data.Size()));
    for (const UnitRecord& u : w.units) out.Word(u.id);
    for (uint32_t offset : offsets) out.Word(offset);
    out.Bytes(data.Data());
}

std::vector<uint8_t> WriteWindowBlock(std::span<const WindowRecord> windows) {
    StreamWriter out;
    // The index: every identifier, then one empty object slot per window.
    out.Word(static_cast<uint32_t>(8 * windows.size()));
    for (const WindowRecord& w : windows) out.Word(w.id);
    for (size_t i = 0; i < windows.size(); ++i) out.Word(0);
    for (const WindowRecord& w : windows) WriteWindowRecord(w, out);
    return out.Take();
}

}  // namespace velmora
