// UTF-8 from outside (the open platform, the settings file) turned into the
// runtime's GBK texts. A character GBK cannot hold becomes an HTML numeric
// character reference, so a page still shows it and nothing turns into '?'.
#pragma once

#include <string>
#include <string_view>

#include "app/runtime_calls.h"

namespace velmora::app {

std::string Utf8ToGbkWithReferences(std::string_view utf8);
Text GbkText(std::string_view utf8);

}  // namespace velmora::app
