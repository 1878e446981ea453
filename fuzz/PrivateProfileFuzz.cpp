// Arbitrary bytes as an INI text: parsing never fails, a save reads back the same, and a
// value written from the input never adds a section or key of its own.
#include "platform/PrivateProfile.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CPrivateProfile ini;
    ini.Parse(text);
    const std::string saved = ini.Serialize();
    CPrivateProfile reread;
    reread.Parse(saved);
    if (reread.Serialize() != saved)
        std::abort();

    const size_t sections = reread.SectionNames().size();
    const bool hadSection = reread.HasSection("Fuzz");
    const bool hadKey = reread.Find("Fuzz", "Value").has_value();
    const size_t keys = reread.KeyNames("Fuzz").size();
    reread.WriteString("Fuzz", "Value", text);
    CPrivateProfile written;
    written.Parse(reread.Serialize());
    if (written.SectionNames().size() != sections + (hadSection ? 0 : 1))
        std::abort();
    if (written.KeyNames("Fuzz").size() != keys + (hadKey ? 0 : 1))
        std::abort();
    (void)written.GetInt("Fuzz", "Value", 0);
    return 0;
}
