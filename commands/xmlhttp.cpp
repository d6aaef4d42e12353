#include "commands/xmlhttp.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "commands/automation_coerce.h"
#include "commands/automation_object.h"
#include "commands/automation_registry.h"
#include "net/http_client.h"
#include "net/url_parts.h"
#include "runtime/gbk.h"
#include "runtime/native_path.h"
#include "runtime/windows_path.h"

namespace velmora::commands {
namespace {

enum Member : int32_t {
    kOpen = 1,
    kSetRequestHeader,
    kGetResponseHeader,
    kGetAllResponseHeaders,
    kSend,
    kAbort,
    kStatus,
    kStatusText,
    kResponseBody,
    kResponseText,
    kReadyState,
};

enum ReadyState : int32_t { kUnsent = 0, kOpened = 1, kDone = 4 };

constexpr TypeDescription kStringType{vt::kString};
constexpr TypeDescription kVariantType{vt::kVariant};
constexpr TypeDescription kLongType{vt::kI4};
constexpr TypeDescription kVoidType{vt::kVoid};

MemberDescription Method(std::string name, int32_t id, std::vector<ParamDescription> params,
                         int optionalCount, TypeDescription result) {
    return {std::move(name),
            id,
            MemberDescription::Kind::kFunction,
            InvokeKind::kMethod,
            std::move(params),
            optionalCount,
            result};
}

MemberDescription Getter(std::string name, int32_t id, TypeDescription result) {
    return {
        std::move(name), id, MemberDescription::Kind::kFunction, InvokeKind::kPropertyGet, {}, 0,
        result};
}

const TypeInfo& XmlHttpTypeInfo() {
    static const TypeInfo info = [] {
        const ParamDescription text{kStringType, param::kIn};
        const ParamDescription optional{kVariantType, param::kIn | param::kOptional};
        return TypeInfo(
            "XMLHTTP",
            {
                Method("open", kOpen, {text, text, optional, optional, optional}, 3, kVoidType),
                Method("setRequestHeader", kSetRequestHeader, {text, text}, 0, kVoidType),
                Method("getResponseHeader", kGetResponseHeader, {text}, 0, kStringType),
                Method("getAllResponseHeaders", kGetAllResponseHeaders, {}, 0, kStringType),
                Method("send", kSend, {optional}, 1, kVoidType),
                Method("abort", kAbort, {}, 0, kVoidType),
                Getter("status", kStatus, kLongType),
                Getter("statusText", kStatusText, kStringType),
                Getter("responseBody", kResponseBody, kVariantType),
                Getter("responseText", kResponseText, kStringType),
                Getter("readyState", kReadyState, kLongType),
            });
    }();
    return info;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The method is matched without regard to case and the standard ones go out
// in upper case, as browsers do: servers refuse "get" and "post" as unknown
// methods, which would turn every lower-case request into an error page.
std::string WireMethod(std::string method) {
    static constexpr std::string_view kStandard[] = {"DELETE",  "GET",  "HEAD",
                                                     "OPTIONS", "POST", "PUT"};
    for (std::string_view standard : kStandard)
        if (EqualsNoCase(method, standard)) return std::string(standard);
    return method;
}

class XmlHttpRequest : public DescribedObject {
  public:
    const TypeInfo* GetTypeInfo() const override { return &XmlHttpTypeInfo(); }

  protected:
    Status CallMember(const MemberDescription& member, InvokeKind, std::span<Variant> args,
                      Variant* result) override {
        switch (member.memberId) {
            case kOpen:
                return Open(args);
            case kSetRequestHeader:
                return SetRequestHeader(args);
            case kSend:
                return Send(args[0]);
            case kAbort:
                state_ = XmlHttpRequestState{};
                return status::kOk;
            case kReadyState:
                *result = MakeI4Variant(state_.readyState);
                return status::kOk;
        }
        if (state_.readyState != kDone) return status::kFail;
        switch (member.memberId) {
            case kStatus:
                *result = MakeI4Variant(int32_t(state_.response.status));
                return status::kOk;
            case kStatusText:
                *result = MakeStringVariant(GbkToUtf16KeepingBytes(state_.response.statusText));
                return status::kOk;
            case kResponseBody:
                *result =
                    MakeByteArrayVariant(state_.response.body.data(), state_.response.body.size());
                return status::kOk;
            case kResponseText:
                *result = MakeStringVariant(ResponseText());
                return status::kOk;
            case kGetResponseHeader:
                *result = MakeStringVariant(GbkToUtf16KeepingBytes(
                    ResponseHeader(Utf16ToGbkKeepingBytes(StringView(args[0].string)))));
                return status::kOk;
            case kGetAllResponseHeaders: {
                std::string all;
                for (const auto& [name, value] : state_.response.headers)
                    all += name + ": " + value + "\r\n";
                *result = MakeStringVariant(GbkToUtf16KeepingBytes(all));
                return status::kOk;
            }
        }
        return status::kMemberNotFound;
    }

  private:
    struct XmlHttpRequestState {
        int32_t readyState = kUnsent;
        std::string method;
        std::string url;
        std::string filePath;  // UTF-8, set when the address is a local file
        std::string user;
        std::string password;
        std::vector<std::string> headers;
        net::HttpResponse response;
    };

    static std::string OptionalText(const Variant& v) {
        Variant text{};
        if (IsMissingArgument(v) || ChangeType(&text, v, vt::kString) != status::kOk) return {};
        std::string gbk = Utf16ToGbkKeepingBytes(StringView(text.string));
        VariantClear(&text);
        return gbk;
    }

    Status Open(std::span<Variant> args) {
        XmlHttpRequestState fresh;
        fresh.method = WireMethod(Utf16ToGbkKeepingBytes(StringView(args[0].string)));
        fresh.url = Utf16ToGbkKeepingBytes(StringView(args[1].string));
        if (fresh.method.empty() || fresh.url.empty()) return status::kInvalidArgument;
        if (IsDiskPath(fresh.url)) {
            auto path = NativePath(fresh.url);
            if (!path) return status::kInvalidArgument;
            fresh.filePath = *path;
        } else {
            auto parts = net::SplitUrl(fresh.url);
            if (!parts || (parts->scheme != "http" && parts->scheme != "https"))
                return status::kInvalidArgument;
        }
        // The async flag (args[2]) changes nothing: every request here is synchronous.
        fresh.user = OptionalText(args[3]);
        fresh.password = OptionalText(args[4]);
        fresh.readyState = kOpened;
        state_ = std::move(fresh);
        return status::kOk;
    }

    Status SetRequestHeader(std::span<Variant> args) {
        if (state_.readyState != kOpened) return status::kFail;
        std::string name = Utf16ToGbkKeepingBytes(StringView(args[0].string));
        std::string value = Utf16ToGbkKeepingBytes(StringView(args[1].string));
        if (name.empty() || name.find_first_of(":\r\n") != std::string::npos ||
            value.find_first_of("\r\n") != std::string::npos)
            return status::kInvalidArgument;
        state_.headers.push_back(name + ": " + value);
        return status::kOk;
    }

    Status Send(const Variant& body) {
        if (state_.readyState != kOpened) return status::kFail;
        std::string bytes;
        if ((body.vt & ~vt::kByRef) == (vt::kArray | vt::kUI1)) {
            Variant scratch;
            const Variant& array = Dereferenced(body, scratch);
            if (array.array) bytes.assign(array.array->storage.begin(), array.array->storage.end());
        } else if (!IsMissingArgument(body) && body.vt != vt::kEmpty && body.vt != vt::kNull) {
            Variant text{};
            if (ChangeType(&text, body, vt::kString) != status::kOk) return status::kTypeMismatch;
            bytes = Utf16ToGbkKeepingBytes(StringView(text.string));
            VariantClear(&text);
        }
        return state_.filePath.empty() ? SendRequest(std::move(bytes)) : ReadFile();
    }

    Status ReadFile() {
        std::error_code error;
        const std::filesystem::path path = FileSystemPath(state_.filePath);
        auto size = std::filesystem::file_size(path, error);
        if (error || size > net::kLargestBody) return status::kFail;
        std::ifstream file(path, std::ios::binary);
        if (!file) return status::kFail;
        net::HttpResponse& r = state_.response;
        r.body.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        if (file.bad()) return status::kFail;
        r.completed = true;
        r.status = 200;
        r.statusText = "OK";
        state_.readyState = kDone;
        return status::kOk;
    }

    Status SendRequest(std::string body) {
        net::HttpRequest request;
        request.method = state_.method;
        request.url = state_.url;
        request.headers = state_.headers;
        // A body goes out for every method but get and head, empty or not.
        std::string method = Lower(state_.method);
        request.sendBody = !body.empty() || (method != "get" && method != "head");
        request.body = std::move(body);
        request.user = state_.user;
        request.password = state_.password;
        net::HttpResponse response = net::PerformRequest(request);
        if (!response.completed) return status::kFail;
        state_.response = std::move(response);
        state_.readyState = kDone;
        return status::kOk;
    }

    std::string ResponseHeader(std::string_view name) const {
        std::string joined;
        for (const auto& [key, value] : state_.response.headers) {
            if (!EqualsNoCase(key, name)) continue;
            if (!joined.empty()) joined += ", ";
            joined += value;
        }
        return joined;
    }

    // The body decoded by its declared charset; without one, UTF-8 when the
    // bytes are UTF-8 and GBK otherwise.
    std::u16string ResponseText() const {
        const std::string& body = state_.response.body;
        const std::string* type = net::FindHeader(state_.response.headers, "Content-Type");
        std::string charset = type ? Lower(*type) : "";
        bool gbkFamily = charset.find("gbk") != std::string::npos ||
                         charset.find("gb2312") != std::string::npos ||
                         charset.find("gb18030") != std::string::npos;
        if (!gbkFamily) {
            std::string_view bytes = body;
            if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
            if (auto text = Utf8ToUtf16(bytes)) return *text;
        }
        return GbkToUtf16KeepingBytes(body);
    }

    XmlHttpRequestState state_;
};

AutomationObject* CreateXmlHttpRequest() {
    return new XmlHttpRequest;
}

}  // namespace

void RegisterXmlHttpClass(ClassRegistry& registry) {
    registry.Register(kXmlHttpProgId, kXmlHttpClassId, CreateXmlHttpRequest);
}

}  // namespace velmora::commands
