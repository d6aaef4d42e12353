#include "app/batch_progress.h"

#include "app/visible_text.h"

namespace velmora::app {
namespace {

// Back to the line's start, and clear what a longer line left behind.
constexpr char kOverwrite[] = "\r";
constexpr char kClearRest[] = "\x1b[K";

std::string Duration(std::chrono::seconds time) {
    const long seconds = static_cast<long>(time.count());
    char text[32];
    if (seconds >= 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60,
                      seconds % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld", seconds / 60, seconds % 60);
    return text;
}

}  // namespace

std::string ProgressLine(size_t current, size_t total, std::string_view keyword,
                         std::string_view state, size_t done, std::chrono::milliseconds elapsed) {
    std::string line = "keyword " + std::to_string(current) + "/" + std::to_string(total) + " " +
                       VisibleText(keyword, TextEncoding::kUtf8) + " · " + std::string(state) +
                       " · ";
    if (done == 0) return line + "time left unknown";
    const auto left = elapsed * static_cast<long>(total - done) / static_cast<long>(done);
    return line + Duration(std::chrono::duration_cast<std::chrono::seconds>(left)) + " left";
}

BatchProgress::BatchProgress(std::FILE* out, bool terminal, size_t total)
    : out_(out), terminal_(terminal), total_(total) {}

void BatchProgress::Begin(size_t current, std::string_view keyword) {
    if (terminal_) Show(ProgressLine(current, total_, keyword, "collecting", done_, Elapsed()));
}

void BatchProgress::End(size_t current, std::string_view keyword, size_t items,
                        std::string_view cause, bool written) {
    ++done_;
    if (!written) Say("failed: " + std::string(keyword) + ": " + std::string(cause));
    const std::string state = written ? std::to_string(items) + " items" : "failed";
    const std::string line = ProgressLine(current, total_, keyword, state, done_, Elapsed());
    if (terminal_) {
        Show(line);
    } else {
        std::fprintf(out_, "%s\n", line.c_str());
        std::fflush(out_);
    }
}

void BatchProgress::Say(std::string_view line) {
    if (terminal_ && lineShown_) std::fputs(kOverwrite, out_), std::fputs(kClearRest, out_);
    std::fprintf(out_, "%s\n", VisibleText(line, TextEncoding::kUtf8).c_str());
    lineShown_ = false;
    std::fflush(out_);
}

void BatchProgress::Finish() {
    if (terminal_ && lineShown_) std::fputc('\n', out_);
    lineShown_ = false;
    std::fflush(out_);
}

std::chrono::milliseconds BatchProgress::Elapsed() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start_);
}

void BatchProgress::Show(const std::string& line) {
    std::fprintf(out_, "%s%s%s", kOverwrite, line.c_str(), kClearRest);
    lineShown_ = true;
    std::fflush(out_);
}

}  // namespace velmora::app
