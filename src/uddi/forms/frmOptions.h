#pragma once

#include <QPointer>
#include <Qt>

#include <string>

class QComboBox;
class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QPoint;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QWidget;

namespace zel {

namespace ui {
class CaptionBar;
class SkinnedDialog;
} // namespace ui

// The registry browser's options: the registry address (a list of the known ones, the default
// shown), the search's row limit, the trace switch and trace file. Confirm saves them all and
// unloads the dialog; Cancel only hides it, so a dialog shown again before it is unloaded shows
// the fields as they were left. Handlers end their errors with a message box and a log entry.
class frmOptions final
{
public:
    explicit frmOptions(QWidget* owner = nullptr);
    ~frmOptions();
    frmOptions(const frmOptions&) = delete;
    frmOptions& operator=(const frmOptions&) = delete;

    // Loads the dialog unless it is loaded, then shows it modally until Confirm or Cancel.
    void Show();
    // True from the load until Confirm unloads the dialog.
    bool isLoaded() const { return m_loaded; }
    QDialog* window() const;

    // Fills the controls from the settings file; raises with " frmOptions.UDDISettingsLoad() ".
    void UDDISettingsLoad();

private:
    void buildWindow(QWidget* owner);
    void ChangeLanguage();
    void ChangeSettings();
    bool checkAddress();

    void Form_Load();
    void cmdConfirm_Click();
    void cmdCancel_Click();
    void picCaption_MouseMove(Qt::MouseButtons Button, const QPoint& globalPos);

    QPointer<ui::SkinnedDialog> m_window;
    bool m_loaded = false;
    std::string m_msgInvalidUDDIAddress = "The UDDI address must not be empty.";

    ui::CaptionBar* picCaption = nullptr;
    QFrame* panelTitle = nullptr;
    QFrame* panelOptions = nullptr;
    QFrame* frameTrace = nullptr;
    QLabel* picTitle = nullptr;
    QLabel* picOptions = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblOperationDescription = nullptr;
    QLabel* lblUDDIEngine = nullptr;
    QLabel* lblMaxRows = nullptr;
    QLabel* lblTrace = nullptr;
    QLabel* lblActivated = nullptr;
    QLabel* lblPath = nullptr;
    QComboBox* pvUDDIAddress = nullptr;
    QSpinBox* pvUDDIMaxRows = nullptr;
    QRadioButton* optTraceOn = nullptr;
    QRadioButton* optTraceOff = nullptr;
    QLineEdit* txtUddiTracePath = nullptr;
    QPushButton* cmdConfirm = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace zel
