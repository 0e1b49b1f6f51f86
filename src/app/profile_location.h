// Where the profile "Serquin.ini" lives: beside the running program, or in the user's configuration folder
// when the program's folder cannot be written, so that settings are never silently lost.
#pragma once

#include <functional>
#include <string>

// The fixed file name of the profile (not the program's own base name).
inline constexpr char kProfileFileName[] = "Serquin.ini";

// What the choice depends on, so that it can be made for any situation in tests.
struct ProfileEnvironment {
  std::string exeFolder;      // folder of the running program; empty when unknown
  std::string xdgConfigHome;  // $XDG_CONFIG_HOME, empty when unset
  std::string home;           // $HOME, empty when unset
  std::function<bool(const std::string& folder)> folderWritable;
  std::function<bool(const std::string& path)> fileExists;
};

struct ProfileLocation {
  std::string readPath;   // the profile to read (it may not exist yet: then every value is its default)
  std::string writePath;  // where to write it; empty when there is no place at all
};

// The environment of this process: the folder of /proc/self/exe, $XDG_CONFIG_HOME and $HOME, and the
// file system's own answers.
ProfileEnvironment CurrentProfileEnvironment();

// The profile in the configuration folder: $XDG_CONFIG_HOME/serquin/Serquin.ini, or
// $HOME/.config/serquin/Serquin.ini when $XDG_CONFIG_HOME is unset or not absolute; empty without either.
std::string ConfigProfilePath(const ProfileEnvironment& env);

// The profile beside the program when its folder can be written. Otherwise it is written to the
// configuration folder and read from there when it exists there, else from beside the program when one
// exists there (settings shipped with the program), else from the configuration folder.
ProfileLocation ChooseProfileLocation(const ProfileEnvironment& env);

// Creates the folder that is to hold `path` and its missing parents (private to the user). False, with
// `error` set, when it cannot.
bool MakeProfileFolder(const std::string& path, std::string& error);
