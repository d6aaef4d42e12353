#include "commands/automation_object.h"

#include <vector>

#include "commands/automation_coerce.h"

namespace velmora::commands {
namespace {

bool IsPut(InvokeKind kind) {
    return kind == InvokeKind::kPropertyPut || kind == InvokeKind::kPropertyPutRef;
}

// Frees the converted arguments however CallMember ends.
struct ArgumentList {
    std::vector<Variant> values;
    ~ArgumentList() {
        for (Variant& v : values) VariantClear(&v);
    }
};

}  // namespace

bool IsMissingArgument(const Variant& v) {
    return v.vt == vt::kError && v.error == status::kParamNotFound;
}

Status DescribedObject::Invoke(int32_t memberId, InvokeKind kind, DispatchParams& params,
                               Variant* result, uint32_t* argError) {
    const TypeInfo* info = GetTypeInfo();
    const MemberDescription* member = info ? info->FindById(memberId) : nullptr;
    if (!member) return status::kMemberNotFound;

    std::vector<ParamDescription> declared;
    int optionalCount = 0;
    if (member->kind == MemberDescription::Kind::kVariable) {
        if (kind == InvokeKind::kMethod) return status::kMemberNotFound;
        if (IsPut(kind)) declared.push_back({member->type, param::kIn});
    } else {
        if (member->invokeKind != kind) return status::kMemberNotFound;
        declared = member->params;
        optionalCount = member->optionalCount;
    }
    if (IsPut(kind)) {
        if (params.namedCount != 1 || params.namedIds[0] != kPropertyPutId)
            return status::kParamNotFound;
    } else if (params.namedCount != 0) {
        return status::kNoNamedArgs;
    }

    const bool variableList = optionalCount == -1;
    size_t required = 0;
    for (size_t i = 0; i < declared.size(); ++i)
        if (!(declared[i].flags & param::kOptional) && !(variableList && i + 1 == declared.size()))
            required = i + 1;
    if (params.count < required || (params.count > declared.size() && !variableList))
        return status::kBadParamCount;

    ArgumentList args;
    size_t total = std::max<size_t>(params.count, declared.size());
    args.values.assign(total, Variant{});
    for (size_t i = 0; i < total; ++i) {
        uint32_t slot = params.count - 1 - uint32_t(i);
        if (i >= params.count) {
            args.values[i] = MakeMissingArgument();
            continue;
        }
        const Variant& given = params.args[slot];
        const ParamDescription* p = i < declared.size() ? &declared[i] : nullptr;
        VarType want = p ? ReduceToVarType(p->type) : vt::kVariant;
        if (IsMissingArgument(given)) {
            if (p && !(p->flags & param::kOptional) &&
                !(variableList && i + 1 == declared.size())) {
                *argError = slot;
                return status::kParamNotOptional;
            }
            args.values[i] = given;
        } else if (want & vt::kByRef) {
            // The member works through the reference; a reference owns nothing
            // and a value is copied, so clearing the list never frees the caller's data.
            if (given.vt & vt::kByRef)
                args.values[i] = given;
            else
                VariantCopy(&args.values[i], given);
        } else if (want == vt::kVariant) {
            VariantCopyIndirect(&args.values[i], given);
        } else if (Status s = ChangeType(&args.values[i], given, want); s != status::kOk) {
            *argError = slot;
            return s;
        }
    }
    Status st = CallMember(*member, kind, args.values, result);
    return st == status::kOk ? st : status::kException;
}

}  // namespace velmora::commands
