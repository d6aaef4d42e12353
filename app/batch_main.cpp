// velmora-batch: the collector's engine without a window or a browser
// engine, run over a keyword file instead of a person's clicks.
#include <cstdio>
#include <string>
#include <vector>

#include "app/batch_configure.h"
#include "app/batch_options.h"
#include "app/batch_run.h"
#include "app/batch_system.h"
#include "app/image/batch_image.h"
#include "app/keyword_file.h"
#include "runtime/windowless_start.h"

namespace {

using namespace velmora::app;

int Refuse(const std::string& reason) {
    std::fprintf(stderr, "velmora-batch: %s\nTry 'velmora-batch --help'.\n", reason.c_str());
    return kBatchUsageError;
}

}  // namespace

int main(int argc, char** argv) {
    PrepareConsole();
    BatchCommand command = ParseBatchCommand(BatchArguments(argc, argv));
    switch (command.action) {
        case BatchAction::kHelp:
            std::fputs(BatchUsage().c_str(), stdout);
            return 0;
        case BatchAction::kVersion:
            std::printf("velmora-batch %s\n", VELMORA_VERSION);
            return 0;
        case BatchAction::kRefuse:
            return Refuse(command.error);
        case BatchAction::kConfigure:
            return ConfigureApiSettings();
        case BatchAction::kRun:
            break;
    }

    BatchJob job{command.options, {}};
    std::string error;
    std::optional<std::string> bytes = ReadKeywordBytes(job.options.keywordFile, &error);
    if (!bytes) return Refuse(error);
    std::optional<KeywordList> list = DecodeKeywords(*bytes);
    if (!list) return Refuse("the keyword file is neither UTF-8 nor GBK");
    if (list->keywords.empty()) return Refuse("the keyword file holds no keywords");
    job.keywords = std::move(list->keywords);

    SetBatchJob(&job);
    const int code = velmora::RunWindowlessProgram(BatchProgramImage(), BatchEntry);
    return code != 0 ? code : BatchJobStatus();
}
