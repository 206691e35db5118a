// The per-user settings file: INI lines read, changed and saved whole.
#include "platform/settings_store.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/disk/file_reading.h"
#include "platform/disk/reaching_the_file.h"
#include "platform/disk/save_contents.h"

namespace lintora {

namespace fs = std::filesystem;

namespace {

// A value is kept between double quotes when blanks at either end, a
// quote or a backslash would otherwise be lost; inside the quotes \\, \"
// \n and \r stand for themselves.
bool NeedsQuotes(std::string_view v) {
    if (v.empty()) return false;
    if (v.front() == ' ' || v.back() == ' ' || v.front() == '\t' || v.back() == '\t') return true;
    return v.find_first_of("\"\\\r\n;#") != std::string_view::npos;
}

std::string Quote(std::string_view v) {
    if (!NeedsQuotes(v)) return std::string(v);
    std::string out = "\"";
    for (char c : v) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '"': out += "\\\""; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            default: out += c;
        }
    }
    return out + "\"";
}

std::string Unquote(std::string_view v) {
    if (v.size() < 2 || v.front() != '"' || v.back() != '"') return std::string(v);
    std::string out;
    for (std::size_t i = 1; i + 1 < v.size(); ++i) {
        char c = v[i];
        if (c == '\\' && i + 2 < v.size()) {
            char n = v[++i];
            out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else {
            out += c;
        }
    }
    return out;
}

std::string_view Trim(std::string_view s) {
    auto b = s.find_first_not_of(" \t\r");
    if (b == std::string_view::npos) return {};
    auto e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

struct IniLine {
    std::string text;     // the line as read (kept for comments and blanks)
    std::string section;  // section the line stands in
    std::string key;      // empty unless a key line
};

std::vector<IniLine> ParseIni(const std::string& contents) {
    std::vector<IniLine> lines;
    std::string section;
    std::size_t pos = 0;
    while (pos < contents.size()) {
        std::size_t end = contents.find('\n', pos);
        if (end == std::string::npos) end = contents.size();
        std::string_view raw(contents.data() + pos, end - pos);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        pos = end + 1;
        IniLine line{std::string(raw), section, {}};
        std::string_view t = Trim(raw);
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
            section = std::string(Trim(t.substr(1, t.size() - 2)));
            line.section = section;
        } else if (!t.empty() && t.front() != ';' && t.front() != '#') {
            auto eq = raw.find('=');
            if (eq != std::string_view::npos) line.key = std::string(Trim(raw.substr(0, eq)));
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string ValueOf(const IniLine& line) {
    auto eq = line.text.find('=');
    return Unquote(Trim(std::string_view(line.text).substr(eq + 1)));
}

}  // namespace

std::string UserBaseFolder(const char* variable, const char* underHome) {
    const char* xdg = std::getenv(variable);
    if (xdg && *xdg && fs::path(xdg).is_absolute()) return xdg;
    const char* home = std::getenv("HOME");
    return (fs::path(home && *home ? home : ".") / underHome).string();
}

std::string SettingsFilePath(const std::string& app) {
    return (fs::path(UserBaseFolder("XDG_CONFIG_HOME", ".config")) / app / (app + ".ini")).string();
}

SettingsProblem SettingsReadProblem(const std::string& app) {
    SettingsProblem problem;
    problem.path = SettingsFilePath(app);
    if (LoadResult read = ReadOrdinaryFile(problem.path); !read.absent()) problem.read = std::move(read);
    return problem;
}

std::string GetSetting(const std::string& app, const std::string& section,
                       const std::string& key, const std::string& defaultValue) {
    const LoadResult read = ReadOrdinaryFile(SettingsFilePath(app));
    if (!read.read()) return defaultValue;
    for (const auto& line : ParseIni(read.contents))
        if (!line.key.empty() && line.section == section && line.key == key) return ValueOf(line);
    return defaultValue;
}

namespace {

// Puts key=value into section of lines: replaces the key's line, else adds
// it after the section's last line, else starts the section at the end.
void PutValue(std::vector<IniLine>& lines, const std::string& section, const std::string& key,
              const std::string& value) {
    std::string newLine = key + "=" + Quote(value);
    int lastInSection = -1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].section != section) continue;
        if (!lines[i].key.empty() && lines[i].key == key) {
            lines[i].text = std::move(newLine);
            return;
        }
        if (!Trim(lines[i].text).empty()) lastInSection = static_cast<int>(i);
    }
    IniLine entry{std::move(newLine), section, key};
    if (lastInSection >= 0) {
        lines.insert(lines.begin() + lastInSection + 1, std::move(entry));
    } else {
        if (!lines.empty() && !Trim(lines.back().text).empty()) lines.push_back({"", "", ""});
        lines.push_back({"[" + section + "]", section, ""});
        lines.push_back(std::move(entry));
    }
}

}  // namespace

SettingsProblem SaveSettings(const std::string& app, const std::string& section,
                             const std::vector<std::pair<std::string, std::string>>& values) {
    SettingsProblem problem;
    problem.path = SettingsFilePath(app);
    LoadResult read = ReadOrdinaryFile(problem.path);
    // What could not be read is never written over; a link the save would
    // refuse is named as the save names it.
    if (!read.read() && !read.absent()) {
        FoundFile file;
        if (SaveResult way = FindFile(RealSystem(), problem.path, file); way.stop == SaveStop::LinkRefused)
            problem.saved = way;
        else
            problem.read = std::move(read);
        return problem;
    }
    std::vector<IniLine> lines = read.read() ? ParseIni(read.contents) : std::vector<IniLine>{};
    for (const auto& [key, value] : values) PutValue(lines, section, key, value);
    std::string contents;
    for (const auto& line : lines) contents += line.text + "\n";
    if (read.read() && contents == read.contents) return problem;
    std::error_code ec;
    problem.folder = fs::path(problem.path).parent_path().string();
    fs::create_directories(problem.folder, ec);
    problem.folderError = ec.value();
    // Saved as any file is: a copy kept or a link refused is named.
    if (!ec) problem.saved = SaveContents(problem.path, contents);
    return problem;
}

SettingsProblem SaveSetting(const std::string& app, const std::string& section,
                            const std::string& key, const std::string& value) {
    return SaveSettings(app, section, {{key, value}});
}

}  // namespace lintora
