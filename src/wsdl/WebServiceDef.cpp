#include "wsdl/WebServiceDef.h"

#include "common/XmlFncs.h"
#include "platform/error/ErrorRecord.h"
#include "wsdl/WsdlQueries.h"

namespace zel {

namespace {

constexpr std::size_t kPortSuffixLength = 11;

// The port and service names become item texts; a missing one cannot be shown.
std::string requiredName(const XmlNode& element, std::string_view what)
{
    if (element.selectSingleNode("self::*[@name]").isNone())
        raise(ErrorNumber::InvalidUseOfNull,
              "Invalid use of Null: the " + std::string(what) + " has no name attribute");
    return element.attribute("name");
}

} // namespace

void WebServiceDef::WebServiceMethodParametersInputLoad()
{
    try {
        if (pubdtMethodsParameters == nullptr)
            raiseObjectNotSet("pubdtMethodsParameters");
        const XmlNode root = XmlFncs::xmlMakeNode(pubstrWsdlXml);
        controls::IParameterGrid& grid = *pubdtMethodsParameters;
        grid.clear();
        if (root.isNone())
            return;
        const std::string message = pubstrSelectedClass + "." + pubstrSelectedMethod;
        const XmlNode request = root.selectSingleNode("//message[@name=" + WsdlQueries::xpathLiteral(message) + "]");
        for (XmlNode part = request.firstChild(); part; part = part.nextSibling()) {
            if (part.type() == XmlNodeType::Element)
                grid.addRow({part.attribute("name"), part.attribute("type"), "[none]", ""});
        }
        for (int row = 0; row < grid.rowCount(); ++row)
            grid.setRowPictures(row, controls::Picture::ParameterName, controls::Picture::ParameterValue);
        if (grid.rowCount() > 0)
            grid.setCurrentRow(0);

        std::string returnType;
        const XmlNode response =
            root.selectSingleNode("//message[@name=" + WsdlQueries::xpathLiteral(message + "Response") + "]");
        for (XmlNode part = response.firstChild(); part; part = part.nextSibling()) {
            if (part.type() == XmlNodeType::Element) {
                returnType = part.attribute("type");
                break;
            }
        }
        if (pubtxtMethodReturnType == nullptr)
            raiseObjectNotSet("pubtxtMethodReturnType");
        pubtxtMethodReturnType->setText(returnType);
    } catch (...) {
        rethrowWithTag(" frmWebServiceSelect.WebServiceMethodParametersInputLoad() ");
    }
}

void WebServiceDef::WebServiceClassLoad(std::string_view pstrWsdlXml, std::string_view pstrClassName,
                                        std::string_view pstrMethodName)
{
    try {
        if (pubtvSoapComponent == nullptr)
            raiseObjectNotSet("pubtvSoapComponent");
        const XmlNode root = XmlFncs::xmlMakeNode(pstrWsdlXml);
        controls::ITreeControl& tree = *pubtvSoapComponent;
        tree.clearChildren(tree.root());
        pubstrWsdlXml.clear();
        if (root.isNone())
            return;
        pubstrWsdlXml = std::string(pstrWsdlXml);

        const XmlNode service = root.child("service");
        if (service.isNone())
            raiseObjectNotSet("the service element of the WSDL");
        if (pubtxtWsdlServiceName == nullptr)
            raiseObjectNotSet("pubtxtWsdlServiceName");
        pubtxtWsdlServiceName->setText(requiredName(service, "service"));
        pubstrServiceName = pubtxtWsdlServiceName->text();

        for (const XmlNode& port : root.selectNodes("service/port")) {
            const std::string portName = requiredName(port, "port");
            const std::size_t length = WsdlQueries::charCount(portName);
            if (length < kPortSuffixLength)
                raise(ErrorNumber::InvalidArgument, "Invalid procedure call or argument: the port name '" + portName +
                                                        "' is shorter than its 11-character suffix");
            std::string className = portName;
            // Drop the last 11 characters, counted as characters rather than bytes.
            const std::string tail = WsdlQueries::dropChars(portName, length - kPortSuffixLength);
            className.resize(portName.size() - tail.size());

            controls::TreeItem item = tree.addChild(tree.root(), className, controls::Picture::Class, true);
            const bool selected = className == pstrClassName;
            if (selected)
                tree.setChecked(item, true);
            WebServiceMethodsLoad(root, className, item, selected, pstrMethodName);
        }
    } catch (...) {
        rethrowWithTag(" WebServiceDef.WebServiceClassLoad() ");
    }
}

void WebServiceDef::WebServiceMethodsLoad(const XmlNode& pNodeWsdlDef, std::string_view pstrClassName,
                                          controls::TreeItem& pobjParentBranch, bool pblnSelected,
                                          std::string_view pstrMethodName)
{
    try {
        if (pubtvSoapComponent == nullptr)
            raiseObjectNotSet("pubtvSoapComponent");
        controls::ITreeControl& tree = *pubtvSoapComponent;
        const std::string binding = std::string(pstrClassName) + "ServiceBinding";
        const std::string query = "binding[@name=" + WsdlQueries::xpathLiteral(binding) + "]/operation";
        for (const XmlNode& operation : pNodeWsdlDef.selectNodes(query)) {
            const std::string name = operation.attribute("name");
            const controls::TreeItem item = tree.addChild(pobjParentBranch, name, controls::Picture::Method, true);
            if (pblnSelected && name == pstrMethodName)
                tree.setChecked(item, true);
        }
    } catch (...) {
        rethrowWithTag(" WebServiceDef.WebServiceMethodsLoad() ");
    }
}

} // namespace zel
