// Writes the bundled example album: a few short tones, and one three-channel file that
// the program refuses.
#include "support/WaveWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {
bool WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    return static_cast<bool>(out);
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_examples DIR\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    std::filesystem::create_directories(dir);
    struct STone {
        const char* name;
        unsigned short channels;
        double seconds;
        double frequency;
    };
    const STone tones[] = {
        {"Morning Theme.wav", 2, 3.0, 440.0},
        {"Second Light.wav", 2, 4.0, 523.25},
        {"Quiet Interlude.wav", 1, 2.5, 392.0},
    };
    bool saved = true;
    for (const STone& tone : tones) {
        saved = WriteBytes(dir + tone.name, CWaveWriter::PcmTone(tone.channels, 44100, tone.seconds,
                                                                 tone.frequency)) &&
                saved;
    }
    const std::string threeChannels =
        CWaveWriter().AddFmtChunk(1, 3, 44100, 16).AddSilentData(6 * 44100).Bytes();
    saved = WriteBytes(dir + "Surround Sketch.wav", threeChannels) && saved;
    return saved ? 0 : 1;
}
