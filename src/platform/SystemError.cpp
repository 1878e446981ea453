#include "platform/SystemError.h"

#include <system_error>

std::string CSystemError::Text(int nError) {
    std::string text = std::generic_category().message(nError);
    // The system's phrases start with a capital only because they usually stand alone.
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z' && (text.size() < 2 || text[1] > 'Z'))
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}
