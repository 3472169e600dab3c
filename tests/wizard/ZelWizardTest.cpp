#include "WizardTestSupport.h"

#include "platform/script/vbscript/VBScriptParser.h"
#include "platform/xml/XmlNode.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <tuple>
#include <vector>

namespace zel {
namespace {

struct Outcome
{
    int exitCode;
    std::string errors;
};

// Runs zel-wizard with arguments (each quoted) and returns its exit code and standard error.
Outcome zelWizard(const test::TempDir& dir, const std::vector<std::string>& arguments)
{
    std::string command = std::string(ZEL_BIN_DIR) + "/zel-wizard";
    for (const std::string& argument : arguments)
        command += " '" + argument + "'";
    const auto errors = dir / "stderr.txt";
    const int status = std::system((command + " > /dev/null 2> '" + errors.string() + "'").c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, test::readFile(errors)};
}

// The road of the window, on an activity file: written once from options, then reopened from what
// it stored and finished again unchanged.
TEST(ZelWizard, WritesTheScriptAndDefinitionIntoTheActivity_ThenReopensItUnchanged)
{
    test::TempDir dir;
    const auto activity = dir / "activity.xml";
    test::writeFile(activity, test::readFile(std::string(ZEL_SOURCE_DIR) + "/data/samples/NewActivity.xml"));
    const Outcome first =
        zelWizard(dir, {"--activity", activity.string(), "--wsdl", test::demoServices().serviceUrl("Calculator"),
                        "--operation", "Add", "--map", "a=Weight", "--default", "b=5", "--return-attribute", "Quote",
                        "--proxy-server", "proxy.local", "--proxy-port", "3128", "--use-proxy", "--timeout", "30"});
    ASSERT_EQ(first.exitCode, 0) << first.errors;
    const std::string written = test::readFile(activity);
    const XmlNode definition = XmlNode::parse(written).documentElement().selectSingleNode("//Definition");
    EXPECT_EQ(definition.selectSingleNode("Method/Parameters/*[Name='a']/AtrId").text(), "Weight");
    EXPECT_EQ(definition.selectSingleNode("Method/Return/AtrId").text(), "Quote");
    EXPECT_EQ(definition.selectSingleNode("Proxy/Server").text(), "proxy.local");
    EXPECT_EQ(definition.selectSingleNode("WebService/Wsdl/*").name(), "wsdl:definitions");
    const std::string script = XmlNode::parse(written).documentElement().selectSingleNode("//EvalCode").text();
    EXPECT_TRUE(script::vbscript::check(script).ok());

    const Outcome second = zelWizard(dir, {"--activity", activity.string()});
    ASSERT_EQ(second.exitCode, 0) << second.errors;
    const auto robotScript = [](const std::string& activity) {
        return test::withoutDates(XmlNode::parse(activity).documentElement().selectSingleNode("//RobotScript").xml());
    };
    EXPECT_EQ(robotScript(test::readFile(activity)), robotScript(written));
}

// Each refusal names its reason on one line; usage errors exit 2.
TEST(ZelWizard, RefusesBadInputWithItsReason)
{
    test::TempDir dir;
    test::writeFile(dir / "catalogue.xml", test::kCatalogue);
    test::writeFile(dir / "broken.xml", "<Attributes><Attribute>");
    const std::string calculator = test::demoServices().serviceUrl("Calculator");
    const std::string catalogue = (dir / "catalogue.xml").string();
    const std::string broken = (dir / "broken.xml").string();
    // The arguments, the exit code and the reason printed.
    const std::vector<std::tuple<std::vector<std::string>, int, const char*>> cases = {
        {{"--wsdl", "http://127.0.0.1:1/None.asmx", "--operation", "Add"}, 1, "has no service"},
        {{"--wsdl", calculator, "--operation", "Power"}, 1, "Power is not listed"},
        {{"--wsdl", calculator, "--operation", "Add", "--map", "z=Weight", "--catalogue", catalogue},
         1,
         "no parameter z"},
        {{"--wsdl", calculator, "--operation", "Add", "--map", "a=Height", "--catalogue", catalogue},
         1,
         "no attribute Height"},
        {{"--wsdl", calculator, "--operation", "Add", "--catalogue", broken}, 1, "is not XML"},
        {{"--edit", broken}, 1, "is not XML"},
        {{}, 2, "usage"},
        {{"--wsdl", calculator, "--map", "a"}, 2, "usage"},
        {{"--wsdl", calculator, "--colour", "red"}, 2, "usage"},
    };
    for (const auto& [arguments, exitCode, reason] : cases) {
        const Outcome outcome = zelWizard(dir, arguments);
        EXPECT_EQ(outcome.exitCode, exitCode) << reason << ": " << outcome.errors;
        EXPECT_NE(outcome.errors.find(reason), std::string::npos) << outcome.errors;
    }
}

} // namespace
} // namespace zel
