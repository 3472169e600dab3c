#pragma once

#include "platform/controls/IParameterGrid.h"
#include "platform/controls/ITreeControl.h"

#include <string>
#include <string_view>
#include <vector>

namespace zel::wizard {

// The web-service wizard's window as its logic sees it. Controls are named by their control
// names ("txtWsdlUrl", "chkACE", "cmdNext", ...); a name the window does not have is ignored by
// the setters and answers "" or false. The Qt form implements it over its widgets; the in-memory
// one serves tests and the command-line wizard.
class IWizardControls
{
public:
    virtual ~IWizardControls() = default;

    // The text of a text box, label, button, check box or list (a list answers its chosen entry,
    // the time-out box its value as decimal text).
    virtual std::string text(std::string_view control) const = 0;
    // Sets that text; a list chooses the entry equal to text and keeps its choice when none is.
    virtual void setText(std::string_view control, const std::string& text) = 0;
    virtual bool isChecked(std::string_view control) const = 0;
    // Ticks or clears a check box without running its click handler.
    virtual void setChecked(std::string_view control, bool checked) = 0;
    virtual bool isEnabled(std::string_view control) const = 0;
    virtual void setEnabled(std::string_view control, bool enabled) = 0;
    virtual bool isVisible(std::string_view control) const = 0;
    virtual void setVisible(std::string_view control, bool visible) = 0;
    // Replaces the entries of a drop-down list.
    virtual void setListItems(std::string_view control, const std::vector<std::string>& items) = 0;

    // The selected page of the page control, from 1; and selects one.
    virtual int selectedPage() const = 0;
    virtual void selectPage(int page) = 0;

    // The structure tree and the parameter grid.
    virtual controls::ITreeControl& tree() = 0;
    virtual controls::IParameterGrid& grid() = 0;
    // The drop-down list of the grid's attribute column: entries separated by tabs.
    virtual void setGridAttributeList(const std::string& tabSeparated) = 0;
    virtual std::string gridAttributeList() const = 0;
    virtual void setGridHeading(int column, const std::string& text) = 0;

    // The progress bar's value, the load timer and the busy pointer.
    virtual int progress() const = 0;
    virtual void setProgress(int value) = 0;
    virtual void setTimerRunning(bool running) = 0;
    virtual bool isTimerRunning() const = 0;
    virtual void setBusyPointer(bool busy) = 0;
    // Lets pending window events run (a timer tick does).
    virtual void processEvents() = 0;

    // The window's caption; and hides or closes the window (closing ends the wizard).
    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& text) = 0;
    virtual void hideWindow() = 0;
    virtual void closeWindow() = 0;
};

} // namespace zel::wizard
