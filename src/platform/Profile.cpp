#include "platform/Profile.h"

#include <climits>
#include <filesystem>
#include <system_error>
#include <utility>

CProfile::CProfile(std::string strPath) : m_strPath(std::move(strPath)) {
    m_ini.Load(m_strPath);
}

CProfile::CProfile() = default;

int CProfile::GetInt(std::string_view section, std::string_view key, int nDefault) const {
    const long long value = m_ini.GetInt(section, key, nDefault);
    // Registry values are 32 bits wide; anything larger is damage, not a setting.
    if (value < INT_MIN || value > UINT_MAX)
        return nDefault;
    return static_cast<int>(static_cast<unsigned>(value));
}

std::string CProfile::GetString(std::string_view section, std::string_view key,
                                std::string_view strDefault) const {
    return m_ini.GetString(section, key, strDefault);
}

bool CProfile::WriteInt(std::string_view section, std::string_view key, int value) {
    m_ini.WriteInt(section, key, value);
    m_bDirty = true;
    ++m_nRevision;
    return SaveUnlessDeferred();
}

bool CProfile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    m_ini.WriteString(section, key, value);
    m_bDirty = true;
    ++m_nRevision;
    return SaveUnlessDeferred();
}

bool CProfile::Flush() {
    if (m_strPath.empty() || !m_bDirty)
        return true;
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(m_strPath).parent_path(), error);
    if (!m_ini.Save(m_strPath, 0600))
        return false;
    m_bDirty = false;
    return true;
}

bool CProfile::SaveUnlessDeferred() {
    return m_nDeferDepth > 0 || Flush();
}

CProfile::CDeferredSave::CDeferredSave(CProfile& profile) : m_profile(profile) {
    ++m_profile.m_nDeferDepth;
}

CProfile::CDeferredSave::~CDeferredSave() {
    if (--m_profile.m_nDeferDepth == 0)
        m_profile.Flush();
}
