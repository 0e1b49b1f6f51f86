#include "app/profile_store.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "testkit/temp_tree.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(ProfileStore, ANamedProfileMustExistUnlessItMayBeCreated) {
  TempTree tree;
  const std::string path = tree.Path("my.ini");
  ProfileStore store;
  std::string error;
  EXPECT_FALSE(OpenProfile(path, false, store, error));
  EXPECT_TRUE(store.missing);
  EXPECT_NE(error.find("does not exist"), std::string::npos) << error;

  ProfileStore created;
  EXPECT_TRUE(OpenProfile(path, true, created, error));
  EXPECT_EQ(created.writePath, path);
}

TEST(ProfileStore, WhatCannotBeReadIsNeverOverwritten) {
  TempTree tree;
  const std::string folder = tree.Folder("a folder");
  ProfileStore store;
  std::string error;
  EXPECT_FALSE(OpenProfile(folder, true, store, error));
  EXPECT_FALSE(store.missing);
  EXPECT_NE(error.find("cannot be read"), std::string::npos) << error;
}

TEST(ProfileStore, WrittenValuesReadBackAndAFailedWriteSaysWhy) {
  TempTree tree;
  const std::string path = tree.Path("s.ini");
  SearchConditions conditions;
  conditions.PatternText = "needle";
  conditions.LetterClassify = true;
  AppSettings settings;
  settings.SoutaiF = false;
  HistoryList locations(HistoryKind::Location), patterns(HistoryKind::Pattern);
  locations.PushFront("/data");
  patterns.PushFront("needle");

  ProfileStore store;
  std::string error;
  ASSERT_TRUE(OpenProfile(path, true, store, error)) << error;
  ASSERT_TRUE(WriteProfile(store, conditions, settings, locations, patterns, error)) << error;

  SearchConditions read;
  AppSettings readSettings;
  HistoryList readLocations(HistoryKind::Location), readPatterns(HistoryKind::Pattern);
  ProfileStore again;
  ASSERT_TRUE(ReadProfile(path, false, again, read, readSettings, readLocations, readPatterns, error))
      << error;
  EXPECT_TRUE(read.LetterClassify);
  EXPECT_FALSE(readSettings.SoutaiF);
  EXPECT_EQ(readLocations.SelectedText(), "/data");
  EXPECT_EQ(readPatterns.SelectedText(), "needle");

  // A folder that does not exist: nothing is written and the reason is told.
  const std::string before = ReadFile(path);
  again.writePath = tree.Path("missing/s.ini");
  EXPECT_FALSE(WriteProfile(again, read, readSettings, readLocations, readPatterns, error));
  EXPECT_NE(error.find("cannot be written"), std::string::npos) << error;
  EXPECT_EQ(ReadFile(path), before);
}

}  // namespace
