#include "wizard/forms/frmWizardNuevo.h"

#include "common/General.h"
#include "common/Globals.h"
#include "host/HostState.h"
#include "host/cRobot.h"
#include "platform/error/ErrorRecord.h"
#include "platform/http/HttpClient.h"
#include "platform/ui/Toolkit.h"
#include "platform/ui/qt/AccessibleNames.h"
#include "platform/ui/qt/CaptionBar.h"
#include "platform/ui/qt/ModalRunner.h"
#include "platform/ui/qt/SkinPalette.h"
#include "platform/ui/qt/SkinnedDialog.h"
#include "platform/ui/qt/WindowDrawing.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEventLoop>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <atomic>
#include <iostream>
#include <thread>
#include <unordered_set>

namespace zel {
namespace {

QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The tree's pictures: a service (a small building of stacked blocks) and a method (a gear-like
// diamond), drawn so they stay sharp at any size.
QIcon drawnIcon(const std::function<void(QPainter&)>& draw)
{
    QIcon icon;
    for (int size : {16, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon pictureIcon(controls::Picture which)
{
    static const QIcon classIcon = drawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(40, 70, 120), 1));
        p.setBrush(QColor(120, 160, 220));
        p.drawRoundedRect(QRectF(1.5, 2.5, 13, 11), 2, 2);
        p.setBrush(QColor(240, 244, 250));
        p.drawRect(QRectF(3.5, 5, 9, 2.5));
        p.drawRect(QRectF(3.5, 9, 9, 2.5));
    });
    static const QIcon methodIcon = drawnIcon([](QPainter& p) {
        QPainterPath diamond;
        diamond.moveTo(8, 1.5);
        diamond.lineTo(14.5, 8);
        diamond.lineTo(8, 14.5);
        diamond.lineTo(1.5, 8);
        diamond.closeSubpath();
        p.setPen(QPen(QColor(120, 60, 20), 1));
        p.setBrush(QColor(240, 170, 70));
        p.drawPath(diamond);
        p.setBrush(QColor(255, 240, 210));
        p.drawEllipse(QPointF(8, 8), 2.2, 2.2);
    });
    static const QIcon parameterIcon = drawnIcon([](QPainter& p) {
        p.setPen(QPen(QColor(60, 100, 60), 1));
        p.setBrush(QColor(150, 200, 140));
        p.drawEllipse(QPointF(8, 8), 5, 5);
    });
    switch (which) {
    case controls::Picture::Class:
        return classIcon;
    case controls::Picture::Method:
        return methodIcon;
    case controls::Picture::ParameterName:
    case controls::Picture::ParameterValue:
        return parameterIcon;
    case controls::Picture::None:
        break;
    }
    return {};
}

// The attribute column of the grid: a drop-down list of the tab-separated entries.
class AttributeDelegate final : public QStyledItemDelegate
{
public:
    AttributeDelegate(const std::string& entries, QObject* parent) : QStyledItemDelegate(parent), m_entries(entries) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        auto* box = new QComboBox(parent);
        box->setObjectName(QStringLiteral("cmbAttribute"));
        box->setAccessibleName(QStringLiteral("Attribute"));
        for (const QString& entry : qs(m_entries).split(QLatin1Char('\t')))
            box->addItem(entry);
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* box = static_cast<QComboBox*>(editor);
        const int found = box->findText(index.data().toString());
        box->setCurrentIndex(found < 0 ? 0 : found);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText());
    }

private:
    const std::string& m_entries;
};

} // namespace

// ---------------------------------------------------------------------------------------------
// The tree and the grid as the core sees them

class frmWizardNuevo::Tree final : public controls::ITreeControl
{
public:
    explicit Tree(QTreeWidget* widget) : m_widget(widget) {}

