#pragma once

#include <cstdint>

// The filter host's door: one call per selector, as ENTRYPOINT1 receives it.
// Nothing escapes: every failure ends up in *result (when result is given).
void filterEntry(int16_t selector, void* record, intptr_t* data, int16_t* result);
