#include "platform/com/ClassRegistry.h"
#include "common/XmlFncs.h"
#include "hostparts/defaults/DefaultComponents.h"
#include "support/TestSupport.h"

namespace zel {
namespace {

using test::raisedBy;

class Plain final : public IComponent
{
};

TEST(ClassRegistry, CreatesByIdOrNameInAnyLetterCase_UnknownClassOrWrongInterfaceIs429)
{
    test::ModuleInTempDir module; // holds the registration file
    auto& registry = com::ClassRegistry::instance();
    registry.registerClass("{AAAA-1}", "Test.Plain", [] { return std::make_unique<Plain>(); });
    EXPECT_TRUE(registry.create("{aaaa-1}"));
    EXPECT_TRUE(registry.create("test.plain"));
    EXPECT_TRUE(registry.isRegistered("TEST.PLAIN"));
    registry.unregisterClass("Test.Plain");
    EXPECT_FALSE(registry.isRegistered("{AAAA-1}"));

    const ErrorRecord unknown = raisedBy([&] { registry.create("Nobody.Here"); });
    EXPECT_EQ(unknown.Number, ErrorNumber::CannotCreateComponent);
    EXPECT_NE(unknown.Description.find("Nobody.Here"), std::string::npos);

    registry.registerClass("{AAAA-2}", "", [] { return std::make_unique<Plain>(); });
    const ErrorRecord wrong = raisedBy([&] { registry.createAs<IDataEncode>("{AAAA-2}"); });
    EXPECT_EQ(wrong.Number, ErrorNumber::CannotCreateComponent);
    registry.unregisterClass("{AAAA-2}");
}

TEST(RegistrationFile, AddReplacesByIdRemoveLibraryDropsItsEntries_AnotherLibrarysComponentWins)
{
    test::ModuleInTempDir module; // holds the registration file
    namespace rf = com::RegistrationFile;
    EXPECT_TRUE(rf::read().empty());
    rf::add({{"{1}", "A.One", "/lib/a.so"}, {"{2}", "A.Two", "/lib/a.so"}});
    rf::add({{"{1}", "B.One", "/lib/b.so"}});
    auto entries = rf::read();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(rf::lookup("b.one").library, "/lib/b.so");
    EXPECT_EQ(rf::lookup("{2}").progId, "A.Two");
    rf::removeLibrary("/lib/a.so");
    entries = rf::read();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].progId, "B.One");
    test::writeFile(module / "classes.reg", test::readFile(module / "classes.reg") + "garbage line\n\n# comment\n");
    EXPECT_EQ(rf::read().size(), 1u);

    // Another library's component wins over the default.
    registerDefaultComponents();
    const std::string plugin = std::string(ZEL_BIN_DIR) + "/../tests/libzel_test_plugin.so";
    rf::add({{"{0D1E2F30-4152-6374-8596-A7B8C9DAEBFC}", kProgIdDataEncode, plugin}});
    const XmlNode mail = XmlNode::parse("<Mail><SmtpPassword>drowssap</SmtpPassword></Mail>").documentElement();
    EXPECT_EQ(XmlFncs::xmlNodeValueGet(mail, "SmtpPassword"), "password");

    rf::add({{"{0D1E2F30-4152-6374-8596-A7B8C9DAEBFC}", kProgIdDataEncode, "/no/such/lib.so"}});
    const ErrorRecord e = raisedBy([&] { XmlFncs::xmlNodeValueGet(mail, "SmtpPassword"); });
    EXPECT_EQ(e.Number, ErrorNumber::CannotCreateComponent);
    EXPECT_EQ(e.Source, " XmlFncs.xmlNodeValueGet() ");
}

} // namespace
} // namespace zel
