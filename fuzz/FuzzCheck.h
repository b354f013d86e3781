#pragma once

#include <cstdio>
#include <cstdlib>

// An invariant of the program that a fuzz input broke: says which one and aborts, so libFuzzer
// keeps the input and the replay test fails. Unlike assert() it stays on in release builds.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