    controls::TreeItem root() const override { return handle(m_widget->invisibleRootItem()); }
    void clearChildren(controls::TreeItem item) override
    {
        QTreeWidgetItem* node = find(item);
        if (node == nullptr)
            return;
        forget(node, false);
        qDeleteAll(node->takeChildren());
    }
    controls::TreeItem addChild(controls::TreeItem parent, const std::string& text, controls::Picture pic,
                                bool checkable) override
    {
        QTreeWidgetItem* node = find(parent);
        if (node == nullptr)
            return {};
        // Only the user's ticks are tick changes: the tree's own filling is not told.
        const QSignalBlocker quiet(m_widget);
        auto* item = new QTreeWidgetItem(node, QStringList{qs(text)});
        item->setIcon(0, pictureIcon(pic));
        item->setData(0, Qt::UserRole, static_cast<int>(pic));
        if (checkable) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(0, Qt::Unchecked);
        } else {
            item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        }
        // A service item opens when its first method arrives; expanding it on every add would lay
        // the tree out again for each of a thousand methods.
        if (node != m_widget->invisibleRootItem() && node->parent() == nullptr && node->childCount() == 1)
            node->setExpanded(true);
        m_live.insert(item);
        return handle(item);
    }
    int itemCount() const override { return static_cast<int>(m_live.size()); }
    int childCount(controls::TreeItem item) const override
    {
        const QTreeWidgetItem* node = find(item);
        return node == nullptr ? 0 : node->childCount();
    }
    controls::TreeItem child(controls::TreeItem item, int index) const override
    {
        const QTreeWidgetItem* node = find(item);
        return node == nullptr ? controls::TreeItem{} : handle(node->child(index));
    }
    controls::TreeItem parent(controls::TreeItem item) const override
    {
        const QTreeWidgetItem* node = find(item);
        if (node == nullptr || node == m_widget->invisibleRootItem())
            return {};
        return handle(node->parent() != nullptr ? node->parent() : m_widget->invisibleRootItem());
    }
    std::string text(controls::TreeItem item) const override
    {
        const QTreeWidgetItem* node = find(item);
        return node == nullptr ? std::string() : node->text(0).toStdString();
    }
    controls::Picture picture(controls::TreeItem item) const override
    {
        const QTreeWidgetItem* node = find(item);
        return node == nullptr ? controls::Picture::None
                               : static_cast<controls::Picture>(node->data(0, Qt::UserRole).toInt());
    }
    bool isCheckable(controls::TreeItem item) const override
    {
        const QTreeWidgetItem* node = find(item);
        return node != nullptr && (node->flags() & Qt::ItemIsUserCheckable);
    }
    bool isChecked(controls::TreeItem item) const override
    {
        return isCheckable(item) && find(item)->checkState(0) == Qt::Checked;
    }
    void setChecked(controls::TreeItem item, bool checked) override
    {
        const QSignalBlocker quiet(m_widget);
        if (isCheckable(item))
            find(item)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    }

private:
    static controls::TreeItem handle(const QTreeWidgetItem* item) { return {reinterpret_cast<std::uintptr_t>(item)}; }
    QTreeWidgetItem* find(controls::TreeItem item) const
    {
        auto* node = reinterpret_cast<QTreeWidgetItem*>(item.id);
        if (node == nullptr)
            return nullptr;
        if (node == m_widget->invisibleRootItem() || m_live.count(node) != 0)
            return node;
        return nullptr; // removed: a stale handle answers as no item
    }
    void forget(QTreeWidgetItem* node, bool self)
    {
        for (int i = 0; i < node->childCount(); ++i)
            forget(node->child(i), true);
        if (self)
            m_live.erase(node);
    }

    QTreeWidget* m_widget;
    std::unordered_set<const QTreeWidgetItem*> m_live;
};

class frmWizardNuevo::Grid final : public controls::IParameterGrid
{
public:
    explicit Grid(QTableWidget* widget) : m_widget(widget) {}

