#include "uddi/forms/frmUDDIExplorer.h"

#include "common/General.h"
#include "common/Globals.h"
#include "common/Localisation.h"
#include "platform/error/ErrorRecord.h"
#include "platform/ui/UiServices.h"
#include "platform/ui/qt/CaptionBar.h"
#include "platform/ui/qt/ModalRunner.h"
#include "platform/ui/qt/SkinPalette.h"
#include "platform/ui/qt/SkinnedDialog.h"
#include "platform/ui/qt/WindowDrawing.h"
#include "uddi/UDDISettings.h"
#include "uddi/forms/UddiIcons.h"
#include "uddi/forms/frmOptions.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <thread>

namespace zel {
namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kTagRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;
constexpr const char* kTitle = " OMBREL Technology";

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

template <class T> T* named(T* widget, const char* name, const char* accessibleName)
{
    widget->setObjectName(QLatin1String(name));
    widget->setAccessibleName(QString::fromUtf8(accessibleName));
    return widget;
}

} // namespace

frmUDDIExplorer::frmUDDIExplorer(QWidget* owner)
{
    buildWindow(owner);
}

frmUDDIExplorer::~frmUDDIExplorer()
{
    m_options.reset();
    delete m_window.data();
}

QDialog* frmUDDIExplorer::window() const
{
    return m_window.data();
}

std::string frmUDDIExplorer::imageOf(const QTreeWidgetItem& item)
{
    return item.data(0, kImageRole).toString().toStdString();
}

std::string frmUDDIExplorer::keyOf(const QTreeWidgetItem& item)
{
    return item.data(0, kKeyRole).toString().toStdString();
}

std::string frmUDDIExplorer::tagOf(const QTreeWidgetItem& item)
{
    return item.data(0, kTagRole).toString().toStdString();
}

