#include "encoding/EncodeRun.h"

#include "encoding/AppSettings.h"
#include "encoding/EncoderLibrary.h"
#include "encoding/Mp3FrameWalk.h"
#include "encoding/TrackItem.h"
#include "filelist/OutputNamer.h"
#include "filelist/TrackList.h"
#include "lang/StringCatalogue.h"
#include "platform/Profile.h"
#include "platform/Text.h"
#include "support/FileSizeLimit.h"
#include "support/Mp3Decoder.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"
#include "support/WaveWriter.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <map>
#include <mutex>
#include <set>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
// Encoder delay and padding of one stream stay below two MP3 frames.
constexpr long kLengthTolerance = 2 * 1152 + 576;

class EncodeRunTest : public ::testing::Test {
protected:
    EncodeRunTest() : m_settings(m_dir.Path()) {
        m_settings.m_strOutputDir = m_dir.Path() + "out/";
        m_settings.m_nPlaylistType = 0;
        // One track at a time, as the run is described; the parallel tests ask for more.
        m_settings.m_nEncodeJobs = 1;
        fs::create_directories(m_settings.m_strOutputDir);
    }

    std::string AddWav(const std::string& name, const std::string& bytes) {
        const std::string path = m_dir.WriteFile(name, bytes);
        EXPECT_TRUE(m_tracks.AddWaveFile(path, m_settings)) << name;
        return path;
    }

    // Applies the settings and names and loads the library: a run ready to start.
    CEncodeRun& Prepare(const std::string& strLibrary = WAVSMITH_LAME_ENC_PATH,
                        IEncodeObserver* pObserver = nullptr) {
        m_tracks.ApplySettingsToTracks(m_settings, COutputNamer(m_settings, m_profile));
        m_run.reset();
        m_library = std::make_unique<CEncoderLibrary>();
        EXPECT_TRUE(m_library->LoadEncoderLibrary(m_prompt, strLibrary));
        m_run = std::make_unique<CEncodeRun>(m_tracks, m_settings, *m_library,
                                             pObserver ? *pObserver : m_observer, m_prompt);
        return *m_run;
    }

    // Runs the workers, worker 0 on this thread.
    void Encode(const std::string& strLibrary = WAVSMITH_LAME_ENC_PATH,
                IEncodeObserver* pObserver = nullptr) {
        CEncodeRun& run = Prepare(strLibrary, pObserver);
        run.RunEncodeWorker();
        EXPECT_TRUE(run.WorkerEnded());
    }

    // Every file of the output folder by name, with its contents.
    std::map<std::string, std::string> OutputFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(m_settings.m_strOutputDir))
            files[entry.path().filename().string()] = ReadWholeFile(entry.path().string());
        return files;
    }

    std::string Mp3Path(size_t nTrack) { return m_tracks.At(nTrack).m_strMp3Path; }

    // The reason of the one error message that ended the run at this track.
    std::string FailureText(size_t nTrack) {
        const std::vector<CRecordingPrompt::SEntry> entries = m_prompt.Entries();
        const std::string prefix =
            CText::Format("Encoding stopped at track %zu, %s:\n\n", nTrack + 1,
                          m_tracks.At(nTrack).m_strWavPath.c_str());
        if (entries.size() != 1 || entries[0].m_icon != EPromptIcon::Error ||
            entries[0].m_strText.rfind(prefix, 0) != 0)
            return "no single failure message for that track";
        return entries[0].m_strText.substr(prefix.size());
    }

    CTempDir m_dir;
    CProfile m_profile;
    CAppSettings m_settings;
    CTrackList m_tracks;
    CRecordingPrompt m_prompt;
    CRecordingObserver m_observer;
    std::unique_ptr<CEncoderLibrary> m_library;
    std::unique_ptr<CEncodeRun> m_run;
};

// The first MP3 frame of a file written by this encoder holds the Xing/LAME header.
bool HasVbrHeader(const std::string& mp3) {
    const std::string head = mp3.substr(0, 1200);
    return head.find("Xing") != std::string::npos || head.find("Info") != std::string::npos;
}
} // namespace

