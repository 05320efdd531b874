#pragma once
// The question the update check asks before installing, and its one warning. The program shows
// them in message boxes; tests script the answers.

#include <QString>

namespace luma::app {

class UpdatePrompter {
public:
    virtual ~UpdatePrompter() = default;

    // A question with a question icon and the buttons Yes (the default) and No, owned by no
    // window. True for Yes.
    virtual bool AskYesNo(const QString& title, const QString& text) = 0;

    // A message with a warning icon and an OK button, owned by no window; returns once read.
    virtual void Warn(const QString& title, const QString& text) = 0;
};

}  // namespace luma::app
