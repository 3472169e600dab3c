#pragma once

// The public interface of the script-editor component: what a host needs to load the library,
// create its classes and implement the callbacks it is handed. Everything else is private to
// the library.

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#if defined(__GNUC__)
#define ZEL_API __attribute__((visibility("default")))
#else
#define ZEL_API
#endif

namespace zel {

// Result codes of the exported entry points (the values of the platform's HRESULT codes).
namespace Result {
inline constexpr int32_t Ok = 0;
inline constexpr int32_t False = 1;
inline constexpr int32_t Pointer = static_cast<int32_t>(0x80004003u);
inline constexpr int32_t Fail = static_cast<int32_t>(0x80004005u);
inline constexpr int32_t ClassNotAvailable = static_cast<int32_t>(0x80040111u);
inline constexpr int32_t CannotRegister = static_cast<int32_t>(0x80040201u);
} // namespace Result

// Class ids and class names of the public classes.
inline constexpr char kClsidFormEngine[] = "{5F2A8C31-7D4E-4B9A-9C1E-3A6B2D8F0E11}";
inline constexpr char kClsidEngine[] = "{5F2A8C31-7D4E-4B9A-9C1E-3A6B2D8F0E12}";
inline constexpr char kClsidRobot[] = "{5F2A8C31-7D4E-4B9A-9C1E-3A6B2D8F0E13}";
inline constexpr char kProgIdFormEngine[] = "ZelScriptEditor.cFormEngine";
inline constexpr char kProgIdEngine[] = "ZelScriptEditor.Engine";
inline constexpr char kProgIdRobot[] = "ZelScriptEditor.cRobot";

// Button codes passed to INotifier::ButtonClick.
inline constexpr int32_t kButtonCancel = 0;
inline constexpr int32_t kButtonOk = 1;

// The error every operation raises: a number, the chain of operations it passed (Source), a
// description, and help data carried unchanged.
class ZEL_API ErrorRecord : public std::exception
{
public:
    int32_t Number = 0;
    std::string Source;
    std::string Description;
    std::string HelpFile;
    int32_t HelpContext = 0;

    ErrorRecord() = default;
    ErrorRecord(int32_t number, std::string description, std::string source = {})
        : Number(number), Source(std::move(source)), Description(std::move(description))
    {
    }