TEST_F(EncodeRunTest, StereoCbrKeepsRateChannelsLengthAndToneAndEndsWithTheTag) {
    m_settings.m_strArtist = "Artist";
    AddWav("Tone.wav", CWaveWriter::PcmTone(2, 44100, 2.0, 440.0));
    Encode();

    const CTrackItem& track = m_tracks.At(0);
    EXPECT_TRUE(track.m_bEncoded);
    EXPECT_FALSE(track.m_bChecked);
    EXPECT_FALSE(track.m_bEncoding);
    const SDecodedMp3 decoded = DecodeMp3(Mp3Path(0));
    ASSERT_TRUE(decoded.m_bOk);
    EXPECT_EQ(decoded.m_nRate, 44100);
    EXPECT_EQ(decoded.m_nChannels, 2);
    // The Info frame tells the decoder the encoder's delay and padding, which it trims.
    EXPECT_EQ(decoded.Frames(), 88200u);
    // The writer puts the second channel a fifth above the first.
    EXPECT_NEAR(DominantFrequency(decoded, 0, 300, 800), 440.0, 3.0);
    EXPECT_NEAR(DominantFrequency(decoded, 1, 300, 800), 660.0, 3.0);

    const std::string mp3 = ReadWholeFile(Mp3Path(0));
    EXPECT_NE(mp3.substr(0, 1200).find("Info"), std::string::npos);
    const std::string tag = mp3.substr(mp3.size() - 128);
    EXPECT_EQ(tag.substr(0, 3), "TAG");
    EXPECT_EQ(tag.substr(3, 4), "Tone");
    EXPECT_EQ(tag.substr(33, 6), "Artist");
    EXPECT_EQ(m_observer.Events(),
              (std::vector<std::string>{"counters", "started", "info", "finished", "ended"}));

    // Mixed down to one channel, the length stays exact.
    m_settings.m_nChannelMode = 0;
    AddWav("Mono.wav", CWaveWriter::PcmTone(2, 44100, 1.0, 300.0));
    Encode();
    const SDecodedMp3 mono = DecodeMp3(Mp3Path(1));
    ASSERT_TRUE(mono.m_bOk);
    EXPECT_EQ(mono.m_nChannels, 1);
    EXPECT_EQ(mono.Frames(), 44100u);
}

TEST_F(EncodeRunTest, ALoopFailureEndsTheRunNamingTheTrackAndTheReasonAndLeavesNoFile) {
    // A track the encoder cannot take (its file changed since it was added): the tracks
    // from it on stay checked for a later run.
    AddWav("a.wav", CWaveWriter::PcmTone(2, 44100, 0.5));
    AddWav("b.wav", CWaveWriter::PcmTone(2, 44100, 0.5));
    AddWav("c.wav", CWaveWriter::PcmTone(2, 44100, 0.5));
    m_tracks.At(1).m_nChannels = 3;
    Encode();
    EXPECT_EQ(FailureText(1), "3 channels cannot be encoded");
    EXPECT_TRUE(m_tracks.At(0).m_bEncoded);
    for (size_t i = 1; i < 3; ++i) {
        EXPECT_FALSE(m_tracks.At(i).m_bEncoded);
        EXPECT_TRUE(m_tracks.At(i).m_bChecked);
        EXPECT_FALSE(m_tracks.At(i).m_bEncoding);
    }
    EXPECT_EQ(OutputFiles().size(), 1u);
    EXPECT_TRUE(OutputFiles().contains("01 - a.mp3"));

    // A full disk, and an encoder asking for buffers no one can give.
    fs::remove_all(m_settings.m_strOutputDir);
    fs::create_directory(m_settings.m_strOutputDir);
    m_tracks.Clear();
    m_prompt.Clear();
    AddWav("long.wav", CWaveWriter::PcmTone(2, 44100, 2.0));
    {
        const CFileSizeLimit fullDisk(16384);
        Encode();
    }
    EXPECT_EQ(FailureText(0), "file too large");
    EXPECT_TRUE(OutputFiles().empty());

    m_prompt.Clear();
    Encode(WAVSMITH_STAND_IN_HUGE_CHUNK);
    EXPECT_EQ(FailureText(0), "the encoder asks for chunks of 4294967295 values and 16 bytes");
    EXPECT_TRUE(OutputFiles().empty());
}