    void clear() override { m_widget->setRowCount(0); }
    int addRow(const Row& cells) override
    {
        const int row = m_widget->rowCount();
        m_widget->insertRow(row);
        for (int column = 0; column < kColumns; ++column) {
            auto* item = new QTableWidgetItem(qs(cells[column]));
            if (column < 2)
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            m_widget->setItem(row, column, item);
        }
        return row;
    }
    int rowCount() const override { return m_widget->rowCount(); }
    std::string cell(int row, int column) const override
    {
        const QTableWidgetItem* item = m_widget->item(row, column);
        return item == nullptr ? std::string() : item->text().toStdString();
    }
    void setCell(int row, int column, const std::string& text) override
    {
        if (QTableWidgetItem* item = m_widget->item(row, column))
            item->setText(qs(text));
    }
    int currentRow() const override { return m_widget->currentRow(); }
    void setCurrentRow(int row) override
    {
        if (row >= 0 && row < m_widget->rowCount())
            m_widget->setCurrentCell(row, 0);
    }
    void setRowPictures(int row, controls::Picture first, controls::Picture second) override
    {
        if (row < 0 || row >= m_widget->rowCount())
            return;
        m_widget->item(row, 0)->setIcon(pictureIcon(first));
        m_widget->item(row, 0)->setData(Qt::UserRole, static_cast<int>(first));
        m_widget->item(row, 1)->setData(Qt::UserRole, static_cast<int>(second));
    }
    std::pair<controls::Picture, controls::Picture> rowPictures(int row) const override
    {
        if (row < 0 || row >= m_widget->rowCount())
            return {controls::Picture::None, controls::Picture::None};
        return {static_cast<controls::Picture>(m_widget->item(row, 0)->data(Qt::UserRole).toInt()),
                static_cast<controls::Picture>(m_widget->item(row, 1)->data(Qt::UserRole).toInt())};
    }

private:
    QTableWidget* m_widget;
};

// ---------------------------------------------------------------------------------------------
// Building the window

frmWizardNuevo::frmWizardNuevo(QWidget* owner)
    : frmWizardNuevo(owner,
                     [](wizard::IWizardControls& controls) { return std::make_unique<wizard::WizardNuevo>(controls); })
{
}

frmWizardNuevo::frmWizardNuevo(QWidget* owner, const LogicMaker& makeLogic)
{
    buildWindow(owner);
    m_tree = std::make_unique<Tree>(tvSoapComponent);
    m_grid = std::make_unique<Grid>(dtMethodsParameters);
    m_logic = makeLogic(*this);
    m_logic->setFetch([this](const http::HttpRequest& request, const http::HttpOptions& options) {
        return fetchOnWorker(request, options);
    });
    // Browse shows a fresh registry browser (the toolkit's opener) over the wizard and takes the
    // address selected in it; without an opener the wizard says the browser is not available.
    if (toolkit().uddiExplorer)
        m_logic->setBrowser([this](std::string& address) {
            const UddiChoice choice = toolkit().uddiExplorer(m_window);
            if (!choice.cancelled)
                address = choice.address;
            return !choice.cancelled;
        });
    m_logic->applyDesignTexts();
    ui::setAccessibleNames(*m_window);
}

frmWizardNuevo::~frmWizardNuevo()
{
    if (m_window) {
        m_window->hide();
        delete m_window.data();
    }
}

QWidget* frmWizardNuevo::window() const
{
    return m_window.data();
}

