#include "cupslibrary.h"

#include <dlfcn.h>

namespace zorelad {

namespace {

template <typename Function> bool resolve(void *handle, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(dlsym(handle, name));
    return function != nullptr;
}

bool load(CupsLibrary &l)
{
    void *handle = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return false;
    return resolve(handle, "cupsServer", l.server) && resolve(handle, "ippPort", l.port)
        && resolve(handle, "cupsEncryption", l.encryption) && resolve(handle, "httpConnect2", l.connect)
        && resolve(handle, "httpSetTimeout", l.setTimeout) && resolve(handle, "httpClose", l.close)
        && resolve(handle, "cupsGetNamedDest", l.getNamedDest) && resolve(handle, "cupsFreeDests", l.freeDests)
        && resolve(handle, "cupsCopyDestInfo", l.copyDestInfo) && resolve(handle, "cupsFreeDestInfo", l.freeDestInfo)
        && resolve(handle, "cupsFindDestDefault", l.findDestDefault) && resolve(handle, "cupsGetOption", l.getOption)
        && resolve(handle, "cupsAddOption", l.addOption) && resolve(handle, "cupsFreeOptions", l.freeOptions)
        && resolve(handle, "cupsPrintFile2", l.printFile) && resolve(handle, "cupsLastError", l.lastError)
        && resolve(handle, "ippGetValueTag", l.valueTag) && resolve(handle, "ippGetString", l.string)
        && resolve(handle, "ippGetResolution", l.resolution) && resolve(handle, "pwgMediaForPWG", l.mediaForPwg)
        && resolve(handle, "pwgMediaForPPD", l.mediaForPpd) && resolve(handle, "pwgMediaForLegacy", l.mediaForLegacy);
}

} // namespace

const CupsLibrary *cupsLibrary()
{
    static CupsLibrary library;
    static const bool loaded = load(library);
    return loaded ? &library : nullptr;
}

} // namespace zorelad
