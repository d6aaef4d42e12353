// The skin engine: an outside library that the program carries as bytes,
// writes next to itself and loads by name. It takes a skin file from memory
// and applies the style sheet inside it to the running application.
//
// A skin file is UTF-8 text: the line "VelmoraSkin 1", header lines of the
// form "key=value", one empty line, then the style sheet to the end.
#include <QApplication>
#include <cstdint>
#include <optional>
#include <string_view>

namespace {

constexpr std::string_view kFirstLine = "VelmoraSkin 1\n";

std::optional<std::string_view> SheetOf(std::string_view file) {
    if (!file.starts_with(kFirstLine)) return std::nullopt;
    // Searching from the first line's own line break also finds an empty header.
    size_t blank = file.find("\n\n", kFirstLine.size() - 1);
    if (blank == std::string_view::npos) return std::nullopt;
    return file.substr(blank + 2);
}

}  // namespace

// Answers 1 when the skin was applied and 0 when it was refused (no skin, not
// a skin file, or no widget application in the process); a refused skin
// leaves the current look alone. The key text and the three numbers are
// reserved: our skins are neither locked nor tuned.
extern "C" __attribute__((visibility("default"))) int SkinH_AttachRes(const unsigned char* data,
                                                                      int32_t size, const char*,
                                                                      int32_t, int32_t, int32_t) {
    if (!data || size <= 0) return 0;
    auto* application = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!application) return 0;
    auto sheet = SheetOf({reinterpret_cast<const char*>(data), static_cast<size_t>(size)});
    if (!sheet) return 0;
    application->setStyleSheet(
        QString::fromUtf8(sheet->data(), static_cast<qsizetype>(sheet->size())));
    return 1;
}