void frmUDDIExplorer::buildWindow(QWidget* owner)
{
    m_window = new ui::SkinnedDialog(owner);
    QDialog* form = m_window;
    form->setObjectName(QStringLiteral("frmUDDIExplorer"));
    form->setAccessibleName(QStringLiteral("UDDI registry browser"));
    form->setWindowTitle(qs(kTitle));
    form->setWindowIcon(UddiIcons::browser());
    form->resize(640, 560);
    form->setMinimumSize(480, 420);

    auto* outer = new QVBoxLayout(form);
    outer->setContentsMargins(2, 2, 2, 2);
    outer->setSpacing(0);
    picCaption = named(new ui::CaptionBar(form), "picCaption", "Caption bar");
    picCaption->setFixedHeight(26);
    outer->addWidget(picCaption);

    panelTitle = named(new QFrame(form), "panelTitle", "Title");
    auto* title = new QGridLayout(panelTitle);
    title->setContentsMargins(10, 8, 10, 8);
    picTitle = named(new QLabel(panelTitle), "picTitle", "Registry browser picture");
    picTitle->setPixmap(UddiIcons::browser().pixmap(40, 40));
    lblTitle = named(new QLabel(QStringLiteral("UDDI Browser"), panelTitle), "lblTitle", "Title");
    QFont bold = lblTitle->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.3);
    lblTitle->setFont(bold);
    lblOperationDescription = named(new QLabel(QStringLiteral("Enter your Sear Criteria to begin."), panelTitle),
                                    "lblOperationDescription", "Operation description");
    title->addWidget(picTitle, 0, 0, 2, 1);
    title->addWidget(lblTitle, 0, 1);
    title->addWidget(lblOperationDescription, 1, 1);
    title->setColumnStretch(1, 1);
    outer->addWidget(panelTitle);

    panelSearch = named(new QFrame(form), "panelSearch", "Search");
    auto* content = new QVBoxLayout(panelSearch);
    content->setContentsMargins(10, 6, 10, 10);
    frameSearch = named(new QFrame(panelSearch), "frameSearch", "Search criteria");
    frameSearch->setFrameShape(QFrame::StyledPanel);
    auto* criteria = new QGridLayout(frameSearch);
    lblName = named(new QLabel(QStringLiteral("Name"), frameSearch), "lblName", "Name label");
    txtName = named(new QLineEdit(frameSearch), "txtName", "Business name");
    lblName->setBuddy(txtName);
    lblDuns = named(new QLabel(QStringLiteral("D-U-N-S"), frameSearch), "lblDuns", "D-U-N-S label");
    txtDuns = named(new QLineEdit(frameSearch), "txtDuns", "D-U-N-S number");
    lblDuns->setBuddy(txtDuns);
    chkCase = named(new QCheckBox(QStringLiteral("Ignore Case"), frameSearch), "chkCase", "Ignore case");
    chkExact = named(new QCheckBox(QStringLiteral("Partial Name"), frameSearch), "chkExact", "Partial name");
    cmdSearch = named(new QPushButton(QStringLiteral("&Search"), frameSearch), "cmdSearch", "Search");
    cmdOptions = named(new QPushButton(QStringLiteral("Options"), frameSearch), "cmdOptions", "Options");
    criteria->addWidget(lblName, 0, 0);
    criteria->addWidget(txtName, 0, 1);
    criteria->addWidget(chkCase, 0, 2);
    criteria->addWidget(cmdSearch, 0, 3);
    criteria->addWidget(lblDuns, 1, 0);
    criteria->addWidget(txtDuns, 1, 1);
    criteria->addWidget(chkExact, 1, 2);
    criteria->addWidget(cmdOptions, 1, 3);
    criteria->setColumnStretch(1, 1);
    content->addWidget(frameSearch);

    tvUDDIExplorer = named(new QTreeWidget(panelSearch), "tvUDDIExplorer", "Registry entries");
    tvUDDIExplorer->setHeaderHidden(true);
    tvUDDIExplorer->setColumnCount(1);
    tvUDDIExplorer->setIconSize(QSize(16, 16));
    tvUDDIExplorer->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tvUDDIExplorer->header()->setStretchLastSection(false);
    content->addWidget(tvUDDIExplorer, 1);

    cmdSelect = named(new QPushButton(QStringLiteral("&Select"), panelSearch), "cmdSelect", "Select");
    cmdCancel = named(new QPushButton(QStringLiteral("&Cancel"), panelSearch), "cmdCancel", "Cancel");
    cmdSelect->setEnabled(false);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    for (QPushButton* button : {cmdSelect, cmdCancel}) {
        button->setAutoDefault(false);
        button->setMinimumWidth(96);
        buttons->addWidget(button);
    }
    content->addLayout(buttons);
    outer->addWidget(panelSearch, 1);
    cmdSearch->setDefault(true);

    for (QWidget* widget : std::initializer_list<QWidget*>{txtName, txtDuns, tvUDDIExplorer})
        ui::pinColors(*widget);

    auto guarded = [](auto handler) {
        return [handler] {
            // A handler ends its own errors; nothing may leave a Qt slot.
            try {
                handler();
            } catch (...) {
            }
        };
    };
    QObject::connect(cmdSearch, &QPushButton::clicked, form, guarded([this] { cmdSearch_Click(); }));
    QObject::connect(cmdSelect, &QPushButton::clicked, form, guarded([this] { cmdSelect_Click(); }));
    QObject::connect(cmdCancel, &QPushButton::clicked, form, guarded([this] { cmdCancel_Click(); }));
    QObject::connect(cmdOptions, &QPushButton::clicked, form, guarded([this] { cmdOptions_Click(); }));
    // A node is "clicked" when it becomes the current one (mouse or keyboard) and when the current
    // node is clicked again.
    QObject::connect(tvUDDIExplorer, &QTreeWidget::currentItemChanged, form, [this](QTreeWidgetItem* current) {
        m_justChanged = current;
        if (current)
            tvUDDIExplorer_NodeClick(current);
    });
    QObject::connect(tvUDDIExplorer, &QTreeWidget::itemClicked, form, [this](QTreeWidgetItem* item) {
        const bool justHandled = m_justChanged == item;
        m_justChanged = nullptr;
        if (!justHandled)
            tvUDDIExplorer_NodeClick(item);
    });
    QObject::connect(picCaption, &ui::CaptionBar::mouseMoved, form, [this](Qt::MouseButtons buttons, QPoint where) {
        try {
            picCaption_MouseMove(buttons, where);
        } catch (...) {
            General::ShowAndLogCurrentError(m_window->windowTitle().toStdString(), "");
        }
    });
    m_window->setRejectHandler([this] { cmdCancel_Click(); });
}

void frmUDDIExplorer::Show()
{
    Form_Load();
    ui::showModal(*m_window);
}

