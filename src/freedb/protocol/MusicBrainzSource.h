#pragma once

#include "freedb/protocol/AlbumSource.h"

#include <atomic>
#include <chrono>
#include <string>

class CFreeDBSettings;

// The MusicBrainz web service as a source of albums, on the same base and log rules as
// the CDDB clients. A query computes the disc's MusicBrainz ID and table of contents
// (libdiscid) and asks the service with both, so that a folder of WAV files, whose
// lengths are close to the CD's rather than equal, is still found by its track lengths;
// every release found comes with its track list, so a read asks nothing more. Requests
// go over HTTP(S) (libcurl) with the proxy settings, a User-Agent naming this program,
// no more than one a second, and a pause that doubles after each "503 busy" reply.
// Used by one operation thread at a time; only Shutdown may be called from another.
class CMusicBrainzSource : public CAlbumSource {
public:
    // The reply body is cut here: a reply this long is no MusicBrainz reply.
    static constexpr std::size_t kMaxBodyBytes = 4u << 20;
    static constexpr std::chrono::milliseconds kRequestInterval{1000};
    // Tries after a "503" reply before the query fails, and the longest pause asked for.
    static constexpr int kMaxRetries = 3;
    static constexpr std::chrono::seconds kMaxPause{30};

    // Error numbers of the log, in the style of the CDDB client's.
    static constexpr unsigned kErrorConnect = 190;
    static constexpr unsigned kErrorTls = 191;
    static constexpr unsigned kErrorStatus = 192;
    static constexpr unsigned kErrorMalformed = 193;
    static constexpr unsigned kErrorTimeout = 194;
    static constexpr unsigned kErrorNotFound = 195;
    static constexpr unsigned kErrorToc = 196;

    // The settings give the base address, the time-out, the proxy and the contact
    // address of the User-Agent; they and the profile must outlive the source.
    CMusicBrainzSource(CFreeDBSettings& settings, const CProfile* pProfile);

    // Nothing to open: every request is a connection of its own.
    bool Open() override;
    bool Close() override { return true; }
    // Looks the disc of `album` up and appends one album per release found.
    bool Query(CAlbumInfo& album, CAlbumList& results) override;
    // The albums of a query hold their track lists already.
    bool Read(CAlbumInfo& album) override;

    // Ends a running request at once, and every later one, for good.
    void Shutdown() override { m_bShutDown = true; }

    // The MusicBrainz disc ID and the TOC text ("1+3+leadout+offset...") of the album's
    // offsets and lead-out; false when libdiscid refuses them (no tracks, more than 99,
    // offsets out of order).
    static bool DiscIdAndToc(const CAlbumInfo& album, std::string& strDiscId, std::string& strToc);
    // "Wavsmith/1.65 ( contact )".
    static std::string UserAgent(const std::string& strContact);

private:
    struct SReply {
        long m_nStatus = 0;
        std::string m_strBody;
        std::chrono::seconds m_retryAfter{0};
    };

    // One GET, after the pause the service asks for; false (logged) on a transfer error.
    bool Get(const std::string& strUrl, SReply& reply);
    // Waits, in slices that notice a stop; false when stopped.
    bool Pause(std::chrono::steady_clock::duration span);
    bool Fail(unsigned nError, const std::string& strText);
    bool IsStopped() { return m_bShutDown || IsUserBreak(); }

    CFreeDBSettings& m_settings;
    std::atomic<bool> m_bShutDown{false};
    bool m_bPasswordAsked = false;
    std::chrono::steady_clock::time_point m_lastRequest{};
};
