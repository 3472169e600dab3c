#pragma once

#include "wizard/IWizardControls.h"
#include "wizard/WizardNuevo.h"

#include <QPointer>

#include <functional>

#include <map>
#include <memory>
#include <string>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTabWidget;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace zel {

struct WizardOutcome;

namespace ui {
class CaptionBar;
class SkinnedDialog;
} // namespace ui

// The web-service wizard's window: five pages on the page control ssTabWizard, the Back, Next
// and Cancel buttons, and the caption bar and border of the system's windows. Every rule lives in
// wizard::WizardNuevo; this form builds the widgets (object names are the control names), shows
// them to the logic through IWizardControls, fetches the WSDL on a worker thread while the window
// keeps running, and applies the skin.
class frmWizardNuevo : public wizard::IWizardControls
{
public:
    // Builds the window over owner (none for a top-level window); not loaded, not shown.
    explicit frmWizardNuevo(QWidget* owner = nullptr);
    ~frmWizardNuevo() override;
    frmWizardNuevo(const frmWizardNuevo&) = delete;
    frmWizardNuevo& operator=(const frmWizardNuevo&) = delete;

    // The form load: skin, language, stored definition (XML text, "" for none), guidance.
    // Raises what the load raises.
    void Form_Load(std::string_view languageId, std::string_view storedDefinition);
    // Applies the skin's colours; a skin that fails leaves the colours it could not give.
    void ChangeSettings();
    // Shows the window modally; returns when Finish hid it or Cancel closed it.
    void ShowModal();

    wizard::WizardNuevo& logic() { return *m_logic; }
    QWidget* window() const;

    // Loads a wizard over owner for the activity's robot script document, shows it and returns
    // what it generated; the wizard is gone when it returns.
    static WizardOutcome run(QWidget* owner);

    // IWizardControls
    std::string text(std::string_view control) const override;
    void setText(std::string_view control, const std::string& text) override;
    bool isChecked(std::string_view control) const override;
    void setChecked(std::string_view control, bool checked) override;
    bool isEnabled(std::string_view control) const override;
    void setEnabled(std::string_view control, bool enabled) override;
    bool isVisible(std::string_view control) const override;
    void setVisible(std::string_view control, bool visible) override;
    void setListItems(std::string_view control, const std::vector<std::string>& items) override;
    int selectedPage() const override;
    void selectPage(int page) override;
    controls::ITreeControl& tree() override;
    controls::IParameterGrid& grid() override;
    void setGridAttributeList(const std::string& tabSeparated) override;
    std::string gridAttributeList() const override { return m_attributeList; }
    void setGridHeading(int column, const std::string& text) override;
    int progress() const override;
    void setProgress(int value) override;
    void setTimerRunning(bool running) override;
    bool isTimerRunning() const override;
    void setBusyPointer(bool busy) override;
    void processEvents() override;
    std::string caption() const override;
    void setCaption(const std::string& text) override;
    void hideWindow() override;
    void closeWindow() override;

protected:
    using LogicMaker = std::function<std::unique_ptr<wizard::WizardNuevo>(wizard::IWizardControls&)>;
    // Builds the same window over owner for the logic that makeLogic gives (the older form's).
    frmWizardNuevo(QWidget* owner, const LogicMaker& makeLogic);

    QWidget* control(std::string_view name) const;
    // Takes a control out of the window (the older form has fewer).
    void removeControl(std::string_view name);
    // Registers a control built by a derived form under its control name.
    void addControl(QWidget* widget, const char* name);
    // Runs a handler from a window signal; what escapes it is shown and logged, never thrown.
    void runHandler(const std::function<void()>& handler) noexcept;
    // The tree item behind a handle of the core's tree.
    controls::TreeItem treeItem(const QTreeWidgetItem* item) const;

    QPointer<ui::SkinnedDialog> m_window;
    QTreeWidget* tvSoapComponent = nullptr;

private:
    class Tree;
    class Grid;

    void buildWindow(QWidget* owner);
    template <class Handler> void fromWindow(Handler&& handler) noexcept;
    http::HttpResponse fetchOnWorker(const http::HttpRequest& request, const http::HttpOptions& options);

    std::map<std::string, QWidget*, std::less<>> m_controls;
    ui::CaptionBar* picCaption = nullptr;
    QTabWidget* ssTabWizard = nullptr;
    QTableWidget* dtMethodsParameters = nullptr;
    QProgressBar* progbarWsdlLoad = nullptr;
    QTimer* timSoapLoadWsdl = nullptr;
    std::unique_ptr<Tree> m_tree;
    std::unique_ptr<Grid> m_grid;
    std::unique_ptr<wizard::WizardNuevo> m_logic;
    std::string m_attributeList;
    bool m_busy = false;
};

} // namespace zel
