// The batch command's command line: what to run, or why not.
#pragma once

#include <string>
#include <vector>

namespace velmora::app {

// Exit codes of the batch command.
inline constexpr int kBatchAllWritten = 0;
inline constexpr int kBatchSomeFailed = 1;
inline constexpr int kBatchUsageError = 2;

struct BatchOptions {
    std::string keywordFile;   // "-": standard input
    std::string templateName;  // UTF-8; empty: [site] template, else the only template
    int count = 20;
    int sort = 0;           // the window's sort choice: 0 sales, 1 rate, 2 commission paid
    std::string source;     // "classic" or "api"; empty: as the settings say
    std::string baseUrl;    // empty: the settings' [site] base_url
    std::string outFolder;  // empty: the settings' [site] out, else the template's folder
    bool json = false;
};

enum class BatchAction { kRun, kHelp, kVersion, kConfigure, kRefuse };

struct BatchCommand {
    BatchAction action = BatchAction::kRun;
    BatchOptions options;
    std::string error;  // with kRefuse: what was wrong, one line
};

// Reads the arguments after the program's name. Options may come before or
// after the keyword file and take their value as the next argument or after
// '='; "--" ends the options.
BatchCommand ParseBatchCommand(const std::vector<std::string>& arguments);

// The --help text.
std::string BatchUsage();

}  // namespace velmora::app
