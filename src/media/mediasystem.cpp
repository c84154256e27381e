#include "mediasystem.h"

#include <gst/gst.h>
#include <malloc.h>

#include <mutex>

namespace zorelad {

void initMedia(int *argc, char ***argv)
{
    static std::once_flag once;
    std::call_once(once, [argc, argv] {
        // The media system runs a dozen threads, and the C library would give
        // most of them a heap of their own, each keeping what it once held.
        // They allocate little and seldom at the same moment (small blocks
        // come from each thread's own cache), so one heap serves them all:
        // a session's peak 59.5-60.0 -> 59.0-59.5 MB, after printing
        // 59.5 -> 58 MB, with idle and Next unchanged within their spread.
        mallopt(M_ARENA_MAX, 1);
        gst_init(argc, argv);
    });
}

} // namespace zorelad
