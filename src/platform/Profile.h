#pragma once

#include "platform/PrivateProfile.h"

#include <string>
#include <string_view>

// The per-user profile: named sections of integers and texts, kept in one INI file
// (in place of a registry key per section). Reads come from memory; every write is
// saved at once, unless a CDeferredSave is alive, which saves once when it ends.
// Lives in the thread that made it.
class CProfile {
public:
    // A profile on `strPath`; the file is read now and need not exist.
    explicit CProfile(std::string strPath);
    // A profile that lives only in memory (tests, or a run that must not persist).
    CProfile();

    const std::string& Path() const { return m_strPath; }

    int GetInt(std::string_view section, std::string_view key, int nDefault) const;
    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view strDefault) const;

    bool WriteInt(std::string_view section, std::string_view key, int value);
    bool WriteString(std::string_view section, std::string_view key, std::string_view value);

    // Saves now; false when the file could not be written.
    bool Flush();

    // Grows with every write, so that a reader can tell whether what it took from the
    // profile is still current.
    unsigned long long Revision() const { return m_nRevision; }

    // Holds back the saves of a batch of writes, so that the batch reaches the file
    // whole or not at all.
    class CDeferredSave {
    public:
        explicit CDeferredSave(CProfile& profile);
        ~CDeferredSave();
        CDeferredSave(const CDeferredSave&) = delete;
        CDeferredSave& operator=(const CDeferredSave&) = delete;

    private:
        CProfile& m_profile;
    };

private:
    bool SaveUnlessDeferred();

    std::string m_strPath;
    CPrivateProfile m_ini;
    int m_nDeferDepth = 0;
    unsigned long long m_nRevision = 0;
    bool m_bDirty = false;
};
