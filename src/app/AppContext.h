#pragma once

class CAppSettings;
class CFileList;
class CFreeDBSettings;
class CProfile;
class CStringCatalogue;
class IUserPrompt;

// The process-wide objects the windows work on. The program (or a test) makes them once
// and hands them over by reference; all of them live in the window thread.
struct SAppContext {
    CProfile& m_profile;
    CAppSettings& m_settings;
    CFileList& m_fileList;
    CStringCatalogue& m_catalogue;
    CFreeDBSettings& m_freedbSettings;
    IUserPrompt& m_prompt;
};
