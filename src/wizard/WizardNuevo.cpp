#include "wizard/WizardNuevo.h"

#include "common/General.h"
#include "common/Localisation.h"
#include "common/XmlFncs.h"
#include "platform/com/ClassRegistry.h"
#include "platform/error/ErrorRecord.h"
#include "platform/http/HttpClient.h"
#include "platform/ui/UiServices.h"
#include "wsdl/ParameterSequence.h"

#include <cmath>
#include <cstdlib>
#include <set>

namespace zel::wizard {
namespace {

constexpr const char* kNone = "[none]";
constexpr int kPageCount = 5;

// The End Activity controls that follow the operation's return type.
constexpr const char* kAceControls[] = {"chkACE",         "lblMethodName2",     "txtMethodName2",    "lblReturnType",
                                        "txtReturnType2", "lblOmbrelAttribute", "pvAttributesReturn"};
constexpr const char* kLoadButtons[] = {"cmdBack", "cmdNext", "cmdLoad", "cmdBrowse"};
constexpr const char* kNotes[] = {"lblMen1", "lblMen2", "lblMen3"};

// A stored Boolean: "1", "-1", "True" and any other non-zero number are true.
bool storedBoolean(const std::string& text)
{
    const std::string value = XmlFncs::trimSpaces(text);
    if (value.empty())
        return false;
    if (value == "True" || value == "true" || value == "TRUE")
        return true;
    char* end = nullptr;
    const double number = std::strtod(value.c_str(), &end);
    return end != value.c_str() && *end == '\0' && number != 0;
}

// A number of seconds as the time-out box shows it; "0" for a text that is no number.
std::string wholeSeconds(const std::string& text)
{
    const std::string value = XmlFncs::trimSpaces(text);
    char* end = nullptr;
    const double number = std::strtod(value.c_str(), &end);
    if (end == value.c_str() || !std::isfinite(number) || number < 0)
        return "0";
    return std::to_string(std::lround(std::min(number, 2147483647.0)));
}

// The catalogue's attribute identifiers, in its order; none for an empty or unreadable text.
std::vector<std::string> attributeIds(BPPngDef& catalogue)
{
    std::vector<std::string> ids;
    if (const XmlNode node = XmlFncs::xmlMakeNode(catalogue.AttributesGet()))
        for (const XmlNode& child : node.children())
            ids.push_back(child.text());
    return ids;
}

std::vector<std::string> splitAtCommas(const std::string& text)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (std::size_t comma; (comma = text.find(',', start)) != std::string::npos; start = comma + 1)
        pieces.push_back(text.substr(start, comma - start));
    pieces.push_back(text.substr(start));
    return pieces;
}

// The analyser's list separates names with commas, so a name that holds one arrives in pieces.
// Adjacent pieces are joined again when together they name an element of the WSDL and apart they
// would offer an operation that does not exist.
std::vector<std::string> operationNames(const std::vector<std::string>& pieces, const XmlNode& wsdl)
{
    std::set<std::string> named;
    for (const XmlNode& element : wsdl.selectNodes("//*[@name]"))
        if (const std::string name = element.attribute("name"); name.find(',') != std::string::npos)
            named.insert(name);
    std::vector<std::string> names;
    for (std::size_t first = 0; first < pieces.size();) {
        std::size_t last = first;
        std::string joined = pieces[first];
        for (std::size_t next = first + 1; !named.empty() && next < pieces.size(); ++next) {
            joined += ',' + pieces[next];
            if (named.count(joined) != 0)
                last = next;
        }
        std::string name = pieces[first];
        for (std::size_t piece = first + 1; piece <= last; ++piece)
            name += ',' + pieces[piece];
        names.push_back(std::move(name));
        first = last + 1;
    }
    return names;
}

// The first grid row, from 0 to the last, whose name cell equals name; -1 when none does.
int rowNamed(const controls::IParameterGrid& grid, const std::string& name)
{
    for (int row = 0; row < grid.rowCount(); ++row)
        if (grid.cell(row, 0) == name)
            return row;
    return -1;
}

} // namespace

