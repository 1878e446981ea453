#include "freedb/protocol/MusicBrainzSource.h"

#include "freedb/protocol/AlbumSourceOwner.h"
#include "freedb/protocol/MusicBrainzReply.h"
#include "freedb/service/AlbumList.h"
#include "freedb/service/FreeDBSettings.h"
#include "platform/OptionalLibrary.h"
#include "platform/Text.h"

#include <algorithm>
#include <curl/curl.h>
#include <discid/discid.h>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace {
// libcurl, opened the first time MusicBrainz is asked: linked, it and its dozens of TLS,
// Kerberos and LDAP libraries cost every start of both programs 16 M instructions.
struct SCurl {
    decltype(&curl_easy_init) m_init = nullptr;
    decltype(&curl_easy_setopt) m_setopt = nullptr;
    decltype(&curl_easy_perform) m_perform = nullptr;
    decltype(&curl_easy_getinfo) m_getinfo = nullptr;
    decltype(&curl_easy_cleanup) m_cleanup = nullptr;
    decltype(&curl_easy_strerror) m_strerror = nullptr;
    decltype(&curl_slist_append) m_slistAppend = nullptr;
    decltype(&curl_slist_free_all) m_slistFreeAll = nullptr;

    bool IsLoaded() const {
        return m_init && m_setopt && m_perform && m_getinfo && m_cleanup && m_strerror &&
               m_slistAppend && m_slistFreeAll;
    }
};

const SCurl& Curl() {
    static const SCurl curl = [] {
        SCurl loaded;
        const COptionalLibrary library("libcurl.so.4");
        library.Resolve("curl_easy_init", loaded.m_init);
        library.Resolve("curl_easy_setopt", loaded.m_setopt);
        library.Resolve("curl_easy_perform", loaded.m_perform);
        library.Resolve("curl_easy_getinfo", loaded.m_getinfo);
        library.Resolve("curl_easy_cleanup", loaded.m_cleanup);
        library.Resolve("curl_easy_strerror", loaded.m_strerror);
        library.Resolve("curl_slist_append", loaded.m_slistAppend);
        library.Resolve("curl_slist_free_all", loaded.m_slistFreeAll);
        return loaded;
    }();
    return curl;
}

struct STransfer {
    std::string* m_pBody = nullptr;
    bool m_bTooLong = false;
    std::chrono::seconds m_retryAfter{0};
    std::function<bool()> m_stopped;
};

size_t WriteBody(char* pData, size_t nSize, size_t nCount, void* pContext) {
    auto& transfer = *static_cast<STransfer*>(pContext);
    const size_t length = nSize * nCount;
    if (transfer.m_pBody->size() + length > CMusicBrainzSource::kMaxBodyBytes) {
        transfer.m_bTooLong = true;
        return 0;
    }
    transfer.m_pBody->append(pData, length);
    return length;
}

// Picks the pause a busy server asks for out of the header lines.
size_t ReadHeader(char* pData, size_t nSize, size_t nCount, void* pContext) {
    auto& transfer = *static_cast<STransfer*>(pContext);
    const std::string line(pData, nSize * nCount);
    static const std::string kRetryAfter = "retry-after:";
    long long seconds = 0;
    if (CText::ToLowerAscii(line).rfind(kRetryAfter, 0) == 0 &&
        CText::ParseInt(CText::Trim(std::string_view(line).substr(kRetryAfter.size())), seconds) &&
        seconds > 0)
        transfer.m_retryAfter = std::chrono::seconds(std::min<long long>(seconds, 3600));
    return nSize * nCount;
}

// Asked several times a second during a transfer, name resolution included: a stop
// ends the transfer at once.
int Progress(void* pContext, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<STransfer*>(pContext)->m_stopped() ? 1 : 0;
}

bool IsTlsError(CURLcode code) {
    switch (code) {
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ENGINE_NOTFOUND:
    case CURLE_SSL_ENGINE_SETFAILED:
    case CURLE_SSL_ENGINE_INITFAILED:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_CRL_BADFILE:
    case CURLE_SSL_SHUTDOWN_FAILED:
    case CURLE_USE_SSL_FAILED:
        return true;
    default:
        return false;
    }
}
} // namespace

CMusicBrainzSource::CMusicBrainzSource(CFreeDBSettings& settings, const CProfile* pProfile)
    : CAlbumSource(pProfile), m_settings(settings) {}

