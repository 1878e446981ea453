#pragma once

#include <string>

// A fresh directory under the system's temporary folder, removed with everything in it
// when the object ends. Path() ends with '/'.
class CTempDir {
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return m_strPath; }
    // Path() + name.
    std::string File(const std::string& strName) const { return m_strPath + strName; }
    // Writes `content` to Path() + name and returns that path.
    std::string WriteFile(const std::string& strName, const std::string& content) const;
    std::string ReadFile(const std::string& strName) const;

private:
    std::string m_strPath;
};