TEST_F(EncodeRunTest, StartIsRefusedWhileTheRunWorks) {
    // Holds the worker in its track until the test lets it go on.
    struct CHoldingObserver : CRecordingObserver {
        void OnTrackStarted(const CTrackItem&, unsigned) override {
            m_started.set_value();
            m_release.wait();
        }
        std::promise<void> m_started;
        std::shared_future<void> m_release;
    } observer;
    std::promise<void> release;
    observer.m_release = release.get_future().share();
    AddWav("a.wav", CWaveWriter::PcmTone(1, 44100, 0.2));
    CEncodeRun& run = Prepare(WAVSMITH_LAME_ENC_PATH, &observer);
    ASSERT_TRUE(run.Start(0));
    observer.m_started.get_future().wait();
    EXPECT_FALSE(run.Start(0));
    release.set_value();
    run.Join();
    EXPECT_TRUE(m_tracks.At(0).m_bEncoded);
    // Once the worker has ended, the run can start again.
    EXPECT_TRUE(run.Start(0));
    run.Join();
}

TEST_F(EncodeRunTest, SkippedTracksShowTheirMessageAndTheRunGoesOn) {
    const std::string piped = AddWav("piped.wav", CWaveWriter::PcmTone(1, 44100, 0.2));
    AddWav("no folder.wav", CWaveWriter::PcmTone(1, 44100, 0.2));
    AddWav("fine.wav", CWaveWriter::PcmTone(1, 44100, 0.2));
    // A WAV that became a named pipe since it was added is refused, not waited on.
    fs::remove(piped);
    ASSERT_EQ(::mkfifo(piped.c_str(), 0644), 0);
    CEncodeRun& run = Prepare();
    m_tracks.At(1).m_strOutputDir = m_dir.Path() + "missing/";
    COutputNamer(m_settings, m_profile).BuildOutputName(m_tracks.At(1));
    run.RunEncodeWorker();

    const auto entries = m_prompt.Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].m_strText, "Unable to open wav file for read.\n\nFile: " + piped +
                                        "\n\nThis audio file will be skipped during encode "
                                        "process.");
    EXPECT_EQ(entries[0].m_icon, EPromptIcon::Exclamation);
    EXPECT_EQ(entries[1].m_strText,
              "Unable to create an output file for encoded audio stream.\n\nFile: " + Mp3Path(1));
    EXPECT_EQ(entries[1].m_icon, EPromptIcon::Error);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_FALSE(m_tracks.At(i).m_bEncoded);
        EXPECT_FALSE(m_tracks.At(i).m_bChecked);
    }
    EXPECT_TRUE(m_tracks.At(2).m_bEncoded);
}

// An encoder that cannot start skips the track with no file; one that cannot write the
// VBR header shows it, and the track still counts as encoded.
TEST_F(EncodeRunTest, EncoderFailuresAtTheStartAndAtTheVbrHeaderAreShown) {
    AddWav("x.wav", CWaveWriter::PcmTone(2, 44100, 0.2));
    Encode(WAVSMITH_STAND_IN_FAIL_INIT);
    ASSERT_EQ(m_prompt.Entries().size(), 1u);
    EXPECT_EQ(m_prompt.Entries()[0].m_strText, "Unable to initialize Lame encoder.");
    EXPECT_EQ(m_prompt.Entries()[0].m_icon, EPromptIcon::Error);
    EXPECT_FALSE(m_tracks.At(0).m_bEncoded);
    EXPECT_FALSE(m_tracks.At(0).m_bChecked);
    EXPECT_FALSE(fs::exists(Mp3Path(0)));

    m_prompt.Clear();
    m_tracks.At(0).m_bChecked = true;
    m_settings.m_bVbr = 1;
    m_settings.m_nPlaylistType = 1;
    m_settings.m_strPlaylistName = "list.m3u";
    Encode(WAVSMITH_STAND_IN_FAIL_VBR_HEADER);
    ASSERT_EQ(m_prompt.Entries().size(), 1u);
    EXPECT_EQ(m_prompt.Entries()[0].m_strText,
              "Error: Unable to write VBR Header into the following file: \n\n" + Mp3Path(0));
    EXPECT_EQ(m_prompt.Entries()[0].m_icon, EPromptIcon::Error);
    EXPECT_TRUE(m_tracks.At(0).m_bEncoded);
    EXPECT_TRUE(fs::exists(Mp3Path(0)));
    EXPECT_EQ(ReadWholeFile(m_settings.m_strOutputDir + "list.m3u"), Mp3Path(0) + "\n");
}

