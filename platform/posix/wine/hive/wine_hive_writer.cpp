// Writing a Wine registry file over the layout of the file as it was read.
#include <algorithm>
#include <unordered_set>

#include "platform/utf16_text.h"
#include "platform/posix/wine/hive/wine_hive_format.h"
#include "platform/posix/wine/hive/wine_key_lines.h"
#include "platform/posix/wine/hive/wine_name_order.h"

namespace posixplat::reg {
namespace {

bool IsBlankLine(std::string_view line) {
    return line.find_first_not_of(" \t\n\v\f\r") == std::string_view::npos;
}

// Calls `visit(line)` for each line of `text`, line breaks included.
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end + 1;
        if (!visit(text.substr(start, end - start))) return;
        start = end;
    }
}

// The blank lines a block starts with.
std::string LeadingBlankLines(std::string_view block) {
    std::size_t length = 0;
    ForEachLine(block, [&](std::string_view line) {
        if (!IsBlankLine(line)) return false;
        length += line.size();
        return true;
    });
    return std::string(block.substr(0, length));
}

// The options of a block that Wine keeps with a key (#link, #class=...): every line
// starting with '#' except the time, which is written anew.
std::string OptionLines(std::string_view block) {
    std::string options;
    ForEachLine(block, [&](std::string_view line) {
        const std::size_t start = line.find_first_not_of(" \t\v\f\r");
        if (start == std::string_view::npos || line[start] != '#' || line.substr(start, 6) == "#time=") return true;
        std::string_view option = line.substr(start);
        while (!option.empty() && (option.back() == '\n' || option.back() == '\r')) option.remove_suffix(1);
        options += option;
        options += '\n';
        return true;
    });
    return options;
}

class Writer {
public:
    Writer(const HiveKey& root, std::uint64_t fileTime, std::string* error)
        : m_root(root), m_fileTime(fileTime), m_error(error) {}

    bool Write(const WineHiveLayout& layout, std::string* text, WineHiveLayout* next) {
        m_written.header = layout.header;
        m_text = layout.header;
        for (const WineKeyBlock& block : layout.blocks) {
            if (!KeepOrRewrite(block)) return false;
        }
        std::vector<std::string> path;
        if (!AddNew(m_root, path)) return false;
        *text = std::move(m_text);
        if (next) *next = std::move(m_written);
        return true;
    }

private:
    // The key at `path` and its names as the tree spells them.
    const HiveKey* Resolve(const std::vector<std::string>& path, std::vector<std::string>* names) const {
        const HiveKey* key = &m_root;
        for (const std::string& name : path) {
            key = key->FindSubKey(name);
            if (!key) return nullptr;
            names->push_back(key->name());
        }
        return key;
    }

    bool KeepOrRewrite(const WineKeyBlock& block) {
        std::vector<std::string> names;
        const HiveKey* key = Resolve(block.path, &names);
        if (!key) return true;  // deleted
        const bool first = m_handled.insert(key).second;
        std::string contents;
        if (!AppendWineValueLines(contents, *key, m_error)) return false;
        if (contents == block.contents) {
            Append(block);
            return true;
        }
        // A key read from several sections is written whole in place of the first.
        if (!first) return true;
        const std::string options = OptionLines(block.text);
        if (!WineWritesSection(*key) && options.empty()) return true;
        WineKeyBlock fresh{std::move(names), LeadingBlankLines(block.text), std::move(contents)};
        return AppendSection(std::move(fresh), options);
    }

    bool AddNew(const HiveKey& key, std::vector<std::string>& path) {
        // The root exists without a section; an empty hive stays an empty file.
        const bool writes = &key == &m_root ? !key.values().empty() : WineWritesSection(key);
        if (writes && !m_handled.count(&key)) {
            std::string contents;
            if (!AppendWineValueLines(contents, key, m_error)) return false;
            // The last section read may lack its final line break.
            if (!m_text.empty() && m_text.back() != '\n') {
                m_text += '\n';
                (m_written.blocks.empty() ? m_written.header : m_written.blocks.back().text) += '\n';
            }
            if (!AppendSection(WineKeyBlock{path, "\n", std::move(contents)}, {})) return false;
        }
        struct Child {
            std::u16string name;
            const HiveKey* key;
        };
        std::vector<Child> children;
        children.reserve(key.SubKeyCount());
        bool valid = true;
        key.ForEachSubKey([&](const HiveKey& sub) {
            Child child{{}, &sub};
            valid = valid && plat::Utf8ToUtf16(sub.name(), &child.name);
            children.push_back(std::move(child));
        });
        if (!valid) {
            if (m_error) *m_error = "a name that is not valid UTF-8";
            return false;
        }
        std::sort(children.begin(), children.end(),
                  [](const Child& a, const Child& b) { return WineNameLess(a.name, b.name); });
        for (const Child& child : children) {
            path.push_back(child.key->name());
            if (!AddNew(*child.key, path)) return false;
            path.pop_back();
        }
        return true;
    }

    // `block` with its path, blank lines and contents set: its section written anew.
    bool AppendSection(WineKeyBlock block, std::string_view options) {
        if (!AppendWineSectionLines(block.text, block.path, m_fileTime, m_error)) return false;
        block.text += options;
        block.text += block.contents;
        Append(std::move(block));
        return true;
    }

    void Append(WineKeyBlock block) {
        m_text += block.text;
        m_written.blocks.push_back(std::move(block));
    }

    const HiveKey& m_root;
    std::uint64_t m_fileTime;
    std::string* m_error;
    std::string m_text;
    WineHiveLayout m_written;
    std::unordered_set<const HiveKey*> m_handled;  // keys whose sections have been dealt with
};

}  // namespace

bool SerialiseWineHive(const HiveKey& root, const WineHiveLayout& layout, std::uint64_t fileTime,
                       std::string* text, WineHiveLayout* next, std::string* error) {
    return Writer(root, fileTime, error).Write(layout, text, next);
}

}  // namespace posixplat::reg
