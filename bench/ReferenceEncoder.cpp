// The plainest use of libmp3lame, as the yardstick for the program's encode run: read a
// 16-bit stereo WAV from byte 44 and feed it to the encoder in 1152-frame chunks.
// usage: reference_encoder IN.wav OUT.mp3 BITRATE
#include <cstdio>
#include <cstdlib>
#include <lame/lame.h>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4)
        return 2;
    std::FILE* in = std::fopen(argv[1], "rb");
    std::FILE* out = std::fopen(argv[2], "wb");
    if (in == nullptr || out == nullptr || std::fseek(in, 44, SEEK_SET) != 0)
        return 1;
    lame_global_flags* gfp = lame_init();
    lame_set_in_samplerate(gfp, 44100);
    lame_set_out_samplerate(gfp, 44100);
    lame_set_num_channels(gfp, 2);
    lame_set_mode(gfp, STEREO);
    lame_set_brate(gfp, std::atoi(argv[3]));
    lame_set_bWriteVbrTag(gfp, 0);
    lame_set_write_id3tag_automatic(gfp, 0);
    if (lame_init_params(gfp) < 0)
        return 1;
    constexpr int kFrames = 1152;
    std::vector<short> samples(kFrames * 2);
    std::vector<unsigned char> mp3(kFrames * 5 / 4 + 7200);
    size_t frames = 0;
    while ((frames = std::fread(samples.data(), 4, kFrames, in)) > 0) {
        const int bytes =
            lame_encode_buffer_interleaved(gfp, samples.data(), static_cast<int>(frames),
                                           mp3.data(), static_cast<int>(mp3.size()));
        if (bytes < 0)
            return 1;
        std::fwrite(mp3.data(), 1, static_cast<size_t>(bytes), out);
    }
    const int bytes = lame_encode_flush(gfp, mp3.data(), static_cast<int>(mp3.size()));
    std::fwrite(mp3.data(), 1, static_cast<size_t>(bytes > 0 ? bytes : 0), out);
    lame_close(gfp);
    std::fclose(in);
    return std::fclose(out) == 0 ? 0 : 1;
}
