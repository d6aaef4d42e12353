// GBK texts to and from Qt strings, for whatever shows a text on screen or
// reads one back from a widget. Lossy, as display is: undecodable bytes or
// characters become '?'.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace velmora {

QString FromGbk(std::string_view gbk);
std::string ToGbk(const QString& text);

}  // namespace velmora
