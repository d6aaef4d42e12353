// Files the program image carries and writes out itself, so that a lone copy
// of the program starts with a usable template and readable instructions.
// Each is a byte-set block {1, length, bytes}; the texts are GBK.
#pragma once

namespace velmora::app {

// The starter template 高贵大气: its template file and its preview page.
extern const char kStarterTemplateFile[];
extern const char kStarterPreviewFile[];
// The instructions page the help browser shows.
extern const char kInstructionsPageFile[];

}  // namespace velmora::app
