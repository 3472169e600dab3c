#pragma once

#include "platform/uddi/UddiClient.h"
#include "platform/ui/Toolkit.h"
#include "uddi/UddiTree.h"

#include <QPointer>
#include <Qt>

#include <functional>
#include <map>
#include <memory>
#include <string>

class QCheckBox;
class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QPoint;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace zel {

namespace ui {
class CaptionBar;
class SkinnedDialog;
} // namespace ui

class frmOptions;

// The registry browser: searches the default UDDI registry of the settings for businesses by name
// and D-U-N-S number, expands services and tModel references on click, and hands the text of a
// selected web-address node back to its caller. Inquiries run on a worker thread while the window
// keeps painting, under the busy pointer. Handlers end their errors with a message box and an
// error-log entry; the registry's own errors are shown in a message box titled "error".
class frmUDDIExplorer final
{
public:
    // Creates the window over owner (none: no owner) with its design texts; not loaded or shown.
    explicit frmUDDIExplorer(QWidget* owner = nullptr);
    ~frmUDDIExplorer();
    frmUDDIExplorer(const frmUDDIExplorer&) = delete;
    frmUDDIExplorer& operator=(const frmUDDIExplorer&) = delete;

    // Loads the window (skin, texts, client) and shows it modally until Select or Cancel hides it.
    void Show();

    // The text of the node selected when Select was pressed; "" until then.
    std::string pubstrUDDIAddressSelected;
    // True unless the user pressed Select.
    bool pubblnCancel = true;

    QDialog* window() const;
    // The tree node's image key, key and tag as the browser keeps them (for tests and tools).
    static std::string imageOf(const QTreeWidgetItem& item);
    static std::string keyOf(const QTreeWidgetItem& item);
    static std::string tagOf(const QTreeWidgetItem& item);

private:
    void buildWindow(QWidget* owner);
    void ChangeLanguage();
    void ChangeSettings();
    void UDDIClientiInit();
    // Sends through the client on a worker thread, the window painting meanwhile.
    UddiTree::Update inquire(const std::function<UddiTree::Update(uddi::UddiClient&)>& inquiry);
    void addNodes(QTreeWidgetItem* top, const std::vector<UddiTree::Node>& nodes);
    void clearTree();
    void setImage(QTreeWidgetItem& item, const std::string& key);

    void Form_Load();
    void cmdSearch_Click();
    void tvUDDIExplorer_NodeClick(QTreeWidgetItem* Node);
    void cmdSelect_Click();
    void cmdCancel_Click();
    void cmdOptions_Click();
    void picCaption_MouseMove(Qt::MouseButtons Button, const QPoint& globalPos);

    QPointer<ui::SkinnedDialog> m_window;
    std::unique_ptr<uddi::UddiClient> m_client;
    std::unique_ptr<frmOptions> m_options;
    std::map<std::string, QTreeWidgetItem*> m_keys;
    // The node that just became the current one: the click that made it so is not a second click.
    QTreeWidgetItem* m_justChanged = nullptr;

    ui::CaptionBar* picCaption = nullptr;
    QFrame* panelTitle = nullptr;
    QFrame* panelSearch = nullptr;
    QFrame* frameSearch = nullptr;
    QLabel* picTitle = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblOperationDescription = nullptr;
    QLabel* lblName = nullptr;
    QLabel* lblDuns = nullptr;
    QLineEdit* txtName = nullptr;
    QLineEdit* txtDuns = nullptr;
    QCheckBox* chkCase = nullptr;
    QCheckBox* chkExact = nullptr;
    QPushButton* cmdSearch = nullptr;
    QPushButton* cmdOptions = nullptr;
    QTreeWidget* tvUDDIExplorer = nullptr;
    QPushButton* cmdSelect = nullptr;
    QPushButton* cmdCancel = nullptr;
};

// Shows a fresh browser modally over owner, releases it and returns what the user chose (the
// toolkit's uddiExplorer opener).
UddiChoice showUddiExplorer(QWidget* owner);

} // namespace zel