void frmWizardNuevo::buildWindow(QWidget* owner)
{
    m_window = new ui::SkinnedDialog(owner);
    QDialog* form = m_window;
    form->setObjectName(QStringLiteral("frmWizardNuevo"));
    form->setWindowTitle(QStringLiteral(" Web Service Wizard"));
    form->resize(640, 480);
    form->setMinimumSize(560, 420);

    auto add = [this](QWidget* widget, const char* name) {
        widget->setObjectName(QLatin1String(name));
        m_controls.emplace(name, widget);
        return widget;
    };
    auto label = [&](QWidget* parent, const char* name) {
        auto* l = new QLabel(parent);
        add(l, name);
        return l;
    };
    auto edit = [&](QWidget* parent, const char* name, QLabel* caption, bool readOnly) {
        auto* e = new QLineEdit(parent);
        add(e, name);
        e->setReadOnly(readOnly);
        if (caption != nullptr)
            caption->setBuddy(e);
        return e;
    };
    auto check = [&](QWidget* parent, const char* name) {
        auto* c = new QCheckBox(parent);
        add(c, name);
        return c;
    };
    auto button = [&](QWidget* parent, const char* name) {
        auto* b = new QPushButton(parent);
        add(b, name);
        b->setAutoDefault(false);
        return b;
    };

    auto* outer = new QVBoxLayout(form);
    outer->setContentsMargins(2, 2, 2, 2);
    outer->setSpacing(0);
    picCaption = new ui::CaptionBar(form);
    add(picCaption, "picCaption");
    picCaption->setFixedHeight(26);
    outer->addWidget(picCaption);

    auto* body = new QWidget(form);
    auto* bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(10, 8, 10, 10);
    outer->addWidget(body, 1);

    ssTabWizard = new QTabWidget(body);
    add(ssTabWizard, "ssTabWizard");
    // Pages change through Next and Back only.
    ssTabWizard->tabBar()->setAttribute(Qt::WA_TransparentForMouseEvents);
    ssTabWizard->tabBar()->setFocusPolicy(Qt::NoFocus);
    bodyLayout->addWidget(ssTabWizard, 1);
    auto page = [&](const char* name, const char* title) {
        auto* panel = new QFrame();
        add(panel, name);
        ssTabWizard->addTab(panel, QLatin1String(title));
        return panel;
    };

    // Page 1: the WSDL load.
    QFrame* p1 = page("panelWsdlLoad", "1. WSDL");
    auto* g1 = new QGridLayout(p1);
    QLabel* lblWsdlUrl = label(p1, "lblWsdlUrl");
    g1->addWidget(lblWsdlUrl, 0, 0);
    g1->addWidget(edit(p1, "txtWsdlUrl", lblWsdlUrl, false), 0, 1);
    g1->addWidget(button(p1, "cmdBrowse"), 0, 2);
    g1->addWidget(button(p1, "cmdLoad"), 0, 3);
    QLabel* lblPrefijos = label(p1, "lblPrefijos");
    g1->addWidget(lblPrefijos, 1, 0, 1, 2);
    g1->addWidget(edit(p1, "txtPrefijos", lblPrefijos, false), 1, 2, 1, 2);
    QLabel* lblDetails = label(p1, "lblDetails");
    g1->addWidget(lblDetails, 2, 0, 1, 4);
    tvSoapComponent = new QTreeWidget(p1);
    add(tvSoapComponent, "tvSoapComponent");
    tvSoapComponent->setHeaderHidden(true);
    tvSoapComponent->setUniformRowHeights(true);
    lblDetails->setBuddy(tvSoapComponent);
    g1->addWidget(tvSoapComponent, 3, 0, 1, 4);
    g1->setRowStretch(3, 1);
    progbarWsdlLoad = new QProgressBar(p1);
    add(progbarWsdlLoad, "progbarWsdlLoad");
    progbarWsdlLoad->setRange(0, 100);
    progbarWsdlLoad->setTextVisible(false);
    progbarWsdlLoad->setFixedHeight(12);
    progbarWsdlLoad->setToolTip(QStringLiteral("Loading"));
    g1->addWidget(progbarWsdlLoad, 4, 0, 1, 4);
    g1->setColumnStretch(1, 1);

    // Page 2: what was found.
    QFrame* p2 = page("panelWsdlData", "2. Review");
    auto* g2 = new QGridLayout(p2);
    int row = 0;
    for (const auto& [caption, box] :
         {std::pair{"lblWsdlUrl2", "txtWsdlUrl2"}, std::pair{"lblService2", "txtServiceName2"},
          std::pair{"lblClass", "txtClassName"}, std::pair{"lblMethod", "txtMethodName"},
          std::pair{"lblReturn", "txtReturnType"}}) {
        QLabel* l = label(p2, caption);
        g2->addWidget(l, row, 0);
        g2->addWidget(edit(p2, box, l, true), row++, 1);
    }
    g2->setRowStretch(row, 1);
    g2->setColumnStretch(1, 1);

    // Page 3: the parameters.
    QFrame* p3 = page("panelParameters", "3. Parameters");
    auto* g3 = new QGridLayout(p3);
    QLabel* lblMethodName = label(p3, "lblMethodName");
    g3->addWidget(lblMethodName, 0, 0);
    g3->addWidget(edit(p3, "txtMethodName3", lblMethodName, true), 0, 1);
    QLabel* lblParameters = label(p3, "lblParameters");
    g3->addWidget(lblParameters, 1, 0, 1, 2);
    dtMethodsParameters = new QTableWidget(0, 4, p3);
    add(dtMethodsParameters, "dtMethodsParameters");
    dtMethodsParameters->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    dtMethodsParameters->verticalHeader()->setVisible(false);
    dtMethodsParameters->setItemDelegateForColumn(2, new AttributeDelegate(m_attributeList, dtMethodsParameters));
    dtMethodsParameters->setEditTriggers(QAbstractItemView::AllEditTriggers);
    lblParameters->setBuddy(dtMethodsParameters);
    g3->addWidget(dtMethodsParameters, 2, 0, 1, 2);
    g3->setRowStretch(2, 1);
    g3->setColumnStretch(1, 1);

    // Page 4: End Activity.
    QFrame* p4 = page("panelACE", "4. End Activity");
    auto* g4 = new QVBoxLayout(p4);
    g4->addWidget(check(p4, "chkACE"));
    auto* frameACE = new QGroupBox(p4);
    add(frameACE, "frameACE");
    auto* gf4 = new QGridLayout(frameACE);
    row = 0;
    for (const auto& [caption, box] :
         {std::pair{"lblMethodName2", "txtMethodName2"}, std::pair{"lblReturnType", "txtReturnType2"}}) {
        QLabel* l = label(frameACE, caption);
        gf4->addWidget(l, row, 0);
        gf4->addWidget(edit(frameACE, box, l, true), row++, 1);
    }
    QLabel* lblOmbrelAttribute = label(frameACE, "lblOmbrelAttribute");
    auto* pvAttributesReturn = new QComboBox(frameACE);
    add(pvAttributesReturn, "pvAttributesReturn");
    lblOmbrelAttribute->setBuddy(pvAttributesReturn);
    gf4->addWidget(lblOmbrelAttribute, row, 0);
    gf4->addWidget(pvAttributesReturn, row, 1);
    gf4->setColumnStretch(1, 1);
    g4->addWidget(frameACE);
    for (const char* note : {"lblMen1", "lblMen2", "lblMen3"})
        g4->addWidget(label(p4, note));
    g4->addStretch(1);

    // Page 5: proxy, SSL and time-out.
    QFrame* p5 = page("panelSoapSetting", "5. Settings");
    auto* g5 = new QVBoxLayout(p5);
    g5->addWidget(check(p5, "chkProxySetting"));
    auto* frameProxySetting = new QGroupBox(p5);
    add(frameProxySetting, "frameProxySetting");
    auto* gf5 = new QGridLayout(frameProxySetting);
    row = 0;
    for (const auto& [caption, box] :
         {std::pair{"lblProxyServer", "txtProxyServer"}, std::pair{"lblProxyPort", "txtProxyPort"},
          std::pair{"lblProxyUser", "txtProxyUser"}, std::pair{"lblProxyPassword", "txtProxyPassword"}}) {
        QLabel* l = label(frameProxySetting, caption);
        gf5->addWidget(l, row, 0);
        gf5->addWidget(edit(frameProxySetting, box, l, false), row++, 1, 1, 2);
    }
    static_cast<QLineEdit*>(control("txtProxyPassword"))->setEchoMode(QLineEdit::Password);
    gf5->addWidget(check(frameProxySetting, "chkUseProxy"), row, 1);
    gf5->addWidget(check(frameProxySetting, "chkUseSSL"), row++, 2);
    gf5->setColumnStretch(2, 1);
    g5->addWidget(frameProxySetting);
    auto* timeRow = new QHBoxLayout();
    QLabel* lblTimeOut = label(p5, "lblTimeOut");
    auto* pvTimeOut = new QSpinBox(p5);
    add(pvTimeOut, "pvTimeOut");
    pvTimeOut->setRange(0, 3600);
    lblTimeOut->setBuddy(pvTimeOut);
    timeRow->addWidget(lblTimeOut);
    timeRow->addWidget(pvTimeOut);
    timeRow->addWidget(label(p5, "lblTimeOut2"));
    timeRow->addStretch(1);
    g5->addLayout(timeRow);
    g5->addStretch(1);

    // Guidance and buttons.
    auto* panelDocumentation = new QFrame(body);
    add(panelDocumentation, "panelDocumentation");
    panelDocumentation->setFrameShape(QFrame::StyledPanel);
    auto* doc = new QHBoxLayout(panelDocumentation);
    QLabel* lblMsg = label(panelDocumentation, "lblMsg");
    lblMsg->setWordWrap(true);
    lblMsg->setMinimumHeight(34);
    doc->addWidget(lblMsg);
    bodyLayout->addWidget(panelDocumentation);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    for (const char* name : {"cmdBack", "cmdNext", "cmdCancel"}) {
        QPushButton* b = button(body, name);
        b->setMinimumWidth(96);
        buttons->addWidget(b);
    }
    bodyLayout->addLayout(buttons);

    timSoapLoadWsdl = new QTimer(form);
    timSoapLoadWsdl->setObjectName(QStringLiteral("timSoapLoadWsdl"));
    timSoapLoadWsdl->setInterval(100);

    auto clicked = [&](const char* name, void (wizard::WizardNuevo::*handler)()) {
        QObject::connect(static_cast<QAbstractButton*>(control(name)), &QAbstractButton::clicked, form,
                         [this, handler] { fromWindow([this, handler] { (m_logic.get()->*handler)(); }); });
    };
    clicked("cmdNext", &wizard::WizardNuevo::cmdNext_Click);
    clicked("cmdBack", &wizard::WizardNuevo::cmdBack_Click);
    clicked("cmdCancel", &wizard::WizardNuevo::cmdCancel_Click);
    clicked("cmdLoad", &wizard::WizardNuevo::cmdLoad_Click);
    clicked("cmdBrowse", &wizard::WizardNuevo::cmdBrowse_Click);
    clicked("chkACE", &wizard::WizardNuevo::chkACE_Click);
    clicked("chkProxySetting", &wizard::WizardNuevo::chkProxySetting_Click);
    QObject::connect(timSoapLoadWsdl, &QTimer::timeout, form,
                     [this] { fromWindow([this] { m_logic->timSoapLoadWsdl_Timer(); }); });
    QObject::connect(picCaption, &ui::CaptionBar::mouseMoved, form, [this](Qt::MouseButtons held, QPoint where) {
        fromWindow([&] {
            if (held == Qt::LeftButton)
                ui::MoveForm(m_window, picCaption->grabOffset(), where);
        });
    });
    m_window->setRejectHandler([this] { fromWindow([this] { m_logic->cmdCancel_Click(); }); });
}

