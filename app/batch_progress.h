// The batch command's progress on standard error: one line that changes in
// place on a terminal, one plain line per keyword anywhere else. Keywords
// and said lines are shown with their control characters as '?'.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>

namespace velmora::app {

// "keyword 3/10 手机 · 20 items · 1:05 left": `done` keywords finished so
// far, the current one counted from 1, and what became of it ("collecting",
// "20 items", "failed"). The time left follows the pace so far; before the
// first keyword ends it is not known.
std::string ProgressLine(size_t current, size_t total, std::string_view keyword,
                         std::string_view state, size_t done, std::chrono::milliseconds elapsed);

class BatchProgress {
  public:
    BatchProgress(std::FILE* out, bool terminal, size_t total);

    // A keyword begins; on a terminal the line shows it at once.
    void Begin(size_t current, std::string_view keyword);
    // A keyword is over: written with its items, or failed with its cause.
    void End(size_t current, std::string_view keyword, size_t items, std::string_view cause,
             bool written);
    // A line of its own that stays, above the progress line on a terminal.
    void Say(std::string_view line);
    // Ends the progress line on a terminal.
    void Finish();

  private:
    std::chrono::milliseconds Elapsed() const;
    void Show(const std::string& line);

    std::FILE* out_;
    bool terminal_;
    size_t total_;
    size_t done_ = 0;
    bool lineShown_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace velmora::app