void frmUDDIExplorer::ChangeSettings()
{
    if (globals().gobjSkin == nullptr)
        return;
    // A skin without one of the colours leaves those controls as designed.
    auto row = [](auto&& step) noexcept {
        try {
            step();
        } catch (...) {
        }
    };
    const std::initializer_list<QWidget*> panels{panelTitle, panelSearch, lblTitle, lblOperationDescription,
                                                 lblName,    lblDuns,     chkCase,  chkExact};
    const std::initializer_list<QWidget*> buttons{cmdSearch, cmdOptions, cmdSelect, cmdCancel};
    row([&] { ui::setBackColor(*m_window, General::GetFormBackColor()); });
    row([&] {
        const int32_t color = General::GetTabBackColor();
        for (QWidget* w : panels)
            ui::setBackColor(*w, color);
    });
    row([&] {
        const int32_t color = General::GetColorFont();
        for (QWidget* w : panels)
            ui::setForeColor(*w, color);
        for (QWidget* w : buttons)
            ui::setForeColor(*w, color);
    });
    row([&] {
        const int32_t color = General::GetButtonBackColor();
        for (QWidget* w : buttons)
            ui::setBackColor(*w, color);
    });
}

void frmUDDIExplorer::ChangeLanguage()
{
    try {
        auto text = [](auto* widget) { return [widget](const std::string& v) { widget->setText(qs(v)); }; };
        Localisation::apply("frmUDDIExplorer", globals().gstrLanguageId,
                            [this](const std::string& caption) { m_window->setWindowTitle(qs(caption)); },
                            {{"lblTitle", text(lblTitle)},
                             {"lblOperationDescription", text(lblOperationDescription)},
                             {"lblName", text(lblName)},
                             {"lblDuns", text(lblDuns)},
                             {"chkCase", text(chkCase)},
                             {"chkExact", text(chkExact)},
                             {"cmdSearch", text(cmdSearch)},
                             {"cmdOptions", text(cmdOptions)},
                             {"cmdSelect", text(cmdSelect)},
                             {"cmdCancel", text(cmdCancel)}});
    } catch (...) {
        rethrowWithTag(" frmUDDIExplorer.ChangeLanguage() ");
    }
}

void frmUDDIExplorer::UDDIClientiInit()
{
    try {
        UDDISettings settings;
        m_client = std::make_unique<uddi::UddiClient>();
        m_client->setTrace(settings.TraceStateGet());
        m_client->setTracePath(settings.TracePathGet());
        m_client->setAddress(settings.ServerGetDefault());
    } catch (...) {
        rethrowWithTag(" frmUDDIExplorer.UDDIClientiInit() ");
    }
}

UddiTree::Update frmUDDIExplorer::inquire(const std::function<UddiTree::Update(uddi::UddiClient&)>& inquiry)
{
    if (!m_client)
        raiseObjectNotSet("the UDDI client");
    UddiTree::Update update;
    std::exception_ptr failure;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            update = inquiry(*m_client);
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // The window repaints while the registry answers; the user's input waits for the answer.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
    return update;
}

void frmUDDIExplorer::setImage(QTreeWidgetItem& item, const std::string& key)
{
    if (key.empty()) {
        item.setIcon(0, QIcon());
    } else {
        const QIcon icon = UddiIcons::image(key);
        if (icon.isNull())
            raise(ErrorNumber::InvalidArgument, "Element not found: the tree has no image '" + key + "'");
        item.setIcon(0, icon);
    }
    item.setData(0, kImageRole, qs(key));
}

void frmUDDIExplorer::addNodes(QTreeWidgetItem* top, const std::vector<UddiTree::Node>& nodes)
{
    std::vector<QTreeWidgetItem*> made;
    made.reserve(nodes.size());
    for (const UddiTree::Node& n : nodes) {
        if (!n.key.empty() && m_keys.contains(n.key))
            raise(ErrorNumber::InvalidArgument, "Key is not unique in collection: " + n.key);
        if (!n.image.empty() && UddiIcons::image(n.image).isNull())
            raise(ErrorNumber::InvalidArgument, "Element not found: the tree has no image '" + n.image + "'");
        QTreeWidgetItem* parent = n.parent < 0 ? top : made[static_cast<std::size_t>(n.parent)];
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tvUDDIExplorer);
        item->setText(0, qs(n.text));
        item->setData(0, kKeyRole, qs(n.key));
        item->setData(0, kTagRole, qs(n.tag));
        setImage(*item, n.image);
        if (!n.key.empty())
            m_keys[n.key] = item;
        made.push_back(item);
    }
}

void frmUDDIExplorer::clearTree()
{
    const QSignalBlocker quiet(tvUDDIExplorer);
    tvUDDIExplorer->clear();
    m_justChanged = nullptr;
    m_keys.clear();
    tvUDDIExplorer->repaint();
}

void frmUDDIExplorer::Form_Load()
{
    try {
        ChangeSettings();
        ChangeLanguage();
        m_window->setWindowTitle(qs(kTitle));
        pubblnCancel = true;
        UDDIClientiInit();
    } catch (...) {
        General::ShowAndLogCurrentError(m_window->windowTitle().toStdString(), "  frmUDDIExplorer.Form_Load() ");
    }
}

