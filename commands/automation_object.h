// Automation objects: reference-counted, created by class (see the registry),
// driven by member id through Invoke after binding their names through the
// type information. An object may offer no dispatch interface at all, or a
// dispatch interface without type information; neither can be called by name.
#pragma once

#include <cstdint>
#include <span>

#include "commands/automation_type_info.h"
#include "commands/automation_variant.h"

namespace velmora::commands {

// The member id that marks the value of a property write.
inline constexpr int32_t kPropertyPutId = -3;

class AutomationObject {
  public:
    AutomationObject() = default;
    AutomationObject(const AutomationObject&) = delete;
    AutomationObject& operator=(const AutomationObject&) = delete;

    void AddRef() { ++references_; }
    void Release() {
        if (--references_ == 0) delete this;
    }
    long References() const { return references_; }

    // The dispatch interface with a reference added, or null when none.
    virtual DispatchObject* QueryDispatch() { return nullptr; }
    // Brings the object into its running state after creation.
    virtual bool Run() { return true; }

  protected:
    virtual ~AutomationObject() = default;

  private:
    long references_ = 1;
};

// Arguments of one Invoke, in the platform's order: args[0] is the last one.
struct DispatchParams {
    Variant* args = nullptr;
    uint32_t count = 0;
    const int32_t* namedIds = nullptr;
    uint32_t namedCount = 0;
};

class DispatchObject : public AutomationObject {
  public:
    DispatchObject* QueryDispatch() override {
        AddRef();
        return this;
    }
    // Null when the object offers no type information.
    virtual const TypeInfo* GetTypeInfo() const = 0;
    // `argError` receives the platform index of an argument that was refused.
    virtual Status Invoke(int32_t memberId, InvokeKind kind, DispatchParams& params,
                          Variant* result, uint32_t* argError) = 0;
};

// A dispatch object whose Invoke checks and converts the arguments against
// its type information before handing them, first argument first, to
// CallMember. Every failure of CallMember reaches the caller as an exception.
class DescribedObject : public DispatchObject {
  public:
    Status Invoke(int32_t memberId, InvokeKind kind, DispatchParams& params, Variant* result,
                  uint32_t* argError) override;

  protected:
    // `args` holds one variant per declared parameter (an omitted optional
    // one is the missing-argument mark) plus any further variable arguments;
    // each has the declared type, or is passed as it came for a variant or
    // by-reference parameter. For a property write the last one is the value.
    virtual Status CallMember(const MemberDescription& member, InvokeKind kind,
                              std::span<Variant> args, Variant* result) = 0;
};

bool IsMissingArgument(const Variant& v);

}  // namespace velmora::commands
