// Bytes that field values hold (list elements, texts, pixels), process-wide,
// so that what copying a scene costs beyond its nodes can be counted: a node
// copied with a list of a million points holds the points a second time.
// Lists of nodes are left out: their nodes are counted as nodes.
#pragma once

#include <cstdint>

// bytes > 0: a value was made that holds them; < 0: one was freed.
void KsCountValueBytes(int64_t bytes);
int64_t KsValueBytesHeld();
// For tests: back to 0.
void KsResetValueBytes();