    // The description.
    const char* what() const noexcept override { return Description.c_str(); }
};

// Base of every object the library creates for a host; the caller owns it and deletes it.
class ZEL_API IComponent
{
public:
    virtual ~IComponent() = default;
};

// The host's callback object, handed to IFormEngine::LoadForm.
class ZEL_API INotifier
{
public:
    virtual ~INotifier() = default;
    virtual void FormActivate() = 0;
    virtual void FormModified() = 0;
    virtual void ButtonClick(int32_t ZELButton) = 0;
};

// The host's skin, called late-bound by operation name ("GetFormBackColor", ...). Colours are
// RGB values as 0x00BBGGRR; -1 or less means "no colour".
class ZEL_API ISkin
{
public:
    virtual ~ISkin() = default;
    // Runs the operation; returns false when the skin has no operation of that name.
    virtual bool Invoke(std::string_view operation, int32_t& result) = 0;
};

// The editor's entry class. XML arguments and results are XML texts. Every operation raises an
// ErrorRecord on failure after writing it to the error log (beside the library, or in the
// per-user state folder when the library's folder cannot be written).
class ZEL_API IFormEngine : public IComponent
{
public:
    // Creates and loads the editor window (not shown yet); keeps the notifier and the skin,
    // which must outlive the engine, and a copy of the languages document. Returns true.
    virtual bool LoadForm(INotifier* pNotifier, std::string_view pLanguages, ISkin* pSkin) = 0;
    // The folder of the language files and of DefaultScript.xml.
    virtual void SetPathData(std::string_view pPathData) = 0;
    // The activity's data text.
    virtual void SetData(std::string_view pData) = 0;
    // The activity's data text with the edited script; "" when no form was loaded.
    virtual std::string GetData() = 0;
    // Shows the editor modally; returns when it closes.
    virtual void ShowForm() = 0;
    virtual bool Validate() = 0;
    virtual void ResizeForm() = 0;
    virtual std::string GetCaption() = 0;
    virtual int32_t GetHandle() = 0;
    virtual void ChangeSettings(ISkin* pSkin) = 0;
    virtual void UpdateLanguages(std::string_view pLanguages) = 0;
    virtual void ChangeInterfaceLanguage(std::string_view pLanguageId) = 0;
};

// The small second entry class.
class ZEL_API IEngine : public IComponent
{
public:
    // Shows the older wizard, non-modal and without an owner.
    virtual void Show() = 0;
    // Sets the interface language id and the folder of the language files.
    virtual void LngSet(std::string_view pstrLanguage, std::string_view pstrLngPath) = 0;
};

// The robot script document: script language, script text and web-service definition. The
// document itself is exchanged as XML text.
class ZEL_API IRobot : public IComponent
{
public:
    virtual std::string GetAdditionalDefinition() = 0;
    virtual void SetFreeDefinitionXml(std::string_view pXmlFreeDefinition) = 0;
    virtual std::string GetEvalCode() = 0;
    virtual std::string GetLanguage() = 0;
    virtual void SetEvalCode(std::string_view pEvalCode) = 0;
    virtual void SetLanguage(std::string_view pLanguage) = 0;
    virtual std::string GetFreeDefinitionXml() = 0;
    virtual void SetAdditionalDefinition(std::string_view pstrNodeDefinition) = 0;
};

// Creates instances of one class.
class ZEL_API IClassFactory
{
public:
    virtual ~IClassFactory() = default;
    // A new instance, owned by the caller; throws ErrorRecord when it cannot be created.
    virtual IComponent* CreateInstance() = 0;
};

// Components of the host product that the library creates by class id or class name. A host
// replaces a default by registering a library whose DllGetClassObject creates its own.
class ZEL_API ILanguageFile : public IComponent
{
public:
    virtual bool Open(std::string_view languageId, std::string_view folder) = 0;
    // The text of key in section; throws ErrorRecord when the key is missing.
    virtual std::string Text(std::string_view section, std::string_view key) = 0;
};

class ZEL_API ILogComponent : public IComponent
{
public:
    // Records one error report. flag is 0 for the first call of a report and 1 for the second.
    virtual void Report(int32_t kind, std::string_view description, std::string_view title, std::string_view source,
                        const ErrorRecord& error, int32_t flag, std::string_view contextText, double level,
                        int32_t reserved1, int32_t reserved2, std::string_view extra, int32_t reserved3) = 0;
};

class ZEL_API IColorizer : public IComponent
{
public:
    // Plain script text in, rich text (RTF) holding the same characters with colours out.
    virtual std::string Colorize(std::string_view plainText) = 0;
};

class ZEL_API IWindowComponent : public IComponent
{
public:
    // Told the editor window's handle when the editor is shown.
    virtual void SetWindow(int64_t windowHandle) = 0;
};

class ZEL_API IWizardCancel : public IComponent
{
public:
    // Told that the user cancelled the web-service wizard.
    virtual void Cancel() = 0;
};

class ZEL_API IDataEncode : public IComponent
{
public:
    // The clear text of a stored, encoded value.
    virtual std::string Decrypt(std::string_view stored) = 0;
};

// Class ids and names of the host-product components.
inline constexpr char kClsidSharedData[] = "{5F2A8C31-7D4E-4B9A-9C1E-3A6B2D8F0E21}";
inline constexpr char kClsidLanguageFile[] = "{5F2A8C31-7D4E-4B9A-9C1E-3A6B2D8F0E22}";
inline constexpr char kClsidLogComponent[] = "{5F2A8C31-7D4E-4B9A-9C1E-3A6B2D8F0E23}";
inline constexpr char kClsidColorizer[] = "{5F2A8C31-7D4E-4B9A-9C1E-3A6B2D8F0E24}";
inline constexpr char kClsidWindowComponent[] = "{5F2A8C31-7D4E-4B9A-9C1E-3A6B2D8F0E25}";
inline constexpr char kClsidWizardCancel[] = "{5F2A8C31-7D4E-4B9A-9C1E-3A6B2D8F0E26}";
inline constexpr char kClsidDataEncode[] = "{5F2A8C31-7D4E-4B9A-9C1E-3A6B2D8F0E27}";
inline constexpr char kProgIdDataEncode[] = "OMBRELDataEncode.Encode";

} // namespace zel

// The four entry points of the in-process server, found by the host with dlsym.
extern "C" {
// Hands out a new factory (owned by the caller) for the class id or class name clsid.
// Result::Ok, Result::ClassNotAvailable, or Result::Pointer when factory is null.
ZEL_API int32_t DllGetClassObject(const char* clsid, zel::IClassFactory** factory);
// Result::Ok when no object made by this library is alive, Result::False otherwise.
ZEL_API int32_t DllCanUnloadNow();
// Writes this library's classes into the per-user registration file.
ZEL_API int32_t DllRegisterServer();
// Removes this library's classes from the per-user registration file.
ZEL_API int32_t DllUnregisterServer();
}

namespace zel {
using DllGetClassObjectFn = int32_t (*)(const char*, IClassFactory**);
using DllCanUnloadNowFn = int32_t (*)();
using DllRegisterServerFn = int32_t (*)();
} // namespace zel
