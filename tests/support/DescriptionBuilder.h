#pragma once
// Update descriptions for the tests, written the way the updater's peers
// write them: a [Main] section, then one [FileN] section per component,
// numbered from 0, every line ended by CR LF. A test that wants a broken
// description builds a sound one and breaks it where it says so.
#include <string>
#include <utility>
#include <vector>

namespace vt::test {

class Description {
public:
    // A key of [Main], in the order of the calls.
    Description& Main(const std::string& key, const std::string& value) {
        m_main.push_back({key, value});
        return *this;
    }
    Description& Main(const std::string& key, long long value) { return Main(key, std::to_string(value)); }
    // "Total=" with the number of components the description ends up with.
    Description& Total() {
        m_main.push_back({"Total", std::string()});
        m_totalAt = m_main.size() - 1;
        return *this;
    }
    // A new [FileN] section, empty until keys are added.
    Description& Section() {
        m_files.push_back(std::string());
        return *this;
    }
    // A number left out: the next section is numbered one further on.
    Description& Gap() {
        m_files.push_back(kGap);
        return *this;
    }
    Description& File(const std::string& title) { return Section().Key("Title", title); }
    Description& File(const std::string& title, const std::string& version) {
        return File(title).Key("version", version);
    }
    // A key of the last [FileN] section.
    Description& Key(const std::string& key, const std::string& value) {
        m_files.back() += key + "=" + value + "\r\n";
        return *this;
    }
    // A component offered for download, its file served at "<folder><filename>".
    Description& Offer(const std::string& title, const std::string& version, const std::string& filename,
                       const std::string& folder = "/files/") {
        return File(title, version).Download(filename, folder);
    }
    // The last component's file, served at "<folder><filename>".
    Description& Download(const std::string& filename, const std::string& folder = "/files/") {
        return Key("uri", folder + filename).Key("filename", filename);
    }

    std::string Text() const {
        std::string text = "[Main]\r\n";
        for (std::size_t i = 0; i < m_main.size(); ++i)
            text +=
                m_main[i].first + "=" + (i == m_totalAt ? std::to_string(m_files.size()) : m_main[i].second) + "\r\n";
        for (std::size_t i = 0; i < m_files.size(); ++i)
            if (m_files[i] != kGap) text += "[File" + std::to_string(i) + "]\r\n" + m_files[i];
        return text;
    }
    operator std::string() const { return Text(); }

private:
    static constexpr const char* kGap = "\n";  // no section's keys are a bare LF
    std::vector<std::pair<std::string, std::string>> m_main;
    std::size_t m_totalAt = static_cast<std::size_t>(-1);
    std::vector<std::string> m_files;
};

// What an installation keeps next to the program: where to look for
// updates, how to update, and each installed component's title and version.
inline Description LocalDescription(const std::string& iniUrl, int localMode,
                                    const std::vector<std::pair<std::string, std::string>>& installed) {
    Description d;
    d.Main("IniUrl", iniUrl).Main("LocalMode", localMode).Total();
    for (const auto& component : installed) d.File(component.first, component.second);
    return d;
}

}  // namespace vt::test
