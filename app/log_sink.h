// Where the collection run's log lines go: the window's log box, or the
// batch command's record of the current keyword.
#pragma once

#include <initializer_list>

namespace velmora::app {

class LogSink {
  public:
    virtual ~LogSink() = default;
    // Appends the GBK texts, in order, at the end of the log.
    virtual void Append(std::initializer_list<const char*> texts) = 0;
};

}  // namespace velmora::app
