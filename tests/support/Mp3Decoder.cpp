#include "Mp3Decoder.h"

#include <cmath>
#include <mpg123.h>

SDecodedMp3 DecodeMp3(const std::string& strPath) {
    SDecodedMp3 decoded;
    int error = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (handle == nullptr)
        return decoded;
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    if (mpg123_open(handle, strPath.c_str()) == MPG123_OK) {
        int encoding = 0;
        mpg123_getformat(handle, &decoded.m_nRate, &decoded.m_nChannels, &encoding);
        mpg123_format_none(handle);
        mpg123_format(handle, decoded.m_nRate, decoded.m_nChannels, MPG123_ENC_SIGNED_16);
        unsigned char buffer[16384];
        size_t done = 0;
        int result = MPG123_OK;
        do {
            result = mpg123_read(handle, buffer, sizeof buffer, &done);
            // The last piece of audio may come with the end-of-stream answer.
            const auto* samples = reinterpret_cast<const std::int16_t*>(buffer);
            decoded.m_samples.insert(decoded.m_samples.end(), samples, samples + done / 2);
        } while (result == MPG123_OK || result == MPG123_NEW_FORMAT);
        decoded.m_bOk = result == MPG123_DONE;
        mpg123_close(handle);
    }
    mpg123_delete(handle);
    return decoded;
}

double DominantFrequency(const SDecodedMp3& decoded, int nChannel, double dMinHz, double dMaxHz) {
    const size_t frames = decoded.Frames();
    const size_t length = std::min<size_t>(frames / 2, 8192);
    const size_t start = frames / 4;
    double bestHz = 0;
    double bestPower = -1;
    for (double hz = dMinHz; hz <= dMaxHz; hz += 1.0) {
        double re = 0;
        double im = 0;
        for (size_t i = 0; i < length; ++i) {
            const double sample = decoded.m_samples[(start + i) * decoded.m_nChannels + nChannel];
            const double phase = 2.0 * M_PI * hz * static_cast<double>(i) / decoded.m_nRate;
            re += sample * std::cos(phase);
            im += sample * std::sin(phase);
        }
        const double power = re * re + im * im;
        if (power > bestPower) {
            bestPower = power;
            bestHz = hz;
        }
    }
    return bestHz;
}
