// Parse time of a large ASMX-style WSDL against the time the analyser needs to list its
// operations, find one operation's return type and fill the parameter grid.
#include "platform/controls/MemoryGrid.h"
#include "platform/controls/MemoryTextBox.h"
#include "platform/xml/XmlNode.h"
#include "wsdl/WebService.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// operations operations, each with request and response wrappers, four messages (SoapIn, SoapOut,
// HttpGetIn, HttpGetOut), port-type and binding entries for SOAP and HTTP GET.
std::string asmxWsdl(int operations)
{
    std::string w =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<wsdl:definitions xmlns:s=\"http://www.w3.org/2001/XMLSchema\" "
        "xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\" xmlns:http=\"http://schemas.xmlsoap.org/wsdl/http/\" "
        "xmlns:tns=\"urn:bench\" targetNamespace=\"urn:bench\" xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\">\n"
        "  <wsdl:types>\n    <s:schema elementFormDefault=\"qualified\" targetNamespace=\"urn:bench\">\n";
    auto op = [](int i) { return "Operation" + std::to_string(i); };
    for (int i = 0; i < operations; ++i) {
        w += "      <s:element name=\"" + op(i) + "\">\n        <s:complexType>\n          <s:sequence>\n";
        for (int p = 0; p < 4; ++p)
            w += "            <s:element minOccurs=\"1\" maxOccurs=\"1\" name=\"parameter" + std::to_string(p) +
                 "\" type=\"s:" + (p % 2 == 0 ? "string" : "int") + "\" />\n";
        w += "          </s:sequence>\n        </s:complexType>\n      </s:element>\n";
        w += "      <s:element name=\"" + op(i) +
             "Response\">\n        <s:complexType>\n          <s:sequence>\n"
             "            <s:element minOccurs=\"1\" maxOccurs=\"1\" name=\"" +
             op(i) +
             "Result\" type=\"s:double\" />\n          </s:sequence>\n        </s:complexType>\n      </s:element>\n";
    }
    w += "    </s:schema>\n  </wsdl:types>\n";
    for (int i = 0; i < operations; ++i) {
        w += "  <wsdl:message name=\"" + op(i) +
             "SoapIn\">\n    <wsdl:part name=\"parameters\" element=\"tns:" + op(i) + "\" />\n  </wsdl:message>\n";
        w += "  <wsdl:message name=\"" + op(i) +
             "SoapOut\">\n    <wsdl:part name=\"parameters\" element=\"tns:" + op(i) +
             "Response\" />\n  </wsdl:message>\n";
        w += "  <wsdl:message name=\"" + op(i) + "HttpGetIn\">\n";
        for (int p = 0; p < 4; ++p)
            w += "    <wsdl:part name=\"parameter" + std::to_string(p) + "\" type=\"s:string\" />\n";
        w += "  </wsdl:message>\n  <wsdl:message name=\"" + op(i) +
             "HttpGetOut\">\n    <wsdl:part name=\"Body\" element=\"tns:double\" />\n  </wsdl:message>\n";
    }
    for (const char* kind : {"Soap", "HttpGet"}) {
        w += std::string("  <wsdl:portType name=\"Bench") + kind + "\">\n";
        for (int i = 0; i < operations; ++i)
            w += "    <wsdl:operation name=\"" + op(i) + "\">\n      <wsdl:documentation>Does step " +
                 std::to_string(i) +
                 " of the benchmark workload.</wsdl:documentation>\n      <wsdl:input message=\"tns:" + op(i) + kind +
                 "In\" />\n      <wsdl:output message=\"tns:" + op(i) + kind + "Out\" />\n    </wsdl:operation>\n";
        w += "  </wsdl:portType>\n";
        w += std::string("  <wsdl:binding name=\"Bench") + kind + "\" type=\"tns:Bench" + kind + "\">\n";
        for (int i = 0; i < operations; ++i)
            w += "    <wsdl:operation name=\"" + op(i) + "\">\n      <soap:operation soapAction=\"urn:bench/" + op(i) +
                 "\" style=\"document\" />\n      <wsdl:input>\n        <soap:body use=\"literal\" />\n      "
                 "</wsdl:input>\n"
                 "      <wsdl:output>\n        <soap:body use=\"literal\" />\n      </wsdl:output>\n    "
                 "</wsdl:operation>\n";
        w += "  </wsdl:binding>\n";
    }
    w += "  <wsdl:service name=\"Bench\">\n    <wsdl:port name=\"BenchSoap\" binding=\"tns:BenchSoap\">\n"
         "      <soap:address location=\"http://127.0.0.1/Bench.asmx\" />\n    </wsdl:port>\n  </wsdl:service>\n"
         "</wsdl:definitions>\n";
    return w;
}

constexpr int kOperations = 2000;

const std::string& document()
{
    static const std::string text = asmxWsdl(kOperations);
    return text;
}

void BM_PugixmlParse(benchmark::State& state)
{
    const std::string& text = document();
    for (auto _ : state) {
        zel::XmlNode parsed = zel::XmlNode::parse(text);
        benchmark::DoNotOptimize(parsed);
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}

// The wizard's prefixes: "s" is the fourth, so every operation is tried with three prefixes that
// match nothing first.
void BM_Analysis(benchmark::State& state)
{
    const zel::XmlNode parsed = zel::XmlNode::parse(document());
    zel::controls::MemoryGrid grid;
    zel::controls::MemoryTextBox returnType;
    std::size_t listed = 0;
    for (auto _ : state) {
        zel::WebService analyser;
        analyser.WSXML = parsed;
        analyser.pubdtMethodsParameters = &grid;
        analyser.pubtxtMethodReturnType = &returnType;
        const std::string methods = analyser.BuscarMedotosWs("xsd,xsi,xs,s");
        analyser.SelectedMethod = "Operation1999";
        analyser.Prefijos = "xsd,xsi,xs,s";
        analyser.BuscarParametrosRetorno();
        analyser.WebServiceMethodParametersInputLoad();
        listed = methods.size();
        benchmark::DoNotOptimize(listed);
    }
    if (grid.rowCount() != 4 || returnType.text() != "double" || listed == 0)
        state.SkipWithError("the analysis did not find what the document holds");
}

BENCHMARK(BM_PugixmlParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Analysis)->Unit(benchmark::kMillisecond);

} // namespace
