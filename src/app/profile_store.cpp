#include "app/profile_store.h"

#include "app/profile.h"
#include "app/profile_location.h"
#include "matching/breg.h"

bool OpenProfile(const std::string& explicitPath, bool mayCreate, ProfileStore& store, std::string& error) {
  if (!explicitPath.empty()) {
    store.readPath = store.writePath = explicitPath;
    store.defaultLocation = false;
  } else {
    ProfileLocation location = ChooseProfileLocation(CurrentProfileEnvironment());
    store.readPath = location.readPath;
    store.writePath = location.writePath;
    store.defaultLocation = true;
  }
  std::string loadError;
  switch (store.ini.Load(store.readPath, loadError)) {
    case IniFile::LoadStatus::kLoaded:
      return true;
    case IniFile::LoadStatus::kMissing:
      store.missing = true;
      if (store.defaultLocation || mayCreate) return true;
      error = "the profile " + store.readPath + " does not exist";
      return false;
    case IniFile::LoadStatus::kFailed:
      break;
  }
  error = "the profile cannot be read: " + loadError;
  return false;
}

bool ReadProfile(const std::string& explicitPath, bool mayCreate, ProfileStore& store,
                 SearchConditions& conditions, AppSettings& settings, HistoryList& locationBox,
                 HistoryList& patternBox, std::string& error) {
  if (!OpenProfile(explicitPath, mayCreate, store, error)) return false;
  LoadProfile(store.ini, conditions, settings, locationBox, patternBox, matching::IsRegexLibraryPresent);
  return true;
}

bool WriteProfile(ProfileStore& store, const SearchConditions& conditions, const AppSettings& settings,
                  const HistoryList& locationBox, const HistoryList& patternBox, std::string& error) {
  std::string why;
  if (store.writePath.empty()) {
    why = "there is no folder to keep it in (HOME is not set)";
  } else if (!store.defaultLocation || MakeProfileFolder(store.writePath, why)) {
    SaveProfile(store.ini, conditions, settings, locationBox, patternBox);
    if (store.ini.Save(store.writePath, why)) return true;
  }
  error = "the profile cannot be written: " + why;
  return false;
}