std::string CMusicBrainzSource::UserAgent(const std::string& strContact) {
    return std::string("Wavsmith/") + WAVSMITH_VERSION + " ( " + strContact + " )";
}

bool CMusicBrainzSource::Open() {
    Log("[INF]Connecting to %s, timeout %u\r\n", m_settings.MusicBrainzUrl().c_str(),
        m_settings.m_nTimeout);
    if (m_settings.m_bUseProxy)
        Log("[INF]Connecting thru proxy %s:%s\r\n", m_settings.m_strProxyServer.c_str(),
            m_settings.m_strProxyPort.c_str());
    if (m_settings.m_bUseProxy && m_settings.m_bProxyAuth && m_settings.m_bAskPassword &&
        !m_bPasswordAsked && GetOwner() != nullptr) {
        m_bPasswordAsked = true;
        std::string user = m_settings.m_strProxyUser;
        std::string password = m_settings.m_strProxyPassword;
        if (GetOwner()->AskProxyPassword(user, password)) {
            m_settings.m_strProxyUser = user;
            m_settings.m_strProxyPassword = password;
        }
    }
    return !m_bShutDown;
}

bool CMusicBrainzSource::DiscIdAndToc(const CAlbumInfo& album, std::string& strDiscId,
                                      std::string& strToc) {
    const std::size_t count = album.GetTrackCount();
    if (count == 0 || count > 99)
        return false;
    std::vector<int> offsets = {static_cast<int>(album.GetLeadOut())};
    for (const CAlbumTrack& track : album.GetTracks())
        offsets.push_back(track.GetFrameOffset());
    const std::unique_ptr<DiscId, decltype(&discid_free)> disc(discid_new(), discid_free);
    if (!disc || discid_put(disc.get(), 1, static_cast<int>(count), offsets.data()) == 0)
        return false;
    strDiscId = discid_get_id(disc.get());
    strToc = discid_get_toc_string(disc.get());
    std::replace(strToc.begin(), strToc.end(), ' ', '+');
    return true;
}

bool CMusicBrainzSource::Fail(unsigned nError, const std::string& strText) {
    Log("failed.\r\n");
    Log("[ERR]Error %.03u: %s\r\n", nError, strText.c_str());
    return false;
}

bool CMusicBrainzSource::Query(CAlbumInfo& album, CAlbumList& results) {
    Log("\tRetrieving albums list ... ");
    results.Clear();
    std::string discId;
    std::string toc;
    if (!DiscIdAndToc(album, discId, toc))
        return Fail(kErrorToc, "No table of contents for this disc!");
    const std::string url = m_settings.MusicBrainzUrl() + "discid/" + discId + "?toc=" + toc +
                            "&cdstubs=no&inc=recordings+artist-credits&fmt=json";
    SReply reply;
    for (int attempt = 0;; ++attempt) {
        if (!Get(url, reply))
            return false;
        if (reply.m_nStatus != 503)
            break;
        if (attempt == kMaxRetries)
            return Fail(kErrorStatus, "Server busy (HTTP 503)!");
        // The service asks clients that come too often to slow down.
        const auto pause = std::min<std::chrono::seconds>(
            std::max(reply.m_retryAfter, std::chrono::seconds(1 << attempt)), kMaxPause);
        if (!Pause(pause))
            return Fail(kErrorTimeout, "Receiving timeout.");
    }
    if (reply.m_nStatus == 404) {
        Log("done.\r\n");
        Log("[INF]\tNothing found.\r\n");
        return true;
    }
    if (reply.m_nStatus != 200)
        return Fail(kErrorStatus, CText::Format("Server answered HTTP %ld!", reply.m_nStatus));
    std::vector<CAlbumInfo> albums;
    if (!CMusicBrainzReply::ParseReleases(reply.m_strBody, album, discId, albums))
        return Fail(kErrorMalformed, "Malformed reply!");
    for (const CAlbumInfo& found : albums)
        results.AddCopy(found);
    Log("done.\r\n");
    if (albums.empty())
        Log("[INF]\tNothing found.\r\n");
    else if (albums.size() == 1)
        Log("[INF]\tFound exact match\r\n");
    else
        Log("[INF]\tFound %u matches.\r\n", static_cast<unsigned>(albums.size()));
    return true;
}

bool CMusicBrainzSource::Read(CAlbumInfo& album) {
    Log("\tRetrieving album info for (%s) ... ", album.GetDiscId().c_str());
    if (album.GetTrackCount() == 0 || album.GetCategory() != "musicbrainz")
        return Fail(kErrorNotFound, "Album not found.");
    Log("done.\r\n");
    return true;
}

