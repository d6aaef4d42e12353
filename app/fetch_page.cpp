#include "app/fetch_page.h"

#include <cstring>
#include <string_view>

#include "commands/automation_commands.h"
#include "commands/text_commands.h"

namespace velmora::app {
namespace {

constexpr char kHttpObjectClass[] = "msxml2.xmlhttp";
constexpr size_t kComObjectSize = 2 * sizeof(void*);

// Text arguments of an automation call go by reference, pointing at the variable.
ValueRecord TextByReference(const char** variable) {
    return MakePointer(tag::kText | tag::kIndirect, variable);
}

}  // namespace

Text FetchPage(const char* address, const char* method, const char* body) {
    std::string_view given = method ? method : "";
    const char* settledMethod = given.empty() || given == "get" || given == "GET" ? "get" : method;
    const char* addressText = address ? address : kEmptyText;
    const char* bodyText = body ? body : kEmptyText;

    void* object = Entries().Allocate(kComObjectSize);
    std::memset(object, 0, kComObjectSize);
    const ValueRecord objectValue = MakePointer(tag::kComObject, object);
    if (!CallCore(commands::CreateAutomationObject, {objectValue, TextArg(kHttpObjectClass)})
             .Logical()) {
        Entries().Free(object);
        return Text();
    }

    // Each step runs whatever the one before gave: a failed call leaves its
    // own result empty, and the chain ends in the empty text.
    CallCore(commands::CallObjectMethod,
             {objectValue, TextArg("open"), TextByReference(&settledMethod),
              TextByReference(&addressText), MakeLogical(false)});
    CallCore(commands::CallObjectMethod,
             {objectValue, TextArg("send"), TextByReference(&bodyText)});
    void* variant =
        CallCore(commands::ReadObjectProperty, {objectValue, TextArg("responseBody")}).Pointer();
    const ValueRecord variantValue = MakePointer(tag::kVariant, variant);
    void* bytes = CallCore(commands::VariantToByteSet, {variantValue}).Pointer();
    CallCore(commands::ClearVariant, {variantValue});
    Entries().Free(variant);

    const void* byteSet = bytes ? bytes : static_cast<const void*>(kEmptyByteSet);
    Text page = TakeText(CallCore(commands::ToText, {MakeByteSetValue(byteSet)}));
    Entries().Free(bytes);

    CallCore(commands::ReleaseObject, {objectValue});
    Entries().Free(object);
    return page;
}

}  // namespace velmora::app
