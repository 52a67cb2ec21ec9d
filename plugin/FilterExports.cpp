// The filter host's door, exported undecorated as hosts look it up.
#include "plugin/FilterEntry.h"

extern "C" __declspec(dllexport) void ENTRYPOINT1(int16_t selector, void* record, intptr_t* data,
                                                  int16_t* result)
{
    filterEntry(selector, record, data, result);
}
