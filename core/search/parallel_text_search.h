// SPDX-License-Identifier: GPL-3.0-or-later
// The text search on several workers, for the command-line tool: the
// articles of several issues are read at once, and the results come out in
// issue order and article order exactly as from RunTextSearch.
//
// The tag filter's `inTag` runs from file to file, so a file's outcome can
// depend on the files before it. Each worker reads its article as if it
// began outside a tag and notes whether that guess could matter (a line
// without "<" and ">" judged before the file's first tag byte) and where
// the file leaves `inTag`. The results are then taken in order, one article
// after the other, with the true state; the rare article whose guess was
// wrong and mattered is read again from the true state.
#pragma once

#include <cstddef>

#include "core/search/search_engine.h"

/// The number of workers by default: one per core.
int DefaultSearchJobs();

/// RunTextSearch on `jobs` workers (0 or less: DefaultSearchJobs; no more
/// than there are articles, and at most 256). Every worker holds one piece
/// of a file at a time. The sink is called from the workers: Abandoned from
/// any of them at any time, the other calls from one at a time; it is not
/// asked to pause. A cancel or an abandonment stops the search between two
/// issues, and issues read ahead of that point keep the marks their reading
/// left. With one job, or one article to read, it is RunTextSearch itself.
void RunTextSearchInParallel(Library& library, const SearchQuery& query, TextSearchSink& sink, int jobs,
                             std::size_t readPiece = kTextSearchReadPiece);
