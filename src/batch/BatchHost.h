#pragma once
// What a running batch needs of the program around it, and no more.

#include <QString>
#include <functional>

class RuntimeError;

class BatchHost
{
public:
    // Runs a timer's tick under the one trap, so an error is reported and the batch goes on.
    virtual void handleEvent(const std::function<void()> &handler) = 0;
    // Runs a command line as if typed.
    virtual void exe(const QString &line) = 0;
    virtual bool askYesNo(const QString &title, const QString &text) = 0;
    virtual void reportError(const RuntimeError &error) = 0;
    // Lines wait while the console shows the pager or asks for a confirmation.
    virtual bool atPrompt() const = 0;

protected:
    ~BatchHost() = default;
};
