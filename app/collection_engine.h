// The collection run itself, free of any window: its inputs are plain values,
// the items come from a source, the pages from a template, and every line goes
// to a log. The stop flag is Globals().stopRequested.
#pragma once

#include "app/item_source.h"
#include "app/log_sink.h"
#include "app/page_template.h"

namespace velmora::app {

struct CollectionJob {
    const char* keywords = nullptr;  // GBK, split at every line break; empty lines are keywords too
    int sortIndex = 0;               // as ItemQuery has it
    int count = 0;                   // items a page
};

// One pass over the job's keywords: search, load the template, collect and
// write each keyword's page, logging as it goes. A failed search logs its
// cause and writes no page.
void RunCollection(const CollectionJob& job, ItemSource& source, PageTemplate& page, LogSink& log);

// Renders the first `count` items of the source's last search for the
// current keyword into the template's loop and writes the page. A stop ends
// the items early and writes what there is.
void CollectAndWritePage(ItemSource& source, int count, PageTemplate& page, LogSink& log);

// The affiliate platform's member centre, where the login shows.
Text MemberCentreAddress();

// Whether the page at the address, fetched again, shows a logged-in user.
bool PageShowsLogin(const char* address);

}  // namespace velmora::app
