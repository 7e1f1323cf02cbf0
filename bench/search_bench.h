// The search window's figures: the time from a keystroke to the refreshed result list over a
// model of 100,000 tables of 10 commented columns, and the memory the search index adds.
#pragma once

#include "shell/app_state.h"

class QWidget;

namespace quarnel::bench {

// Puts the built model into `state` (replacing any there) and prints search-index-build-ms,
// search-index-bytes-per-column, search-1char-ms, search-3char-ms and search-nohit-ms, with
// the hit counts of each query. False when a query found other than expected.
bool runSearchBench(AppState& state, QWidget* mainWindow, int runs);

}  // namespace quarnel::bench
