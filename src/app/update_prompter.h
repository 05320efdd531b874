#pragma once
// The question the update check asks before installing. The program asks it in a message box;
// tests script the answer.

#include <QString>

namespace luma::app {

class UpdatePrompter {
public:
    virtual ~UpdatePrompter() = default;

    // A question with a question icon and the buttons Yes (the default) and No, owned by no
    // window. True for Yes.
    virtual bool AskYesNo(const QString& title, const QString& text) = 0;
};

}  // namespace luma::app
