// GBK texts to and from Qt strings, for whatever shows a text on screen or
// reads one back from a widget. A byte GBK cannot decode comes back as the
// same byte; a character GBK cannot hold comes back as '?'.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace velmora {

QString FromGbk(std::string_view gbk);
std::string ToGbk(const QString& text);

}  // namespace velmora
