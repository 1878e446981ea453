#pragma once

// A shared library opened when first needed rather than linked: linking a library the
// programs need only now and then would cost every start the loading of it and of all
// the libraries it brings. The library stays loaded until the process ends.
class COptionalLibrary {
public:
    // Opens the library by its file name; see IsOpen.
    explicit COptionalLibrary(const char* strFileName);

    bool IsOpen() const { return m_hLibrary != nullptr; }

    // Points `function` at the library's symbol; false, and null, when it is missing.
    template <class TFunction> bool Resolve(const char* strSymbol, TFunction& function) const {
        function = reinterpret_cast<TFunction>(Symbol(strSymbol));
        return function != nullptr;
    }

private:
    void* Symbol(const char* strSymbol) const;

    void* m_hLibrary;
};
