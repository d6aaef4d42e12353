#include "commands/automation_commands.h"

#include <cstring>

#include "commands/automation_coerce.h"
#include "commands/automation_invoke.h"
#include "commands/automation_object.h"
#include "commands/automation_registry.h"
#include "runtime/command_arguments.h"
#include "runtime/heap.h"

namespace velmora::commands {
namespace {

// The block a ComObject or Variant argument names, passed by value or by reference.
void* BlockOf(const ValueRecord& argument) {
    ValueRecord value = argument;
    if (argument.tag & tag::kIndirect && !ReadThrough(argument, &value)) return nullptr;
    return value.Pointer();
}

void* ByteSetOf(const Variant& v) {
    if (!(v.vt & vt::kArray) || !v.array) return nullptr;
    const VarType element = v.vt & vt::kTypeMask;
    if (element != vt::kUI1 && element != vt::kI1) return nullptr;
    return MakeByteSet(v.array->storage.data(), ArrayElementCount(*v.array));
}

// A value that is no byte array, changed into one when the platform rules allow.
void* CoercedByteSet(const Variant& v) {
    Variant bytes{};
    if (ChangeType(&bytes, v, vt::kArray | vt::kUI1) != status::kOk) return nullptr;
    void* set = ByteSetOf(bytes);
    VariantClear(&bytes);
    return set;
}

void* ElementByteSet(const Variant& v, int position) {
    if (!(v.vt & vt::kArray) || !v.array || v.array->bounds.size() != 1) return nullptr;
    const SafeArray& a = *v.array;
    if (position < 1 || size_t(position) > ArrayElementCount(a)) return nullptr;
    const size_t i = size_t(position) - 1;
    if (a.elementType == vt::kVariant) return CoercedByteSet(*ArrayVariantAt(a, i));
    Variant element{};
    element.vt = a.elementType;
    element.ui1 = a.storage[i];
    return CoercedByteSet(element);
}

}  // namespace

void CreateAutomationObject(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    result->SetBits(0);
    if (arg.Count() < 2) return;
    auto* block = static_cast<ComObjectBlock*>(BlockOf(arg[0]));
    if (!block) return;
    // A type library path (the third argument) names nothing that could be
    // loaded here, so that step never makes an object and the class name
    // alone decides.
    AutomationObject* object = Classes().Create(arg[1].Text());
    if (!object) return;
    if (!object->Run()) {
        object->Release();
        return;
    }
    ReleaseComObject(block);
    block->object = object;
    result->SetBits(1);
}

void CallObjectMethod(ValueRecord* result, int count, ValueRecord* args) {
    InvokeByName(KindList::kCall, 0, count, args, result);
}

void ReadObjectProperty(ValueRecord* result, int count, ValueRecord* args) {
    InvokeByName(KindList::kRead, tag::kVariant, count, args, result);
    result->tag = tag::kVariant;
}

void VariantToByteSet(ValueRecord* result, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    result->SetBits(0);
    if (arg.Count() < 1) return;
    const auto* held = static_cast<const Variant*>(BlockOf(arg[0]));
    if (!held) return;
    Variant scratch;
    const Variant& v = Dereferenced(*held, scratch);
    void* set;
    if (arg.Given(1))
        set = ElementByteSet(v, arg[1].Int());
    else if (v.vt & vt::kArray)
        set = ByteSetOf(v);
    else
        set = CoercedByteSet(v);
    result->SetBits(reinterpret_cast<uintptr_t>(set));
}

void ClearVariant(ValueRecord*, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    if (arg.Count() < 1) return;
    auto* held = static_cast<Variant*>(BlockOf(arg[0]));
    if (!held) return;
    VariantClear(held);
    std::memset(static_cast<void*>(held), 0, sizeof(Variant));
}

void ReleaseObject(ValueRecord*, int count, ValueRecord* args) {
    const CommandArguments arg(count, args);
    if (arg.Count() >= 1) ReleaseComObject(static_cast<ComObjectBlock*>(BlockOf(arg[0])));
}

}  // namespace velmora::commands
