#pragma once

#include <cstddef>
#include <cstdint>

// Every target defines this; libFuzzer calls it, and so does the replay program
// that runs the seed corpora as ordinary tests.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

// Stops the run with a message when an invariant does not hold.
void fuzzCheck(bool condition, const char *what);
