#pragma once
// Message boxes and choosers for benchmarks that run the editor unattended: every chooser
// is cancelled and every box closed unanswered.

#include "ui/IUserPrompts.h"

class SilentPrompts : public IUserPrompts {
public:
    QString OpenFileName(const FileRequest&) override { return {}; }
    QString SaveFileName(const FileRequest&) override { return {}; }

protected:
    std::optional<Answer> Ask(const QString&, const QString&, Icon, Buttons) override {
        return std::nullopt;
    }
};
