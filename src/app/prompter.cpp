#include "app/prompter.h"

namespace {

// Answers nothing and shows nothing: what runs before the program installs its own.
class SilentPrompter final : public Prompter {
public:
    void info(const QString &) override {}
    void warn(const QString &) override {}
    bool confirm(const QString &) override { return false; }
    bool yesNo(const QString &) override { return false; }
    void error(const QString &) override {}
};

SilentPrompter silent;
Prompter *active = &silent;

} // namespace

Prompter &Prompter::current() { return *active; }
void Prompter::install(Prompter *p) { active = p ? p : &silent; }
