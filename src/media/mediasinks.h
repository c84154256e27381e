#pragma once
// Where a player's sound and pictures go.

#include "mediaplayer.h"

#include <gst/gst.h>

namespace zorelad {

class FrameRelay;

// Remembers the sound output the system's automatic choice settled on in
// `pipeline`, once a file has opened, for later players to make directly.
void rememberAudioOutput(GstElement *pipeline);

// Sound to the audio sink (or nowhere, without `withSound`), pictures to the
// relay unless a sink is given (then the answer is null, else the relay's
// sink); no subtitles, no volume or colour controls, which the player never
// uses, and no scaling of the pictures: they are shown at their natural size.
// Decoders are watched as they are made: sound gathered, large pictures
// refused. Throws Failure when a sink cannot be made.
GstElement *attachSinks(GstElement *playbin, const MediaSinks &sinks, bool withSound, FrameRelay &relay);

} // namespace zorelad
