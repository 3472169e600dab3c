#include "StraightforwardAnalyser.h"
#include "support/TestSupport.h"
#include "common/ErrorRecord.h"
#include "platform/controls/MemoryGrid.h"
#include "platform/controls/MemoryTextBox.h"
#include "wsdl/WebService.h"

#include <gtest/gtest.h>

#include <random>

using namespace zel;

namespace {

// A WSDL with the awkward cases mixed at random: several schema sections and prefixes (an
// unprefixed schema among them), repeated wrapper names, names inside other names and names
// holding a comma, untyped, short and foreign-prefixed types, messages of other kinds, comments
// among the parameters, and a types section nested where none belongs.
std::string randomWsdl(std::mt19937& rng)
{
    const std::vector<std::string> names = {"Get",    "GetQuote", "Quote", "Add", "AddItem",  "Don't",
                                            "Do\"it", "X",        "Ping",  "Sum", "Get,Quote"};
    const std::vector<std::string> prefixes = {"s", "xsd", "xs", "tns", "q1", ""};
    auto pick = [&](const auto& list) {
        return list[std::uniform_int_distribution<std::size_t>(0, list.size() - 1)(rng)];
    };
    auto chance = [&](int percent) { return std::uniform_int_distribution<int>(0, 99)(rng) < percent; };
    auto attr = [](const std::string& value) {
        std::string out;
        for (const char c : value)
            out += c == '"' ? std::string("&quot;") : c == '\'' ? std::string("&apos;") : std::string(1, c);
        return out;
    };

    std::string w = "<wsdl:definitions xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\">";
    const int sections = std::uniform_int_distribution<int>(1, 3)(rng);
    for (int s = 0; s < sections; ++s) {
        // q is how the section writes its schema elements: "s:" or nothing at all.
        const std::string p = pick(prefixes);
        const std::string q = p.empty() ? std::string() : p + ":";
        const std::string typePrefix = p.empty() ? std::string("xsd") : p;
        w += "<wsdl:types><" + q + "schema>";
        const int wrappers = std::uniform_int_distribution<int>(2, 12)(rng);
        for (int i = 0; i < wrappers; ++i) {
            const std::string name = pick(names) + (chance(50) ? "Response" : "");
            w += "<" + q + "element name=\"" + attr(name) + "\"><" + q + "complexType><" + q + "sequence>";
            const int fields = std::uniform_int_distribution<int>(0, 3)(rng);
            for (int f = 0; f < fields; ++f) {
                if (chance(10))
                    w += "<!-- note -->";
                std::string type;
                const int kind = std::uniform_int_distribution<int>(0, 5)(rng);
                if (kind == 0)
                    type = typePrefix + ":string";
                else if (kind == 1)
                    type = pick(prefixes) + ":int";
                else if (kind == 2)
                    type = "x";
                else if (kind == 3)
                    type = typePrefix + ": ";
                else if (kind == 4)
                    type = "tns:Thing";
                w += "<" + q + "element name=\"f" + std::to_string(f) + "\"" +
                     (kind == 5 ? std::string() : " type=\"" + type + "\"") + "/>";
            }
            w += "</" + q + "sequence></" + q + "complexType></" + q + "element>";
        }
        w += "</" + q + "schema></wsdl:types>";
    }
    if (chance(30))
        w += "<wsdl:documentation><wsdl:types><s:schema><s:element name=\"GetResponse\"><s:complexType><s:sequence>"
             "<s:element name=\"r\" type=\"s:int\"/></s:sequence></s:complexType></s:element></s:schema></wsdl:types>"
             "</wsdl:documentation>";
    const int messages = std::uniform_int_distribution<int>(0, 14)(rng);
    for (int i = 0; i < messages; ++i) {
        const std::vector<std::string> suffixes = {"SoapIn", "SoapOut", "HttpGetIn", "soapin", " SoapIn", ""};
        w += "<wsdl:message name=\"" + attr(pick(names) + pick(suffixes)) + "\"/>";
    }
    w += "<wsdl:service name=\"Random\"/></wsdl:definitions>";
    return w;
}

} // namespace

namespace {

// Runs the analyser the way the wizard does and compares every answer with the queries run one
// by one; context names the case in a failure.
void expectSameAsStraightforward(const XmlNode& document, const std::string& prefixes, const std::string& operation,
                                 const zel::test::StraightforwardResult& expected, const std::string& context)
{
    WebService analyser;
    controls::MemoryGrid grid;
    controls::MemoryTextBox returnType;
    analyser.pubdtMethodsParameters = &grid;
    analyser.pubtxtMethodReturnType = &returnType;
    analyser.WSXML = document;
    EXPECT_EQ(analyser.BuscarMedotosWs(prefixes), expected.methods) << prefixes << "\n" << context;
    analyser.SelectedMethod = operation;
    analyser.Prefijos = prefixes;
    EXPECT_EQ(analyser.BuscarParametrosRetorno(), expected.returnFound) << operation << " " << prefixes << "\n"
                                                                        << context;
    EXPECT_EQ(analyser.ReturnType, expected.returnType) << operation << "\n" << context;
    EXPECT_EQ(analyser.cPrefijo, expected.prefix) << operation << "\n" << context;
    bool failed = false;
    try {
        analyser.WebServiceMethodParametersInputLoad();
    } catch (const ErrorRecord&) {
        failed = true;
    }
    EXPECT_EQ(failed, expected.rowsFailed) << operation << "\n" << context;
    ASSERT_EQ(grid.rowCount(), static_cast<int>(expected.rows.size())) << operation << " " << prefixes << "\n"
                                                                       << context;
    for (int r = 0; r < grid.rowCount(); ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(grid.cell(r, c), expected.rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])
                << operation << "\n"
                << context;
}

} // namespace

