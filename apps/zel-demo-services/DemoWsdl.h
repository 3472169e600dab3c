#pragma once

#include "platform/text/Text.h"

#include <string>
#include <vector>

// The WSDL documents of the demo services, written out from small descriptions so that every
// service has exactly the layout of its style.
namespace zel::demo {

struct WsdlPart
{
    std::string name;
    std::string type; // as written in the WSDL, prefix included ("s:int", "tns:OrderConfirmation")
};

struct WsdlOperation
{
    std::string name;
    std::vector<WsdlPart> inputs;
    std::vector<WsdlPart> outputs; // empty: the operation returns nothing
};

struct WsdlComplexType
{
    std::string name;
    std::vector<WsdlPart> fields;
};

// A document/literal service in the ASMX layout: "wsdl:" for the WSDL elements, schemaPrefix for
// XML Schema, one wrapper element per operation and per response, messages <Op>SoapIn/SoapOut.
struct AsmxService
{
    std::string name;
    std::string targetNamespace;
    std::string schemaPrefix;
    std::string documentation;
    std::vector<WsdlOperation> operations;
    std::vector<WsdlComplexType> complexTypes;
};

// The WSDL text of service, its address being location.
std::string asmxWsdl(const AsmxService& service, const std::string& location);

// A class of the older, unprefixed Class.Method layout: port <Class>ServicePort, binding
// <Class>ServiceBinding, messages Class.Method and Class.MethodResponse.
struct ToolkitClass
{
    std::string name;
    std::vector<WsdlOperation> operations;
};

// The WSDL text of an older-style service with these classes, each at location.
std::string toolkitWsdl(const std::string& serviceName, const std::string& targetNamespace,
                        const std::vector<ToolkitClass>& classes, const std::string& location);

using Text::escapeXml;

} // namespace zel::demo
