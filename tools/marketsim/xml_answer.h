// The gateway's answers in XML, the platform's default format: the JSON
// document's members as elements of the same names, an array as its
// member's element repeated once per entry.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace velmora::marketsim {

// `document` is an object with one member, the answer's root element.
std::string XmlAnswer(const nlohmann::json& document);

}  // namespace velmora::marketsim
