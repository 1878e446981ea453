#pragma once

#include <ostream>
#include <string>
#include <vector>

class CAlbumInfo;
class CAppSettings;
class CConnectionOptions;
class CEncodeCommand;
class CFileList;
class CLookupOptions;
class CProfile;
class CStringCatalogue;

// `wavsmith-cli lookup`: looks the WAV files up on FreeDB as one disc, fetches the track
// lists of every album found on parallel connections and prints them; with --select it
// applies one to the list. Also the lookup step of `encode --freedb`.
class CLookupCommand {
public:
    CLookupCommand(const CConnectionOptions& connection, const CLookupOptions& options,
                   CProfile& profile, std::ostream& out, std::ostream& err);

    // The exit status: 0 when the lookup worked (and the album chosen could be applied),
    // 1 when a path could not be read, the lookup failed or the album chosen is missing.
    int Run(const std::vector<std::string>& paths, CAppSettings& settings,
            const CStringCatalogue& catalogue);
    // With --freedb, makes `command` look its list up and apply that album before it
    // encodes.
    void AttachTo(CEncodeCommand& command);

    // Looks the list up; false (reported on the error stream) when the lookup failed.
    bool Lookup(const CFileList& fileList, std::vector<CAlbumInfo>& albums);
    // Applies album `nAlbum` (1-based) of `albums`; false, reported, when there is no such
    // album or its track list was not fetched.
    bool Apply(CFileList& fileList, std::vector<CAlbumInfo>& albums, unsigned nAlbum);
    void PrintAlbums(std::vector<CAlbumInfo>& albums) const;

private:
    const CConnectionOptions& m_connection;
    const CLookupOptions& m_options;
    CProfile& m_profile;
    std::ostream& m_out;
    std::ostream& m_err;
};