template <class Handler> void frmWizardNuevo::fromWindow(Handler&& handler) noexcept
{
    // The handlers trap their own errors; whatever still escapes must not leave a Qt slot.
    try {
        handler();
    } catch (...) {
        try {
            General::ShowAndLogCurrentError(caption(), "  frmWizard ");
        } catch (...) {
            std::cerr << "frmWizardNuevo: an error could not be shown\n";
        }
    }
}

void frmWizardNuevo::runHandler(const std::function<void()>& handler) noexcept
{
    fromWindow(handler);
}

// ---------------------------------------------------------------------------------------------
// Load, skin, showing

void frmWizardNuevo::Form_Load(std::string_view languageId, std::string_view storedDefinition)
{
    ChangeSettings();
    m_logic->Form_Load(languageId, storedDefinition);
    ui::setAccessibleNames(*m_window);
}

void frmWizardNuevo::ChangeSettings()
{
    if (globals().gobjSkin == nullptr)
        return;
    auto row = [](auto&& step) noexcept {
        try {
            step();
        } catch (...) {
            // The skin step ignores every failure: the controls keep the colours they have.
        }
    };
    QList<QWidget*> tabbed{ssTabWizard,          control("frameProxySetting"),
                           control("frameACE"),  control("panelDocumentation"),
                           control("cmdBrowse"), dtMethodsParameters};
    for (const char* panel : {"panelWsdlLoad", "panelWsdlData", "panelParameters", "panelACE", "panelSoapSetting"})
        tabbed << control(panel);
    QList<QWidget*> texts{control("cmdCancel"), control("cmdBack"),  control("cmdLoad"), control("cmdNext"),
                          control("cmdBrowse"), dtMethodsParameters, control("frameACE")};
    for (QLabel* l : m_window->findChildren<QLabel*>()) {
        tabbed << l;
        texts << l;
    }
    for (const char* box : {"chkACE", "chkProxySetting", "chkUseProxy", "chkUseSSL"}) {
        tabbed << control(box);
        texts << control(box);
    }
    row([&] { ui::setBackColor(*m_window, General::GetFormBackColor()); });
    row([&] {
        const int32_t color = General::GetTabBackColor();
        for (QWidget* w : tabbed)
            ui::setBackColor(*w, color);
    });
    row([&] {
        const int32_t color = General::GetColorFont();
        for (QWidget* w : texts)
            ui::setForeColor(*w, color);
    });
    row([&] {
        const int32_t color = General::GetButtonBackColor();
        for (const char* b : {"cmdCancel", "cmdBack", "cmdLoad", "cmdNext"})
            ui::setBackColor(*control(b), color);
    });
}

