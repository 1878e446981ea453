#include "platform/Trash.h"

#include "platform/OptionalLibrary.h"

#include <gio/gio.h>

namespace {
// GIO, opened the first time a file goes to the trash.
struct SGio {
    decltype(&g_file_new_for_path) m_newForPath = nullptr;
    decltype(&g_file_trash) m_trash = nullptr;
    decltype(&g_object_unref) m_unref = nullptr;
    decltype(&g_error_free) m_errorFree = nullptr;

    bool IsLoaded() const { return m_newForPath && m_trash && m_unref && m_errorFree; }
};

const SGio& Gio() {
    static const SGio gio = [] {
        SGio loaded;
        const COptionalLibrary library("libgio-2.0.so.0");
        library.Resolve("g_file_new_for_path", loaded.m_newForPath);
        library.Resolve("g_file_trash", loaded.m_trash);
        library.Resolve("g_object_unref", loaded.m_unref);
        library.Resolve("g_error_free", loaded.m_errorFree);
        return loaded;
    }();
    return gio;
}
} // namespace

bool CTrash::MoveToTrash(const std::string& strPath, std::string& strError) {
    const SGio& gio = Gio();
    if (!gio.IsLoaded()) {
        strError = "GIO (libgio-2.0.so.0) could not be loaded";
        return false;
    }
    GFile* file = gio.m_newForPath(strPath.c_str());
    GError* error = nullptr;
    const bool trashed = gio.m_trash(file, nullptr, &error) != FALSE;
    if (error != nullptr) {
        strError = error->message;
        gio.m_errorFree(error);
    }
    gio.m_unref(file);
    return trashed;
}
