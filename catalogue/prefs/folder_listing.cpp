#include "prefs/folder_listing.h"

#include <algorithm>
#include <filesystem>

namespace reel {
namespace fs = std::filesystem;
namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool lessIgnoringCase(const std::string& a, const std::string& b) {
    const bool less = std::lexicographical_compare(
        a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) { return lower(x) < lower(y); });
    if (less) return true;
    const bool greater = std::lexicographical_compare(
        b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) { return lower(x) < lower(y); });
    return !greater && a < b;  // same letters: a stable order all the same
}

std::string indent(std::size_t depth) {
    return std::string(depth * 2, ' ');
}

// Entries of `folder` that are folders (wantFolders) or regular files.
std::vector<std::string> entries(const std::string& folder, bool wantFolders) {
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.empty() || name.front() == '.') continue;
        std::error_code typeError;
        const bool isFolder = it->is_directory(typeError);
        const bool isFile = it->is_regular_file(typeError);
        if (wantFolders ? isFolder : isFile) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), lessIgnoringCase);
    return names;
}

}  // namespace

FolderView folderView(const std::string& folder) {
    FolderView view;
    view.lines.push_back({"/", "/"});
    std::string path;
    std::size_t depth = 0;
    for (const fs::path& part : fs::path(folder).relative_path()) {
        if (part.empty()) continue;
        path += "/" + part.string();
        ++depth;
        view.lines.push_back({indent(depth) + part.string(), path});
    }
    view.current = static_cast<int>(view.lines.size()) - 1;
    const std::string base = path.empty() ? "/" : path + "/";
    for (const std::string& name : entries(folder, true))
        view.lines.push_back({indent(depth + 1) + name, base + name});
    return view;
}

bool isDataFileName(std::string_view name) {
    constexpr std::string_view extension = ".dat";
    if (name.size() <= extension.size()) return false;
    const std::string_view tail = name.substr(name.size() - extension.size());
    return std::equal(tail.begin(), tail.end(), extension.begin(),
                      [](char a, char b) { return lower(a) == b; });
}

std::vector<std::string> dataFiles(const std::string& folder) {
    std::vector<std::string> files = entries(folder, false);
    std::erase_if(files, [](const std::string& name) { return !isDataFileName(name); });
    return files;
}

std::string absoluteFolder(const std::string& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(path.empty() ? "." : path, error);
    if (error) return path;
    std::string normal = absolute.lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
    return normal;
}

}  // namespace reel