TEST(AnalyserEquivalence, IndexedAnswers_MatchTheQueriesRunOneByOne)
{
    const std::vector<std::string> prefixLists = {"xsd,xsi,xs,s", "s",     "",       " s",
                                                  "s,,xsd",       "xs, s", "tns,q1", "q1,s,xsd"};
    const std::vector<std::string> operations = {"Get", "GetQuote", "Don't", "Do\"it", "Sum", "Get,Quote", "Nothing"};
    std::mt19937 rng(20240611);
    int compared = 0;
    int nonEmptyLists = 0;
    int unprefixedRows = 0;
    int commaNames = 0;
    for (int round = 0; round < 150; ++round) {
        const std::string text = randomWsdl(rng);
        const XmlNode document = XmlNode::parse(text);
        ASSERT_FALSE(document.isNone()) << text;
        for (const std::string& prefixes : prefixLists) {
            const std::string& operation = operations[static_cast<std::size_t>(round) % operations.size()];
            const zel::test::StraightforwardResult expected =
                zel::test::analyseStraightforwardly(document, prefixes, operation);
            expectSameAsStraightforward(document, prefixes, operation, expected, text);
            ++compared;
            nonEmptyLists += expected.methods.empty() ? 0 : 1;
            unprefixedRows += expected.prefix.empty() && !expected.rows.empty() ? 1 : 0;
            commaNames += expected.methods.find("Get,Quote,") != std::string::npos ? 1 : 0;
        }
    }
    EXPECT_EQ(compared, 150 * 8);
    EXPECT_GT(nonEmptyLists, 100) << "the generated documents must exercise the listing";
    EXPECT_GT(unprefixedRows, 10) << "and the grid filled through the unprefixed query";
    EXPECT_GT(commaNames, 10) << "and names that hold a comma";
}

TEST(AnalyserEquivalence, Fixtures_MatchTheQueriesRunOneByOne)
{
    for (const char* fixture :
         {"quotes-s.wsdl", "two-services-xsd.wsdl", "default-namespace.wsdl", "type-names.wsdl"}) {
        const XmlNode document = XmlNode::parse(zel::test::fixture(std::string("wsdl/") + fixture));
        ASSERT_FALSE(document.isNone()) << fixture;
        for (const char* prefixes : {"xsd,xsi,xs,s", "s,xsd", "s"})
            for (const char* operation :
                 {"GetQuote", "Get", "Ping", "Reset", "Convert", "Echo", "Foreign", "Short", "Bare", "Plain"})
                expectSameAsStraightforward(document, prefixes, operation,
                                            zel::test::analyseStraightforwardly(document, prefixes, operation),
                                            fixture);
    }
}

TEST(AnalyserEquivalence, NamesHoldingACommaOrAnotherName_AreComparedWhole)
{
    const std::string text =
        "<wsdl:definitions xmlns:wsdl='w' xmlns:s='x'><wsdl:types><s:schema>"
        "<s:element name='Get,QuoteResponse'><s:complexType><s:sequence><s:element name='r' type='s:int'/>"
        "</s:sequence></s:complexType></s:element>"
        "<s:element name='QuoteResponse'><s:complexType><s:sequence><s:element name='r' type='s:int'/>"
        "</s:sequence></s:complexType></s:element>"
        "<s:element name='GetResponse'><s:complexType><s:sequence><s:element name='r' type='s:int'/>"
        "</s:sequence></s:complexType></s:element>"
        "</s:schema></wsdl:types>"
        "<wsdl:message name='Get,QuoteSoapIn'/><wsdl:message name='QuoteSoapIn'/><wsdl:message name='GetSoapOut'/>"
        "<wsdl:message name='Get,QuoteSoapOut'/><wsdl:message name='Quote SoapIn'/>"
        "</wsdl:definitions>";
    const XmlNode document = XmlNode::parse(text);
    ASSERT_FALSE(document.isNone());
    WebService analyser;
    analyser.WSXML = document;
    const std::string expected = "Get,Quote,Quote,Get,";
    EXPECT_EQ(analyser.BuscarMedotosWs("s"), expected);
    EXPECT_EQ(zel::test::analyseStraightforwardly(document, "s", "Get").methods, expected);
}
