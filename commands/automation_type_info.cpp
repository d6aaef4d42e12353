#include "commands/automation_type_info.h"

namespace velmora::commands {
namespace {

char16_t LowerAscii(char16_t c) {
    return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c;
}

bool NameEquals(std::u16string_view wanted, std::string_view declared) {
    if (wanted.size() != declared.size()) return false;
    for (size_t i = 0; i < wanted.size(); ++i)
        if (LowerAscii(wanted[i]) != LowerAscii(static_cast<unsigned char>(declared[i])))
            return false;
    return true;
}

}  // namespace

VarType ReduceToVarType(const TypeDescription& type) {
    switch (type.vt) {
        case vt::kInt:
            return vt::kI4;
        case vt::kUInt:
            return vt::kUI4;
        case vt::kPointer:
            return type.inner ? ReduceToVarType(*type.inner) | vt::kByRef : vt::kByRef;
        case vt::kSafeArray:
        case vt::kCArray:
            return type.inner ? ReduceToVarType(*type.inner) | vt::kArray : vt::kArray;
        case vt::kUserDefined:
            switch (type.user) {
                case UserType::kEnumeration:
                    return vt::kI4;
                case UserType::kDispatchInterface:
                    return vt::kDispatch;
                case UserType::kAlias:
                    return type.inner ? ReduceToVarType(*type.inner) : vt::kUnknown;
                case UserType::kOther:
                    return vt::kUnknown;
            }
            return vt::kUnknown;
        default:
            return type.vt;
    }
}

const MemberDescription* TypeInfo::Bind(std::u16string_view name, InvokeKind kind) const {
    for (const MemberDescription& m : members_) {
        if (!NameEquals(name, m.name)) continue;
        if (m.kind == MemberDescription::Kind::kVariable || m.invokeKind == kind) return &m;
    }
    return nullptr;
}

const MemberDescription* TypeInfo::FindById(int32_t memberId) const {
    for (const MemberDescription& m : members_)
        if (m.memberId == memberId) return &m;
    return nullptr;
}

}  // namespace velmora::commands