bool CMusicBrainzSource::Pause(std::chrono::steady_clock::duration span) {
    const auto until = std::chrono::steady_clock::now() + span;
    while (std::chrono::steady_clock::now() < until) {
        if (IsStopped())
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return !IsStopped();
}

bool CMusicBrainzSource::Get(const std::string& strUrl, SReply& reply) {
    if (!Pause(m_lastRequest + kRequestInterval - std::chrono::steady_clock::now()))
        return Fail(kErrorTimeout, "Receiving timeout.");
    const SCurl& lib = Curl();
    if (!lib.IsLoaded())
        return Fail(kErrorConnect, "libcurl (libcurl.so.4) could not be loaded");
    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(lib.m_init(), lib.m_cleanup);
    if (!curl)
        return Fail(kErrorConnect, "Can't create connection!");
    reply = SReply();
    STransfer transfer;
    transfer.m_pBody = &reply.m_strBody;
    transfer.m_stopped = [this] { return IsStopped(); };
    const std::string agent = UserAgent(m_settings.m_strEmailAddress);
    const std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(
        lib.m_slistAppend(nullptr, "Accept: application/json"), lib.m_slistFreeAll);
    CURL* handle = curl.get();
    lib.m_setopt(handle, CURLOPT_URL, strUrl.c_str());
    lib.m_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    lib.m_setopt(handle, CURLOPT_USERAGENT, agent.c_str());
    lib.m_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    lib.m_setopt(handle, CURLOPT_ACCEPT_ENCODING, "");
    lib.m_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    lib.m_setopt(handle, CURLOPT_WRITEFUNCTION, WriteBody);
    lib.m_setopt(handle, CURLOPT_WRITEDATA, &transfer);
    lib.m_setopt(handle, CURLOPT_HEADERFUNCTION, ReadHeader);
    lib.m_setopt(handle, CURLOPT_HEADERDATA, &transfer);
    lib.m_setopt(handle, CURLOPT_NOPROGRESS, 0L);
    lib.m_setopt(handle, CURLOPT_XFERINFOFUNCTION, Progress);
    lib.m_setopt(handle, CURLOPT_XFERINFODATA, &transfer);
    const long timeout = static_cast<long>(m_settings.m_nTimeout);
    lib.m_setopt(handle, CURLOPT_CONNECTTIMEOUT, timeout);
    lib.m_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    lib.m_setopt(handle, CURLOPT_LOW_SPEED_TIME, timeout);
    const std::string proxy = m_settings.m_strProxyServer + ":" + m_settings.m_strProxyPort;
    if (m_settings.m_bUseProxy) {
        lib.m_setopt(handle, CURLOPT_PROXY, proxy.c_str());
        if (m_settings.m_bProxyAuth) {
            lib.m_setopt(handle, CURLOPT_PROXYAUTH, CURLAUTH_BASIC);
            lib.m_setopt(handle, CURLOPT_PROXYUSERNAME, m_settings.m_strProxyUser.c_str());
            lib.m_setopt(handle, CURLOPT_PROXYPASSWORD, m_settings.m_strProxyPassword.c_str());
        }
    }
    Trace(+1, "GET " + strUrl);
    const CURLcode result = lib.m_perform(handle);
    m_lastRequest = std::chrono::steady_clock::now();
    lib.m_getinfo(handle, CURLINFO_RESPONSE_CODE, &reply.m_nStatus);
    reply.m_retryAfter = transfer.m_retryAfter;
    Trace(-1, CText::Format("HTTP %ld, %zu bytes", reply.m_nStatus, reply.m_strBody.size()));
    switch (result) {
    case CURLE_OK:
        return true;
    case CURLE_WRITE_ERROR:
        return Fail(kErrorMalformed, transfer.m_bTooLong ? "Reply too long!" : "Malformed reply!");
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_BAD_CONTENT_ENCODING:
        return Fail(kErrorMalformed, "Reply cut short!");
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_ABORTED_BY_CALLBACK:
        return Fail(kErrorTimeout, "Receiving timeout.");
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_COULDNT_CONNECT:
        return Fail(kErrorConnect, "Can't connect to remote server!");
    default:
        if (IsTlsError(result))
            return Fail(kErrorTls, std::string("TLS failure: ") + lib.m_strerror(result));
        return Fail(kErrorConnect, lib.m_strerror(result));
    }
}
