#include "app/profile_location.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/paths.h"

namespace {

std::string Environment(const char* name) {
  const char* value = getenv(name);
  return value != nullptr ? value : "";
}

std::string ExecutableFolder() {
  std::error_code error;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : exe.parent_path().string();
}

}  // namespace

ProfileEnvironment CurrentProfileEnvironment() {
  ProfileEnvironment env;
  env.exeFolder = ExecutableFolder();
  env.xdgConfigHome = Environment("XDG_CONFIG_HOME");
  env.home = Environment("HOME");
  // access() also says no for a read-only mount, where permission bits alone would say yes.
  env.folderWritable = [](const std::string& folder) { return access(folder.c_str(), W_OK) == 0; };
  env.fileExists = [](const std::string& path) { return access(path.c_str(), F_OK) == 0; };
  return env;
}

std::string ConfigProfilePath(const ProfileEnvironment& env) {
  // A relative $XDG_CONFIG_HOME is to be ignored, as the base-directory convention says.
  std::string config;
  if (!env.xdgConfigHome.empty() && env.xdgConfigHome[0] == '/') {
    config = env.xdgConfigHome;
  } else if (!env.home.empty()) {
    config = platform::JoinPath(env.home, ".config");
  } else {
    return "";
  }
  return platform::JoinPath(platform::JoinPath(config, "serquin"), kProfileFileName);
}

ProfileLocation ChooseProfileLocation(const ProfileEnvironment& env) {
  std::string besideProgram =
      env.exeFolder.empty() ? "" : platform::JoinPath(env.exeFolder, kProfileFileName);
  if (!besideProgram.empty() && env.folderWritable(env.exeFolder)) return {besideProgram, besideProgram};
  std::string config = ConfigProfilePath(env);
  ProfileLocation location{config, config};
  if ((config.empty() || !env.fileExists(config)) && !besideProgram.empty() &&
      env.fileExists(besideProgram)) {
    location.readPath = besideProgram;
  }
  return location;
}

bool MakeProfileFolder(const std::string& path, std::string& error) {
  std::string folder(platform::ParentFolder(path));
  // Each missing folder from the top down; the configuration folders are the user's own (0700).
  for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    std::string part = folder.substr(0, slash);
    if (!part.empty() && mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
      error = "cannot create the folder " + part + ": " + strerror(errno);
      return false;
    }
    if (slash == std::string::npos) break;
  }
  struct stat info;
  if (!folder.empty() && (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))) {
    error = "cannot create the folder " + folder + ": not a folder";
    return false;
  }
  return true;
}
