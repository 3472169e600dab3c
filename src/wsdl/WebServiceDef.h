#pragma once

#include "platform/controls/IParameterGrid.h"
#include "platform/controls/ITextBox.h"
#include "platform/controls/ITreeControl.h"
#include "platform/xml/XmlNode.h"

#include <string>
#include <string_view>

namespace zel {

// The older WSDL reader, for documents written without namespace prefixes in the Class.Method
// style: messages "Class.Method" and "Class.MethodResponse", a binding "<Class>ServiceBinding"
// per class, ports named after the class followed by an 11-character suffix. It fills the
// structure tree with classes and methods and the parameter grid with a method's parameters.
// Documents in the prefixed style give an empty tree and grid.
class WebServiceDef
{
public:
    // The WSDL text; set by WebServiceClassLoad ("" when the text did not parse).
    std::string pubstrWsdlXml;
    // The WSDL address; kept for the wizard, not read here.
    std::string pubstrWsdlPath;
    // The service name, copied from the service-name field by WebServiceClassLoad.
    std::string pubstrServiceName;
    std::string pubstrSelectedClass;
    std::string pubstrSelectedMethod;
    // The wizard's controls; not owned.
    controls::IParameterGrid* pubdtMethodsParameters = nullptr;
    controls::ITreeControl* pubtvSoapComponent = nullptr;
    controls::ITextBox* pubtxtMethodReturnType = nullptr;
    controls::ITextBox* pubtxtWsdlServiceName = nullptr;

    // Fills the grid with the parts of the message "Class.Method" (name, type as written,
    // "[none]", "") and the return-type field with the type of the first part of
    // "Class.MethodResponse" ("" when there is none). A text that does not parse only clears the
    // grid. Raises 91 when a control is not set, where it is first needed (the rows are in the
    // grid when the return-type field is missing).
    void WebServiceMethodParametersInputLoad();

    // Clears the tree and loads pstrWsdlXml: the service name into the service-name field and
    // pubstrServiceName, one ticked-or-not class item per port and its methods below it; the
    // class named pstrClassName is ticked, and under it the method named pstrMethodName. A text
    // that does not parse leaves the tree empty and pubstrWsdlXml "". Raises 91 when the root has
    // no "service" child or the service-name field is not set, 94 for a service or port without a
    // name, 5 for a port name shorter than 11 characters (the tree is cleared, pubstrWsdlXml set
    // and the items added before stay).
    void WebServiceClassLoad(std::string_view pstrWsdlXml, std::string_view pstrClassName = {},
                             std::string_view pstrMethodName = {});

    // Adds under pobjParentBranch one method item per operation of the binding
    // "<pstrClassName>ServiceBinding" below pNodeWsdlDef, ticking the one named pstrMethodName
    // when pblnSelected is true.
    void WebServiceMethodsLoad(const XmlNode& pNodeWsdlDef, std::string_view pstrClassName,
                               controls::TreeItem& pobjParentBranch, bool pblnSelected = false,
                               std::string_view pstrMethodName = {});
};

} // namespace zel
