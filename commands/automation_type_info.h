// Type information of an automation class: its members, how each is invoked,
// the declared types and flags of their parameters. Binding a member name
// goes through here, never through the object itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "commands/automation_variant.h"

namespace velmora::commands {

enum class InvokeKind : uint16_t {
    kMethod = 1,
    kPropertyGet = 2,
    kPropertyPut = 4,
    kPropertyPutRef = 8,
};

// What a user-defined type stands for.
enum class UserType : uint8_t { kOther, kEnumeration, kDispatchInterface, kAlias };

// A declared type. `inner` is the pointee of kPointer, the element of kSafeArray
// and kCArray, and the aliased type of a kUserDefined alias.
struct TypeDescription {
    VarType vt = vt::kEmpty;
    const TypeDescription* inner = nullptr;
    UserType user = UserType::kOther;
};

// The declared type as the variant type an argument must have: int and uint
// count as I4 and UI4, a pointer adds kByRef, an array adds kArray, an
// enumeration is I4, a dispatch interface kDispatch, an alias its target, any
// other user type kUnknown.
VarType ReduceToVarType(const TypeDescription& type);

namespace param {
inline constexpr uint16_t kIn = 0x1;
inline constexpr uint16_t kOut = 0x2;
inline constexpr uint16_t kOptional = 0x10;
}  // namespace param

struct ParamDescription {
    TypeDescription type;
    uint16_t flags = param::kIn;
};

struct MemberDescription {
    enum class Kind { kFunction, kVariable };
    std::string name;
    int32_t memberId = 0;
    Kind kind = Kind::kFunction;
    InvokeKind invokeKind = InvokeKind::kMethod;  // functions only
    std::vector<ParamDescription> params;         // functions only
    int optionalCount = 0;                        // -1: takes a variable argument list
    TypeDescription type;                         // result of a function, type of a variable
};

class TypeInfo {
  public:
    TypeInfo(std::string className, std::vector<MemberDescription> members)
        : className_(std::move(className)), members_(std::move(members)) {}

    // The member of that name (ASCII case-insensitive) that answers `kind`:
    // a function declared with that kind, or a variable of that name.
    const MemberDescription* Bind(std::u16string_view name, InvokeKind kind) const;
    const MemberDescription* FindById(int32_t memberId) const;
    const std::string& ClassName() const { return className_; }

  private:
    std::string className_;
    std::vector<MemberDescription> members_;
};

}  // namespace velmora::commands
