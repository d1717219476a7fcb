// The Prompter the program runs with: modal message boxes with the system's captions.
#pragma once

#include "app/prompter.h"

class MessageBoxPrompter final : public Prompter {
public:
    void info(const QString &text) override;
    void warn(const QString &text) override;
    bool confirm(const QString &text) override;
    bool yesNo(const QString &text) override;
    void error(const QString &text) override;
    void errorWithDetails(const QString &text, const QString &details) override;
};
