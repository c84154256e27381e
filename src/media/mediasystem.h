#pragma once
// Starting the media system. main() calls initMedia() before it creates the
// QApplication, so that GStreamer sees its own command-line options first;
// a player starts it itself when nobody has. Later calls do nothing.

namespace zorelad {

void initMedia(int *argc = nullptr, char ***argv = nullptr);

} // namespace zorelad
