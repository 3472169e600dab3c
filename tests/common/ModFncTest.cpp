#include "common/modFnc.h"
#include "support/TestSupport.h"

#include <sys/stat.h>

namespace zel {
namespace {

using test::raisedBy;

TEST(ModFnc, FileDeleteIsTrueForMissingAndReadOnlyFiles)
{
    test::TempDir dir;
    EXPECT_TRUE(modFnc::FSOFileDelete((dir / "missing.txt").string()));
    const auto file = dir / "locked.txt";
    test::writeFile(file, "x");
    chmod(file.c_str(), 0400);
    EXPECT_TRUE(modFnc::FSOFileDelete(file.string()));
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(ModFnc, CreateObjectRaises429WithItsTag_UserNameIsKnownAndShort)
{
    const ErrorRecord e = raisedBy([] { modFnc::CreateObject("No.Such.Class"); });
    EXPECT_EQ(e.Number, ErrorNumber::CannotCreateComponent);
    EXPECT_NE(e.Description.find("No.Such.Class"), std::string::npos);
    EXPECT_EQ(e.Source, " modFnc.CreateObject() ");
    EXPECT_EQ(raisedBy([] { modFnc::CreateObject("x", "remote-host"); }).Number, 462);
    const std::string name = modFnc::UserName();
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), 100u);
    EXPECT_EQ(name.find('\0'), std::string::npos);
}

} // namespace
} // namespace zel
