#include "platform/posix/image/image_tree.h"


namespace posixplat {
namespace {

std::string FoldedKey(std::uint32_t parent, const std::string& name) {
    std::string key = std::to_string(parent);
    key.push_back('/');
    for (char c : name) key.push_back((c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c);
    return key;
}

}  // namespace

ImageTree::ImageTree(const plat::FileStatus& rootStatus) {
    ImageNode root;
    root.isFolder = true;
    root.status = rootStatus;
    m_nodes.push_back(std::move(root));
}

bool ImageTree::Add(std::uint32_t parent, ImageNode node, std::uint32_t* index) {
    if (m_nodes.size() >= kMaxNodes) return false;
    std::vector<std::uint32_t>& same = m_byFoldedName[FoldedKey(parent, node.name)];
    for (std::uint32_t other : same) {
        if (m_nodes[other].name == node.name) return false;
    }
    const auto added = static_cast<std::uint32_t>(m_nodes.size());
    node.parent = parent;
    same.push_back(added);
    m_nodes[parent].children.push_back(added);
    m_nodes.push_back(std::move(node));
    if (index) *index = added;
    return true;
}

bool ImageTree::Find(const std::vector<std::string>& components, std::uint32_t* index) const {
    std::uint32_t at = kRoot;
    for (const std::string& component : components) {
        if (!m_nodes[at].isFolder) return false;
        const auto found = m_byFoldedName.find(FoldedKey(at, component));
        if (found == m_byFoldedName.end()) return false;
        // The exact name first, else the first in byte order that matches ignoring case,
        // as a host folder is walked.
        std::uint32_t chosen = found->second.front();
        for (std::uint32_t candidate : found->second) {
            if (m_nodes[candidate].name == component) {
                chosen = candidate;
                break;
            }
            if (m_nodes[candidate].name < m_nodes[chosen].name) chosen = candidate;
        }
        at = chosen;
    }
    *index = at;
    return true;
}

std::string ImageTree::ShownPath(std::uint32_t index) const {
    std::string path;
    for (std::uint32_t at = index; at != kRoot; at = m_nodes[at].parent) path = "\\" + m_nodes[at].name + path;
    return path.empty() ? "\\" : path;
}

std::string ImageTree::ShownPath(std::uint32_t folder, const std::string& name) const {
    const std::string path = ShownPath(folder);
    return (folder == kRoot ? "" : path) + "\\" + name;
}

const char* ImageTree::WhyNotAdded() const {
    return m_nodes.size() >= kMaxNodes ? "more entries than a disc holds; left out"
                                       : "a second entry of the same name; left out";
}

std::string ImageTree::ImagePath(std::uint32_t index) const {
    std::string path;
    for (std::uint32_t at = index; at != kRoot; at = m_nodes[at].parent) path = "/" + m_nodes[at].imageName + path;
    return path.empty() ? "/" : path;
}

const char* ImageNameProblem(const std::string& name) {
    if (name.empty()) return "an empty name";
    if (name == "." || name == "..") return "a name that stands for a folder itself or its parent";
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\' || c == '/') return "a name with a path separator in it";
        if (byte < 0x20 || c == '<' || c == '>' || c == ':' || c == '"' || c == '|' || c == '?' || c == '*') {
            return "a name with a character Windows does not allow";
        }
    }
    return nullptr;
}

std::string WithoutIsoVersion(const std::string& name) {
    std::string shown = name;
    const std::string::size_type semicolon = shown.rfind(';');
    if (semicolon != std::string::npos) shown.erase(semicolon);
    if (shown.size() > 1 && shown.back() == '.') shown.pop_back();
    return shown;
}

}  // namespace posixplat
