#include "net/public_suffix.h"

#include <libpsl.h>

#include <string>

namespace velmora::net {
namespace {

// The system's list when there is one, else the copy built into libpsl.
const psl_ctx_t* List() {
    static const psl_ctx_t* list = [] {
        const psl_ctx_t* latest = psl_latest(nullptr);
        return latest ? latest : psl_builtin();
    }();
    return list;
}

}  // namespace

bool IsPublicSuffix(std::string_view domain) {
    const psl_ctx_t* list = List();
    std::string name(domain);
    // Without any list only a bare top-level name is known to be one.
    if (!list) return name.find('.') == std::string::npos;
    return psl_is_public_suffix2(list, name.c_str(), PSL_TYPE_ANY) != 0;
}

std::string RegistrableDomain(std::string_view host) {
    const psl_ctx_t* list = List();
    std::string name(host);
    const char* registered = list ? psl_registrable_domain(list, name.c_str()) : nullptr;
    return registered ? std::string(registered) : name;
}

}  // namespace velmora::net
