// Arbitrary bytes as a CD Player database: loading never fails or reads out of bounds,
// every line kept is non-empty and within the length limit, a save reads back the same,
// and a value written from the input never adds a line beyond its own key and section.
#include "freedb/service/IniFile.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {
std::string Serialize(const CIniFile& ini) {
    std::string text;
    for (int i = 0; i < ini.GetLineCount(); ++i)
        text += ini.GetLine(i) + "\n";
    return text;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CIniFile ini;
    ini.LoadText(input);
    for (int i = 0; i < ini.GetLineCount(); ++i) {
        const std::string line = ini.GetLine(i);
        if (line.empty() || line.size() > CIniFile::kMaxLineLength ||
            line.find('\n') != std::string::npos)
            std::abort();
    }
    const std::string saved = Serialize(ini);
    CIniFile reread;
    reread.LoadText(saved);
    if (Serialize(reread) != saved)
        std::abort();
    (void)reread.GetLineCount();

    // A disc ID made from the first bytes, in capitals, so that it may meet a section of
    // the input in lower case.
    std::string discId;
    for (size_t i = 0; i < 4; ++i) {
        const unsigned byte = i < size ? data[i] : 0u;
        discId += "0123456789ABCDEF"[byte >> 4];
        discId += "0123456789ABCDEF"[byte & 15];
    }
    for (std::string_view section : {std::string_view("0c025603"), std::string_view(discId)}) {
        const int nBefore = reread.GetLineCount();
        const bool bHadSection = reread.FindSection(section) >= 0;
        std::string old;
        const bool bHadKey = reread.FindKey(reread.FindSection(section), "title", old) >= 0;
        if (!reread.WriteString(section, "title", input))
            continue;
        const int nAdded = (bHadSection ? 0 : 1) + (bHadKey ? 0 : 1);
        CIniFile written;
        written.LoadText(Serialize(reread));
        if (written.GetLineCount() != nBefore + nAdded)
            std::abort();
        (void)written.ReadInt(section, "title", 0);
    }
    return 0;
}
