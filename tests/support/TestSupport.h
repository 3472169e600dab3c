#pragma once

// What every test program shares: temporary folders, fixture files, a user interface that
// records message boxes, guards that put global state back however a test ends, and checks of
// raised error records. Everything lives in zel::test, so ::testing always means GoogleTest.

#include "platform/com/ClassRegistry.h"
#include "platform/error/ErrorRecord.h"
#include "platform/module/Module.h"
#include "platform/ui/Toolkit.h"
#include "zel/ZelScriptEditor.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zel::test {

// The bytes of a file, "" when it cannot be read.
std::string readFile(const std::filesystem::path& file);
// Replaces the content of file with text.
void writeFile(const std::filesystem::path& file, const std::string& text);
// A file under tests/data, e.g. dataFile("wsdl/quotes-s.wsdl").
std::filesystem::path dataFile(const std::string& relative);
// The bytes of a file under tests/data; a missing fixture fails the test.
std::string fixture(const std::string& relative);
// The files of a folder under tests/data whose names start with prefix and end with suffix, sorted.
std::vector<std::filesystem::path> dataFiles(const std::string& folder, std::string_view prefix,
                                             std::string_view suffix);

// A fresh folder under the system's temporary folder, removed with its content at the end.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// Puts value in place through set for the life of the guard and puts back what was there
// before, also when a failed assertion ends the test early. set returns the value it replaced;
// a setter that returns nothing gets the empty value back at the end.
template <class Value> class Installed
{
public:
    template <class Set> Installed(Set set, Value value) : m_set(set)
    {
        if constexpr (std::is_void_v<std::invoke_result_t<Set, Value>>)
            set(std::move(value));
        else
            m_previous = set(std::move(value));
    }
    ~Installed() { m_set(std::move(m_previous)); }
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;

private:
    std::function<void(Value)> m_set;
    Value m_previous{};
};

// The setter of one member of the toolkit seam, for Installed: installs a value and returns the
// one it replaced, e.g. Installed<EditorFormFactory> f{toolkitSetter<&Toolkit::editorForm>(), factory}.
template <auto Member> auto toolkitSetter()
{
    return [](auto value) { return std::exchange(toolkit().*Member, std::move(value)); };
}

// Sets an environment variable (or removes it when value is empty) and restores it at the end.
inline auto envSetter(std::string name)
{
    return [name](const std::string& value) {
        const char* previous = std::getenv(name.c_str());
        std::string replaced = previous ? previous : "";
        if (value.empty())
            unsetenv(name.c_str());
        else
            setenv(name.c_str(), value.c_str(), 1);
        return replaced;
    };
}
struct EnvVar : Installed<std::string>
{
    EnvVar(const std::string& name, const std::string& value) : Installed(envSetter(name), value) {}
};

// Puts the component's own folder (error log, files beside the component) and the class
// registry in a temporary folder for the life of the object.
class ModuleInTempDir
{
public:
    explicit ModuleInTempDir(const std::string& baseName = "zeltest");
    ~ModuleInTempDir();

    const std::filesystem::path& folder() const { return m_dir.path(); }
    std::filesystem::path operator/(const std::string& name) const { return m_dir / name; }
    std::filesystem::path logFile() const { return m_dir.path() / (m_baseName + ".Log"); }
    std::string log() const { return readFile(logFile()); }

private:
    TempDir m_dir;
    std::string m_baseName;
    EnvVar m_registry;
};

struct ShownMessage
{
    std::string text;
    std::string title;
    MessageIcon icon;
    MessageButtons buttons;
};

// Message boxes are recorded and answered from a queue (when it is empty: Yes to a question,
// Ok otherwise); the clipboard is a text in memory that can be made to fail as a busy one does.
class RecordingUi final : public UiServices
{
public:
    MessageResult messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons) override;
    std::string clipboardText() override;
    void setClipboardText(const std::string& text) override;

    std::vector<ShownMessage> shown;
    std::deque<MessageResult> answers;
    std::string clipboard;
    bool clipboardFails = false;
};

// Installs a RecordingUi for the life of the object.
class RecordingUiScope
{
public:
    RecordingUiScope() : m_ui(std::make_shared<RecordingUi>()), m_installed(toolkitSetter<&Toolkit::ui>(), m_ui) {}
    RecordingUi& operator*() const { return *m_ui; }
    RecordingUi* operator->() const { return m_ui.get(); }

private:
    std::shared_ptr<RecordingUi> m_ui;
    Installed<std::shared_ptr<UiServices>> m_installed;
};

// A host's notifier: records the events it is told, as "Button1", "Activate" and "Modified", or
// raises instead for the event named failOn ("*": every event); onButton runs after a button.
class RecordingNotifier final : public INotifier
{
public:
    void FormActivate() override { record("Activate"); }
    void FormModified() override { record("Modified"); }
    void ButtonClick(int32_t button) override;
    void record(const std::string& event);

    std::vector<std::string> events;
    std::string failOn;
    std::function<void()> onButton;
};

// Registers creator under clsid (none: the class is unknown) for the life of the guard, then
// registers the default components again.
class ComponentReplaced
{
public:
    explicit ComponentReplaced(const char* clsid, com::ClassRegistry::Creator creator = {});
    ~ComponentReplaced();
    ComponentReplaced(const ComponentReplaced&) = delete;
    ComponentReplaced& operator=(const ComponentReplaced&) = delete;

private:
    std::string m_clsid;
};

// Runs f and returns the error record it raised; fails the test when it raised none.
template <class F> ErrorRecord raisedBy(F&& f)
{
    try {
        f();
    } catch (const ErrorRecord& e) {
        return e;
    } catch (const std::exception& e) {
        ADD_FAILURE() << "raised a foreign exception: " << e.what();
        return {};
    }
    ADD_FAILURE() << "raised nothing";
    return {};
}

// Checks that f raises number with a source ending in tag (e.g. " WebService.BuscarClasesWs() ").
template <class F> void expectRaises(F&& f, int32_t number, const std::string& tag)
{
    const ErrorRecord e = raisedBy(std::forward<F>(f));
    EXPECT_EQ(e.Number, number) << tag;
    EXPECT_TRUE(e.Source.ends_with(tag)) << e.Source;
}

// The exit code, output and errors of a shell command line run by runProgram (exit -1: it did not end).
struct ProgramRun
{
    int exit = -1;
    std::string out;
    std::string err;
};
ProgramRun runProgram(const std::string& command, const TempDir& dir);

// The number of times needle occurs in haystack.
std::size_t countOf(const std::string& haystack, const std::string& needle);

// piece written times times over.
inline std::string repeat(std::string_view piece, std::size_t times)
{
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

} // namespace zel::test
