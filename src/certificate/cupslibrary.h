#pragma once
// libcups, loaded the first time the program prints rather than when it
// starts, so that starting the program does not load the print system's
// libraries (libcups and what it needs: GnuTLS, Kerberos, Avahi).

#include <cups/cups.h>

namespace zorelad {

struct CupsLibrary {
    decltype(&::cupsServer) server;
    decltype(&::ippPort) port;
    decltype(&::cupsEncryption) encryption;
    decltype(&::httpConnect2) connect;
    decltype(&::httpSetTimeout) setTimeout;
    decltype(&::httpClose) close;
    decltype(&::cupsGetNamedDest) getNamedDest;
    decltype(&::cupsFreeDests) freeDests;
    decltype(&::cupsCopyDestInfo) copyDestInfo;
    decltype(&::cupsFreeDestInfo) freeDestInfo;
    decltype(&::cupsFindDestDefault) findDestDefault;
    decltype(&::cupsGetOption) getOption;
    decltype(&::cupsAddOption) addOption;
    decltype(&::cupsFreeOptions) freeOptions;
    decltype(&::cupsPrintFile2) printFile;
    decltype(&::cupsLastError) lastError;
    decltype(&::ippGetValueTag) valueTag;
    decltype(&::ippGetString) string;
    decltype(&::ippGetResolution) resolution;
    decltype(&::pwgMediaForPWG) mediaForPwg;
    decltype(&::pwgMediaForPPD) mediaForPpd;
    decltype(&::pwgMediaForLegacy) mediaForLegacy;
};

// The library's functions, or null when libcups.so.2 is not installed or
// lacks one of them. Loaded once, on the first call, and kept.
const CupsLibrary *cupsLibrary();

} // namespace zorelad
