#include "freedb/service/FreeDBSite.h"

#include <array>
#include <utility>

CFreeDBSite::CFreeDBSite(std::string_view line) {
    Parse(line);
}

CFreeDBSite::CFreeDBSite(std::string strHost, std::string strProtocol, std::string strPort,
                         std::string strPath, std::string strLatitude, std::string strLongitude,
                         std::string strDescription)
    : m_strHost(std::move(strHost)), m_strProtocol(std::move(strProtocol)),
      m_strPort(std::move(strPort)), m_strPath(std::move(strPath)),
      m_strLatitude(std::move(strLatitude)), m_strLongitude(std::move(strLongitude)),
      m_strDescription(std::move(strDescription)) {
    UpdateLine();
}

void CFreeDBSite::Parse(std::string_view line) {
    std::array<std::string*, 7> fields = {&m_strHost,       &m_strProtocol, &m_strPort,
                                          &m_strPath,       &m_strLatitude, &m_strLongitude,
                                          &m_strDescription};
    for (std::string* field : fields)
        field->clear();
    std::size_t start = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t blank = line.find(' ', start);
        // The description, and any field the line ends in, take the rest.
        if (i + 1 == fields.size() || blank == std::string_view::npos) {
            fields[i]->assign(line.substr(start));
            break;
        }
        fields[i]->assign(line.substr(start, blank - start));
        start = blank + 1;
    }
    UpdateLine();
}

std::string CFreeDBSite::BuildLine() const {
    return m_strHost + ' ' + m_strProtocol + ' ' + m_strPort + ' ' + m_strPath + ' ' +
           m_strLatitude + ' ' + m_strLongitude + ' ' + m_strDescription;
}
