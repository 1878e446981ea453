#include "platform/OptionalLibrary.h"

#include <dlfcn.h>

COptionalLibrary::COptionalLibrary(const char* strFileName)
    : m_hLibrary(::dlopen(strFileName, RTLD_NOW | RTLD_LOCAL)) {}

void* COptionalLibrary::Symbol(const char* strSymbol) const {
    return m_hLibrary != nullptr ? ::dlsym(m_hLibrary, strSymbol) : nullptr;
}
