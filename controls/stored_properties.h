// Type-specific properties that live in the unit's stored data. The stored
// record is the one truth for them: a write changes the record (so a rebuild
// or a later load of the window shows it) and the type then applies it to the
// live control; a read answers from the record unless the type answers from
// the live control first.
#pragma once

#include <QWidget>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "controls/control_support.h"
#include "controls/font_data.h"
#include "controls/property_values.h"
#include "controls/stored_data.h"
#include "runtime/value.h"
#include "runtime/window_description.h"

namespace velmora::controls {

template <typename Data>
struct StoredField {
    // A word inside an array member is reached through a small accessor.
    using WordAt = uint32_t& (*)(Data&);
    using Member = std::variant<uint32_t Data::*, int32_t Data::*, WordAt, std::string Data::*,
                                std::vector<uint8_t> Data::*, std::optional<FontData> Data::*,
                                std::vector<std::string> Data::*, std::vector<int32_t> Data::*>;
    int index;  // counted from 8
    Member member;
};

template <typename Data>
class StoredProperties {
  public:
    explicit StoredProperties(std::vector<StoredField<Data>> fields) : fields_(std::move(fields)) {}

    std::optional<Data> Read(std::span<const uint8_t> bytes) const {
        return ReadStoredData<Data>(bytes);
    }
    // The control's record, parsed once for as long as its bytes stay the
    // same: a run of reads costs one parse. Valid until the next call.
    const Data* Parsed(const QWidget* control) const { return Cached(control); }
    std::optional<Data> Load(const QWidget* control) const {
        const Data* data = Parsed(control);
        return data ? std::optional<Data>(*data) : std::nullopt;
    }
    void Store(const QWidget* control, const Data& data) const {
        if (UnitRecord* unit = UnitOf(control)) unit->typeData = WriteStoredData(data);
    }
    bool Holds(int index) const { return Find(index) != nullptr; }

    // The stored value as a fresh property value; omitted when the index is
    // not one of the record's fields.
    ValueRecord Get(const QWidget* control, int index) const {
        const StoredField<Data>* field = Find(index);
        Data* data = Cached(control);
        if (!field || !data) return Omitted();
        return std::visit([&](auto member) { return ValueOf(Pick(*data, member)); }, field->member);
    }

    // Changes the record; the changed record, or none when the index is not a
    // field (the caller keeps such a value elsewhere).
    std::optional<Data> Set(const QWidget* control, int index, const ValueRecord& value) const {
        const StoredField<Data>* field = Find(index);
        if (!field) return std::nullopt;
        auto data = Load(control);
        if (!data) return std::nullopt;
        std::visit([&](auto member) { Assign(Pick(*data, member), value); }, field->member);
        Store(control, *data);
        return data;
    }

  private:
    Data* Cached(const QWidget* control) const {
        const UnitRecord* unit = UnitOf(control);
        if (!unit) return nullptr;
        if (!cache_ || cache_->bytes != unit->typeData)
            cache_ = Cache{unit->typeData, ReadStoredData<Data>(unit->typeData)};
        return cache_->data ? &*cache_->data : nullptr;
    }
    const StoredField<Data>* Find(int index) const {
        for (const StoredField<Data>& f : fields_)
            if (f.index == index) return &f;
        return nullptr;
    }
    template <typename M>
    static auto& Pick(Data& data, M member) {
        if constexpr (std::is_same_v<M, typename StoredField<Data>::WordAt>)
            return member(data);
        else
            return data.*member;
    }

    struct Cache {
        std::vector<uint8_t> bytes;
        std::optional<Data> data;
    };

    std::vector<StoredField<Data>> fields_;
    mutable std::optional<Cache> cache_;
};

}  // namespace velmora::controls

namespace velmora::controls {

// A write the type does not handle itself: a stored field changes the record
// and is applied to the live control; any other index is kept with the
// control. The changed record when the write touched a stored field.
template <typename Data>
std::optional<Data> WriteProperty(const StoredProperties<Data>& properties, QWidget* control,
                                  int index, const ValueRecord& value,
                                  void (*apply)(QWidget*, const Data&)) {
    auto data = properties.Set(control, index, value);
    if (data)
        apply(control, *data);
    else
        KeepValue(control, index, value);
    return data;
}

template <typename Data>
ValueRecord ReadProperty(const StoredProperties<Data>& properties, const QWidget* control,
                         int index) {
    return properties.Holds(index) ? properties.Get(control, index) : KeptValue(control, index);
}

}  // namespace velmora::controls

namespace velmora::controls {

// The routines of a type whose own properties all live in its stored record
// and reach the widget through `apply`, none of them needing a rebuild.
template <typename Widget, typename Data, const StoredProperties<Data>& properties,
          void (*apply)(QWidget*, const Data&)>
struct StoredType {
    // The widget at the requested place showing the stored data; null when
    // the data cannot be read.
    static Widget* Make(const CreateRequest& request) {
        auto data = properties.Read(request.data);
        if (!data) return nullptr;
        auto* widget = new Widget(request.parent);
        widget->setGeometry(request.left, request.top, request.width, request.height);
        apply(widget, *data);
        AttachToUnit(widget, request);
        return widget;
    }
    static QWidget* Create(const CreateRequest& request) { return Make(request); }
    static bool Set(QWidget* control, int index, const ValueRecord& value) {
        WriteProperty(properties, control, index, value, apply);
        return false;
    }
    static ValueRecord Get(QWidget* control, int index) {
        return ReadProperty(properties, control, index);
    }
    // `create` adds what the type does beyond Make.
    static InterfaceRoutine Interface(int request, CreateRoutine create = Create) {
        return TypeRoutines(request, create, Set, Get);
    }
};

}  // namespace velmora::controls