TEST_F(EncodeRunTest, APlaylistThatCannotBeWrittenIsReportedOnceAndTheRunGoesOn) {
    m_settings.m_nPlaylistType = 1;
    m_settings.m_strPlaylistName = "list.m3u";
    fs::create_directory(m_settings.m_strOutputDir + "list.m3u");
    AddWav("one.wav", CWaveWriter::PcmTone(1, 44100, 0.2));
    AddWav("two.wav", CWaveWriter::PcmTone(1, 44100, 0.2));
    CEncodeRun& run = Prepare();
    run.RunEncodeWorker();

    EXPECT_TRUE(m_tracks.At(0).m_bEncoded);
    EXPECT_TRUE(m_tracks.At(1).m_bEncoded);
    EXPECT_EQ(run.PlaylistFailures(), 2u);
    EXPECT_EQ(run.PlaylistPath(), m_settings.m_strOutputDir + "list.m3u");
    ASSERT_EQ(m_prompt.Entries().size(), 1u);
    EXPECT_EQ(m_prompt.Entries()[0].m_strText, "Unable to add the file\n\n" + Mp3Path(0) +
                                                   "\n\nto the playlist\n\n" + run.PlaylistPath());
}

TEST_F(EncodeRunTest, AWavGoesOnlyWhenItsMp3IsProvenWholeOrItsFailureIsShown) {
    m_settings.m_bDelWav = true;
    // The trash is tried on the command line, where the profile and home are a test's own.
    m_settings.m_bDeleteToTrash = false;
    const std::string first = AddWav("first.wav", CWaveWriter::PcmTone(1, 44100, 0.2));
    Encode();
    EXPECT_FALSE(fs::exists(first));
    EXPECT_FALSE(m_tracks.At(0).m_bWavPresent);
    EXPECT_TRUE(m_tracks.At(0).m_bEncoded);
    EXPECT_FALSE(m_tracks.At(0).m_bWavKept);

    // A file whose last frame was cut, and one without its Info frame, keep their WAV; the
    // track's status says why.
    const CStringCatalogue catalogue;
    const std::pair<const char*, const char*> unproven[] = {
        {WAVSMITH_FAULTY_SHORT_FLUSH, "its frames do not run to its end"},
        {WAVSMITH_STAND_IN_FAIL_VBR_HEADER, "its Xing/Info frame could not be written"},
    };
    for (const auto& [library, reason] : unproven) {
        m_tracks.Clear();
        m_prompt.Clear();
        const std::string wav = AddWav("cut.wav", CWaveWriter::PcmTone(1, 44100, 0.2));
        Encode(library);
        EXPECT_TRUE(m_tracks.At(0).m_bEncoded);
        EXPECT_TRUE(m_tracks.At(0).m_bWavKept);
        EXPECT_EQ(m_tracks.At(0).m_strWavKeptReason, reason);
        EXPECT_TRUE(fs::exists(wav));
        EXPECT_TRUE(m_tracks.At(0).m_bWavPresent);
        EXPECT_EQ(m_tracks.At(0).TrackStatusText(catalogue),
                  "Encoded, WAV kept: MP3 not proven whole");
    }

    m_tracks.Clear();
    m_prompt.Clear();
    const std::string kept = AddWav("kept.wav", CWaveWriter::PcmTone(1, 44100, 0.2));
    ::setenv("WAVSMITH_PIN_PATH", kept.c_str(), 1);
    Encode(WAVSMITH_FAULTY_PIN_WAV);
    ::unsetenv("WAVSMITH_PIN_PATH");
    EXPECT_TRUE(m_tracks.At(0).m_bEncoded);
    EXPECT_FALSE(m_tracks.At(0).m_bWavKept);
    EXPECT_TRUE(m_tracks.At(0).m_bWavPresent);
    ASSERT_EQ(m_prompt.Entries().size(), 1u);
    EXPECT_EQ(m_prompt.Entries()[0].m_icon, EPromptIcon::Exclamation);
    EXPECT_EQ(m_prompt.Entries()[0].m_strText, "Unable to delete file: " + kept);
}

