// Where the SNMP log window docks: the main log window's page control.
#pragma once

namespace app {

class TLog_Form;

class ILogDockSite {
public:
    virtual ~ILogDockSite() = default;
    // Takes the window in as a page with a hidden tab. False when it cannot.
    virtual bool DockDrop(TLog_Form& form) = 0;
    // Gives the window back as a floating window of its own.
    virtual void UnDock(TLog_Form& form) = 0;
};

}  // namespace app
