#include "tools/marketsim/xml_answer.h"

#include "net/markup_text.h"

namespace velmora::marketsim {
namespace {

using nlohmann::json;

void AppendElement(std::string& out, const std::string& name, const json& value) {
    if (value.is_array()) {
        for (const json& entry : value) AppendElement(out, name, entry);
        return;
    }
    out += "<" + name + ">";
    if (value.is_object()) {
        for (const auto& [childName, child] : value.items()) AppendElement(out, childName, child);
    } else {
        out += net::EscapeMarkup(value.is_string() ? value.get_ref<const std::string&>()
                                                   : value.dump());
    }
    out += "</" + name + ">";
}

}  // namespace

std::string XmlAnswer(const json& document) {
    std::string out = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>";
    for (const auto& [name, value] : document.items()) AppendElement(out, name, value);
    return out;
}

}  // namespace velmora::marketsim