void frmUDDIExplorer::cmdSearch_Click()
{
    try {
        UDDISettings settings;
        m_window->setCursor(Qt::WaitCursor);
        UddiTree::Criteria criteria{txtName->text().toStdString(), txtDuns->text().toStdString(), chkCase->isChecked(),
                                    chkExact->isChecked(), 0};
        clearTree();
        criteria.maxRows = settings.SearchMaxRowsGet();
        const UddiTree::Update update =
            inquire([&criteria](uddi::UddiClient& client) { return UddiTree::search(client, criteria); });
        m_window->unsetCursor();
        clearTree();
        if (update.failed) {
            uiServices().messageBox(update.errorText, "error", MessageIcon::None, MessageButtons::Ok);
            return;
        }
        if (update.answered)
            addNodes(nullptr, update.nodes);
    } catch (...) {
        m_window->unsetCursor();
        General::ShowAndLogCurrentError(m_window->windowTitle().toStdString(), "  frmUDDIExplorer.cmdSearch_Click() ");
    }
}

void frmUDDIExplorer::tvUDDIExplorer_NodeClick(QTreeWidgetItem* Node)
{
    try {
        cmdSelect->setEnabled(false);
        const std::string text = Node->text(0).toStdString();
        if (UddiTree::isWebAddress(text))
            cmdSelect->setEnabled(true);
        if (Node->parent() == nullptr)
            return;
        const std::string tag = tagOf(*Node);
        const std::string key = keyOf(*Node);
        if (tag == UddiTree::kServiceTag && Node->childCount() == 0) {
            m_window->setCursor(Qt::WaitCursor);
            const UddiTree::Update update =
                inquire([&key](uddi::UddiClient& client) { return UddiTree::expandService(client, key); });
            if (update.answered) {
                setImage(*Node, update.clickedImage);
                addNodes(Node, update.nodes);
            }
            Node->setExpanded(true);
        } else if (tag == UddiTree::kTModelTag) {
            m_window->setCursor(Qt::WaitCursor);
            const UddiTree::Update update =
                inquire([&key](uddi::UddiClient& client) { return UddiTree::expandTModel(client, key); });
            if (update.answered) {
                Node->setData(0, kTagRole, QString());
                setImage(*Node, update.clickedImage);
                addNodes(Node, update.nodes);
                Node->setExpanded(true);
            }
        }
        m_window->unsetCursor();
    } catch (...) {
        m_window->unsetCursor();
        General::ShowAndLogCurrentError(m_window->windowTitle().toStdString(),
                                        "  frmUDDIExplorer.tvUDDIExplorer_NodeClick() ");
    }
}

void frmUDDIExplorer::cmdSelect_Click()
{
    try {
        const QTreeWidgetItem* selected = tvUDDIExplorer->currentItem();
        if (selected == nullptr)
            raiseObjectNotSet("the selected node");
        pubstrUDDIAddressSelected = selected->text(0).toStdString();
        pubblnCancel = false;
        m_window->hide();
    } catch (...) {
        General::ShowAndLogCurrentError(m_window->windowTitle().toStdString(), "  frmUDDIExplorer.cmdSelect_Click() ");
    }
}

void frmUDDIExplorer::cmdCancel_Click()
{
    m_window->hide();
}

void frmUDDIExplorer::cmdOptions_Click()
{
    try {
        // The dialog stays loaded after Cancel (it shows the fields as left when opened again) and
        // is unloaded by Confirm.
        if (!m_options)
            m_options = std::make_unique<frmOptions>(m_window.data());
        m_options->Show();
        if (!m_options->isLoaded())
            m_options.reset();
        UDDIClientiInit();
    } catch (...) {
        General::ShowAndLogCurrentError(m_window->windowTitle().toStdString(), "  frmUDDIExplorer.cmdOptions_Click() ");
    }
}

void frmUDDIExplorer::picCaption_MouseMove(Qt::MouseButtons Button, const QPoint& globalPos)
{
    try {
        if (Button == Qt::LeftButton)
            ui::MoveForm(m_window, picCaption->grabOffset(), globalPos);
    } catch (...) {
        rethrowWithTag(" frmUDDIExplorer.picCaption_MouseMove() ");
    }
}

UddiChoice showUddiExplorer(QWidget* owner)
{
    frmUDDIExplorer browser(owner);
    browser.Show();
    return {browser.pubblnCancel, browser.pubstrUDDIAddressSelected};
}

} // namespace zel
