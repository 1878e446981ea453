#include "encoding/WaveReader.h"

#include "encoding/AppSettings.h"
#include "encoding/TrackItem.h"
#include "lang/StringCatalogue.h"
#include "support/TempDir.h"
#include "support/WaveWriter.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <tuple>

namespace {

// Bytes of one second of 44.1 kHz 16-bit stereo.
constexpr std::uint32_t kCdSecond = 176400;

class WaveReaderTest : public ::testing::Test {
protected:
    // Writes `bytes` to `strName` in the temporary folder and reads it into a fresh track.
    bool Parse(const std::string& bytes, const std::string& strName = "track.wav") {
        m_track = std::make_unique<CTrackItem>(m_settings);
        return CWaveReader::ParseWaveFile(*m_track, m_dir.WriteFile(strName, bytes));
    }

    static CWaveWriter CdFormat() { return std::move(CWaveWriter().AddFmtChunk(1, 2, 44100, 16)); }

    std::string English(const SWaveRefusal& refusal) const {
        return CWaveReader::RefusalText(refusal, m_english);
    }

    CTempDir m_dir;
    CStringCatalogue m_english;
    CAppSettings m_settings;
    std::unique_ptr<CTrackItem> m_track;
};

TEST_F(WaveReaderTest, AcceptsPcmAndFillsTheRecord) {
    ASSERT_TRUE(Parse(CWaveWriter::PcmTone(2, 22050, 0.5), "Side A.wav"));
    const CTrackItem& t = *m_track;
    EXPECT_EQ(std::tie(t.m_wFormatTag, t.m_nChannels, t.m_nSamplesPerSec, t.m_nAvgBytesPerSec,
                       t.m_nBlockAlign, t.m_wBitsPerSample, t.m_nSampleFrames, t.m_nWavSize,
                       t.m_nPlayTime, t.m_strWavDir, t.m_strFileTitle),
              std::make_tuple(1, 2, 22050u, 88200u, 4, 16, 11025u, 44u + 11025u * 4u, 0u,
                              m_dir.Path(), "Side A"));
}

TEST_F(WaveReaderTest, TheSoundIsTheDataChunkCutAtTheFilesEndAndItsPlayTimeWholeSeconds) {
    // 1 411 244 bytes of CD audio: exactly 8 s after the plain header.
    ASSERT_TRUE(Parse(CdFormat().AddSilentData(8 * kCdSecond).Bytes()));
    EXPECT_EQ(m_track->m_nWavSize, 1411244u);
    EXPECT_EQ(m_track->m_nDataOffset, 44u);
    EXPECT_EQ(m_track->m_nDataLength, 8 * kCdSecond);
    EXPECT_EQ(m_track->m_nPlayTime, 8u);

    // Chunks before and after the data are not sound, whatever their size.
    ASSERT_TRUE(Parse(CdFormat()
                          .AddRawChunk("LIST", kCdSecond, std::string(kCdSecond, 'x'))
                          .AddSilentData(kCdSecond)
                          .AddRawChunk("LIST", 3 * kCdSecond, std::string(3 * kCdSecond, 'y'))
                          .Bytes()));
    EXPECT_EQ(m_track->m_nDataOffset, 44 + 8 + kCdSecond);
    EXPECT_EQ(m_track->m_nDataLength, kCdSecond);
    EXPECT_EQ(m_track->m_nSampleFrames, 44100u);
    EXPECT_EQ(m_track->m_nPlayTime, 1u);

    // A length past the end of the file (even past 2 GiB) ends with the file.
    ASSERT_TRUE(Parse(CdFormat().AddRawChunk("data", 0xFFFFFFF0u, std::string(1002, 0)).Bytes()));
    EXPECT_EQ(m_track->m_nDataLength, 1002u);
    EXPECT_EQ(m_track->m_nSampleFrames, 250u);

    // The bare header with an empty data chunk.
    ASSERT_TRUE(Parse(CdFormat().AddSilentData(0).Bytes()));
    EXPECT_EQ(m_track->m_nWavSize, 44u);
    EXPECT_EQ(m_track->m_nPlayTime, 0u);
    EXPECT_EQ(m_track->m_nSampleFrames, 0u);

    // The play time is whole seconds, and zero without a usable rate.
    CTrackItem track(m_settings);
    track.m_nChannels = 2;
    track.m_nSamplesPerSec = 44100;
    track.m_wBitsPerSample = 16;
    track.m_nAvgBytesPerSec = kCdSecond;
    track.m_nDataLength = 3 * kCdSecond - 1;
    EXPECT_EQ(CWaveReader::PlayTime(track), 2u);

    track.m_nAvgBytesPerSec = 0;
    EXPECT_EQ(CWaveReader::PlayTime(track), 0u);

    // Fewer than 8 bits make no whole bytes per sample.
    track.m_nAvgBytesPerSec = kCdSecond;
    track.m_wBitsPerSample = 4;
    EXPECT_EQ(CWaveReader::PlayTime(track), 0u);
}

TEST_F(WaveReaderTest, AnOddChunkIsReadWithOrWithoutItsPadByte) {
    // A fmt chunk with an extension that is skipped, then an odd LIST chunk directly
    // followed by the data chunk, or padded to an even size as RIFF asks.
    const std::string fmt18 = CWaveWriter::Le16(1) + CWaveWriter::Le16(1) +
                              CWaveWriter::Le32(8000) + CWaveWriter::Le32(16000) +
                              CWaveWriter::Le16(2) + CWaveWriter::Le16(16) + CWaveWriter::Le16(0);
    for (const std::string& list : {std::string("abc"), std::string("abc\0", 4)}) {
        ASSERT_TRUE(Parse(CWaveWriter()
                              .AddRawChunk("fmt ", 18, fmt18)
                              .AddRawChunk("LIST", 3, list)
                              .AddSilentData(100)
                              .Bytes()));
        EXPECT_EQ(m_track->m_nSamplesPerSec, 8000u);
        EXPECT_EQ(m_track->m_nSampleFrames, 50u);
    }
}

TEST_F(WaveReaderTest, AcceptsMonoAndStereoIntegerAndFloatSamplesPlainOrExtensible) {
    const struct {
        const char* name;
        CWaveWriter format;
        std::uint16_t wTag;
        std::uint16_t wBits;
    } accepted[] = {
        {"8-bit", CWaveWriter().AddFmtChunk(1, 2, 8000, 8), 1, 8},
        {"24-bit", CWaveWriter().AddFmtChunk(1, 2, 8000, 24), 1, 24},
        {"32-bit", CWaveWriter().AddFmtChunk(1, 2, 8000, 32), 1, 32},
        {"float", CWaveWriter().AddFmtChunk(3, 2, 8000, 32), 3, 32},
        {"extensible 16-bit", CWaveWriter().AddExtensibleFmtChunk(1, 2, 8000, 16), 1, 16},
        {"extensible float", CWaveWriter().AddExtensibleFmtChunk(3, 2, 8000, 32), 3, 32},
        {"extensible mono 24-bit", CWaveWriter().AddExtensibleFmtChunk(1, 1, 8000, 24), 1, 24},
    };
    for (const auto& file : accepted) {
        SCOPED_TRACE(file.name);
        ASSERT_TRUE(Parse(CWaveWriter(file.format).AddSilentData(96).Bytes()));
        EXPECT_EQ(m_track->m_wFormatTag, file.wTag);
        EXPECT_EQ(m_track->m_wBitsPerSample, file.wBits);
        EXPECT_EQ(m_track->m_nSampleFrames, 96u * 8 / file.wBits / m_track->m_nChannels);
    }
}

TEST_F(WaveReaderTest, TheWalkLooksForTheDataChunkAmongTheFirstTwenty) {
    // fmt and 18 other chunks count 19: the data chunk after them is read.
    CWaveWriter nineteenChunks = CdFormat();
    for (int i = 0; i < 18; ++i)
        nineteenChunks.AddRawChunk("junk", 2, "zz");
    ASSERT_TRUE(Parse(CWaveWriter(nineteenChunks).AddSilentData(40).Bytes()));
    EXPECT_EQ(m_track->m_nSampleFrames, 10u);

    // After twenty chunks the walk ends: the data chunk is not read, nor is a cut chunk
    // after it.
    SWaveRefusal refusal;
    EXPECT_FALSE(
        CWaveReader::ParseWaveFile(*m_track,
                                   m_dir.WriteFile("x.wav", CWaveWriter(nineteenChunks)
                                                                .AddRawChunk("junk", 2, "zz")
                                                                .AddSilentData(40)
                                                                .AddRawChunk("LIST", 1000, "")
                                                                .Bytes()),
                                   &refusal));
    EXPECT_EQ(English(refusal), "no data chunk");
}

TEST_F(WaveReaderTest, RefusesFilesThatAreNotPcmWithAReadableStructureSayingWhy) {
    const std::string cd = CdFormat().AddSilentData(16).Bytes();
    const std::string cutShort = "the file ends inside a chunk";
    const struct {
        const char* reason;
        std::string bytes;
    } refused[] = {
        {"not a WAV file", ""},
        {"not a WAV file", "RIFX" + cd.substr(4)},
        {"not a WAV file", cd.substr(0, 8) + "AVI " + cd.substr(12)},
        {"not a WAV file", cd.substr(0, 6)},
        {"3 channels", CWaveWriter().AddFmtChunk(1, 3, 44100, 16).AddSilentData(18).Bytes()},
        {"0 channels", CWaveWriter().AddFmtChunk(1, 0, 44100, 16).AddSilentData(16).Bytes()},
        {"sample rate 0", CWaveWriter().AddFmtChunk(1, 2, 0, 16).AddSilentData(16).Bytes()},
        {"12-bit samples", CWaveWriter().AddFmtChunk(1, 1, 8000, 12).AddSilentData(16).Bytes()},
        {"4-bit samples", CWaveWriter().AddFmtChunk(1, 1, 8000, 4).AddSilentData(16).Bytes()},
        {"64-bit floating-point samples",
         CWaveWriter().AddFmtChunk(3, 1, 8000, 64).AddSilentData(16).Bytes()},
        {"extensible format, not PCM",
         CWaveWriter().AddExtensibleFmtChunk(1, 2, 8000, 16, true).AddSilentData(16).Bytes()},
        {"no data chunk", CdFormat().AddRawChunk("LIST", 4, "info").Bytes()},
        {"audio format 85, not PCM",
         CWaveWriter().AddFmtChunk(85, 2, 44100, 16).AddSilentData(16).Bytes()},
        {"fmt chunk too short",
         CWaveWriter().AddRawChunk("fmt ", 14, cd.substr(20, 14)).AddSilentData(16).Bytes()},
        {"no fmt chunk", CWaveWriter().AddSilentData(16).Bytes()},
        {cutShort.c_str(), cd.substr(0, 30)},
        {cutShort.c_str(), CWaveWriter().AddRawChunk("fmt ", 40, cd.substr(20, 16)).Bytes()},
        {"damaged chunk size",
         CdFormat().AddRawChunk("LIST", 0x80000000u, "").AddSilentData(16).Bytes()},
        // The skip runs in pieces: this one ends in the second piece.
        {cutShort.c_str(), CdFormat().AddRawChunk("LIST", 2000, std::string(1500, 'x')).Bytes()},
        {cutShort.c_str(), CdFormat().Bytes() + "da"},
        {cutShort.c_str(), CdFormat().Bytes() + "data\x10"},
    };
    for (const auto& file : refused) {
        SCOPED_TRACE(file.reason);
        SWaveRefusal refusal;
        m_track = std::make_unique<CTrackItem>(m_settings);
        EXPECT_FALSE(
            CWaveReader::ParseWaveFile(*m_track, m_dir.WriteFile("x.wav", file.bytes), &refusal));
        EXPECT_EQ(English(refusal), file.reason);
        EXPECT_FALSE(refusal.m_bUnreadable);
    }
}

TEST_F(WaveReaderTest, WhatCannotBeOpenedIsUnreadableWithTheSystemsReasonInTheUsersLanguage) {
    CStringCatalogue german;
    ASSERT_TRUE(german.SetInterfaceLanguage("german"));
    CTrackItem track(m_settings);
    SWaveRefusal refusal;
    EXPECT_FALSE(CWaveReader::ParseWaveFile(track, m_dir.File("missing.wav"), &refusal));
    EXPECT_EQ(English(refusal), "no such file or directory");
    EXPECT_TRUE(refusal.m_bUnreadable);
    std::filesystem::create_directory(m_dir.File("folder.wav"));
    EXPECT_FALSE(CWaveReader::ParseWaveFile(track, m_dir.File("folder.wav"), &refusal));
    EXPECT_EQ(English(refusal), "a folder");
    EXPECT_EQ(CWaveReader::RefusalText(refusal, german), "ein Ordner");
    EXPECT_TRUE(refusal.m_bUnreadable);
    // An error without a text of its own keeps the system's words after the lead-in.
    const std::string file = m_dir.WriteFile("plain", "");
    EXPECT_FALSE(CWaveReader::ParseWaveFile(track, file + "/x.wav", &refusal));
    EXPECT_EQ(English(refusal), "not a directory");
    EXPECT_EQ(CWaveReader::RefusalText(refusal, german), "Systemfehler: not a directory");
}

TEST_F(WaveReaderTest, RefusesAFileLargerThanRiffCanDescribe) {
    // A sparse file: a valid header, then a hole up to just past 4 GiB.
    const std::string path = m_dir.WriteFile(
        "huge.wav", CdFormat().AddRawChunk("data", 0xFFFFFFFFu - 44, std::string(16, 0)).Bytes());
    std::filesystem::resize_file(path, 0x100000000ull);
    CTrackItem track(m_settings);
    EXPECT_FALSE(CWaveReader::ParseWaveFile(track, path));
    std::filesystem::resize_file(path, 0xFFFFFFFFull);
    EXPECT_TRUE(CWaveReader::ParseWaveFile(track, path));
    EXPECT_EQ(track.m_nWavSize, 0xFFFFFFFFu);
    EXPECT_EQ(track.m_nPlayTime, (0xFFFFFFFFu - 44u) / kCdSecond);
}

} // namespace
