#include "tools/autodrive/drive_options.h"

namespace velmora::autodrive {

std::optional<DriveOptions> ParseDriveOptions(const QStringList& arguments, QString* error) {
    DriveOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& name = arguments[i];
        if (name == "--stop-after-first") {
            options.stopAfterFirst = true;
            continue;
        }
        const bool takesValue = name == "--keywords" || name == "--count" || name == "--template" ||
                                name == "--shots" || name == "--patience";
        if (!takesValue) {
            *error = "unknown argument " + name;
            return std::nullopt;
        }
        if (i + 1 >= arguments.size()) {
            *error = name + " needs a value";
            return std::nullopt;
        }
        const QString value = arguments[++i];
        if (name == "--keywords") {
            // Comma-separated; an empty piece is an empty keyword, as an empty
            // line of the keyword box would be.
            options.keywords = value.split(',');
        } else if (name == "--count") {
            options.itemCount = value;
        } else if (name == "--template") {
            options.templateName = value;
        } else if (name == "--shots") {
            options.shotsDirectory = value;
        } else {
            bool ok = false;
            options.patience = value.toDouble(&ok);
            if (!ok || options.patience < 1.0 || options.patience > 100.0) {
                *error = "--patience takes a factor from 1 to 100, not " + value;
                return std::nullopt;
            }
        }
    }
    if (options.keywords.isEmpty() || options.keywords.join("").isEmpty()) {
        *error = "--keywords names no keyword";
        return std::nullopt;
    }
    return options;
}

QString DriveUsage() {
    return "usage: velmora_autodrive [options]\n"
           "  --keywords A,B     keywords typed one per line (default 手机,连衣裙)\n"
           "  --count N          text typed into the item-count box (default 3)\n"
           "  --template NAME    template picked in the list (default 高贵大气)\n"
           "  --shots DIR        save window-after-run.png and generated-page.png there\n"
           "  --stop-after-first press the stop button once the first page is done\n"
           "  --patience F       multiply every deadline by F (1 to 100)\n";
}

}  // namespace velmora::autodrive
