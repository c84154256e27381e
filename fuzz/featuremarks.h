#pragma once
// Turns a small value into code coverage. libFuzzer keeps an input when it
// reaches new code; a decoder built without instrumentation (the system's
// libjpeg) reports nothing, so the fuzz target marks what it learned about an
// input (the error number, the size class of the picture) by calling one of
// many distinct functions, each of which counts as new code.

#include <array>
#include <cstddef>
#include <utility>

namespace fuzzmarks {

inline volatile int sink;

template <int N> __attribute__((noinline)) void mark() { sink = N; }

template <int... N> constexpr std::array<void (*)(), sizeof...(N)> table(std::integer_sequence<int, N...>)
{
    return {&mark<N>...};
}

inline constexpr int Count = 512;
inline constexpr auto Marks = table(std::make_integer_sequence<int, Count>());

// Marks value `value` of the kind numbered `kind` (0..3, 128 values each);
// values outside 0..127 share the last slot.
inline void markValue(int kind, int value)
{
    if (value < 0 || value > 127)
        value = 127;
    Marks[std::size_t((kind & 3) * 128 + value)]();
}

// The position of the highest set bit, so that sizes mark their class.
inline int log2Class(unsigned long long v)
{
    int c = 0;
    while (v >>= 1)
        ++c;
    return c;
}

} // namespace fuzzmarks
