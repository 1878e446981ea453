#include "support/CddbTestServer.h"

#include "freedb/protocol/WebSearchPage.h"
#include "freedb/service/FreeDBSettings.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <unistd.h>

int ListenOnLoopback(unsigned& nPort) {
    const int hSocket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int reuse = 1;
    setsockopt(hSocket, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (bind(hSocket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(hSocket, 8) != 0 ||
        getsockname(hSocket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(hSocket);
        return -1;
    }
    nPort = ntohs(address.sin_port);
    return hSocket;
}

namespace {
constexpr int kSliceMs = 20;

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    return parts;
}

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::vector<std::string> QueryValues(const std::string& strQuery, const std::string& strKey) {
    std::vector<std::string> values;
    for (const std::string& pair : Split(strQuery, '&')) {
        if (pair.compare(0, strKey.size() + 1, strKey + "=") == 0)
            values.push_back(pair.substr(strKey.size() + 1));
    }
    return values;
}

// The first value of `key` in a query string, with '+' read as a blank.
std::string QueryValue(const std::string& strQuery, const std::string& strKey) {
    const std::vector<std::string> values = QueryValues(strQuery, strKey);
    std::string value = values.empty() ? std::string() : values.front();
    std::replace(value.begin(), value.end(), '+', ' ');
    return value;
}

const char* const kStatReply[] = {"210 OK, status information follows (until terminating `.')",
                                  "Server status:",
                                  "    current proto: 6",
                                  "    max proto: 6",
                                  "    interface: cddbp",
                                  "    gets: no",
                                  "    puts: no",
                                  "    updates: no",
                                  "    posting: no",
                                  "    validation: accepted",
                                  "    quotes: no",
                                  "    strip ext: no",
                                  "    secure: yes",
                                  "    current users: 3",
                                  "    max users: 100",
                                  "Database entries: 3",
                                  "Database entries by category:",
                                  "    blues: 0",
                                  "    classical: 0",
                                  "    country: 0",
                                  "    data: 0",
                                  "    folk: 0",
                                  "    jazz: 1",
                                  "    misc: 1",
                                  "    newage: 0",
                                  "    reggae: 0",
                                  "    rock: 1",
                                  "    soundtrack: 0",
                                  "."};
} // namespace

const std::vector<CCddbTestServer::SAlbum>& CCddbTestServer::Albums() {
    static const std::vector<SAlbum> albums = {
        {"rock", "0c025603", "Test Artist", "Test Album",
         "# xmcd\n#\n# Track frame offsets:\n#\t150\n#\t15150\n#\t30150\n#\n"
         "# Disc length: 600 seconds\n#\n# Revision: 1\n#\n"
         "DISCID=0c025603\nDTITLE=Test Artist / Test Album\nDYEAR=1999\nDGENRE=Rock\n"
         "TTITLE0=First Song\nTTITLE1=Second Song\n"
         "TTITLE2=Third Song with a title long enough to be sent\nTTITLE2= on two lines\n"
         "EXTD=\nEXTT0=\nEXTT1=live\\tencore\nEXTT2=\nPLAYORDER=\n"},
        {"misc", "0c025603", "Various", "Mixed Tape",
         "# xmcd\n#\n# Track frame offsets:\n#\t150\n#\t15150\n#\t30150\n#\n"
         "# Disc length: 600 seconds\n#\n"
         "DISCID=0c025603\nDTITLE=Various / Mixed Tape\nDYEAR=2001\n"
         "TTITLE0=Singer One / Opening\nTTITLE1=Singer Two / Middle\nTTITLE2=Singer One / Closing\n"
         "EXTD=\nEXTT0=\nEXTT1=\nEXTT2=\nPLAYORDER=\n"},
        {"jazz", "1e0a2b04", "Quartet", "Blue Night",
         "# xmcd\n#\n# Track frame offsets:\n#\t150\n#\t20000\n#\t40000\n#\t60000\n#\n"
         "# Disc length: 1000 seconds\n#\n"
         "DISCID=1e0a2b04\nDTITLE=Quartet / Blue Night\nDYEAR=1962\n"
         "TTITLE0=Dusk\nTTITLE1=Midnight\nTTITLE2=Small Hours\nTTITLE3=Dawn\n"
         "EXTD=\nEXTT0=\nEXTT1=\nEXTT2=\nEXTT3=\nPLAYORDER=\n"},
    };
    return albums;
}

CCddbTestServer::CCddbTestServer() {
    m_hCddbpListen = ListenOnLoopback(m_nCddbpPort);
    m_hHttpListen = ListenOnLoopback(m_nHttpPort);
    m_thread = std::thread([this] { Run(); });
}

CCddbTestServer::~CCddbTestServer() {
    Stop();
}

void CCddbTestServer::Stop() {
    m_bStop = true;
    if (m_thread.joinable())
        m_thread.join();
    for (int* listen : {&m_hCddbpListen, &m_hHttpListen}) {
        if (*listen >= 0)
            close(*listen);
        *listen = -1;
    }
}

void CCddbTestServer::Configure(CFreeDBSettings& settings, bool bHttp, unsigned nTimeout) const {
    settings.m_strRemoteServer = "127.0.0.1";
    settings.m_strRemotePort = std::to_string(bHttp ? m_nHttpPort : m_nCddbpPort);
    settings.m_strHTTPPath = CgiPath();
    settings.m_nTimeout = nTimeout;
    settings.m_bUseHTTP = bHttp;
}

void CCddbTestServer::AddAlbum(const SAlbum& album) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_addedAlbums.push_back(album);
}

void CCddbTestServer::AddAlbumsOfOneDisc(int nCount) {
    for (int i = 0; i < nCount; ++i) {
        const std::string title = "Album " + std::to_string(i);
        AddAlbum({"cat" + std::to_string(100 + i), kManyDiscId, "Many", title,
                  "# xmcd\n#\nDISCID=" + std::string(kManyDiscId) + "\nDTITLE=Many / " + title +
                      "\nDYEAR=2004\nTTITLE0=One\nTTITLE1=Two\nTTITLE2=Three\n"
                      "EXTD=\nEXTT0=\nEXTT1=\nEXTT2=\nPLAYORDER=\n"});
    }
}

CAlbumInfo CCddbTestServer::Disc(const char* pDiscId) {
    CAlbumInfo album = CAlbumInfo::FromPlayTimes({200, 200, 200});
    album.SetDiscId(pDiscId);
    return album;
}

std::vector<CCddbTestServer::SAlbum> CCddbTestServer::AllAlbums() const {
    std::vector<SAlbum> albums = Albums();
    std::lock_guard<std::mutex> lock(m_mutex);
    albums.insert(albums.end(), m_addedAlbums.begin(), m_addedAlbums.end());
    return albums;
}

void CCddbTestServer::Store(std::string& strField, const std::string& strValue) {
    std::lock_guard<std::mutex> lock(m_mutex);
    strField = strValue;
}

std::string CCddbTestServer::Load(const std::string& strField) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return strField;
}