// The channel layout follows the output mode: a mono WAV is encoded as joint stereo, a
// stereo one as mono.
TEST_F(EncodeRunTest, VbrCrcAndMpeg2FilesCarryTheirFormatAndChannelsAndTheFrameWalkMissesNoFrame) {
    m_settings.m_bVbr = 1;
    m_settings.m_nVbrMinBitrate = 32;
    m_settings.m_nVbrMaxBitrate = 320;
    m_settings.m_bCrc = 1;
    m_settings.m_nChannelMode = 1;
    AddWav("vbr crc joint.wav", CWaveWriter::PcmTone(1, 44100, 1.0, 500.0));
    Encode();
    m_settings.m_bVbr = 0;
    m_settings.m_bCrc = 0;
    m_settings.m_nMpegVersion = 1;
    m_settings.m_nSampleRate = 22050;
    m_settings.m_nBitrate = 64;
    m_settings.m_nChannelMode = 0;
    m_settings.m_bUseId3Tag = false;
    m_tracks.At(0).m_bChecked = false;
    AddWav("mpeg2 mono.wav", CWaveWriter::PcmTone(2, 44100, 0.6));
    Encode();
    EXPECT_TRUE(m_prompt.Entries().empty());
    EXPECT_TRUE(HasVbrHeader(ReadWholeFile(Mp3Path(0))));
    const SDecodedMp3 joint = DecodeMp3(Mp3Path(0));
    ASSERT_TRUE(joint.m_bOk);
    EXPECT_EQ(joint.m_nChannels, 2);
    EXPECT_NEAR(DominantFrequency(joint, 1, 300, 800), 500.0, 3.0);
    const SDecodedMp3 mpeg2 = DecodeMp3(Mp3Path(1));
    EXPECT_EQ(mpeg2.m_nRate, 22050);
    EXPECT_EQ(mpeg2.m_nChannels, 1);
    EXPECT_NEAR(static_cast<long>(mpeg2.Frames()), 13230, kLengthTolerance);
    for (size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(Mp3Path(i));
        const SMp3Frames frames = CMp3FrameWalk::WalkFile(Mp3Path(i));
        EXPECT_TRUE(frames.m_bWhole);
        EXPECT_TRUE(frames.m_bHasCount);
        EXPECT_GT(frames.m_nCountedFrames, 10u);
        EXPECT_EQ(frames.m_nFrames, frames.m_nCountedFrames + 1);

        // A count the frames do not match (as when one went missing), or bytes after the
        // last frame, show.
        std::string mp3 = ReadWholeFile(Mp3Path(i));
        m_dir.WriteFile("long.mp3", mp3 + "junk");
        const size_t count = std::min(mp3.find("Info"), mp3.find("Xing")) + 11;
        ++mp3[count];
        m_dir.WriteFile("miscounted.mp3", mp3);
        const SMp3Frames miscounted = CMp3FrameWalk::WalkFile(m_dir.File("miscounted.mp3"));
        EXPECT_TRUE(miscounted.m_bWhole);
        EXPECT_EQ(miscounted.m_nCountedFrames, frames.m_nCountedFrames + 1);
        EXPECT_FALSE(CMp3FrameWalk::WalkFile(m_dir.File("long.mp3")).m_bWhole);
    }
}

namespace {
// Runs tracks through the recording stand-in and answers the sample values it was given.
class RecordedEncodeTest : public EncodeRunTest {
protected:
    RecordedEncodeTest() : m_strRecordPath(m_dir.File("recorded.raw")) {
        ::setenv("WAVSMITH_RECORD_PATH", m_strRecordPath.c_str(), 1);
    }
    ~RecordedEncodeTest() override { ::unsetenv("WAVSMITH_RECORD_PATH"); }

    std::vector<std::int16_t> Recorded() {
        const std::string bytes = ReadWholeFile(m_strRecordPath);
        std::vector<std::int16_t> values(bytes.size() / 2);
        if (!values.empty())
            std::memcpy(values.data(), bytes.data(), values.size() * 2);
        return values;
    }

    static std::string Samples(std::initializer_list<std::int16_t> values) {
        std::string bytes;
        for (std::int16_t value : values)
            bytes += CWaveWriter::Le16(static_cast<std::uint16_t>(value));
        return bytes;
    }

    std::string m_strRecordPath;
};
} // namespace

