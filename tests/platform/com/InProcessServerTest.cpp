// Loads the built component library the way a host does and drives it through its entry points.

#include "support/TestSupport.h"
#include "zel/ZelScriptEditor.h"

#include <dlfcn.h>

namespace zel {
namespace {

class InProcessServer : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_handle = dlopen((std::string(ZEL_BIN_DIR) + "/libzelscript.so").c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(s_handle, nullptr) << dlerror();
    }

    template <class F> F entry(const char* name)
    {
        auto f = reinterpret_cast<F>(dlsym(s_handle, name));
        EXPECT_NE(f, nullptr) << name;
        return f;
    }

    template <class T> std::unique_ptr<T> create(const char* clsid)
    {
        IClassFactory* raw = nullptr;
        EXPECT_EQ(entry<DllGetClassObjectFn>("DllGetClassObject")(clsid, &raw), Result::Ok);
        std::unique_ptr<IClassFactory> factory(raw);
        std::unique_ptr<IComponent> object(factory->CreateInstance());
        T* typed = dynamic_cast<T*>(object.get());
        EXPECT_NE(typed, nullptr);
        object.release();
        return std::unique_ptr<T>(typed);
    }

    static inline void* s_handle = nullptr;
};

TEST_F(InProcessServer, CreatesByClassNameAndRefusesOthers_CanUnloadOnlyWhenNoObjectIsAlive_Registers)
{
    auto robot = create<IRobot>(kProgIdRobot);
    robot->SetFreeDefinitionXml("<S><RobotScript><Script><Language/><EvalCode/></Script></RobotScript></S>");
    robot->SetEvalCode("MsgBox 1");
    EXPECT_EQ(robot->GetEvalCode(), "MsgBox 1");
    EXPECT_NE(robot->GetFreeDefinitionXml().find("<![CDATA[MsgBox 1]]>"), std::string::npos);

    auto getClassObject = entry<DllGetClassObjectFn>("DllGetClassObject");
    IClassFactory* factory = reinterpret_cast<IClassFactory*>(0x1);
    EXPECT_EQ(getClassObject("{00000000-0000-0000-0000-000000000000}", &factory), Result::ClassNotAvailable);
    EXPECT_EQ(factory, nullptr);
    EXPECT_EQ(getClassObject(kClsidFormEngine, nullptr), Result::Pointer);
    // Host-product components are created inside the library, never handed out.
    EXPECT_EQ(getClassObject(kClsidSharedData, &factory), Result::ClassNotAvailable);

    // The library can be unloaded only when no object of it is alive.
    auto canUnload = entry<DllCanUnloadNowFn>("DllCanUnloadNow");
    robot.reset();
    {
        auto engine = create<IEngine>(kClsidEngine);
        EXPECT_EQ(canUnload(), Result::False);
    }
    EXPECT_EQ(canUnload(), Result::Ok);

    // Registering writes the library's classes to the registration file; unregistering removes them.
    test::TempDir dir;
    test::EnvVar registry("ZEL_CLASS_REGISTRY", (dir / "classes.reg").string());
    EXPECT_EQ(entry<DllRegisterServerFn>("DllRegisterServer")(), Result::Ok);
    const std::string text = test::readFile(dir / "classes.reg");
    EXPECT_NE(text.find(std::string(kClsidFormEngine) + "\t" + kProgIdFormEngine + "\t"), std::string::npos) << text;
    EXPECT_NE(text.find("libzelscript.so"), std::string::npos);
    EXPECT_EQ(test::countOf(text, "\n{"), 3u);
    EXPECT_EQ(entry<DllRegisterServerFn>("DllUnregisterServer")(), Result::Ok);
    EXPECT_EQ(test::readFile(dir / "classes.reg").find('{'), std::string::npos);
}

} // namespace
} // namespace zel
