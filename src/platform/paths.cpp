#include "platform/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/long_path.h"

namespace platform {
namespace {

// The components of a path, without empty ones (from repeated "/") and without ".".
std::vector<std::string_view> Components(std::string_view path) {
  std::vector<std::string_view> parts;
  size_t pos = 0;
  while (pos < path.size()) {
    size_t next = path.find('/', pos);
    if (next == std::string_view::npos) next = path.size();
    std::string_view part = path.substr(pos, next - pos);
    if (!part.empty() && part != ".") parts.push_back(part);
    pos = next + 1;
  }
  return parts;
}

std::string WorkingFolder() {
  char* cwd = getcwd(nullptr, 0);  // allocated to fit, so a deep working folder is not cut
  if (cwd == nullptr) return std::string();
  std::string result(cwd);
  std::free(cwd);
  return result;
}

}  // namespace

std::string JoinPath(std::string_view folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  std::string path;
  path.reserve(folder.size() + 1 + name.size());
  path.append(folder);
  if (folder.back() != '/') path += '/';
  path.append(name);
  return path;
}

std::string RelativePath(std::string_view from, std::string_view to) {
  if (from.empty() || to.empty() || from[0] != '/' || to[0] != '/') return std::string();
  std::vector<std::string_view> fromParts = Components(from);
  std::vector<std::string_view> toParts = Components(to);
  size_t common = 0;
  while (common < fromParts.size() && common < toParts.size() && fromParts[common] == toParts[common]) {
    ++common;
  }
  std::string relative;
  if (common == fromParts.size()) {
    relative = ".";
  } else {
    for (size_t i = common; i < fromParts.size(); ++i) relative += i == common ? ".." : "/..";
  }
  for (size_t i = common; i < toParts.size(); ++i) {
    relative += '/';
    relative.append(toParts[i]);
  }
  return relative;
}

std::optional<std::string> ExpandLongPath(std::string_view path) {
  if (path.empty() || path.find('\0') != std::string_view::npos) return std::nullopt;
  std::string absolute;
  if (path[0] != '/') {
    absolute = WorkingFolder();
    if (absolute.empty()) return std::nullopt;
    absolute += '/';
  }
  absolute.append(path);
  // ".." is taken lexically, as the long form of a typed path is: "link/.." is the folder holding the link.
  std::vector<std::string_view> parts;
  for (std::string_view part : Components(absolute)) {
    if (part != "..") {
      parts.push_back(part);
    } else if (!parts.empty()) {
      parts.pop_back();
    }
  }
  std::string expanded;
  for (std::string_view part : parts) {
    expanded += '/';
    expanded.append(part);
  }
  if (expanded.empty() || path.back() == '/') expanded += '/';
  detail::PathAt at(expanded.c_str(), expanded.size());
  struct stat st;
  if (!at.Valid() || fstatat(at.DirFd(), at.Name(), &st, 0) != 0) return std::nullopt;
  return expanded;
}

std::string_view LastComponent(std::string_view path) {
  size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view ParentFolder(std::string_view path) {
  size_t slash = path.rfind('/');
  if (slash == std::string_view::npos) return std::string_view();
  size_t end = slash;
  while (end > 0 && path[end - 1] == '/') --end;
  // An entry of the root keeps the root itself as its folder.
  return end == 0 ? path.substr(0, 1) : path.substr(0, end);
}

}  // namespace platform