TEST_F(RecordedEncodeTest, ChannelsAreMixedOrRepeatedAndOtherWidthsBecome16BitDithered) {
    const auto encode = [this](const CWaveWriter& format, const std::string& data) {
        std::filesystem::remove(m_strRecordPath);
        m_tracks.Clear();
        AddWav("in.wav", CWaveWriter(format).AddData(data).Bytes());
        Encode(WAVSMITH_STAND_IN_RECORDING);
        return Recorded();
    };
    const auto near = [](const std::vector<std::int16_t>& got, std::vector<int> wanted) {
        if (got.size() != wanted.size())
            return false;
        for (size_t i = 0; i < got.size(); ++i) {
            if (std::abs(got[i] - wanted[i]) > 1)
                return false;
        }
        return true;
    };
    // A downmix averages toward zero; mono to stereo repeats each value.
    m_settings.m_nChannelMode = 2;
    EXPECT_EQ(encode(CWaveWriter().AddFmtChunk(1, 1, 44100, 16), Samples({5, -7})),
              (std::vector<std::int16_t>{5, 5, -7, -7}));
    m_settings.m_nChannelMode = 0;
    EXPECT_EQ(encode(CWaveWriter().AddFmtChunk(1, 2, 44100, 16), Samples({1000, -3, -3, 0, 7, 8})),
              (std::vector<std::int16_t>{498, -1, 7}));

    EXPECT_EQ(encode(CWaveWriter().AddFmtChunk(1, 1, 44100, 8), std::string("\x80\xFF\x00\x81", 4)),
              (std::vector<std::int16_t>{0, 32512, -32768, 256}));
    const std::string int24("\x00\xE8\x03\x00\x18\xFC", 6);
    EXPECT_TRUE(near(encode(CWaveWriter().AddFmtChunk(1, 1, 44100, 24), int24), {1000, -1000}));
    const std::string int32 = CWaveWriter::Le32(1000u << 16) + CWaveWriter::Le32(0xFFFF0000u);
    EXPECT_TRUE(
        near(encode(CWaveWriter().AddExtensibleFmtChunk(1, 1, 44100, 32), int32), {1000, -1}));
    std::string floats;
    for (float value : {0.5f, 2.0f, -3.0f, std::nanf("")}) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, 4);
        floats += CWaveWriter::Le32(bits);
    }
    EXPECT_TRUE(near(encode(CWaveWriter().AddFmtChunk(3, 1, 44100, 32), floats),
                     {16384, 32767, -32768, 0}));

    // Half a 16-bit step held for a while comes out as a mix of its two neighbours, and the
    // same file always gives the same values.
    std::string half;
    for (int i = 0; i < 4000; ++i)
        half += std::string("\x80\x00\x00", 3);
    const std::vector<std::int16_t> dithered =
        encode(CWaveWriter().AddFmtChunk(1, 1, 44100, 24), half);
    ASSERT_EQ(dithered.size(), 4000u);
    const long ones = std::count(dithered.begin(), dithered.end(), 1);
    EXPECT_EQ(ones + std::count(dithered.begin(), dithered.end(), 0), 4000);
    EXPECT_NEAR(ones, 2000, 200);
    EXPECT_EQ(encode(CWaveWriter().AddFmtChunk(1, 1, 44100, 24), half), dithered);
}

// Chunks around the data are not sound, nor is a value cut short, nor what a file lost
// since it was added; an empty data chunk is an empty track.
TEST_F(RecordedEncodeTest, OnlyTheWholeValuesOfTheDataChunkThatAreThereAreSound) {
    AddWav("chunks.wav", CWaveWriter()
                             .AddFmtChunk(1, 2, 44100, 16)
                             .AddRawChunk("LIST", 4, "abcd")
                             .AddData(Samples({1, 2, 3, 4, 5}))
                             .AddRawChunk("LIST", 6, "trails")
                             .Bytes());
    Encode(WAVSMITH_STAND_IN_RECORDING);
    EXPECT_EQ(Recorded(), (std::vector<std::int16_t>{1, 2, 3, 4}));
    EXPECT_TRUE(m_tracks.At(0).m_bEncoded);

    std::filesystem::remove(m_strRecordPath);
    m_tracks.Clear();
    const std::string path = AddWav("shrinking.wav", CWaveWriter::PcmTone(2, 44100, 0.5));
    AddWav("empty.wav", CWaveWriter().AddFmtChunk(1, 2, 44100, 16).AddSilentData(0).Bytes());
    const std::string bytes = ReadWholeFile(path);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes.substr(0, 44 + 9);
    Encode(WAVSMITH_STAND_IN_RECORDING);
    const std::vector<std::int16_t> recorded = Recorded();
    ASSERT_EQ(recorded.size(), 4u);
    std::int16_t first = 0;
    std::memcpy(&first, bytes.data() + 44, 2);
    EXPECT_EQ(recorded[0], first);
    EXPECT_TRUE(m_tracks.At(0).m_bEncoded);
    EXPECT_TRUE(m_tracks.At(1).m_bEncoded);
}

