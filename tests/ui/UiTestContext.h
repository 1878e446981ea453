#pragma once

#include "app/AppContext.h"
#include "encoding/AppSettings.h"
#include "filelist/FileList.h"
#include "filelist/TrackList.h"
#include "freedb/service/FreeDBSettings.h"
#include "lang/StringCatalogue.h"
#include "platform/Profile.h"
#include "support/RecordingPrompt.h"
#include "support/TempDir.h"
#include "support/WaveWriter.h"

#include <QApplication>
#include <QTimer>
#include <functional>

// The process-wide objects of the desktop program, made afresh for one test: a profile in
// memory, a temporary folder for files, and a prompt that records what it is asked.
struct SUiTestContext {
    CTempDir m_dir;
    CProfile m_profile;
    CAppSettings m_settings{m_dir.Path()};
    CStringCatalogue m_catalogue;
    CTrackList m_tracks;
    CFileList m_fileList{m_tracks, m_settings, m_profile};
    CFreeDBSettings m_freedbSettings{m_dir.File("CDPLAYER.INI")};
    CRecordingPrompt m_prompt;
    SAppContext m_context{m_profile,   m_settings,       m_fileList,
                          m_catalogue, m_freedbSettings, m_prompt};

    // Writes a short WAV file into the temporary folder and returns its path.
    std::string WriteWave(const std::string& strName, double dSeconds = 1.0) const {
        return m_dir.WriteFile(strName, CWaveWriter::PcmTone(2, 44100, dSeconds));
    }
};

// Acts on the next modal window once it shows: for commands that open one with exec().
template <class TWindow> void OnNextModal(std::function<void(TWindow&)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* window = qobject_cast<TWindow*>(QApplication::activeModalWidget());
        if (window == nullptr)
            return;
        poll->deleteLater();
        poll->stop();
        act(*window);
    });
    poll->start(5);
}
