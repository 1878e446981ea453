#pragma once

#include "encoding/EncoderLibrary.h"

class CTrackItem;

// How the encode worker tells the window and the file list what it does. Called on the
// worker thread; an implementation that shows windows hands each call to its window
// thread and waits until it is handled.
class IEncodeObserver {
public:
    virtual ~IEncodeObserver() = default;
    // Before each track: refresh the displayed counters.
    virtual void OnUpdateCounters() = 0;
    // The track's flags changed: redraw the file list.
    virtual void OnTrackStarted(const CTrackItem& track) = 0;
    virtual void OnTrackFinished(const CTrackItem& track) = 0;
    // The encoder stream of `track` is open with `config`.
    virtual void OnTrackInfo(const CTrackItem& track, const CEncoderLibrary::Config& config) = 0;
    // The worker is about to end; the window closes the run.
    virtual void OnRunEnded() = 0;
};