TEST_F(RecordedEncodeTest, StopEndsTheRunAndRemovesThePartialFile) {
    AddWav("stopped.wav", CWaveWriter::PcmTone(2, 44100, 0.5));
    CEncodeRun& run = Prepare(WAVSMITH_STAND_IN_RECORDING);
    run.RequestStop();
    run.RunEncodeWorker();
    EXPECT_TRUE(run.WorkerEnded());
    EXPECT_FALSE(fs::exists(Mp3Path(0)));
    EXPECT_TRUE(m_tracks.At(0).m_bChecked);
    EXPECT_FALSE(m_tracks.At(0).m_bEncoding);
    EXPECT_EQ(m_tracks.At(0).m_nPercent, 0u);
    EXPECT_TRUE(Recorded().empty());
    EXPECT_EQ(m_observer.Events().back(), "ended");
}

namespace {
// Holds each track's start until `m_nWanted` tracks have started (or ten seconds passed),
// so that the workers of a run demonstrably encode at once; then tells `m_onStarted`.
class COverlapObserver : public CRecordingObserver {
public:
    explicit COverlapObserver(int nWanted) : m_nWanted(nWanted) {}

    void OnTrackStarted(const CTrackItem& track, unsigned nWorker) override {
        CRecordingObserver::OnTrackStarted(track, nWorker);
        std::unique_lock lock(m_mutex);
        ++m_nStarted;
        m_workers.insert(nWorker);
        m_changed.notify_all();
        m_changed.wait_for(lock, std::chrono::seconds(10),
                           [this] { return m_nStarted >= m_nWanted; });
        if (m_onStarted)
            m_onStarted(track);
    }

    std::set<unsigned> Workers() {
        std::lock_guard lock(m_mutex);
        return m_workers;
    }

    std::function<void(const CTrackItem&)> m_onStarted;

private:
    const int m_nWanted;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int m_nStarted = 0;
    std::set<unsigned> m_workers;
};

// 24-bit stereo samples of a tone, as a DAW exports them.
std::string Tone24(double dSeconds) {
    std::string data;
    for (int i = 0; i < static_cast<int>(dSeconds * 44100); ++i) {
        const auto value = static_cast<std::int32_t>(std::sin(i * 0.07) * 4000000.0);
        for (int channel = 0; channel < 2; ++channel)
            data += CWaveWriter::Le32(static_cast<std::uint32_t>(value)).substr(0, 3);
    }
    return CWaveWriter().AddFmtChunk(1, 2, 44100, 24).AddData(data).Bytes();
}
} // namespace

TEST_F(EncodeRunTest, TwoJobsWriteTheSameFilesAndPlaylistAsOne) {
    m_settings.m_nPlaylistType = 2;
    m_settings.m_strPlaylistName = "list.m3u";
    // The longest first, so that later tracks finish before it and their entries wait.
    AddWav("long.wav", CWaveWriter::PcmTone(2, 44100, 3.0));
    AddWav("mono.wav", CWaveWriter::PcmTone(1, 44100, 0.5));
    AddWav("deep.wav", Tone24(0.7));
    AddWav("low.wav", CWaveWriter::PcmTone(2, 22050, 0.3));
    std::map<std::string, std::string> written[2];
    for (unsigned jobs = 1; jobs <= 2; ++jobs) {
        fs::remove_all(m_settings.m_strOutputDir);
        fs::create_directory(m_settings.m_strOutputDir);
        for (size_t i = 0; i < m_tracks.Count(); ++i) {
            m_tracks.At(i).m_bEncoded = false;
            m_tracks.At(i).m_bChecked = true;
        }
        m_settings.m_nEncodeJobs = jobs;
        COverlapObserver observer(static_cast<int>(jobs));
        Encode(WAVSMITH_LAME_ENC_PATH, &observer);
        EXPECT_EQ(observer.Workers().size(), jobs);
        written[jobs - 1] = OutputFiles();
    }
    ASSERT_EQ(written[0].size(), 5u);
    EXPECT_TRUE(written[0] == written[1]);
    EXPECT_EQ(written[1]["list.m3u"].find(Mp3Path(0)), written[1]["list.m3u"].find("\n/") + 1);
    EXPECT_TRUE(m_prompt.Entries().empty());
}

