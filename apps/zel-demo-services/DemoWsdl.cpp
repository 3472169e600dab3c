#include "DemoWsdl.h"

namespace zel::demo {


namespace {

std::string sequence(const std::string& p, const std::vector<WsdlPart>& parts, const std::string& indent)
{
    if (parts.empty())
        return indent + "<" + p + ":complexType />\n";
    std::string out = indent + "<" + p + ":complexType>\n" + indent + "  <" + p + ":sequence>\n";
    for (const WsdlPart& part : parts)
        out += indent + "    <" + p + ":element minOccurs=\"1\" maxOccurs=\"1\" name=\"" + part.name + "\" type=\"" +
               part.type + "\" />\n";
    return out + indent + "  </" + p + ":sequence>\n" + indent + "</" + p + ":complexType>\n";
}

} // namespace

std::string asmxWsdl(const AsmxService& service, const std::string& location)
{
    const std::string& p = service.schemaPrefix;
    const std::string& ns = service.targetNamespace;
    std::string w;
    w += "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
    w += "<wsdl:definitions xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\" "
         "xmlns:tm=\"http://microsoft.com/wsdl/mime/textMatching/\" "
         "xmlns:soapenc=\"http://schemas.xmlsoap.org/soap/encoding/\" "
         "xmlns:mime=\"http://schemas.xmlsoap.org/wsdl/mime/\" xmlns:tns=\"" +
         ns + "\" xmlns:" + p + "=\"http://www.w3.org/2001/XMLSchema\" targetNamespace=\"" + ns +
         "\" xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\">\n";
    w += "  <wsdl:documentation>" + escapeXml(service.documentation) + "</wsdl:documentation>\n";
    w += "  <wsdl:types>\n    <" + p + ":schema elementFormDefault=\"qualified\" targetNamespace=\"" + ns + "\">\n";
    for (const WsdlOperation& op : service.operations) {
        w += "      <" + p + ":element name=\"" + op.name + "\">\n" + sequence(p, op.inputs, "        ");
        w += "      </" + p + ":element>\n";
        w += "      <" + p + ":element name=\"" + op.name + "Response\">\n" + sequence(p, op.outputs, "        ");
        w += "      </" + p + ":element>\n";
    }
    for (const WsdlComplexType& type : service.complexTypes) {
        w += "      <" + p + ":complexType name=\"" + type.name + "\">\n        <" + p + ":sequence>\n";
        for (const WsdlPart& field : type.fields)
            w += "          <" + p + ":element minOccurs=\"1\" maxOccurs=\"1\" name=\"" + field.name + "\" type=\"" +
                 field.type + "\" />\n";
        w += "        </" + p + ":sequence>\n      </" + p + ":complexType>\n";
    }
    w += "    </" + p + ":schema>\n  </wsdl:types>\n";
    for (const WsdlOperation& op : service.operations) {
        w += "  <wsdl:message name=\"" + op.name +
             "SoapIn\">\n    <wsdl:part name=\"parameters\" element=\"tns:" + op.name + "\" />\n  </wsdl:message>\n";
        w += "  <wsdl:message name=\"" + op.name +
             "SoapOut\">\n    <wsdl:part name=\"parameters\" element=\"tns:" + op.name +
             "Response\" />\n  </wsdl:message>\n";
    }
    w += "  <wsdl:portType name=\"" + service.name + "Soap\">\n";
    for (const WsdlOperation& op : service.operations)
        w += "    <wsdl:operation name=\"" + op.name + "\">\n      <wsdl:input message=\"tns:" + op.name +
             "SoapIn\" />\n      <wsdl:output message=\"tns:" + op.name + "SoapOut\" />\n    </wsdl:operation>\n";
    w += "  </wsdl:portType>\n";
    w += "  <wsdl:binding name=\"" + service.name + "Soap\" type=\"tns:" + service.name + "Soap\">\n";
    w += "    <soap:binding transport=\"http://schemas.xmlsoap.org/soap/http\" />\n";
    for (const WsdlOperation& op : service.operations)
        w += "    <wsdl:operation name=\"" + op.name + "\">\n      <soap:operation soapAction=\"" + ns + op.name +
             "\" style=\"document\" />\n      <wsdl:input>\n        <soap:body use=\"literal\" />\n"
             "      </wsdl:input>\n      <wsdl:output>\n        <soap:body use=\"literal\" />\n"
             "      </wsdl:output>\n    </wsdl:operation>\n";
    w += "  </wsdl:binding>\n";
    w += "  <wsdl:service name=\"" + service.name + "\">\n    <wsdl:port name=\"" + service.name +
         "Soap\" binding=\"tns:" + service.name + "Soap\">\n      <soap:address location=\"" + escapeXml(location) +
         "\" />\n    </wsdl:port>\n  </wsdl:service>\n";
    w += "</wsdl:definitions>\n";
    return w;
}

std::string toolkitWsdl(const std::string& serviceName, const std::string& targetNamespace,
                        const std::vector<ToolkitClass>& classes, const std::string& location)
{
    std::string w;
    w += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    w += "<definitions name=\"" + serviceName + "\" targetNamespace=\"" + targetNamespace + "\" xmlns:wsdlns=\"" +
         targetNamespace + "\" xmlns:typens=\"" + targetNamespace +
         "/type\" xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\" "
         "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xmlns=\"http://schemas.xmlsoap.org/wsdl/\">\n";
    for (const ToolkitClass& cls : classes) {
        for (const WsdlOperation& op : cls.operations) {
            w += "  <message name=\"" + cls.name + "." + op.name + "\">\n";
            for (const WsdlPart& part : op.inputs)
                w += "    <part name=\"" + part.name + "\" type=\"" + part.type + "\" />\n";
            w += "  </message>\n  <message name=\"" + cls.name + "." + op.name + "Response\">\n";
            for (const WsdlPart& part : op.outputs)
                w += "    <part name=\"" + part.name + "\" type=\"" + part.type + "\" />\n";
            w += "  </message>\n";
        }
    }
    for (const ToolkitClass& cls : classes) {
        w += "  <portType name=\"" + cls.name + "SoapPort\">\n";
        for (const WsdlOperation& op : cls.operations) {
            std::string order;
            for (const WsdlPart& part : op.inputs)
                order += (order.empty() ? "" : " ") + part.name;
            w += "    <operation name=\"" + op.name + "\" parameterOrder=\"" + order +
                 "\">\n      <input message=\"wsdlns:" + cls.name + "." + op.name +
                 "\" />\n      <output message=\"wsdlns:" + cls.name + "." + op.name +
                 "Response\" />\n    </operation>\n";
        }
        w += "  </portType>\n";
    }
    for (const ToolkitClass& cls : classes) {
        w += "  <binding name=\"" + cls.name + "ServiceBinding\" type=\"wsdlns:" + cls.name + "SoapPort\">\n";
        w += "    <soap:binding style=\"rpc\" transport=\"http://schemas.xmlsoap.org/soap/http\" />\n";
        for (const WsdlOperation& op : cls.operations)
            w += "    <operation name=\"" + op.name + "\">\n      <soap:operation soapAction=\"" + targetNamespace +
                 "/action/" + cls.name + "." + op.name +
                 "\" />\n      <input>\n        <soap:body use=\"encoded\" namespace=\"" + targetNamespace +
                 "/message/\" encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\" />\n      </input>\n"
                 "      <output>\n        <soap:body use=\"encoded\" namespace=\"" +
                 targetNamespace +
                 "/message/\" encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\" />\n      </output>\n"
                 "    </operation>\n";
        w += "  </binding>\n";
    }
    w += "  <service name=\"" + serviceName + "\">\n";
    for (const ToolkitClass& cls : classes)
        w += "    <port name=\"" + cls.name + "ServicePort\" binding=\"wsdlns:" + cls.name +
             "ServiceBinding\">\n      <soap:address location=\"" + escapeXml(location) + "\" />\n    </port>\n";
    w += "  </service>\n</definitions>\n";
    return w;
}

} // namespace zel::demo
