// Reading 10 MB of reply lines on loopback through the line reader, against a plain
// recv loop over the same bytes in the same run (and, for scale, one recv per byte, the
// simplest line reader there is); then parsing a 1,000-line match list.
#include "freedb/protocol/CddbReplyParser.h"
#include "freedb/protocol/LineSocket.h"
#include "freedb/service/AlbumInfo.h"

#include <chrono>
#include <cstdio>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
constexpr size_t kTotalBytes = 10u << 20;
using Clock = std::chrono::steady_clock;

std::string ReplyText() {
    const std::string line = "rock 0c025603 Some Artist / Some Album Title Of Average Length\r\n";
    std::string text;
    text.reserve(kTotalBytes + line.size());
    while (text.size() < kTotalBytes)
        text += line;
    return text;
}

// Serves `text` once to the first client on a loopback port, then closes.
class CSender {
public:
    explicit CSender(const std::string& text) {
        m_hListen = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(m_hListen, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(m_hListen, 1);
        getsockname(m_hListen, reinterpret_cast<sockaddr*>(&address), &length);
        m_nPort = ntohs(address.sin_port);
        m_thread = std::thread([this, &text] {
            const int hClient = accept(m_hListen, nullptr, nullptr);
            for (size_t sent = 0; sent < text.size();) {
                const ssize_t count = send(hClient, text.data() + sent, text.size() - sent, 0);
                if (count <= 0)
                    break;
                sent += static_cast<size_t>(count);
            }
            close(hClient);
        });
    }
    ~CSender() {
        m_thread.join();
        close(m_hListen);
    }
    unsigned Port() const { return m_nPort; }

private:
    int m_hListen = -1;
    unsigned m_nPort = 0;
    std::thread m_thread;
};

int ConnectPlain(unsigned nPort) {
    const int hSocket = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(nPort));
    connect(hSocket, reinterpret_cast<sockaddr*>(&address), sizeof address);
    return hSocket;
}

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double LineReaderSeconds(const std::string& text, size_t& nLines) {
    CSender sender(text);
    CLineSocket socket;
    socket.Create();
    socket.SetTimeout(10);
    socket.Connect("127.0.0.1", sender.Port());
    const auto start = Clock::now();
    std::string line;
    nLines = 0;
    while (socket.ReadLine(line))
        ++nLines;
    return Seconds(start);
}

double PlainRecvSeconds(const std::string& text, size_t nChunk, size_t& nBytes) {
    CSender sender(text);
    const int hSocket = ConnectPlain(sender.Port());
    std::vector<char> buffer(nChunk);
    const auto start = Clock::now();
    nBytes = 0;
    for (ssize_t count; (count = recv(hSocket, buffer.data(), buffer.size(), 0)) > 0;)
        nBytes += static_cast<size_t>(count);
    const double seconds = Seconds(start);
    close(hSocket);
    return seconds;
}

double ParseSeconds(int nRounds) {
    std::vector<std::string> lines;
    for (int i = 0; i < 1000; ++i)
        lines.push_back("rock " + std::string(8, static_cast<char>('a' + i % 6)) + " Artist " +
                        std::to_string(i) + " / Album Title " + std::to_string(i));
    const auto start = Clock::now();
    size_t accepted = 0;
    for (int round = 0; round < nRounds; ++round) {
        for (const std::string& line : lines) {
            CAlbumInfo album;
            accepted += CCddbReplyParser::ParseMatch(line, album) ? 1 : 0;
        }
    }
    const double seconds = Seconds(start);
    if (accepted != lines.size() * static_cast<size_t>(nRounds))
        std::printf("unexpected: %zu lines accepted\n", accepted);
    return seconds;
}
} // namespace

int main() {
    const std::string text = ReplyText();
    const double megabytes = static_cast<double>(text.size()) / (1 << 20);
    size_t lines = 0;
    size_t bytes = 0;
    const double lineReader = LineReaderSeconds(text, lines);
    const double plain = PlainRecvSeconds(text, 65536, bytes);
    size_t singleBytes = 0;
    const double single = PlainRecvSeconds(text, 1, singleBytes);
    std::printf("ReadLine:          %8.1f MB/s (%zu lines)\n", megabytes / lineReader, lines);
    std::printf("plain recv loop:   %8.1f MB/s (%zu bytes)\n", megabytes / plain, bytes);
    std::printf("recv per byte:     %8.1f MB/s (%zu bytes)\n", megabytes / single, singleBytes);
    std::printf("ReadLine / plain recv time ratio: %.2f\n", lineReader / plain);
    std::printf("recv per byte / plain recv time ratio: %.2f\n", single / plain);
    const int rounds = 200;
    const double parse = ParseSeconds(rounds);
    std::printf("ParseMatch, 1,000-line match list: %.1f us per list\n", parse / rounds * 1e6);
    return 0;
}
