#pragma once

#include "common/Localisation.h"
#include "wizard/IWizardControls.h"
#include "wsdef/BPPngDef.h"
#include "wsdef/ZelScriptXml.h"
#include "wsdl/WebService.h"
#include "wsdl/WebServiceDef.h"

#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zel::wizard {

// The texts the wizard shows, by message id; the language step replaces them.
struct WizardMessages
{
    std::string msgWsdlLoad = "Type the address of the web service and press Load, then tick the method to call.";
    std::string msgReviewWsdlData = "Check what was found in the WSDL.";
    std::string msgMapParameters = "Give each input parameter a process attribute or a default value.";
    std::string msgACEDefine = "Choose whether the return value goes into an attribute at the end of the activity.";
    std::string msgInfoProxySetting = "Set the proxy, SSL and time-out of the call, then press Finish.";
    std::string msgNext = "&Next >>";
    std::string msgFinish = "&Finish";
    std::string msgNoWsdlUrl = "There is no WSDL address.";
    std::string msgNoServiceName = "The WSDL names no service.";
    std::string msgNoClass = "There is no class name.";
    std::string msgNoMethod = "There is no method: load the WSDL and tick a method.";
    std::string msgNoReturnType = "The method returns nothing.";
    std::string msgstrCargar = "Load a WSDL first.";
    std::string msgstrMetodo = "Tick the method to call.";
    std::string msgReloadWsdl = "The stored WSDL could not be read again: press Load to read it from its address.";
    std::string msgBrowseNotAvailable = "The registry browser is not available yet.";
    std::string msgCol[4] = {"Name", "DataType", "Attribute", "Default"};
};

// The web-service wizard without its window: the form state, the five pages and their checks,
// the load of page 1, the attribute lists and End Activity page, reopening a stored definition
// and the assembly of the script at Finish. It reads and writes the window through
// IWizardControls only, so the Qt form, the tests and the command-line wizard drive the same
// rules. Handlers that the window calls trap their errors as the form does (Next and the timer
// log them, Load and Browse show and log them, Cancel reports them and closes anyway);
// Form_Load and the operations it calls pass theirs on.
class WizardNuevo
{
public:
    // Picks an address from a registry: true and the address when the user chose one.
    using Browser = std::function<bool(std::string& address)>;

    // The controls must outlive the wizard. Hands the analyser and the tree loader their controls.
    explicit WizardNuevo(IWizardControls& controls);
    virtual ~WizardNuevo();
    WizardNuevo(const WizardNuevo&) = delete;
    WizardNuevo& operator=(const WizardNuevo&) = delete;

    // Design texts of the controls that start with one, as (control, text) pairs.
    static const std::vector<std::pair<const char*, const char*>>& designTexts();
    // Writes the design texts, the initial time-out and the page-1 state into the controls (the
    // Qt form builds its widgets with them instead).
    virtual void applyDesignTexts();

    // Steps 4 to 6 of the form load after the skin: the language, the stored definition (XML
    // text, "" for none) and the page-1 guidance. Errors are raised with " frmWizard.Form_Load() ".
    void Form_Load(std::string_view languageId, std::string_view storedDefinition);
    // Window texts and messages of languageId; nothing changes without its language file.
    virtual void ChangeLanguage(std::string_view languageId);

    virtual void cmdNext_Click();
    virtual void cmdBack_Click();
    virtual void cmdCancel_Click();
    virtual void cmdLoad_Click();
    void cmdBrowse_Click();
    void chkACE_Click();
    void chkProxySetting_Click();
    virtual void timSoapLoadWsdl_Timer();

    // Fills the grid's attribute list and the return-attribute list from the catalogue.
    void AttributesListLoad();
    void ReturnAttributesLoad();
    // Puts a stored definition back into the pages (see the .cpp for how the tree is rebuilt).
    void DefinitionLoadData(std::string_view storedDefinition);
    // Fills objZelScript from the pages and returns the generated script.
    virtual std::string EvalCodeMake();

    // How the WSDL is fetched (the window runs it on a worker thread); none fetches on this thread.
    void setFetch(WebService::HttpSend fetch) { m_fetch = std::move(fetch); }
    // Asked to stop when the wizard is cancelled during a load.
    std::stop_token stopToken() const { return m_stop.get_token(); }
    void setBrowser(Browser browser) { m_browser = std::move(browser); }

    // The definition document as XML text ("" before the document exists).
    std::string definitionXml() const;
    bool isLoading() const { return m_loading; }
    bool isCancelled() const { return m_cancelled; }
    WebService& analyser() { return m_analyser; }
    WebServiceDef& treeLoader() { return m_treeLoader; }

    ZelScriptXml objZelScript;
    bool blnDefLoadFromZel = false;
    std::string EvalCode;
    // Title of Next's error boxes; nothing sets it.
    std::string msgTitle;
    WizardMessages messages;

protected:
    // What the older wizard form shares: the texts of the language file, the page-2 checks,
    // the last two pages, the definition's properties at Finish and the page-1 idle state.
    std::vector<Localisation::Item> languageItems(bool olderForm);
    // Shows the first failing page-2 check; true when all pass.
    bool pageTwoChecksPass();
    void nextFromPageFour();
    void finish();
    // The three property setters of Finish, with wsdlXml as the stored WSDL copy.
    void definitionPropertiesSet(const std::string& wsdlXml);
    void setAceControls(bool enabled);
    void setProxyControls(bool enabled);
    void setLoadButtons(bool enabled);
    void restoreIdle();
    void showGuidance(int page);
    // Rebuilds the tree and the grid from a stored WSDL copy; false when no reader understood it.
    virtual bool reopenStoredWsdl(const std::string& wsdl, const std::string& path);
    bool reopenThroughTreeLoader(const std::string& wsdl);

    IWizardControls& m_controls;

private:
    class NamedTextBox;

    void fillTree(const std::string& serviceName, std::string_view tickedMethod);
    void fillPageTwo();
    bool reopenThroughAnalyser(const std::string& wsdl, const std::string& path);
    void restoreMappings(const XmlNode& definition);

    std::unique_ptr<NamedTextBox> m_txtReturnType;
    std::unique_ptr<NamedTextBox> m_txtServiceName2;
    WebService m_analyser;
    WebServiceDef m_treeLoader;
    BPPngDef m_catalogue;
    WebService::HttpSend m_fetch;
    Browser m_browser;
    std::stop_source m_stop;
    // While a stored definition is reopened, the analyser reads this copy instead of the network.
    std::optional<std::string> m_storedCopy;
    std::string m_storedClassName;
    std::string m_storedMethodName;
    bool m_loading = false;
    bool m_cancelled = false;
    bool m_reopenFailed = false;
};

} // namespace zel::wizard
