#include "host/Engine.h"
#include "common/Globals.h"
#include "support/TestSupport.h"

namespace zel {
namespace {

TEST(Engine, LngSetSetsLanguageAndPathData)
{
    Engine engine;
    engine.LngSet("es", "/opt/data");
    EXPECT_EQ(globals().gstrLanguageId, "es");
    EXPECT_EQ(globals().gstrPathData, "/opt/data");
}

TEST(Engine, ShowWithoutAWindowToolkitRaises429)
{
    test::Installed<std::function<void()>> noToolkit(test::toolkitSetter<&Toolkit::olderWizard>(), {});
    Engine engine;
    const ErrorRecord e = test::raisedBy([&] { engine.Show(); });
    EXPECT_EQ(e.Number, ErrorNumber::CannotCreateComponent);
    EXPECT_EQ(e.Source, " Engine.Show() ");
    int shown = 0;
    toolkit().olderWizard = [&] { ++shown; };
    engine.Show();
    EXPECT_EQ(shown, 1);
}

} // namespace
} // namespace zel
