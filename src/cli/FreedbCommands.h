#pragma once

#include "platform/Profile.h"

#include <ostream>
#include <string>
#include <vector>

class CAlbumInfo;
class CCddbClient;
class CConnectionOptions;
class CFreeDBSettings;

// `wavsmith-cli query`, `read`, `search`, `sites` and `stat`: one FreeDB operation each,
// results on `out`, the operation log (with --log) and errors on `err`. Each answers the
// exit status: 0 success, 1 the operation failed, 2 bad usage.
class CFreedbCommands {
public:
    CFreedbCommands(const CConnectionOptions& options, std::string strProfilePath,
                    std::ostream& out, std::ostream& err);

    int Query(const std::vector<std::string>& args);
    int Read(const std::vector<std::string>& args);
    int Search(const std::vector<std::string>& args);
    // With `bSave`, the list received is stored in CDPLAYER.INI as well.
    int Sites(const std::vector<std::string>& args, bool bSave);
    int Stat(const std::vector<std::string>& args);

private:
    class CLogOwner;

    int Usage(const std::string& strError) const;
    // The logging level of this run: the profile's, or full with --full-log.
    CProfile LoggingLevel() const;
    // Loads the settings and the logging level, then runs `operation` on an open client;
    // the client is closed afterwards.
    template <typename Operation> int WithOpenClient(Operation operation);
    void PrintAlbum(CAlbumInfo& album) const;
    bool SaveSites(const CFreeDBSettings& received) const;

    const CConnectionOptions& m_options;
    std::string m_strProfilePath;
    std::ostream& m_out;
    std::ostream& m_err;
};
