#include "commands/automation_invoke.h"

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "commands/automation_coerce.h"
#include "commands/automation_object.h"
#include "runtime/array_block.h"
#include "runtime/gbk.h"
#include "runtime/heap.h"

namespace velmora::commands {
namespace {

thread_local int lastError = 0;

// Bytes a caller's variable of this base type takes: an array element's size;
// object blocks, which arrays do not hold, are pointers too.
size_t VariableSize(uint32_t baseTag) {
    size_t size = velmora::ArrayElementSize(baseTag);
    return size ? size : sizeof(void*);
}

VarType WantedVarType(uint32_t wantedTag) {
    switch (wantedTag) {
        case tag::kLogical:
            return vt::kBool;
        case tag::kComObject:
            return vt::kUnknown;
        case tag::kDateTime:
            return vt::kDate;
        case tag::kText:
            return vt::kString;
        case tag::kByte:
            return vt::kUI1;
        case tag::kShort:
            return vt::kI2;
        case tag::kInteger:
        case tag::kLong:
            return vt::kI4;
        case tag::kFloat:
            return vt::kR4;
        case tag::kDouble:
            return vt::kR8;
        default:
            return vt::kEmpty;
    }
}

bool Referenceable(VarType t) {
    switch (t) {
        case vt::kI2:
        case vt::kI4:
        case vt::kR4:
        case vt::kR8:
        case vt::kCurrency:
        case vt::kDate:
        case vt::kString:
        case vt::kDispatch:
        case vt::kError:
        case vt::kBool:
        case vt::kUnknown:
        case vt::kDecimal:
        case vt::kI1:
        case vt::kUI1:
        case vt::kUI2:
        case vt::kUI4:
        case vt::kI8:
        case vt::kUI8:
        case vt::kInt:
        case vt::kUInt:
            return true;
        default:
            return false;
    }
}

int CodeForFailure(Status s) {
    switch (s) {
        case status::kBadParamCount:
            return -9;
        case status::kBadVarType:
            return -10;
        case status::kException:
            return -11;
        case status::kMemberNotFound:
            return -12;
        case status::kNoNamedArgs:
            return -13;
        case status::kOverflow:
            return -14;
        case status::kParamNotFound:
            return -15;
        case status::kTypeMismatch:
            return -16;
        case status::kParamNotOptional:
            return -17;
        default:
            return -18;
    }
}

std::vector<InvokeKind> KindsOf(KindList list) {
    switch (list) {
        case KindList::kCall:
            return {InvokeKind::kMethod, InvokeKind::kPropertyGet, InvokeKind::kPropertyPut,
                    InvokeKind::kPropertyPutRef};
        case KindList::kRead:
            return {InvokeKind::kPropertyGet, InvokeKind::kMethod};
        case KindList::kWrite:
            return {InvokeKind::kPropertyPut, InvokeKind::kPropertyPutRef, InvokeKind::kMethod};
    }
    return {};
}

// Writes a converted value into the caller's variable, releasing what the
// variable held. Object and variant blocks the variable already has are
// reused, so the program's own blocks are never freed behind its back.
void StoreInVariable(const ValueRecord& byReference, uint64_t bits) {
    void* variable = byReference.Pointer();
    const uint32_t base = byReference.BaseTag();
    if (base == tag::kText) {
        char* old;
        std::memcpy(&old, variable, sizeof old);
        Free(old);
    } else if (base == tag::kComObject || base == tag::kVariant) {
        void* oldBlock;
        std::memcpy(&oldBlock, variable, sizeof oldBlock);
        auto* fresh = reinterpret_cast<void*>(uintptr_t(bits));
        if (oldBlock) {
            if (base == tag::kComObject)
                ReleaseComObject(static_cast<ComObjectBlock*>(oldBlock));
            else
                VariantClear(static_cast<Variant*>(oldBlock));
            std::memcpy(oldBlock, fresh,
                        base == tag::kVariant ? sizeof(Variant) : sizeof(ComObjectBlock));
            Free(fresh);
            return;
        }
    }
    std::memcpy(variable, &bits, VariableSize(base));
}

void* EmptyBlockOf(uint32_t resultTag) {
    size_t size = resultTag == tag::kVariant ? sizeof(Variant) : sizeof(ComObjectBlock);
    void* block = Allocate(size);
    std::memset(block, 0, size);
    return block;
}

// Everything one invocation holds; released however it ends.
struct Invocation {
    DispatchObject* dispatch = nullptr;
    std::vector<Variant> slots;  // platform order: slot 0 is the last argument
    std::vector<Variant> temps;  // what by-reference slots point into
    Variant result{};

