#pragma once
// The update question as a message box.

#include "app/update_prompter.h"

namespace luma::app {

class QtUpdatePrompter final : public UpdatePrompter {
public:
    bool AskYesNo(const QString& title, const QString& text) override;
    void Warn(const QString& title, const QString& text) override;
};

}  // namespace luma::app
