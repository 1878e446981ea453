// The world of the FreeDB end-to-end run: a folder of WAV files, the program's settings
// in a home folder of their own, and a loopback CDDB server that knows two albums of
// exactly that disc (each reply delayed when asked, to watch a lookup in progress).
// Prints "READY <disc ID>" once everything is there and serves until its standard input
// closes.
#include "freedb/service/AlbumInfo.h"
#include "support/CddbTestServer.h"
#include "support/WaveWriter.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {
constexpr unsigned kSampleRate = 44100;
const std::vector<unsigned> kSeconds = {3, 4, 5};

bool WriteText(const std::filesystem::path& path, const std::string& strText) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << strText;
    return static_cast<bool>(out);
}

// The record of `disc` as a server keeps it, with the offsets and length in its comments.
std::string Record(const CAlbumInfo& disc, const std::string& strArtist,
                   const std::string& strTitle, const std::vector<std::string>& tracks) {
    std::string record = "# xmcd\n#\n# Track frame offsets:\n";
    for (const CAlbumTrack& track : disc.GetTracks())
        record += "#\t" + std::to_string(track.GetFrameOffset()) + "\n";
    record += "#\n# Disc length: " + std::to_string(disc.GetDiscLength()) +
              " seconds\n#\nDISCID=" + disc.GetDiscId() + "\nDTITLE=" + strArtist + " / " +
              strTitle + "\nDYEAR=2024\n";
    for (std::size_t i = 0; i < tracks.size(); ++i)
        record += "TTITLE" + std::to_string(i) + "=" + tracks[i] + "\n";
    record += "EXTD=\n";
    for (std::size_t i = 0; i < tracks.size(); ++i)
        record += "EXTT" + std::to_string(i) + "=\n";
    return record + "PLAYORDER=\n";
}
} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: freedb_e2e_fixture HOME [REPLY-DELAY-MS]\n";
        return 2;
    }
    const std::filesystem::path home = argv[1];
    std::vector<std::uint64_t> frames;
    for (std::size_t i = 0; i < kSeconds.size(); ++i) {
        const std::string name = "track" + std::to_string(i + 1) + ".wav";
        if (!WriteText(home / "wav" / name, CWaveWriter::PcmTone(2, kSampleRate, kSeconds[i]))) {
            std::cerr << "freedb_e2e_fixture: cannot write into " << home << "\n";
            return 1;
        }
        frames.push_back(CAlbumInfo::CdFramesOf(kSeconds[i] * kSampleRate, kSampleRate));
    }
    const CAlbumInfo disc = CAlbumInfo::FromTrackFrames(frames);
    const std::string discId = disc.ComputeDiscId();

    CCddbTestServer server;
    server.SetConcurrent(true);
    if (argc == 3)
        server.SetReplyDelay(std::chrono::milliseconds(std::stoi(argv[2])));
    server.AddAlbum({"rock", discId, "E2E Artist", "E2E Album",
                     Record(disc, "E2E Artist", "E2E Album",
                            {"Opening Theme", "Second Movement", "Grand Finale"})});
    server.AddAlbum({"misc", discId, "Other Artist", "Other Album",
                     Record(disc, "Other Artist", "Other Album", {"One", "Two", "Three"})});

    const std::filesystem::path config = home / ".config" / "Orvandel";
    const bool written =
        WriteText(config / "CDPLAYER.INI", "[CDDB]\nRemoteServer=127.0.0.1\nRemotePort=" +
                                               std::to_string(server.CddbpPort()) +
                                               "\nRemoteTimeout=10\nOPTIONS_CDDB=0\n") &&
        WriteText(config / "Wavsmith.ini", "[settings_main]\nInputDir=" + (home / "wav").string() +
                                               "/\nOutputDir=" + (home / "mp3").string() +
                                               "/\n[FreeDB]\nWriteToLocalDB=1\n");
    if (!written) {
        std::cerr << "freedb_e2e_fixture: cannot write into " << home << "\n";
        return 1;
    }
    std::cout << "READY " << discId << std::endl;
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return 0;
}
