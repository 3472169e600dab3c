#include "wizard/Wizard.h"

#include "common/General.h"
#include "common/XmlFncs.h"
#include "platform/error/ErrorRecord.h"
#include "platform/http/XmlBodyText.h"
#include "platform/ui/UiServices.h"

namespace zel::wizard {
namespace {

constexpr const char* kProxyBoxes[] = {"txtProxyServer", "txtProxyPort", "txtProxyUser", "txtProxyPassword"};

} // namespace

Wizard::Wizard(IWizardControls& controls) : WizardNuevo(controls) {}

Wizard::~Wizard() = default;

void Wizard::applyDesignTexts()
{
    WizardNuevo::applyDesignTexts();
    chkUseProxy_Click();
}

void Wizard::ChangeLanguage(std::string_view languageId)
{
    try {
        std::vector<Localisation::Item> items = languageItems(true);
        // Beside the twelve: what a load that read nothing and a reopening that failed tell.
        items.push_back({"msgWsdlNotRead", [this](const std::string& text) { msgWsdlNotRead = text; }});
        items.push_back({"msgReloadWsdl", [this](const std::string& text) { messages.msgReloadWsdl = text; }});
        Localisation::apply(
            "frmWizardNuevo", languageId, [this](const std::string& caption) { m_controls.setCaption(caption); },
            items);
    } catch (...) {
        rethrowWithTag(" frmWizard.ChangeLanguage() ");
    }
}

// ---------------------------------------------------------------------------------------------
// The asynchronous load

void Wizard::cmdLoad_Click()
{
    try {
        const std::string address = XmlFncs::trimSpaces(m_controls.text("txtWsdlUrl"));
        if (address.empty())
            return; // a load that does not start leaves the page idle and unchanged
        auto request = std::make_unique<http::AsyncHttpRequest>();
        request->open("GET", address);
        request->setOptions(m_loadOptions);
        if (!request->send())
            return;
        m_request = std::move(request);
        blnDefLoadFromZel = false;
        m_controls.setBusyPointer(true);
        m_controls.setProgress(0);
        m_controls.setVisible("progbarWsdlLoad", true);
        setLoadButtons(false);
        m_controls.setTimerRunning(true);
    } catch (...) {
        General::ShowAndLogCurrentError(m_controls.caption(), "  frmWizard.cmdLoad_Click() ");
    }
}

void Wizard::timSoapLoadWsdl_Timer()
{
    try {
        if (m_controls.progress() >= 100)
            m_controls.setProgress(0);
        m_controls.setProgress(m_controls.progress() + 1);
        if (m_request == nullptr || m_request->readyState() != 4)
            return;
        const http::HttpResponse response = m_request->response();
        endLoad();
        // Only a completed exchange with a success status gives a document; a body that is not
        // readable XML gives an empty tree.
        const bool read = response.ok() && response.status >= 200 && response.status < 300;
        std::string xml;
        if (read)
            xml = http::xmlBodyToUtf8(response.body, response.header("Content-Type")).value_or(std::string());
        treeLoader().pubstrWsdlPath = m_controls.text("txtWsdlUrl");
        if (!read) {
            treeLoader().WebServiceClassLoad("");
            const std::string reason = response.ok()
                                           ? "HTTP " + std::to_string(response.status) + " " + response.statusText
                                           : response.message;
            uiServices().messageBox(msgWsdlNotRead + "\n" + m_controls.text("txtWsdlUrl") + "\n" + reason,
                                    m_controls.caption(), MessageIcon::Exclamation, MessageButtons::Ok);
            return;
        }
        treeLoader().WebServiceClassLoad(xml);
    } catch (...) {
        // The timer only logs its errors; the page is idle again by then.
        logAndAbsorb("  frmWizard.timSoapLoadWsdl_Timer() ");
    }
}

void Wizard::endLoad()
{
    m_request.reset();
    restoreIdle();
}

void Wizard::cmdCancel_Click()
{
    // The request is cancelled and its thread joined before the window goes.
    m_request.reset();
    WizardNuevo::cmdCancel_Click();
}

// ---------------------------------------------------------------------------------------------
// Tree and pages

void Wizard::tvSoapComponent_AfterCheckBoxStateChanged(controls::TreeItem item)
{
    try {
        controls::ITreeControl& tree = m_controls.tree();
        treeLoader().pubstrSelectedClass = tree.text(tree.parent(item));
        treeLoader().pubstrSelectedMethod = tree.text(item);
        treeLoader().WebServiceMethodParametersInputLoad();
    } catch (...) {
        General::ShowAndLogCurrentError(m_controls.caption(),
                                        "  frmWebServiceSelect.tvSoapComponent_AfterCheckBoxStateChanged() ");
    }
}

void Wizard::chkUseProxy_Click()
{
    const bool ticked = m_controls.isChecked("chkUseProxy");
    for (const char* box : kProxyBoxes)
        m_controls.setEnabled(box, ticked);
}

void Wizard::cmdNext_Click()
{
    try {
        switch (m_controls.selectedPage()) {
        case 1: {
            std::string message;
            if (treeLoader().pubstrServiceName.empty())
                message = messages.msgNoServiceName;
            if (treeLoader().pubstrSelectedMethod.empty())
                message = messages.msgNoMethod;
            if (!message.empty()) {
                uiServices().messageBox(message, msgTitle, MessageIcon::Critical, MessageButtons::Ok);
                return;
            }
            m_controls.setText("lblMsg", messages.msgReviewWsdlData);
            m_controls.setVisible("cmdBack", true);
            m_controls.setText("txtWsdlUrl2", XmlFncs::trimSpaces(m_controls.text("txtWsdlUrl")));
            m_controls.setText("txtServiceName2", treeLoader().pubstrServiceName);
            m_controls.setText("txtClassName", treeLoader().pubstrSelectedClass);
            for (const char* box : {"txtMethodName", "txtMethodName2", "txtMethodName3"})
                m_controls.setText(box, treeLoader().pubstrSelectedMethod);
            m_controls.setText("txtReturnType2", m_controls.text("txtReturnType"));
            m_controls.selectPage(2);
            break;
        }
        case 2:
            if (!pageTwoChecksPass())
                return;
            if (!blnDefLoadFromZel) {
                AttributesListLoad();
                treeLoader().WebServiceMethodParametersInputLoad();
                ReturnAttributesLoad();
            }
            showGuidance(3);
            m_controls.selectPage(3);
            m_controls.setText("cmdNext", messages.msgNext);
            break;
        case 3:
            // The End Activity controls are not adjusted to the return type here.
            showGuidance(4);
            m_controls.selectPage(4);
            m_controls.setText("cmdNext", messages.msgNext);
            break;
        case 4:
            nextFromPageFour();
            break;
        case 5:
            finish();
            break;
        default:
            break;
        }
    } catch (...) {
        // Next only logs its errors; the page stays as it was.
        logAndAbsorb("  frmWizard.cmdNext_Click() ");
    }
}

void Wizard::cmdBack_Click()
{
    try {
        const int page = m_controls.selectedPage();
        if (page >= 2) {
            if (page == 2)
                m_controls.setVisible("cmdBack", false);
            m_controls.selectPage(page - 1);
            m_controls.setText("cmdNext", messages.msgNext);
        }
    } catch (...) {
        General::ShowAndLogCurrentError(m_controls.caption(), "  frmWizard.cmdBack_Click() ");
    }
}

// ---------------------------------------------------------------------------------------------
// Stored definition and Finish

bool Wizard::reopenStoredWsdl(const std::string& wsdl, const std::string&)
{
    return reopenThroughTreeLoader(wsdl);
}

std::string Wizard::EvalCodeMake()
{
    try {
        definitionPropertiesSet(treeLoader().pubstrWsdlXml);
        // The grid alone gives the parameters: every row with a name, in row order, and no row
        // past the last one.
        if (XmlNode stored = objZelScript.pubNodeDefMetParams)
            stored.removeChildren();
        const controls::IParameterGrid& grid = m_controls.grid();
        for (int row = 0; row < grid.rowCount(); ++row)
            if (!grid.cell(row, 0).empty())
                objZelScript.ParamAdd(grid.cell(row, 0), grid.cell(row, 1), grid.cell(row, 2), grid.cell(row, 3));
        return objZelScript.MainEvalCodeMake();
    } catch (...) {
        rethrowWithTag(" frmWizard.EvalCodeMake() ");
    }
}

} // namespace zel::wizard
