#pragma once

#include "encoding/EncoderLibrary.h"

#include <string>

class CStringCatalogue;
class CTrackList;
struct SEncodeCounters;

// What the encoding window shows of a run: the two percentages, frame counters, elapsed
// and estimated time of the current track and the encoding speed, with their line
// texts. Updated on the window thread from the worker's counters.
class CEncodeProgress {
public:
    explicit CEncodeProgress(const CStringCatalogue& catalogue);

    // One refresh. `nNowSeconds` is a steady clock in whole seconds; `bCollapsed` skips
    // the time and speed figures as the collapsed window does.
    void UpdateEncodeCounters(const CTrackList& tracks, const SEncodeCounters& counters,
                              long long nNowSeconds, bool bCollapsed = false);

    // "MPEG1 Output sampling frequency 44100 Hz" and "CBR Bitrate 160 kbps, stereo".
    static std::string Format1Text(const CEncoderLibrary::Config& config);
    static std::string Format2Text(const CEncoderLibrary::Config& config);

    int m_nFilePercent = 0;
    unsigned m_nOverallPercent = 0;
    float m_fElapsed = 0;   // E: seconds of the current track so far
    float m_fRemaining = 0; // R: estimated seconds left of the current track
    float m_fSpeed = 0;     // V: audio seconds per second, a running average
    float m_fEta = 0;       // A: the estimate shown in the ETA field

    std::string m_strFileLine;    // F1
    std::string m_strOverallLine; // F2
    std::string m_strFrameLine;   // F3
    std::string m_strTimeLine;    // F4
    std::string m_strSpeedLine;   // F5
    std::string m_strEtaLine;

private:
    std::string m_strF1, m_strF2, m_strF3, m_strF4, m_strF5;
    long long m_nStartSeconds = 0;
    bool m_bStarted = false;
};