TEST_F(EncodeRunTest, StopWithTwoJobsRemovesBothUnfinishedFilesAndListsOnlyWhatCameBefore) {
    m_settings.m_nEncodeJobs = 2;
    m_settings.m_nPlaylistType = 1;
    m_settings.m_strPlaylistName = "list.m3u";
    AddWav("a short.wav", CWaveWriter::PcmTone(2, 44100, 0.1));
    AddWav("b long.wav", CWaveWriter::PcmTone(2, 44100, 60.0));
    AddWav("c short.wav", CWaveWriter::PcmTone(2, 44100, 0.1));
    AddWav("d long.wav", CWaveWriter::PcmTone(2, 44100, 60.0));
    COverlapObserver observer(2);
    CEncodeRun& run = Prepare(WAVSMITH_LAME_ENC_PATH, &observer);
    // Once the last track has started, "b" is still at work beside it.
    observer.m_onStarted = [&run](const CTrackItem& track) {
        if (track.m_nIndex == 3)
            run.RequestStop();
    };
    ASSERT_TRUE(run.Start(0));
    run.Join();

    EXPECT_TRUE(m_tracks.At(0).m_bEncoded);
    EXPECT_TRUE(m_tracks.At(2).m_bEncoded);
    for (size_t i : {1, 3}) {
        EXPECT_FALSE(m_tracks.At(i).m_bEncoded);
        EXPECT_TRUE(m_tracks.At(i).m_bChecked);
    }
    const std::map<std::string, std::string> files = OutputFiles();
    EXPECT_EQ(files.size(), 3u);
    EXPECT_TRUE(files.contains("01 - a short.mp3") && files.contains("03 - c short.mp3"));
    // "c" finished, but its entry waits behind "b", which never did.
    EXPECT_EQ(ReadWholeFile(m_settings.m_strOutputDir + "list.m3u"), Mp3Path(0) + "\n");
}

TEST_F(EncodeRunTest, AFailingTrackBesideAnotherEndsTheRunAndLeavesTheOtherWhole) {
    m_settings.m_nEncodeJobs = 2;
    m_settings.m_nPlaylistType = 1;
    m_settings.m_strPlaylistName = "list.m3u";
    AddWav("whole.wav", CWaveWriter::PcmTone(2, 44100, 3.0));
    AddWav("failing.wav", CWaveWriter::PcmTone(2, 22050, 1.0));
    AddWav("never.wav", CWaveWriter::PcmTone(2, 44100, 0.2));
    COverlapObserver observer(2);
    Encode(WAVSMITH_FAULTY_FAIL_AT_22050, &observer);

    EXPECT_EQ(FailureText(1), "the encoder reported an error");
    EXPECT_TRUE(m_tracks.At(0).m_bEncoded);
    const SDecodedMp3 decoded = DecodeMp3(Mp3Path(0));
    ASSERT_TRUE(decoded.m_bOk);
    EXPECT_EQ(decoded.Frames(), 3u * 44100);
    for (size_t i : {1, 2}) {
        EXPECT_FALSE(m_tracks.At(i).m_bEncoded);
        EXPECT_TRUE(m_tracks.At(i).m_bChecked);
        EXPECT_FALSE(fs::exists(Mp3Path(i)));
    }
    EXPECT_EQ(ReadWholeFile(m_settings.m_strOutputDir + "list.m3u"), Mp3Path(0) + "\n");
}

TEST(EstimateFramesTest, RateChangesAcross25kHzScaleTheFrameCount) {
    EXPECT_EQ(CEncodeRun::EstimateFrames(44100, 22050, 441000, 576), 384u);
    EXPECT_EQ(CEncodeRun::EstimateFrames(22050, 44100, 1152, 1152), 4u);
    EXPECT_EQ(CEncodeRun::EstimateFrames(25000, 25000, 1152, 576), 4u);
    EXPECT_EQ(CEncodeRun::EstimateFrames(44100, 44100, 0, 1152), 2u);
}