// A text box of the window seen through the control interface, for the analyser and the tree
// loader, which write the return type and the service name into the window.
class WizardNuevo::NamedTextBox final : public controls::ITextBox
{
public:
    NamedTextBox(IWizardControls& controls, const char* name) : m_controls(controls), m_name(name) {}
    std::string text() const override { return m_controls.text(m_name); }
    void setText(const std::string& text) override { m_controls.setText(m_name, text); }

private:
    IWizardControls& m_controls;
    const char* m_name;
};

WizardNuevo::WizardNuevo(IWizardControls& controls)
    : m_controls(controls), m_txtReturnType(std::make_unique<NamedTextBox>(controls, "txtReturnType")),
      m_txtServiceName2(std::make_unique<NamedTextBox>(controls, "txtServiceName2"))
{
    m_analyser.pubdtMethodsParameters = &controls.grid();
    m_analyser.pubtxtMethodReturnType = m_txtReturnType.get();
    m_treeLoader.pubtvSoapComponent = &controls.tree();
    m_treeLoader.pubdtMethodsParameters = &controls.grid();
    m_treeLoader.pubtxtMethodReturnType = m_txtReturnType.get();
    m_treeLoader.pubtxtWsdlServiceName = m_txtServiceName2.get();
    // A reopened definition is read from its stored copy; every other fetch goes to the network.
    m_analyser.setHttpSend([this](const http::HttpRequest& request, const http::HttpOptions& options) {
        if (m_storedCopy) {
            http::HttpResponse response;
            response.status = 200;
            response.body = *m_storedCopy;
            return response;
        }
        return m_fetch ? m_fetch(request, options) : http::HttpClient::send(request, options, m_stop.get_token());
    });
}

WizardNuevo::~WizardNuevo() = default;

const std::vector<std::pair<const char*, const char*>>& WizardNuevo::designTexts()
{
    static const std::vector<std::pair<const char*, const char*>> texts = {
        {"lblWsdlUrl", "WSDL Url"},
        {"lblWsdlUrl2", "WSDL Url"},
        {"cmdLoad", "Load"},
        {"cmdBrowse", "Browse"},
        {"lblDetails", "WSDL Structure"},
        {"lblPrefijos", "Prefijos (Cada prefijo debe ir separado por coma)"},
        {"txtPrefijos", "xsd,xsi,xs,s"},
        {"lblService2", "Service Name"},
        {"lblClass", "Class Name"},
        {"lblMethod", "Method Name"},
        {"lblMethodName", "Method Name"},
        {"lblMethodName2", "Method Name"},
        {"lblReturn", "Return Type"},
        {"lblReturnType", "Return Type"},
        {"lblParameters", "Define Parameters Input"},
        {"chkACE", "End Activity ..."},
        {"lblOmbrelAttribute", "OMBREL Attribute"},
        {"chkProxySetting", "Use Proxy Setting ..."},
        {"chkUseProxy", "Use Proxy"},
        {"chkUseSSL", "Use SSL"},
        {"lblProxyServer", "Proxy Server"},
        {"lblProxyPort", "Proxy Port"},
        {"lblProxyUser", "Proxy User"},
        {"lblProxyPassword", "Password"},
        {"lblTimeOut", "Time Out"},
        {"lblTimeOut2", "(Seconds, 0: Default Server Value)"},
        {"cmdBack", "<< &Back"},
        {"cmdNext", "&Next >>"},
        {"cmdCancel", "&Cancel"},
        {"lblMen1", "No se encontro parametro de retorno del web service."},
        {"lblMen2", "Por esta razon no se puede realizar un End Activity, ya que no es"},
        {"lblMen3", "posible obtener un valor del web service para el atributo"},
        {"pvTimeOut", "0"},
    };
    return texts;
}

void WizardNuevo::applyDesignTexts()
{
    for (const auto& [control, text] : designTexts())
        m_controls.setText(control, text);
    for (int column = 0; column < 4; ++column)
        m_controls.setGridHeading(column, messages.msgCol[column]);
    m_controls.setVisible("cmdBack", false);
    m_controls.setVisible("progbarWsdlLoad", false);
    setAceControls(false);
    setProxyControls(false);
    m_controls.selectPage(1);
}

// ---------------------------------------------------------------------------------------------
// Form load and language

void WizardNuevo::Form_Load(std::string_view languageId, std::string_view storedDefinition)
{
    try {
        ChangeLanguage(languageId);
        DefinitionLoadData(storedDefinition);
        m_controls.setText("lblMsg", m_reopenFailed ? messages.msgReloadWsdl : messages.msgWsdlLoad);
    } catch (...) {
        rethrowWithTag(" frmWizard.Form_Load() ");
    }
}

