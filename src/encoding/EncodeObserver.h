#pragma once

#include "encoding/EncoderLibrary.h"

class CTrackItem;

// How the encode workers tell the window and the file list what they do. Called on the
// worker threads, several at once when the run has more than one job, each call naming
// the worker (0 .. CEncodeRun::WorkerCount() - 1) whose counters record belongs to the
// track. An implementation that shows windows hands each call to its window thread; one
// that needs no reply need not wait for it to be handled.
class IEncodeObserver {
public:
    virtual ~IEncodeObserver() = default;
    // Before each track: refresh the displayed counters.
    virtual void OnUpdateCounters() = 0;
    // The track's flags changed: redraw the file list. Started comes before the first
    // counters of the track, finished after its last.
    virtual void OnTrackStarted(const CTrackItem& track, unsigned nWorker) = 0;
    virtual void OnTrackFinished(const CTrackItem& track, unsigned nWorker) = 0;
    // The encoder stream of `track` is open with `config`.
    virtual void OnTrackInfo(const CTrackItem& track, const CEncoderLibrary::Config& config,
                             unsigned nWorker) = 0;
    // Every worker has ended (the run's worker-ended flag is set); the window closes the run.
    virtual void OnRunEnded() = 0;
};
