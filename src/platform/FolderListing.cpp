#include "platform/FolderListing.h"

#include "platform/Text.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool CFolderListing::ListFiles(const std::string& strDir, std::string_view strExtension,
                               std::vector<std::string>& names) {
    std::error_code error;
    // increment(error) rather than ++, which throws when the next entry cannot be read.
    for (fs::directory_iterator entry(strDir, error); !error && entry != fs::directory_iterator();
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        std::error_code typeError;
        if (CText::EndsWithNoCase(name, strExtension) && !entry->is_directory(typeError))
            names.push_back(name);
    }
    return !error;
}

bool CFolderListing::ListSubfolders(const std::string& strDir, std::vector<std::string>& names) {
    std::error_code error;
    for (fs::directory_iterator entry(strDir, error); !error && entry != fs::directory_iterator();
         entry.increment(error)) {
        std::error_code typeError;
        if (entry->is_directory(typeError) && !entry->is_symlink(typeError))
            names.push_back(entry->path().filename().string());
    }
    return !error;
}
