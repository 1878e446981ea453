#pragma once

#include <string>

// The icon a message is shown with; it also tells a text front end how to label it.
enum class EPromptIcon { None, Information, Exclamation, Question, Error };

// How the core shows a message or asks a yes/no question. The desktop program shows
// message boxes on its window thread; the command line writes to the terminal; tests
// record the calls. May be called from any thread.
class IUserPrompt {
public:
    virtual ~IUserPrompt() = default;
    virtual void ShowMessage(const std::string& strText, EPromptIcon icon) = 0;
    // True for Yes.
    virtual bool AskYesNo(const std::string& strText, EPromptIcon icon) = 0;
    // The same question under a title of its own rather than the program's name; front
    // ends without titles ask it as any other.
    virtual bool AskYesNoTitled(const std::string& strText, EPromptIcon icon,
                                const std::string& /*strTitle*/) {
        return AskYesNo(strText, icon);
    }
};
