#pragma once

#include <string>
#include <string_view>
#include <vector>

// Lists the files of one folder. A folder that stops being readable half-way (a network
// share that drops, a failing disk) ends the listing with a failure, never with an
// exception that would end the program.
class CFolderListing {
public:
    // Appends the names of the entries of `strDir` that are not folders and whose names
    // end in `strExtension` (without regard to case), in the order the file system lists
    // them. False when the folder could not be read to its end; `names` then holds the
    // names read before.
    static bool ListFiles(const std::string& strDir, std::string_view strExtension,
                          std::vector<std::string>& names);
    // Appends the names of the subfolders of `strDir`. Links to folders are left out, so
    // that a walk down the subfolders cannot run in a loop. False as for ListFiles.
    static bool ListSubfolders(const std::string& strDir, std::vector<std::string>& names);
};