void WizardNuevo::ChangeLanguage(std::string_view languageId)
{
    try {
        Localisation::apply(
            "frmWizardNuevo", languageId, [this](const std::string& caption) { m_controls.setCaption(caption); },
            languageItems(false));
    } catch (...) {
        rethrowWithTag(" frmWizard.ChangeLanguage() ");
    }
}

std::vector<Localisation::Item> WizardNuevo::languageItems(bool olderForm)
{
    std::vector<Localisation::Item> items;
    for (const char* control : {"lblClass",         "lblDetails",      "lblMethod",      "lblMethodName",
                                "lblMethodName2",   "lblMsg",          "lblParameters",  "lblOmbrelAttribute",
                                "lblProxyPassword", "lblProxyPort",    "lblProxyServer", "lblProxyUser",
                                "lblReturn",        "lblReturnType",   "lblService2",    "lblTimeOut",
                                "lblTimeOut2",      "lblWsdlUrl",      "lblWsdlUrl2",    "lblPrefijos",
                                "chkACE",           "chkProxySetting", "chkUseProxy",    "chkUseSSL",
                                "cmdBack",          "cmdBrowse",       "cmdCancel",      "cmdLoad",
                                "cmdNext"})
        items.push_back({control, [this, control](const std::string& text) { m_controls.setText(control, text); }});
    auto message = [](std::string& variable) { return [&variable](const std::string& text) { variable = text; }; };
    WizardMessages& m = messages;
    // The older form knows these twelve ids only, and no grid headings.
    std::vector<std::pair<const char*, std::string*>> ids{{"msgWsdlLoad", &m.msgWsdlLoad},
                                                          {"msgReviewWsdlData", &m.msgReviewWsdlData},
                                                          {"msgMapParameters", &m.msgMapParameters},
                                                          {"msgACEDefine", &m.msgACEDefine},
                                                          {"msgInfoProxySetting", &m.msgInfoProxySetting},
                                                          {"msgNext", &m.msgNext},
                                                          {"msgFinish", &m.msgFinish},
                                                          {"msgNoWsdlUrl", &m.msgNoWsdlUrl},
                                                          {"msgNoServiceName", &m.msgNoServiceName},
                                                          {"msgNoClass", &m.msgNoClass},
                                                          {"msgNoMethod", &m.msgNoMethod},
                                                          {"msgNoReturnType", &m.msgNoReturnType}};
    if (!olderForm)
        ids.insert(ids.end(), {{"msgstrCargar", &m.msgstrCargar},
                               {"msgstrMetodo", &m.msgstrMetodo},
                               {"msgReloadWsdl", &m.msgReloadWsdl},
                               {"msgBrowseNotAvailable", &m.msgBrowseNotAvailable}});
    for (auto& [id, variable] : ids)
        items.push_back({id, message(*variable)});
    if (!olderForm)
        for (int column = 0; column < 4; ++column)
            items.push_back({"msgCol" + std::to_string(column), [this, column](const std::string& text) {
                                 messages.msgCol[column] = text;
                                 m_controls.setGridHeading(column, text);
                             }});
    return items;
}

// ---------------------------------------------------------------------------------------------
// Navigation

void WizardNuevo::showGuidance(int page)
{
    const std::string* texts[] = {&messages.msgWsdlLoad, &messages.msgReviewWsdlData, &messages.msgMapParameters,
                                  &messages.msgACEDefine, &messages.msgInfoProxySetting};
    if (page >= 1 && page <= kPageCount)
        m_controls.setText("lblMsg", *texts[page - 1]);
}

