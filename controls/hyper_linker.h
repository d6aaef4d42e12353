// HyperLinker: a caption that opens its link when clicked: the web address,
// or "mailto:" and the e-mail address; afterwards it shows the visited colour.
#pragma once

#include <QString>
#include <functional>

#include "runtime/data_type.h"

namespace velmora::controls {

InterfaceRoutine HyperLinkerInterface(int request);

// What opens a link; the desktop's handler unless replaced (a demo run or a
// test that must not start a browser); an empty one restores the desktop's.
// Answers whether it opened.
using LinkOpener = std::function<bool(const QString& link)>;
void SetLinkOpener(LinkOpener opener);

}  // namespace velmora::controls
