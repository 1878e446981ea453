#pragma once

#include <QString>
#include <string>
#include <string_view>

class CStringCatalogue;

// The bridge between the core's UTF-8 texts and catalogue identifiers and Qt's texts.
namespace UiText {
QString FromUtf8(std::string_view text);
std::string ToUtf8(const QString& text);

// LoadUiString as Qt text.
QString Load(const CStringCatalogue& catalogue, unsigned nId);
// LoadStatusPrompt as Qt text.
QString Prompt(const CStringCatalogue& catalogue, unsigned nId);
// A menu text without its mnemonic markers, for places that show no mnemonics.
QString WithoutMnemonics(QString text);
} // namespace UiText
