#include "app/batch_options.h"

#include <charconv>
#include <optional>
#include <string_view>

#include "app/sitemap.h"

namespace velmora::app {
namespace {

constexpr int kMostItems = 500;

std::optional<int> NumberIn(std::string_view text, int lowest, int highest) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < lowest || value > highest) return std::nullopt;
    return value;
}

// Checks and stores one option's value; the error text when it is refused.
std::string TakeValue(std::string_view name, std::string_view value, BatchOptions* options) {
    if (name == "--template") {
        if (value.empty()) return "--template needs a template name";
        options->templateName = value;
    } else if (name == "--count") {
        std::optional<int> count = NumberIn(value, 1, kMostItems);
        if (!count) return "--count takes a whole number from 1 to " + std::to_string(kMostItems);
        options->count = *count;
    } else if (name == "--sort") {
        std::optional<int> sort = NumberIn(value, 0, 2);
        if (!sort) return "--sort takes 0 (sales), 1 (commission rate) or 2 (commission paid)";
        options->sort = *sort;
    } else if (name == "--source") {
        if (value != "classic" && value != "api") return "--source takes classic or api";
        options->source = value;
    } else if (name == "--base-url") {
        if (!IsSiteBaseUrl(value)) return "--base-url takes an http:// or https:// address";
        options->baseUrl = value;
    } else if (name == "--out") {
        if (value.empty()) return "--out needs a folder";
        options->outFolder = value;
    }
    return {};
}

bool TakesValue(std::string_view name) {
    for (std::string_view known :
         {"--template", "--count", "--sort", "--source", "--base-url", "--out"})
        if (name == known) return true;
    return false;
}

}  // namespace

BatchCommand ParseBatchCommand(const std::vector<std::string>& arguments) {
    BatchCommand command;
    const auto refuse = [&command](std::string error) {
        command.action = BatchAction::kRefuse;
        command.error = std::move(error);
        return command;
    };
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument == "-" || !argument.starts_with("-")) {
            files.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        if (TakesValue(name)) {
            std::string value;
            if (equals != std::string::npos) {
                value = argument.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                return refuse(name + " needs a value");
            }
            if (std::string error = TakeValue(name, value, &command.options); !error.empty())
                return refuse(error);
        } else if (equals != std::string::npos) {
            return refuse(name + " takes no value");
        } else if (name == "--json") {
            command.options.json = true;
        } else if (name == "--help" || name == "-h") {
            command.action = BatchAction::kHelp;
        } else if (name == "--version") {
            command.action = BatchAction::kVersion;
        } else if (name == "--configure") {
            command.action = BatchAction::kConfigure;
        } else {
            return refuse("unknown option " + argument);
        }
    }
    // Help and version answer whatever else stands on the line.
    if (command.action == BatchAction::kHelp || command.action == BatchAction::kVersion)
        return command;
    if (command.action == BatchAction::kConfigure) {
        if (!files.empty()) return refuse("--configure takes no keyword file");
        return command;
    }
    if (files.empty()) return refuse("no keyword file (use - for standard input)");
    if (files.size() > 1) return refuse("one keyword file only, not " + files[1] + " as well");
    command.options.keywordFile = files.front();
    return command;
}

std::string BatchUsage() {
    return "Usage: velmora-batch [options] KEYWORD-FILE\n"
           "Writes one page per keyword (one keyword a line; - reads standard input;\n"
           "UTF-8, or GBK) into the template's folder (or --out), then the folder's\n"
           "index.htm and, with a base address, its sitemap.xml.\n"
           "\n"
           "  --template NAME   the template (default: [site] template, else the only one)\n"
           "  --count N         items per page, 1 to 500 (default 20)\n"
           "  --sort 0|1|2      by sales, commission rate or commission paid (default 0)\n"
           "  --source classic|api\n"
           "                    where the items come from (default: api when the settings\n"
           "                    hold app_key and adzone_id, else classic, which needs the\n"
           "                    login kept by the window)\n"
           "  --base-url URL    the site's address, for sitemap.xml (default: [site] base_url)\n"
           "  --out DIR         where pages, index and sitemap go (default: [site] out,\n"
           "                    else the template's folder)\n"
           "  --json            a summary on standard output\n"
           "  --configure       asks for the [api] settings and writes the settings file\n"
           "  --help, --version\n"
           "\n"
           "Exit status: 0 every page and the index written, 1 a keyword or the index\n"
           "failed, 2 usage error, 130 after Ctrl+C, 143 after SIGTERM.\n";
}

}  // namespace velmora::app
