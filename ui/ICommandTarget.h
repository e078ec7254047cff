#pragma once
// A pane that handles some of the frame's commands. The frame asks the track window first
// when it has the keyboard focus, then the piano roll, then the note bar, and finally
// handles the command itself.

#include <optional>

class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;
    // nullopt when this target does not handle the command; else whether it is enabled.
    virtual std::optional<bool> CommandEnabled(int id) const = 0;
    // Runs a command for which CommandEnabled gave a value; returns false when the
    // command is not handled here.
    virtual bool RunCommand(int id) = 0;
};