void frmWizardNuevo::ShowModal()
{
    if (m_window)
        ui::showModal(*m_window);
}

http::HttpResponse frmWizardNuevo::fetchOnWorker(const http::HttpRequest& request, const http::HttpOptions& options)
{
    // The window keeps running (the timer moves the bar, Cancel answers) while the request waits.
    http::HttpResponse response;
    std::atomic<bool> done{false};
    QEventLoop loop;
    const std::stop_token stop = m_logic->stopToken();
    std::thread worker([&] {
        response = http::HttpClient::send(request, options, stop);
        done = true;
        QMetaObject::invokeMethod(
            &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    if (!done)
        loop.exec();
    worker.join();
    return response;
}

WizardOutcome frmWizardNuevo::run(QWidget* owner)
{
    const std::shared_ptr<cRobot>& robot = hostState().gobjRobot;
    const std::string stored = robot ? robot->GetAdditionalDefinition() : std::string();
    frmWizardNuevo form(owner);
    form.Form_Load(globals().gstrLanguageId, stored);
    form.ShowModal();
    WizardOutcome outcome;
    outcome.EvalCode = form.logic().EvalCode;
    if (!outcome.EvalCode.empty())
        outcome.definitionXml = form.logic().definitionXml();
    return outcome;
}

// ---------------------------------------------------------------------------------------------
// The controls as the logic sees them

QWidget* frmWizardNuevo::control(std::string_view name) const
{
    const auto found = m_controls.find(name);
    return found == m_controls.end() ? nullptr : found->second;
}

void frmWizardNuevo::removeControl(std::string_view name)
{
    const auto found = m_controls.find(name);
    if (found == m_controls.end())
        return;
    delete found->second;
    m_controls.erase(found);
}

void frmWizardNuevo::addControl(QWidget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    m_controls.emplace(name, widget);
}

controls::TreeItem frmWizardNuevo::treeItem(const QTreeWidgetItem* item) const
{
    return {reinterpret_cast<std::uintptr_t>(item)};
}

std::string frmWizardNuevo::text(std::string_view name) const
{
    QWidget* widget = control(name);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text().toStdString();
    if (auto* l = qobject_cast<QLabel*>(widget))
        return l->text().toStdString();
    if (auto* list = qobject_cast<QComboBox*>(widget))
        return list->currentText().toStdString();
    if (auto* spin = qobject_cast<QSpinBox*>(widget))
        return std::to_string(spin->value());
    if (auto* frame = qobject_cast<QGroupBox*>(widget))
        return frame->title().toStdString();
    return {};
}

void frmWizardNuevo::setText(std::string_view name, const std::string& value)
{
    QWidget* widget = control(name);
    const QString text = qs(value);
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* l = qobject_cast<QLabel*>(widget))
        l->setText(text);
    else if (auto* list = qobject_cast<QComboBox*>(widget)) {
        const int found = list->findText(text);
        if (found >= 0)
            list->setCurrentIndex(found);
    } else if (auto* spin = qobject_cast<QSpinBox*>(widget))
        spin->setValue(text.toInt());
}

bool frmWizardNuevo::isChecked(std::string_view name) const
{
    auto* box = qobject_cast<QCheckBox*>(control(name));
    return box != nullptr && box->isChecked();
}

void frmWizardNuevo::setChecked(std::string_view name, bool checked)
{
    if (auto* box = qobject_cast<QCheckBox*>(control(name)))
        box->setChecked(checked);
}

bool frmWizardNuevo::isEnabled(std::string_view name) const
{
    QWidget* widget = control(name);
    return widget != nullptr && widget->isEnabled();
}

void frmWizardNuevo::setEnabled(std::string_view name, bool enabled)
{
    if (QWidget* widget = control(name))
        widget->setEnabled(enabled);
}

bool frmWizardNuevo::isVisible(std::string_view name) const
{
    QWidget* widget = control(name);
    return widget != nullptr && !widget->isHidden();
}

void frmWizardNuevo::setVisible(std::string_view name, bool visible)
{
    if (QWidget* widget = control(name))
        widget->setVisible(visible);
}

void frmWizardNuevo::setListItems(std::string_view name, const std::vector<std::string>& items)
{
    if (auto* list = qobject_cast<QComboBox*>(control(name))) {
        list->clear();
        for (const std::string& item : items)
            list->addItem(qs(item));
    }
}

int frmWizardNuevo::selectedPage() const
{
    return ssTabWizard->currentIndex() + 1;
}

void frmWizardNuevo::selectPage(int page)
{
    ssTabWizard->setCurrentIndex(page - 1);
}

controls::ITreeControl& frmWizardNuevo::tree()
{
    return *m_tree;
}

controls::IParameterGrid& frmWizardNuevo::grid()
{
    return *m_grid;
}

void frmWizardNuevo::setGridAttributeList(const std::string& tabSeparated)
{
    m_attributeList = tabSeparated;
}

void frmWizardNuevo::setGridHeading(int column, const std::string& heading)
{
    dtMethodsParameters->setHorizontalHeaderItem(column, new QTableWidgetItem(qs(heading)));
}

int frmWizardNuevo::progress() const
{
    return progbarWsdlLoad->value();
}

void frmWizardNuevo::setProgress(int value)
{
    progbarWsdlLoad->setValue(std::clamp(value, 0, 100));
}

void frmWizardNuevo::setTimerRunning(bool running)
{
    if (running)
        timSoapLoadWsdl->start();
    else
        timSoapLoadWsdl->stop();
}

bool frmWizardNuevo::isTimerRunning() const
{
    return timSoapLoadWsdl->isActive();
}

void frmWizardNuevo::setBusyPointer(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void frmWizardNuevo::processEvents()
{
    QCoreApplication::processEvents();
}

std::string frmWizardNuevo::caption() const
{
    return m_window ? m_window->windowTitle().toStdString() : std::string();
}

void frmWizardNuevo::setCaption(const std::string& value)
{
    m_window->setWindowTitle(qs(value));
    picCaption->update();
}

void frmWizardNuevo::hideWindow()
{
    m_window->hide();
}

void frmWizardNuevo::closeWindow()
{
    setBusyPointer(false);
    timSoapLoadWsdl->stop();
    m_window->hide();
}

} // namespace zel
