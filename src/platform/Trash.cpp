#include "platform/Trash.h"

#include <gio/gio.h>

bool CTrash::MoveToTrash(const std::string& strPath, std::string& strError) {
    GFile* file = g_file_new_for_path(strPath.c_str());
    GError* error = nullptr;
    const bool trashed = g_file_trash(file, nullptr, &error) != FALSE;
    if (error != nullptr) {
        strError = error->message;
        g_error_free(error);
    }
    g_object_unref(file);
    return trashed;
}