std::vector<std::string> CCddbTestServer::ReceivedLines() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_received;
}

void CCddbTestServer::Record(const std::string& strLine) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_received.push_back(strLine);
}

void CCddbTestServer::Run() {
    while (!m_bStop) {
        pollfd entries[2] = {{m_hCddbpListen, POLLIN, 0}, {m_hHttpListen, POLLIN, 0}};
        if (poll(entries, 2, kSliceMs) <= 0)
            continue;
        for (int i = 0; i < 2; ++i) {
            if ((entries[i].revents & POLLIN) == 0)
                continue;
            const int hClient = accept4(entries[i].fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (hClient < 0)
                continue;
            ++m_nConnections;
            if (m_bConcurrent)
                m_connectionThreads.emplace_back([this, hClient, i] { Serve(hClient, i == 0); });
            else
                Serve(hClient, i == 0);
        }
    }
    for (std::thread& thread : m_connectionThreads)
        thread.join();
    m_connectionThreads.clear();
}

void CCddbTestServer::Serve(int hClient, bool bCddbp) {
    if (bCddbp)
        ServeCddbp(hClient);
    else
        ServeHttp(hClient);
    close(hClient);
}

// Every reply waits here, so the connections in here at once are the connections in use
// at once: a client waits for one reply at a time on each connection.
void CCddbTestServer::Pause() {
    const int waiting = ++m_nWaitingConnections;
    for (int peak = m_nPeakConnections.load();
         waiting > peak && !m_nPeakConnections.compare_exchange_weak(peak, waiting);) {
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_nDelayMs);
    while (!m_bStop && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    --m_nWaitingConnections;
}

bool CCddbTestServer::SendAll(int hClient, const std::string& strData) {
    size_t sent = 0;
    while (sent < strData.size() && !m_bStop) {
        pollfd entry{hClient, POLLOUT, 0};
        if (poll(&entry, 1, kSliceMs) <= 0)
            continue;
        const ssize_t count =
            send(hClient, strData.data() + sent, strData.size() - sent, MSG_NOSIGNAL);
        if (count <= 0)
            return false;
        sent += static_cast<size_t>(count);
    }
    return sent == strData.size();
}

bool CCddbTestServer::Receive(int hClient, std::string& strBuffer) {
    while (!m_bStop) {
        pollfd entry{hClient, POLLIN, 0};
        if (poll(&entry, 1, kSliceMs) <= 0)
            continue;
        char chunk[4096];
        const ssize_t count = recv(hClient, chunk, sizeof chunk, 0);
        if (count <= 0)
            return false;
        strBuffer.append(chunk, static_cast<size_t>(count));
        return true;
    }
    return false;
}

bool CCddbTestServer::ReadLine(int hClient, std::string& strBuffer, std::string& strLine) {
    size_t end = 0;
    while ((end = strBuffer.find('\n')) == std::string::npos) {
        if (!Receive(hClient, strBuffer))
            return false;
    }
    strLine = strBuffer.substr(0, end);
    strBuffer.erase(0, end + 1);
    if (!strLine.empty() && strLine.back() == '\r')
        strLine.pop_back();
    Record(strLine);
    return true;
}

// Holds the connection open, reading and dropping whatever comes, until the client
// closes it or the server stops.
void CCddbTestServer::WaitForClose(int hClient) {
    for (std::string dropped; Receive(hClient, dropped);)
        dropped.clear();
}

void CCddbTestServer::SendEndless(int hClient, const std::string& strStart,
                                  const std::string& strRepeat) {
    if (!SendAll(hClient, strStart))
        return;
    std::string block;
    while (block.size() < 65536)
        block += strRepeat;
    while (!m_bStop && SendAll(hClient, block)) {
    }
}

// Carries out the misbehaviours that concern the first line; true when one did.
bool CCddbTestServer::Misbehave(int hClient, const std::string& strFirstLine) {
    const std::string half = strFirstLine.substr(0, strFirstLine.size() / 2);
    switch (m_eMisbehaviour.load()) {
    case EMisbehaviour::NoWelcome:
        WaitForClose(hClient);
        return true;
    case EMisbehaviour::HalfLineThenSilence:
        SendAll(hClient, half);
        WaitForClose(hClient);
        return true;
    case EMisbehaviour::CloseMidLine:
        SendAll(hClient, half);
        return true;
    case EMisbehaviour::EndlessLine:
        SendEndless(hClient, half, "endless ");
        return true;
    default:
        return false;
    }
}

void CCddbTestServer::ServeCddbp(int hClient) {
    const std::string welcome = Load(m_strWelcome);
    Pause();
    if (Misbehave(hClient, welcome))
        return;
    if (m_eMisbehaviour == EMisbehaviour::Welcome432) {
        SendAll(hClient, "432 No connections allowed: permission denied\r\n");
        return;
    }
    if (!SendAll(hClient, welcome))
        return;
    std::string buffer;
    std::string command;
    bool quit = false;
    while (!quit && ReadLine(hClient, buffer, command)) {
        const std::vector<std::string> reply = Answer(command, hClient, quit);
        Pause();
        std::string text;
        for (const std::string& line : reply)
            text += line + "\r\n";
        if (!SendAll(hClient, text))
            return;
    }
}

std::vector<std::string> CCddbTestServer::Answer(const std::string& strCommand, int hClient,
                                                 bool& bQuit) {
    if (m_eMisbehaviour == EMisbehaviour::Garbage)
        return {"\x01\x7f garbage without a code", "more garbage"};
    const std::vector<std::string> words = Split(strCommand, ' ');
    const std::string verb = words.empty() ? "" : Lower(words[0]);
    const std::string second = words.size() > 1 ? Lower(words[1]) : "";
    const std::string refusal = Load(m_strHelloRefusal);
    if (verb == "cddb" && second == "hello" && !refusal.empty())
        return {refusal};
    if (verb == "cddb" && second == "hello" && words.size() == 6)
        return {"200 Hello and welcome " + words[2] + "@" + words[3] + " running " + words[4] +
                " " + words[5] + "."};
    if (verb == "cddb" && second == "query" && words.size() > 2) {
        if (m_eMisbehaviour == EMisbehaviour::EndlessList) {
            SendEndless(hClient, "211 Found inexact matches, list follows\r\n",
                        "rock 0c025603 Endless / List\r\n");
            return {};
        }
        return AnswerQuery(words[2]);
    }
    if (verb == "cddb" && second == "read" && words.size() == 4)
        return AnswerRead(words[2], words[3]);
    if (verb == "proto")
        return {Load(m_strProtoReply)};
    if (verb == "sites")
        return SitesReply();
    if (verb == "stat")
        return std::vector<std::string>(std::begin(kStatReply), std::end(kStatReply));
    if (verb == "quit") {
        bQuit = true;
        return {Load(m_strQuitReply)};
    }
    return {"500 Unrecognized command."};
}

std::vector<std::string> CCddbTestServer::SitesReply() const {
    std::vector<std::string> reply = {
        "210 OK, site information follows (until terminating `.')",
        "127.0.0.1 cddbp 8880 - N000.00 W000.00 Loopback fixture, CDDBP",
        "127.0.0.1 http 80 /~cddb/cddb.cgi N000.00 W000.00 Loopback fixture, HTTP"};
    const std::string description(300, 'd');
    for (size_t bytes = 0, n = 0; bytes < m_nSitesBytes; ++n) {
        reply.push_back("mirror" + std::to_string(n) + ".test cddbp 8880 - N000.00 W000.00 " +
                        description);
        bytes += reply.back().size() + 2;
    }
    reply.push_back(".");
    return reply;
}

std::vector<std::string> CCddbTestServer::AnswerQuery(const std::string& strDiscId) {
    std::vector<std::string> matches;
    for (const SAlbum& album : AllAlbums()) {
        if (album.m_strDiscId == strDiscId)
            matches.push_back(album.m_strCategory + " " + album.m_strDiscId + " " +
                              album.m_strArtist + " / " + album.m_strTitle);
    }
    if (matches.empty())
        return {"202 No match for disc ID " + strDiscId + "."};
    if (matches.size() == 1)
        return {"200 " + matches.front()};
    std::vector<std::string> reply = {
        "211 Found inexact matches, list follows (until terminating `.')"};
    reply.insert(reply.end(), matches.begin(), matches.end());
    reply.push_back(".");
    return reply;
}

std::vector<std::string> CCddbTestServer::AnswerRead(const std::string& strCategory,
                                                     const std::string& strId) {
    for (const SAlbum& album : AllAlbums()) {
        if (album.m_strCategory != strCategory || album.m_strDiscId != strId)
            continue;
        std::vector<std::string> reply = {"210 " + strCategory + " " + strId +
                                          " CD database entry follows (until terminating `.')"};
        for (const std::string& line : Split(album.m_strRecord, '\n'))
            reply.push_back(line);
        reply.push_back(".");
        return reply;
    }
    return {"401 " + strCategory + " " + strId + " No such CD entry in database."};
}

void CCddbTestServer::ServeHttp(int hClient) {
    std::string buffer;
    std::string requestLine;
    if (!ReadLine(hClient, buffer, requestLine))
        return;
    // A site names itself in its result links by the host it was asked as.
    std::string host = CWebSearchPage::kWebSearchHost;
    for (std::string header; ReadLine(hClient, buffer, header) && !header.empty();) {
        if (Lower(header).rfind("host: ", 0) == 0)
            host = header.substr(6, header.find(':', 6) - 6);
    }
    Pause();
    if (Misbehave(hClient, "HTTP/1.0 200 OK"))
        return;
    if (m_eMisbehaviour == EMisbehaviour::Garbage) {
        SendAll(hClient, "garbage instead of a status line\r\n\r\n210 ok\r\n.\r\n");
        return;
    }
    const std::vector<std::string> parts = Split(requestLine, ' ');
    std::string target = parts.size() == 3 ? parts[1] : "";
    if (target.compare(0, 7, "http://") == 0) {
        const size_t slash = target.find('/', 7);
        target = slash == std::string::npos ? "/" : target.substr(slash);
    }
    const size_t question = target.find('?');
    const std::string path = target.substr(0, question);
    const std::string query = question == std::string::npos ? "" : target.substr(question + 1);
    if (path == CgiPath() && QueryValue(query, "proto") == "6" &&
        !QueryValue(query, "hello").empty()) {
        if (m_eMisbehaviour == EMisbehaviour::EndlessList) {
            SendEndless(hClient, "HTTP/1.0 200 OK\r\n\r\n211 Found inexact matches\r\n",
                        "rock 0c025603 Endless / List\r\n");
            return;
        }
        // The gateway answers the hello with every command.
        bool quit = false;
        const std::string refusal = Load(m_strHelloRefusal);
        const std::vector<std::string> reply = refusal.empty()
                                                   ? Answer(QueryValue(query, "cmd"), hClient, quit)
                                                   : std::vector<std::string>{refusal};
        std::string body;
        for (const std::string& line : reply)
            body += line + "\r\n";
        SendHttpReply(hClient, "200 OK", body);
        return;
    }
    if (path == "/freedb_search.php") {
        SendHttpReply(hClient, "200 OK", SearchPage(query, host));
        return;
    }
    SendHttpReply(
        hClient, "404 Not Found",
        "<html><head><title>404 Not Found</title></head>\r\n<body>Not Found</body></html>\r\n");
}

// The search page: one result link per matching album, and a small-print line for a
// further entry of the first album found, as the web site shows them.
std::string CCddbTestServer::SearchPage(const std::string& strQuery, const std::string& strHost) {
    std::vector<std::string> words = Split(Lower(QueryValue(strQuery, "words")), ' ');
    const std::vector<std::string> fields = QueryValues(strQuery, "fields");
    const bool inArtist = std::find(fields.begin(), fields.end(), "artist") != fields.end();
    const bool inTitle = std::find(fields.begin(), fields.end(), "title") != fields.end();
    std::string page =
        "<html>\r\n<head><title>Search results</title></head>\r\n<body>\r\n<table>\r\n";
    const std::string link = "<a href=\"" + CWebSearchPage::ResultLinkMarker(strHost);
    bool first = true;
    for (const SAlbum& album : Albums()) {
        bool match = false;
        for (const std::string& word : words) {
            if (word.empty())
                continue;
            match = match ||
                    (inArtist && Lower(album.m_strArtist).find(word) != std::string::npos) ||
                    (inTitle && Lower(album.m_strTitle).find(word) != std::string::npos);
        }
        if (!match)
            continue;
        page += "<tr><td>" + link + album.m_strCategory + "&id=" + album.m_strDiscId + "\">" +
                album.m_strArtist + " / " + album.m_strTitle + "</a></td></tr>\r\n";
        if (first)
            page += "<tr><td>" + link + "data&id=ffff0001\"><font size=-1>" + album.m_strTitle +
                    " (data disc)</font></a></td></tr>\r\n";
        first = false;
    }
    return page + "</table>\r\n</body>\r\n</html>\r\n";
}

void CCddbTestServer::SendHttpReply(int hClient, const std::string& strStatus,
                                    const std::string& strBody) {
    const size_t chunkSize = m_nChunkSize;
    if (chunkSize == 0) {
        SendAll(hClient, "HTTP/1.0 " + strStatus +
                             "\r\nContent-Type: text/plain; charset=UTF-8\r\n\r\n" + strBody);
        return;
    }
    std::string reply = "HTTP/1.1 " + strStatus +
                        "\r\nContent-Type: text/plain; charset=UTF-8\r\nConnection: close\r\n"
                        "Transfer-Encoding: chunked\r\n\r\n";
    for (size_t start = 0; start < strBody.size(); start += chunkSize) {
        const std::string chunk = strBody.substr(start, chunkSize);
        char size[32];
        snprintf(size, sizeof size, "%zx\r\n", chunk.size());
        reply += size + chunk + "\r\n";
    }
    SendAll(hClient, reply + "0\r\n\r\n");
}
