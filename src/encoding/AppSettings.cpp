#include "encoding/AppSettings.h"

#include "platform/PlatformPaths.h"
#include "platform/Profile.h"

namespace {
constexpr const char* kMain = "settings_main";
constexpr const char* kMp3 = "settings_mp3";
constexpr const char* kId3 = "settings_id3";
constexpr const char* kPlayList = "PlayList";
constexpr const char* kSettings = "Settings";

unsigned ReadUnsigned(const CProfile& profile, const char* section, const char* key,
                      unsigned nDefault) {
    return static_cast<unsigned>(profile.GetInt(section, key, static_cast<int>(nDefault)));
}

int AsInt(unsigned value) {
    return static_cast<int>(value);
}
} // namespace

CAppSettings::CAppSettings(const std::string& strHomeDir)
    : m_strOutputDir(strHomeDir), m_strInputDir(strHomeDir) {}

void CAppSettings::LoadSettings(const CProfile& profile) {
    m_nSampleRate = ReadUnsigned(profile, kMp3, "SampleRate", m_nSampleRate);
    m_nChannelMode = ReadUnsigned(profile, kMp3, "ChannelMode", m_nChannelMode);
    m_nBitrate = ReadUnsigned(profile, kMp3, "Bitrate", m_nBitrate);
    m_nMpegVersion = ReadUnsigned(profile, kMp3, "MPEGVersion", m_nMpegVersion);
    m_bVbr = ReadUnsigned(profile, kMp3, "VBR", m_bVbr);
    m_nVbrMinBitrate = ReadUnsigned(profile, kMp3, "VBRMinBitrate", m_nVbrMinBitrate);
    m_nVbrMaxBitrate = ReadUnsigned(profile, kMp3, "VBRMaxBitrate", m_nVbrMaxBitrate);
    m_nVbrQuality = ReadUnsigned(profile, kMp3, "VBRQuality", m_nVbrQuality);
    m_bPrivate = ReadUnsigned(profile, kMp3, "Private", 0);
    m_bCrc = ReadUnsigned(profile, kMp3, "CRC", 0);
    m_bCopyright = ReadUnsigned(profile, kMp3, "Copyright", 0);
    m_bOriginal = ReadUnsigned(profile, kMp3, "Original", 0);
    m_bUseId3Tag = profile.GetInt(kMp3, "UseID3Tag", 1) != 0;

    m_strComment = profile.GetString(kId3, "Comment", m_strComment);

    m_nPlaylistType = ReadUnsigned(profile, kPlayList, "Type", 1);
    m_strPlaylistFormat = profile.GetString(kPlayList, "Format", m_strPlaylistFormat);

    m_strOutputDir = profile.GetString(kMain, "OutputDir", m_strOutputDir);
    m_strInputDir = profile.GetString(kMain, "InputDir", m_strInputDir);
    m_strOutputFileFormat = profile.GetString(kMain, "OutputFileFormat", m_strOutputFileFormat);
    m_bDelWav = profile.GetInt(kMain, "DelWAVAfterEncoding", 0) != 0;
    m_bDeleteToTrash = profile.GetInt(kMain, "DeleteToTrash", 1) != 0;
    m_bSameDir = ReadUnsigned(profile, kMain, "SameDir", 0);
    m_nThreadPriority = profile.GetInt(kMain, "ThreadPriority", m_nThreadPriority);
    m_nEncodeJobs = ReadUnsigned(profile, kMain, "EncodeJobs", m_nEncodeJobs);

    m_nNumberStyle = ReadUnsigned(profile, kSettings, "NumberFormatId", m_nNumberStyle);
    m_strProgramDir = CPlatformPaths::ProgramDir();
}

bool CAppSettings::SaveSettings(CProfile& profile) const {
    {
        CProfile::CDeferredSave batch(profile);
        WriteKeys(profile);
    }
    // The batch saved when it ended; a failed save is still pending and fails again here.
    return profile.Flush();
}

void CAppSettings::WriteKeys(CProfile& profile) const {
    profile.WriteInt(kPlayList, "Type", AsInt(m_nPlaylistType));
    profile.WriteString(kPlayList, "Format", m_strPlaylistFormat);

    profile.WriteString(kMain, "OutputDir", m_strOutputDir);
    profile.WriteString(kMain, "InputDir", m_strInputDir);
    profile.WriteString(kMain, "OutputFileFormat", m_strOutputFileFormat);
    profile.WriteInt(kMain, "DelWAVAfterEncoding", m_bDelWav ? 1 : 0);
    profile.WriteInt(kMain, "DeleteToTrash", m_bDeleteToTrash ? 1 : 0);
    profile.WriteInt(kMain, "SameDir", AsInt(m_bSameDir));
    profile.WriteInt(kMain, "ThreadPriority", m_nThreadPriority);
    profile.WriteInt(kMain, "EncodeJobs", AsInt(m_nEncodeJobs));

    profile.WriteInt(kMp3, "UseID3Tag", m_bUseId3Tag ? 1 : 0);
    profile.WriteInt(kMp3, "SampleRate", AsInt(m_nSampleRate));
    profile.WriteInt(kMp3, "ChannelMode", AsInt(m_nChannelMode));
    profile.WriteInt(kMp3, "Bitrate", AsInt(m_nBitrate));
    profile.WriteInt(kMp3, "MPEGVersion", AsInt(m_nMpegVersion));
    profile.WriteInt(kMp3, "VBR", AsInt(m_bVbr));
    profile.WriteInt(kMp3, "VBRMinBitrate", AsInt(m_nVbrMinBitrate));
    profile.WriteInt(kMp3, "VBRMaxBitrate", AsInt(m_nVbrMaxBitrate));
    profile.WriteInt(kMp3, "VBRQuality", AsInt(m_nVbrQuality));
    profile.WriteInt(kMp3, "Private", AsInt(m_bPrivate));
    profile.WriteInt(kMp3, "CRC", AsInt(m_bCrc));
    profile.WriteInt(kMp3, "Copyright", AsInt(m_bCopyright));
    profile.WriteInt(kMp3, "Original", AsInt(m_bOriginal));

    profile.WriteString(kId3, "Comment", m_strComment);

    profile.WriteInt(kSettings, "NumberFormatId", AsInt(m_nNumberStyle));
}
