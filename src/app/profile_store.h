// Which profile a front end reads at its start and writes back at its end, and what a failure means. The
// profile is held in memory between the two, so that keys this program does not know survive the save.
#pragma once

#include <string>

#include "app/app_settings.h"
#include "app/history_list.h"
#include "app/ini_file.h"
#include "search/search_conditions.h"

struct ProfileStore {
  std::string readPath;
  std::string writePath;         // empty when there is no place to write to
  bool defaultLocation = false;  // the program's own profile: its folder may have to be made first
  bool missing = false;          // the file did not exist when it was opened
  IniFile ini;
};

// Opens the profile: `explicitPath` (a native path) when given, else the program's own profile at its
// chosen location. The program's own profile may be missing (every value is then its default); a named
// one may be missing only when `mayCreate` (it is made at the first write). A file that exists but cannot
// be read is always a failure, so that a write can never replace a profile that was not understood.
// False with `error` set (English, for the console; the window shows its own message).
bool OpenProfile(const std::string& explicitPath, bool mayCreate, ProfileStore& store, std::string& error);

// Opens the profile and loads the conditions, settings and histories from it (LoadProfile). False with
// `error` set as OpenProfile; the values are then as they were.
bool ReadProfile(const std::string& explicitPath, bool mayCreate, ProfileStore& store,
                 SearchConditions& conditions, AppSettings& settings, HistoryList& locationBox,
                 HistoryList& patternBox, std::string& error);

// Stores the conditions, settings and histories into the profile and writes it safely. False with
// `error` set; the file on disk is then as it was.
bool WriteProfile(ProfileStore& store, const SearchConditions& conditions, const AppSettings& settings,
                  const HistoryList& locationBox, const HistoryList& patternBox, std::string& error);
