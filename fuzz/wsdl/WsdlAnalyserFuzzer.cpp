// Runs the WSDL analyser the way the wizard does on an arbitrary document, prefix list and
// operation, and compares every answer with the queries run one by one.
#include "StraightforwardAnalyser.h"
#include "platform/controls/MemoryGrid.h"
#include "platform/controls/MemoryTextBox.h"
#include "wsdl/WebService.h"
#include "zel/ZelScriptEditor.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void differs(const char* what, const std::string& analyser, const std::string& reference)
{
    std::fprintf(stderr, "%s: analyser '%s', one by one '%s'\n", what, analyser.c_str(), reference.c_str());
    std::abort();
}

void compare(const zel::XmlNode& document, const std::string& prefixes, const std::string& operation)
{
    const zel::test::StraightforwardResult expected =
        zel::test::analyseStraightforwardly(document, prefixes, operation);
    zel::WebService analyser;
    zel::controls::MemoryGrid grid;
    zel::controls::MemoryTextBox returnType;
    analyser.pubdtMethodsParameters = &grid;
    analyser.pubtxtMethodReturnType = &returnType;
    analyser.WSXML = document;
    const std::string methods = analyser.BuscarMedotosWs(prefixes);
    if (methods != expected.methods)
        differs("operation list", methods, expected.methods);
    analyser.SelectedMethod = operation;
    analyser.Prefijos = prefixes;
    if (analyser.BuscarParametrosRetorno() != expected.returnFound)
        differs("return found", operation, prefixes);
    if (analyser.ReturnType != expected.returnType)
        differs("return type", analyser.ReturnType, expected.returnType);
    if (analyser.cPrefijo != expected.prefix)
        differs("prefix", analyser.cPrefijo, expected.prefix);
    bool failed = false;
    try {
        analyser.WebServiceMethodParametersInputLoad();
    } catch (const zel::ErrorRecord&) {
        failed = true;
    }
    if (failed != expected.rowsFailed)
        differs("grid failure", failed ? "failed" : "filled", expected.rowsFailed ? "failed" : "filled");
    if (grid.rowCount() != static_cast<int>(expected.rows.size()))
        differs("row count", std::to_string(grid.rowCount()), std::to_string(expected.rows.size()));
    for (int r = 0; r < grid.rowCount(); ++r)
        for (int c = 0; c < 4; ++c)
            if (grid.cell(r, c) != expected.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])
                differs("grid cell", grid.cell(r, c), expected.rows[static_cast<std::size_t>(r)][c]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string prefixes = input.ConsumeRandomLengthString(24);
    const std::string operation = input.ConsumeRandomLengthString(32);
    // Neither a WSDL name nor a typed prefix list can hold a NUL, and no XPath query can.
    if (prefixes.find('\0') != std::string::npos || operation.find('\0') != std::string::npos)
        return 0;
    const zel::XmlNode document = zel::XmlNode::parse(input.ConsumeRemainingBytesAsString());
    if (document.isNone())
        return 0;
    compare(document, prefixes, operation);
    // The first operation the analyser lists, which the fuzzer would rarely spell by chance.
    const std::string listed = zel::test::analyseStraightforwardly(document, prefixes, operation).methods;
    if (const std::size_t comma = listed.find(','); comma != std::string::npos && comma > 0)
        compare(document, prefixes, listed.substr(0, comma));
    return 0;
}
