// Every message the operator sees goes through the Prompter, so tests can read and answer them.
#pragma once

#include <QString>

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void info(const QString &text) = 0;       // "提示", information: missing input, success
    virtual void warn(const QString &text) = 0;       // "警告": refusals, duplicates, nothing to act on
    virtual bool confirm(const QString &text) = 0;    // "提示", OK/Cancel: true only for OK
    virtual bool yesNo(const QString &text) = 0;      // "提示", Yes/No: true for Yes
    virtual void error(const QString &text) = 0;      // "错误": fatal conditions
    // "错误" with what a technician needs (the server's own words) behind the box's details.
    virtual void errorWithDetails(const QString &text, const QString &details)
    {
        (void)details;
        error(text);
    }

    // The one in force; the program installs the message-box one, tests a scripted one.
    static Prompter &current();
    static void install(Prompter *p);   // not owned; nullptr restores the silent default
};

// Shorthand used by windows: prompt().warn("没有商品可删除！").
inline Prompter &prompt() { return Prompter::current(); }
