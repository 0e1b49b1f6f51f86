#include "app/profile_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <set>
#include <string>

#include "testkit/temp_tree.h"

namespace {

// An environment whose answers come from the case, so the choice is tested for any user, root included.
ProfileEnvironment Env(const char* exeFolder, const char* xdg, const char* home, bool exeWritable,
                       std::set<std::string> existing) {
  ProfileEnvironment env;
  env.exeFolder = exeFolder;
  env.xdgConfigHome = xdg;
  env.home = home;
  std::string folder = exeFolder;
  env.folderWritable = [folder, exeWritable](const std::string& f) {
    return f == folder ? exeWritable : true;
  };
  env.fileExists = [existing](const std::string& path) { return existing.count(path) > 0; };
  return env;
}

TEST(ProfileLocation, BesideTheProgramUnlessItsFolderIsReadOnly) {
  const std::string beside = "/opt/serquin/Serquin.ini";
  const std::string config = "/home/u/.config/serquin/Serquin.ini";
  struct Case {
    const char* name;
    ProfileEnvironment env;
    std::string read, write;
  } cases[] = {
      {"a writable program folder", Env("/opt/serquin", "", "/home/u", true, {config}), beside, beside},
      {"read-only: the configuration folder", Env("/opt/serquin", "", "/home/u", false, {config, beside}),
       config, config},
      {"read-only, nothing configured yet: the profile shipped beside the program is read",
       Env("/opt/serquin", "", "/home/u", false, {beside}), beside, config},
      {"read-only, no profile anywhere", Env("/opt/serquin", "", "/home/u", false, {}), config, config},
      {"XDG_CONFIG_HOME when it is absolute", Env("/opt/serquin", "/x/cfg", "/home/u", false, {}),
       "/x/cfg/serquin/Serquin.ini", "/x/cfg/serquin/Serquin.ini"},
      {"a relative XDG_CONFIG_HOME is ignored", Env("/opt/serquin", "cfg", "/home/u", false, {}), config,
       config},
      {"no HOME and no XDG_CONFIG_HOME: nowhere to write", Env("/opt/serquin", "", "", false, {beside}),
       beside, ""},
      {"the program's folder unknown", Env("", "", "/home/u", true, {}), config, config},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProfileLocation location = ChooseProfileLocation(c.env);
    EXPECT_EQ(location.readPath, c.read);
    EXPECT_EQ(location.writePath, c.write);
  }
}

TEST(ProfileLocation, TheProcessEnvironmentNamesTheProgramsFolder) {
  ProfileEnvironment env = CurrentProfileEnvironment();
  ASSERT_FALSE(env.exeFolder.empty());
  struct stat info;
  EXPECT_EQ(stat(env.exeFolder.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_TRUE(env.fileExists(env.exeFolder));
  EXPECT_FALSE(env.fileExists(env.exeFolder + "/no such file"));
}

TEST(ProfileLocation, AReadOnlyProgramFolderIsSeenAsSuch) {
  if (geteuid() == 0) GTEST_SKIP() << "root can write to any folder";
  TempTree tree;
  std::string folder = tree.Folder("bin");
  ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
  ProfileEnvironment env = CurrentProfileEnvironment();
  env.exeFolder = folder;
  env.xdgConfigHome = tree.Path("cfg");
  EXPECT_EQ(ChooseProfileLocation(env).writePath, tree.Path("cfg/serquin/Serquin.ini"));
  chmod(folder.c_str(), 0755);
}

TEST(ProfileLocation, MakeProfileFolderCreatesTheMissingFolders) {
  TempTree tree;
  std::string error;
  std::string path = tree.Path("cfg/serquin/Serquin.ini");
  ASSERT_TRUE(MakeProfileFolder(path, error)) << error;
  struct stat info;
  ASSERT_EQ(stat(tree.Path("cfg/serquin").c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(info.st_mode & 077, 0u);                     // the user's own
  EXPECT_TRUE(MakeProfileFolder(path, error)) << error;  // already there

  tree.File("file", "x");
  EXPECT_FALSE(MakeProfileFolder(tree.Path("file/serquin/Serquin.ini"), error));
  EXPECT_NE(error.find("file"), std::string::npos) << error;
}

}  // namespace
