// The batch command inside the program: the runtime's start without a
// window, then each keyword of the job through the collection engine, then
// the site files.
#pragma once

#include <string>
#include <vector>

#include "app/batch_options.h"

namespace velmora::app {

struct BatchJob {
    BatchOptions options;
    std::vector<std::string> keywords;  // UTF-8
};

// Hands the job to BatchEntry; it must live until the program has ended.
void SetBatchJob(const BatchJob* job);

// The batch command's entry routine, in place of ApplicationEntry.
int BatchEntry();

// The exit status the job came to.
int BatchJobStatus();

}  // namespace velmora::app
