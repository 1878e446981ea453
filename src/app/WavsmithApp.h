#pragma once

#include "app/AppContext.h"
#include "encoding/AppSettings.h"
#include "filelist/FileList.h"
#include "filelist/TrackList.h"
#include "freedb/service/FreeDBSettings.h"
#include "lang/StringCatalogue.h"
#include "platform/Profile.h"
#include "platform/ui/WindowPrompt.h"

#include <QTranslator>
#include <memory>
#include <string>
#include <vector>

class CWavsmithMainFrame;

// The desktop program: the process-wide objects, made once at start-up in the order the
// windows need them, and the main window over them.
class CWavsmithApp {
public:
    CWavsmithApp();
    ~CWavsmithApp();
    CWavsmithApp(const CWavsmithApp&) = delete;
    CWavsmithApp& operator=(const CWavsmithApp&) = delete;

    // Shows the main window and runs the event loop until it closes. Files and folders
    // the program was started with make the list in place of the stored source folder's.
    int Run(const std::vector<std::string>& startPaths);

private:
    // Starts the program again; the running instance then closes.
    static void Restart();

    QTranslator m_qtTranslator;
    CProfile m_profile;
    CAppSettings m_settings;
    CStringCatalogue m_catalogue;
    CTrackList m_tracks;
    CFileList m_fileList;
    CFreeDBSettings m_freedbSettings;
    CWindowPrompt m_prompt;
    SAppContext m_context;
    std::unique_ptr<CWavsmithMainFrame> m_pFrame;
};
