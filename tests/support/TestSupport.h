#pragma once

#include "common/ErrorRecord.h"
#include "platform/module/Module.h"
#include "platform/ui/UiServices.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace zel::test {

// A fresh folder under the system's temporary folder, removed with its content at the end.
class TempDir
{
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zeltest-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("cannot create a temporary folder");
        m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

inline std::string readFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::filesystem::path& file, const std::string& text)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
}

// Puts the component's own folder (error log, files beside the component) in a temporary folder
// for the life of the object.
class ModuleInTempDir
{
public:
    ModuleInTempDir() { Module::overrideLocation(m_dir.path(), "zeltest"); }
    ~ModuleInTempDir() { Module::overrideLocation({}, {}); }

    const std::filesystem::path& folder() const { return m_dir.path(); }
    std::filesystem::path logFile() const { return m_dir.path() / "zeltest.Log"; }
    std::string log() const { return readFile(logFile()); }

private:
    TempDir m_dir;
};

// UI services that answer every message box with a preset answer and record what was shown.
class RecordingUi final : public UiServices
{
public:
    struct Shown
    {
        std::string text;
        std::string title;
        MessageIcon icon;
        MessageButtons buttons;
    };

    MessageResult messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons) override
    {
        shown.push_back({text, title, icon, buttons});
        return answer;
    }
    std::string clipboardText() override { return clipboard; }
    void setClipboardText(const std::string& text) override { clipboard = text; }

    std::vector<Shown> shown;
    MessageResult answer = MessageResult::Ok;
    std::string clipboard;
};

// Installs a RecordingUi for the life of the object.
class RecordingUiScope
{
public:
    RecordingUiScope() : m_ui(std::make_shared<RecordingUi>()) { m_previous = setUiServices(m_ui); }
    ~RecordingUiScope() { setUiServices(m_previous); }
    RecordingUi& operator*() const { return *m_ui; }
    RecordingUi* operator->() const { return m_ui.get(); }

private:
    std::shared_ptr<RecordingUi> m_ui;
    std::shared_ptr<UiServices> m_previous;
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

// The number of times needle occurs in haystack.
inline std::size_t countOf(const std::string& haystack, const std::string& needle)
{
    std::size_t n = 0;
    for (std::size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1))
        ++n;
    return n;
}

} // namespace zel::test
