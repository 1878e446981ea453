#include "lang/ui/UiText.h"

#include "lang/StringCatalogue.h"

namespace UiText {
QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) {
    return text.toStdString();
}

QString Load(const CStringCatalogue& catalogue, unsigned nId) {
    return FromUtf8(catalogue.LoadUiString(nId));
}

QString Prompt(const CStringCatalogue& catalogue, unsigned nId) {
    return FromUtf8(catalogue.LoadStatusPrompt(nId));
}

QString WithoutMnemonics(QString text) {
    return text.remove(QLatin1Char('&'));
}
} // namespace UiText