    ~Invocation() {
        VariantClear(&result);
        for (Variant& v : slots) VariantClear(&v);
        for (Variant& v : temps) VariantClear(&v);
        if (dispatch) dispatch->Release();
    }
};

// Fills one slot for a parameter of the declared (reduced) type.
int PrepareArgument(const ValueRecord& argument, VarType declared, Variant* slot, Variant* temp) {
    if (argument.Omitted()) {
        *slot = MakeMissingArgument();
        return 0;
    }
    ValueRecord value = argument;
    if (argument.tag & tag::kIndirect && !ReadThrough(argument, &value)) return -7;

    const bool byReference = declared & vt::kByRef;
    const VarType target = declared & ~vt::kByRef;
    Variant* destination = byReference ? temp : slot;
    if (int code = ArgumentToVariant(value, target, destination)) return code;
    if (destination->vt == vt::kEmpty) *destination = MakeMissingArgument();
    if (!byReference) return 0;

    if (temp->vt == vt::kError) {
        *slot = *temp;
        *temp = Variant{};
    } else if (target & vt::kArray) {
        slot->vt = vt::kByRef | temp->vt;
        slot->reference = &temp->array;
    } else if (target == vt::kVariant) {
        slot->vt = vt::kByRef | vt::kVariant;
        slot->variantRef = temp;
    } else if (ChangeType(temp, *temp, target) == status::kOk && Referenceable(target)) {
        slot->vt = vt::kByRef | target;
        slot->reference = &temp->i8;
    } else {
        *slot = *temp;
        *temp = Variant{};
    }
    return 0;
}

int Invoke(KindList kinds, uint32_t resultTag, int count, const ValueRecord* args,
           ValueRecord* result) {
    if (count < 2) return -1;
    ValueRecord objectValue = args[0];
    if (objectValue.tag & tag::kIndirect && !ReadThrough(args[0], &objectValue)) return -1;
    auto* block = static_cast<ComObjectBlock*>(objectValue.Pointer());
    if (!block || !block->object) return -1;

    Invocation call;
    call.dispatch = block->object->QueryDispatch();
    if (!call.dispatch) return -2;
    const TypeInfo* info = call.dispatch->GetTypeInfo();
    if (!info) return -4;

    ValueRecord nameValue = args[1];
    if (nameValue.tag & tag::kIndirect && !ReadThrough(args[1], &nameValue)) return -3;
    const std::u16string name = GbkToUtf16KeepingBytes(nameValue.Text());
    const MemberDescription* member = nullptr;
    for (InvokeKind kind : KindsOf(kinds))
        if ((member = info->Bind(name, kind))) break;
    if (!member) return -3;

    InvokeKind invokeKind;
    std::vector<ParamDescription> declared;
    bool variableList = false;
    if (member->kind == MemberDescription::Kind::kFunction) {
        invokeKind = member->invokeKind;
        declared = member->params;
        variableList = member->optionalCount == -1;
    } else if (kinds == KindList::kWrite) {
        VarType t = ReduceToVarType(member->type);
        bool byReference = (t & vt::kArray) || t == vt::kUnknown || t == vt::kDispatch;
        invokeKind = byReference ? InvokeKind::kPropertyPutRef : InvokeKind::kPropertyPut;
        declared.push_back({member->type, param::kIn});
    } else {
        invokeKind = InvokeKind::kPropertyGet;
    }

    int n = count - 2;
    while (n > 0 && args[2 + n - 1].Omitted()) --n;
    if (size_t(n) > declared.size()) {
        if (!variableList || declared.empty()) return -5;
        const ParamDescription last = declared.back();
        declared.resize(n, last);
    }

    call.slots.assign(n, Variant{});
    call.temps.assign(n, Variant{});
    for (int i = n - 1; i >= 0; --i) {
        const int slot = n - 1 - i;
        VarType type = ReduceToVarType(declared[i].type);
        if (int code = PrepareArgument(args[2 + i], type, &call.slots[slot], &call.temps[slot]))
            return code;
    }

    const bool put =
        invokeKind == InvokeKind::kPropertyPut || invokeKind == InvokeKind::kPropertyPutRef;
    const int32_t putId = kPropertyPutId;
    DispatchParams params{call.slots.data(), uint32_t(n), put ? &putId : nullptr, put ? 1u : 0u};
    uint32_t argError = 0;
    Status s = call.dispatch->Invoke(member->memberId, invokeKind, params, &call.result, &argError);
    if (s != status::kOk) return CodeForFailure(s);

    for (int i = 0; i < n; ++i) {
        const Variant& slot = call.slots[n - 1 - i];
        const ValueRecord& argument = args[2 + i];
        if (!(slot.vt & vt::kByRef) || !(declared[i].flags & param::kOut) ||
            !(argument.tag & tag::kIndirect) || !argument.Pointer())
            continue;
        uint64_t bits;
        if (VariantToRuntime(slot, argument.BaseTag(), &bits)) StoreInVariable(argument, bits);
    }
    if (resultTag == tag::kVariant && !(call.result.vt & vt::kByRef) &&
        call.result.vt != vt::kRecord) {
        // The result is ours alone: hand it over instead of copying a whole page.
        auto* block = static_cast<Variant*>(EmptyBlockOf(tag::kVariant));
        *block = std::exchange(call.result, Variant{});
        result->SetBits(reinterpret_cast<uintptr_t>(block));
    } else if (resultTag) {
        uint64_t bits;
        if (!VariantToRuntime(call.result, resultTag, &bits)) return -8;
        result->SetBits(bits);
    }
    return 0;
}

}  // namespace

int InvokeByName(KindList kinds, uint32_t resultTag, int count, const ValueRecord* args,
                 ValueRecord* result) {
    int code = Invoke(kinds, resultTag, count, args, result);
    if (code != 0 && resultTag) {
        bool blockType = resultTag == tag::kVariant || resultTag == tag::kComObject;
        result->SetBits(blockType ? reinterpret_cast<uintptr_t>(EmptyBlockOf(resultTag)) : 0);
    }
    lastError = code;
    return code;
}

int LastAutomationError() {
    return lastError;
}

bool ReadThrough(const ValueRecord& byReference, ValueRecord* value) {
    const void* variable = byReference.Pointer();
    if (!variable) return false;
    uint64_t bits = 0;
    std::memcpy(&bits, variable, VariableSize(byReference.BaseTag()));
    *value = MakeValue(byReference.BaseTag(), bits);
    return true;
}

int ArgumentToVariant(const ValueRecord& argument, VarType declared, Variant* out) {
    Variant v{};
    switch (argument.BaseTag()) {
        case tag::kOmitted:
            v = MakeMissingArgument();
            break;
        case tag::kComObject: {
            auto* block = static_cast<ComObjectBlock*>(argument.Pointer());
            AutomationObject* object = block ? block->object : nullptr;
            v.vt = vt::kUnknown;
            if (object && declared == vt::kUnknown) {
                object->AddRef();
                v.unknown = object;
            } else if (object && declared == vt::kDispatch) {
                if (DispatchObject* d = object->QueryDispatch()) {
                    v.vt = vt::kDispatch;
                    v.dispatch = d;
                }
            }
            break;
        }
        case tag::kVariant:
            if (auto* held = static_cast<Variant*>(argument.Pointer()))
                VariantCopyIndirect(&v, *held);
            break;
        case tag::kLogical:
            v = MakeBoolVariant(argument.Logical());
            break;
        case tag::kDateTime:
            v.vt = vt::kDate;
            v.date = argument.Double();
            break;
        case tag::kText: {
            v.vt = vt::kString;
            std::string_view text = argument.Text();
            v.string = text.empty() ? nullptr : AllocString(GbkToUtf16KeepingBytes(text));
            break;
        }
        case tag::kByte:
            v.vt = vt::kUI1;
            v.ui1 = uint8_t(argument.low);
            break;
        case tag::kShort:
            v.vt = vt::kI2;
            v.i2 = int16_t(argument.low);
            break;
        case tag::kInteger:
        case tag::kLong:  // only the low 32 bits travel
            v = MakeI4Variant(argument.Int());
            break;
        case tag::kFloat:
            v.vt = vt::kR4;
            v.r4 = argument.Float();
            break;
        case tag::kDouble:
            v.vt = vt::kR8;
            v.r8 = argument.Double();
            break;
        default:
            return -7;
    }
    *out = v;
    return 0;
}

bool VariantToRuntime(const Variant& v, uint32_t wantedTag, uint64_t* bits) {
    Variant scratch;
    if (Dereferenced(v, scratch).vt == vt::kRecord) return false;
    if (wantedTag == tag::kVariant) {
        auto* block = static_cast<Variant*>(EmptyBlockOf(tag::kVariant));
        VariantCopyIndirect(block, v);
        *bits = reinterpret_cast<uintptr_t>(block);
        return true;
    }
    const VarType target = WantedVarType(wantedTag);
    Variant converted{};
    if (target == vt::kEmpty || ChangeType(&converted, v, target) != status::kOk) return false;

    switch (wantedTag) {
        case tag::kLogical:
            *bits = converted.boolean ? 1 : 0;
            break;
        case tag::kComObject: {
            auto* block = static_cast<ComObjectBlock*>(EmptyBlockOf(tag::kComObject));
            block->object = converted.unknown;  // the reference the conversion added
            *bits = reinterpret_cast<uintptr_t>(block);
            return true;
        }
        case tag::kText: {
            std::string gbk = Utf16ToGbkKeepingBytes(StringView(converted.string));
            *bits = reinterpret_cast<uintptr_t>(MakeText(gbk.data(), long(gbk.size())));
            break;
        }
        case tag::kByte:
            *bits = converted.ui1;
            break;
        case tag::kShort:
            *bits = uint16_t(converted.i2);
            break;
        case tag::kInteger:
            *bits = uint32_t(converted.i4);
            break;
        case tag::kLong:
            *bits = uint64_t(int64_t(converted.i4));
            break;
        case tag::kFloat:
            *bits = converted.ui4;
            break;
        default:  // date-time and double: the 8-byte value
            *bits = converted.ui8;
            break;
    }
    VariantClear(&converted);
    return true;
}

void ReleaseComObject(ComObjectBlock* block) {
    if (!block) return;
    if (block->object) {
        block->object->Release();
    } else if (block->record) {
        Free(block->record);
    }
    block->object = nullptr;
    block->record = nullptr;
}

}  // namespace velmora::commands
