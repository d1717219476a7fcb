// A Prompter for tests: records every message and answers questions from a queue.
#pragma once

#include "app/prompter.h"

#include <QList>
#include <QString>
#include <QStringList>

class ScriptedPrompter final : public Prompter {
public:
    struct Message {
        QString kind;   // "info", "warn", "confirm", "yesNo", "error"
        QString text;
        QString details;   // behind the box's details button
    };

    ScriptedPrompter() { Prompter::install(this); }
    ~ScriptedPrompter() override { Prompter::install(nullptr); }

    // Answers for the next confirm/yesNo questions, in order; an empty queue answers false.
    void answer(bool a) { answers_.append(a); }

    void info(const QString &t) override { log_.append({"info", t, {}}); }
    void warn(const QString &t) override { log_.append({"warn", t, {}}); }
    void error(const QString &t) override { log_.append({"error", t, {}}); }
    void errorWithDetails(const QString &t, const QString &d) override { log_.append({"error", t, d}); }
    bool confirm(const QString &t) override { log_.append({"confirm", t, {}}); return next(); }
    bool yesNo(const QString &t) override { log_.append({"yesNo", t, {}}); return next(); }

    const QList<Message> &messages() const { return log_; }
    QStringList texts() const
    {
        QStringList out;
        for (const auto &m : log_) out << m.text;
        return out;
    }
    QString last() const { return log_.isEmpty() ? QString() : log_.last().text; }
    QString lastKind() const { return log_.isEmpty() ? QString() : log_.last().kind; }
    void clear() { log_.clear(); }

private:
    bool next() { return answers_.isEmpty() ? false : answers_.takeFirst(); }
    QList<Message> log_;
    QList<bool> answers_;
};