void WizardNuevo::cmdNext_Click()
{
    try {
        std::string message;
        switch (m_controls.selectedPage()) {
        case 1: {
            if (m_analyser.SelectedWebService.empty())
                message = messages.msgNoServiceName;
            if (m_analyser.SelectedClass.empty())
                message = messages.msgNoMethod;
            m_analyser.SelectedMethod.clear();
            m_analyser.Prefijos = m_controls.text("txtPrefijos");
            m_analyser.ReturnType.clear();
            controls::ITreeControl& tree = m_controls.tree();
            const controls::TreeItem classItem = tree.child(tree.root(), 0);
            for (int index = 0; index <= tree.itemCount() - 2; ++index) {
                const controls::TreeItem item = tree.child(classItem, index);
                if (tree.isChecked(item)) {
                    m_analyser.SelectedMethod = tree.text(item);
                    break;
                }
            }
            if (XmlFncs::isBlank(m_analyser.SelectedMethod)) {
                uiServices().messageBox(tree.itemCount() == 0 ? messages.msgstrCargar : messages.msgstrMetodo,
                                        m_controls.caption(), MessageIcon::Information, MessageButtons::Ok);
                return;
            }
            if (!message.empty()) {
                uiServices().messageBox(message, msgTitle, MessageIcon::Critical, MessageButtons::Ok);
                return;
            }
            m_analyser.BuscarParametrosRetorno();
            showGuidance(2);
            m_controls.setVisible("cmdBack", true);
            fillPageTwo();
            m_controls.selectPage(2);
            break;
        }
        case 2:
            if (!pageTwoChecksPass())
                return;
            if (!blnDefLoadFromZel) {
                AttributesListLoad();
                m_analyser.WebServiceMethodParametersInputLoad();
                ReturnAttributesLoad();
            }
            showGuidance(3);
            m_controls.selectPage(3);
            break;
        case 3:
            showGuidance(4);
            m_controls.selectPage(4);
            setAceControls(!XmlFncs::trimSpaces(m_analyser.ReturnType).empty());
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

bool WizardNuevo::pageTwoChecksPass()
{
    std::string message;
    if (m_controls.text("txtWsdlUrl").empty())
        message = messages.msgNoWsdlUrl;
    if (m_controls.text("txtClassName").empty())
        message = messages.msgNoClass;
    if (m_controls.text("txtMethodName").empty())
        message = messages.msgNoMethod;
    if (!message.empty())
        uiServices().messageBox(message, msgTitle, MessageIcon::Critical, MessageButtons::Ok);
    return message.empty();
}

void WizardNuevo::nextFromPageFour()
{
    showGuidance(5);
    m_controls.selectPage(5);
    m_controls.setText("cmdNext", messages.msgFinish);
}

void WizardNuevo::finish()
{
    EvalCode = EvalCodeMake();
    m_controls.hideWindow();
}

void WizardNuevo::fillPageTwo()
{
    m_controls.setText("txtWsdlUrl2", XmlFncs::trimSpaces(m_controls.text("txtWsdlUrl")));
    m_controls.setText("txtServiceName2", m_analyser.SelectedClass);
    m_controls.setText("txtClassName", m_analyser.SelectedClass);
    for (const char* box : {"txtMethodName", "txtMethodName2", "txtMethodName3"})
        m_controls.setText(box, m_analyser.SelectedMethod);
    m_controls.setText("txtReturnType", m_analyser.ReturnType);
    m_controls.setText("txtReturnType2", m_controls.text("txtReturnType"));
}

void WizardNuevo::setAceControls(bool enabled)
{
    for (const char* note : kNotes)
        m_controls.setVisible(note, !enabled);
    for (const char* control : kAceControls)
        m_controls.setEnabled(control, enabled);
}

void WizardNuevo::cmdBack_Click()
{
    try {
        const int page = m_controls.selectedPage();
        if (page >= 2) {
            if (page == 2)
                m_controls.setVisible("cmdBack", false);
            m_controls.selectPage(page - 1);
            m_controls.setText("cmdNext", messages.msgNext);
        }
        showGuidance(m_controls.selectedPage());
    } catch (...) {
        General::ShowAndLogCurrentError(m_controls.caption(), "  frmWizard.cmdBack_Click() ");
    }
}

void WizardNuevo::cmdCancel_Click()
{
    m_cancelled = true;
    m_stop.request_stop();
    try {
        auto component = com::ClassRegistry::instance().createAs<IWizardCancel>(kClsidWizardCancel);
        component->Cancel();
    } catch (...) {
        // Reported, and the wizard closes all the same.
        General::ReportCurrentError(" frmConnect.cmdCancel_Click() ", m_controls.caption());
    }
    EvalCode.clear();
    m_controls.closeWindow();
}

void WizardNuevo::chkACE_Click()
{
    const bool ticked = m_controls.isChecked("chkACE");
    m_controls.setEnabled("frameACE", ticked);
    m_controls.setEnabled("pvAttributesReturn", ticked);
}

void WizardNuevo::chkProxySetting_Click()
{
    setProxyControls(m_controls.isChecked("chkProxySetting"));
}

void WizardNuevo::setProxyControls(bool enabled)
{
    for (const char* control : {"frameProxySetting", "pvTimeOut", "chkUseProxy", "chkUseSSL"})
        m_controls.setEnabled(control, enabled);
}

// ---------------------------------------------------------------------------------------------
// Page 1: load and browse

void WizardNuevo::setLoadButtons(bool enabled)
{
    for (const char* button : kLoadButtons)
        m_controls.setEnabled(button, enabled);
}

void WizardNuevo::cmdLoad_Click()
{
    try {
        const std::string address = XmlFncs::trimSpaces(m_controls.text("txtWsdlUrl"));
        m_controls.setBusyPointer(true);
        m_controls.setProgress(0);
        m_controls.setVisible("progbarWsdlLoad", true);
        setLoadButtons(false);
        m_controls.setTimerRunning(true);
        m_loading = true;

        m_analyser.strUrl = address;
        m_controls.tree().clearChildren(m_controls.tree().root());
        const std::string service = m_analyser.BuscarClasesWs();
        if (m_cancelled)
            return; // the wizard was closed while the WSDL was on its way
        if (!XmlFncs::isBlank(service))
            fillTree(service, {});
        m_loading = false;
        blnDefLoadFromZel = false;
    } catch (...) {
        // A failed load must not leave the page locked: back to idle at once, then tell the user.
        m_loading = false;
        restoreIdle();
        General::ShowAndLogCurrentError(m_controls.caption(), "  frmWizard.cmdLoad_Click() ");
    }
}

void WizardNuevo::fillTree(const std::string& serviceName, std::string_view tickedMethod)
{
    controls::ITreeControl& tree = m_controls.tree();
    controls::TreeItem classItem = tree.addChild(tree.root(), serviceName, controls::Picture::Class, false);
    std::string methods = m_analyser.BuscarMedotosWs(m_controls.text("txtPrefijos"));
    if (XmlFncs::isBlank(methods))
        return;
    methods.pop_back();
    for (const std::string& method : operationNames(splitAtCommas(methods), m_analyser.WSXML)) {
        const controls::TreeItem item = tree.addChild(classItem, method, controls::Picture::Method, true);
        if (!tickedMethod.empty() && method == tickedMethod)
            tree.setChecked(item, true);
    }
}

void WizardNuevo::timSoapLoadWsdl_Timer()
{
    try {
        if (m_controls.progress() >= 100)
            m_controls.setProgress(0);
        m_controls.setProgress(m_controls.progress() + 1);
        m_controls.processEvents();
        if (!m_loading)
            restoreIdle();
    } catch (...) {
        logAndAbsorb("  frmWizard.timSoapLoadWsdl_Timer() ");
    }
}

void WizardNuevo::restoreIdle()
{
    m_controls.setTimerRunning(false);
    m_controls.setBusyPointer(false);
    m_controls.setProgress(0);
    m_controls.setVisible("progbarWsdlLoad", false);
    setLoadButtons(true);
}

void WizardNuevo::cmdBrowse_Click()
{
    try {
        std::string address;
        if (!m_browser) {
            uiServices().messageBox(messages.msgBrowseNotAvailable, m_controls.caption(), MessageIcon::Information,
                                    MessageButtons::Ok);
            return;
        }
        if (m_browser(address))
            m_controls.setText("txtWsdlUrl", address);
    } catch (...) {
        General::ShowAndLogCurrentError(m_controls.caption(), "  frmWizard.cmdBrowse_Click() ");
    }
}

// ---------------------------------------------------------------------------------------------
// Pages 3 and 4: attribute lists

void WizardNuevo::AttributesListLoad()
{
    try {
        std::string list = kNone;
        for (const std::string& id : attributeIds(m_catalogue))
            list += '\t' + id;
        m_controls.setGridAttributeList(list);
    } catch (...) {
        rethrowWithTag(" frmParametersSet.AttributesListLoad() ");
    }
}

void WizardNuevo::ReturnAttributesLoad()
{
    try {
        std::vector<std::string> items{kNone};
        for (std::string& id : attributeIds(m_catalogue))
            items.push_back(std::move(id));
        m_controls.setListItems("pvAttributesReturn", items);
    } catch (...) {
        rethrowWithTag(" frmParametersSet.ReturnAttributesLoad() ");
    }
}

// ---------------------------------------------------------------------------------------------
// Stored definition and Finish

void WizardNuevo::DefinitionLoadData(std::string_view storedDefinition)
{
    try {
        m_reopenFailed = false;
        const XmlNode definition = XmlFncs::xmlMakeNode(storedDefinition);
        if (!definition)
            return; // no definition, or one that is not XML: the wizard opens empty
        objZelScript.NodeRootValidate(storedDefinition);

        // The copy is embedded as XML when it was well-formed, as one CDATA section otherwise.
        std::string wsdl;
        if (const XmlNode copy = definition.selectSingleNode("WebService/Wsdl").firstChild())
            wsdl = copy.type() == XmlNodeType::Element ? copy.xml() : copy.value();
        const std::string path = XmlFncs::xmlNodeValueGet(definition, "WebService/Path");
        m_storedClassName = XmlFncs::xmlNodeValueGet(definition, "WebService/ClassName");
        m_storedMethodName = XmlFncs::xmlNodeValueGet(definition, "Method/Name");
        const bool ace = storedBoolean(XmlFncs::xmlNodeValueGet(definition, "WebService/ACE"));
        const std::string returnAttribute = XmlFncs::xmlNodeValueGet(definition, "Method/Return/AtrId");

        m_controls.setText("txtWsdlUrl", path);
        m_treeLoader.pubstrWsdlPath = m_controls.text("txtWsdlUrl");
        // The lists are filled here so that the stored attributes can be shown and kept.
        AttributesListLoad();
        ReturnAttributesLoad();

        // The pages of this wizard load prefixed WSDLs, which only the analyser reads; older
        // definitions hold unprefixed ones for the tree loader. Nothing is fetched: with no
        // readable copy the pages keep the stored values and the user is asked to Load.
        const bool rebuilt = reopenStoredWsdl(wsdl, path);
        m_reopenFailed = !rebuilt;
        if (rebuilt)
            restoreMappings(definition);

        if (ace) {
            m_controls.setChecked("chkACE", true);
            chkACE_Click();
            m_controls.setText("pvAttributesReturn", returnAttribute);
        }

        const XmlNode proxy = objZelScript.pubNodeDefProxy;
        const bool useProxy = storedBoolean(XmlFncs::xmlNodeValueGet(proxy, "UseProxy"));
        const bool useSsl = storedBoolean(XmlFncs::xmlNodeValueGet(proxy, "UseSSL"));
        if (useProxy || useSsl) {
            m_controls.setChecked("chkProxySetting", true);
            chkProxySetting_Click();
            m_controls.setChecked("chkUseProxy", useProxy);
            m_controls.setChecked("chkUseSSL", useSsl);
            for (const auto& [box, name] :
                 {std::pair{"txtProxyServer", "Server"}, std::pair{"txtProxyPort", "Port"},
                  std::pair{"txtProxyUser", "User"}, std::pair{"txtProxyPassword", "Password"}})
                m_controls.setText(box, XmlFncs::xmlNodeValueGet(proxy, name));
            m_controls.setText("pvTimeOut", wholeSeconds(XmlFncs::xmlNodeValueGet(proxy, "Timeout")));
        }
        blnDefLoadFromZel = true;
        m_controls.selectPage(1);
    } catch (...) {
        m_storedCopy.reset();
        rethrowWithTag(" frmWizard.DefinitionLoadData() ");
    }
}

bool WizardNuevo::reopenStoredWsdl(const std::string& wsdl, const std::string& path)
{
    return reopenThroughAnalyser(wsdl, path) || reopenThroughTreeLoader(wsdl);
}

bool WizardNuevo::reopenThroughAnalyser(const std::string& wsdl, const std::string& path)
{
    if (XmlFncs::isBlank(wsdl))
        return false;
    m_storedCopy = wsdl;
    m_analyser.strUrl = path.empty() ? std::string("stored") : path;
    const std::string service = m_analyser.BuscarClasesWs();
    m_storedCopy.reset();
    if (XmlFncs::isBlank(service))
        return false;
    m_controls.tree().clearChildren(m_controls.tree().root());
    fillTree(service, m_storedMethodName);
    m_analyser.SelectedMethod = m_storedMethodName;
    m_analyser.Prefijos = m_controls.text("txtPrefijos");
    m_analyser.ReturnType.clear();
    m_analyser.BuscarParametrosRetorno();
    fillPageTwo();
    m_analyser.WebServiceMethodParametersInputLoad();
    return true;
}

bool WizardNuevo::reopenThroughTreeLoader(const std::string& wsdl)
{
    if (XmlFncs::isBlank(wsdl))
        return false;
    try {
        m_treeLoader.WebServiceClassLoad(wsdl, m_storedClassName, m_storedMethodName);
        if (m_treeLoader.pubstrWsdlXml.empty() || m_controls.tree().itemCount() == 0)
            return false;
        m_treeLoader.pubstrSelectedMethod = m_storedMethodName;
        m_treeLoader.pubstrSelectedClass = m_storedClassName;
        m_treeLoader.pubstrSelectedMethod = m_storedMethodName;
        m_treeLoader.WebServiceMethodParametersInputLoad();
        return true;
    } catch (...) {
        // A copy neither reader understands: logged, and the wizard opens on the stored values
        // asking for a Load instead of refusing to open.
        logAndAbsorb(" frmWizard.DefinitionLoadData() ");
        m_controls.tree().clearChildren(m_controls.tree().root());
        m_controls.grid().clear();
        return false;
    }
}

void WizardNuevo::restoreMappings(const XmlNode& definition)
{
    controls::IParameterGrid& grid = m_controls.grid();
    for (const XmlNode& parameter : definition.selectNodes("Method/Parameters/*")) {
        const int row = rowNamed(grid, XmlFncs::xmlNodeValueGet(parameter, "Name"));
        if (row < 0)
            continue;
        grid.setCell(row, 2, XmlFncs::xmlNodeValueGet(parameter, "AtrId"));
        grid.setCell(row, 3, XmlFncs::xmlNodeValueGet(parameter, "DefValue"));
    }
}

std::string WizardNuevo::EvalCodeMake()
{
    try {
        definitionPropertiesSet(m_analyser.WSXML.xml());
        // The grid holds every parameter of the method: mappings of a reopened definition whose
        // parameters the WSDL no longer has must not reach the call.
        if (XmlNode stored = objZelScript.pubNodeDefMetParams)
            stored.removeChildren();
        const controls::IParameterGrid& grid = m_controls.grid();
        if (const XmlNode sequence = ParameterSequence::get()) {
            for (const XmlNode& element : sequence.children()) {
                if (element.type() != XmlNodeType::Element)
                    continue;
                const int row = rowNamed(grid, element.attribute("name"));
                if (row < 0 || grid.cell(row, 0).empty())
                    continue;
                objZelScript.ParamAdd(grid.cell(row, 0), grid.cell(row, 1), grid.cell(row, 2), grid.cell(row, 3));
            }
        }
        ParameterSequence::clear();
        return objZelScript.MainEvalCodeMake();
    } catch (...) {
        ParameterSequence::clear();
        rethrowWithTag(" frmWizard.EvalCodeMake() ");
    }
}

void WizardNuevo::definitionPropertiesSet(const std::string& wsdlXml)
{
    objZelScript.WebServicePropertiesSet(m_controls.text("txtWsdlUrl2"), wsdlXml, false, m_controls.isChecked("chkACE"),
                                         m_controls.text("txtServiceName2"), m_controls.text("txtClassName"),
                                         m_controls.text("txtMethodName2"));
    objZelScript.WebServiceMethodReturnSet(m_controls.text("txtReturnType2"), m_controls.text("pvAttributesReturn"));
    objZelScript.WebServiceProxySettingsSet(m_controls.isChecked("chkUseProxy"), m_controls.isChecked("chkUseSSL"),
                                            m_controls.text("txtProxyServer"), m_controls.text("txtProxyPort"),
                                            m_controls.text("txtProxyUser"), m_controls.text("txtProxyPassword"),
                                            std::stod(wholeSeconds(m_controls.text("pvTimeOut"))));
}

std::string WizardNuevo::definitionXml() const
{
    return objZelScript.pubNodeDefinition.xml();
}

} // namespace zel::wizard
