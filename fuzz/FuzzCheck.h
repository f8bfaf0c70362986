#pragma once
// What the fuzz targets share: a failed invariant names itself and aborts,
// so libFuzzer keeps the input.
#include <cstdio>
#include <cstdlib>

#define VT_FUZZ_CHECK(cond)                                                                   \
    do {                                                                                      \
        if (!(cond)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                     \
        }                                                                                     \
    } while (0)
