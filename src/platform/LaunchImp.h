// The launch: copy the tutorial program beside itself under a unique name, write the
// chosen zone's internal name into the copy, start it, and close the main window.
#pragma once

#include "GlobalImp.h"

#include <optional>
#include <string>

namespace tol {

// What the launch needs of the main window, and what it asks of it.
class IZoneRunHost {
public:
    virtual std::string GetTutorialText() const = 0;
    virtual std::string GetOffsetText() const = 0;
    // The selected row's internal name; none when no row is selected.
    virtual std::optional<std::string> GetSelectedInternalName() const = 0;

    virtual void FocusTutorial() = 0;
    virtual void FocusOffset() = 0;
    virtual void FocusZones() = 0;
    virtual void Close() = 0;

protected:
    ~IZoneRunHost() = default;
};

// Ends with a message and the window still open, or with the copy started and the
// window asked to close. Unexpected failures are raised, after every file is closed.
void RunZone(IZoneRunHost& Host);

} // namespace tol
