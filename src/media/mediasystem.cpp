#include "mediasystem.h"

#include <gst/gst.h>

#include <mutex>

namespace zorelad {

void initMedia(int *argc, char ***argv)
{
    static std::once_flag once;
    std::call_once(once, [argc, argv] { gst_init(argc, argv); });
}

} // namespace zorelad
