// Where the collection run's log lines go: the window's log box, or the
// batch command's record of the current keyword.
#pragma once

#include <initializer_list>
#include <string>

namespace velmora::app {

class LogSink {
  public:
    virtual ~LogSink() = default;
    // Appends the GBK texts, in order, at the end of the log.
    virtual void Append(std::initializer_list<const char*> texts) = 0;
    // What the window's fixed texts leave out (the path and the system's
    // reason of a failed write), for a log that reports to someone who
    // cannot look; UTF-8. The window's log box keeps its own words.
    virtual void Detail(const std::string&) {}
};

}  // namespace velmora::app
