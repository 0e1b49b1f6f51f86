// The hit actions on a desktop that records instead of opening, and the real desktop's harmless parts.
#include "results/hit_actions_qt.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QWidget>

#include "app/qt_text_qt.h"
#include "resources/strings.h"
#include "results/fake_desktop.h"
#include "results/result_list_widget.h"
#include "testkit/qt_app.h"
#include "testkit/temp_tree.h"

namespace {

// A name code page 932 cannot spell (Hangul and an emoji), with a blank and a double quote.
const QString kOddName = QString::fromUtf8("\xED\x95\x9C\xEA\xB5\xAD \"\xF0\x9F\x98\x80\".txt");

HitTarget Target(const QString& folder, const QString& name, int line) {
  HitTarget hit;
  hit.folder = NativeFromQt(folder);
  hit.name = NativeFromQt(name);
  hit.path = NativeFromQt(folder + "/" + name);
  hit.line = line;
  return hit;
}

class HitActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto desktop = std::make_unique<FakeDesktop>();
    desktop_ = desktop.get();
    actions_.SetDesktop(std::move(desktop));
  }
  void Run(int command, const std::vector<HitTarget>& hits, const std::string& file = "Notepad.exe",
           const std::string& param = "&F /&L") {
    actions_.Run(command, hits, file, param);
  }

  QWidget owner_;
  HitActions actions_{&owner_};
  FakeDesktop* desktop_ = nullptr;
  const HitTarget odd_ = Target("/tmp/dir one", kOddName, 7);
  const HitTarget plain_ = Target("/tmp", "b.txt", 3);
};

TEST_F(HitActionsTest, EachCommandOnTheNativePath) {
  desktop_->installed = {"Notepad.exe"};
  Run(kMenuOpenAssociated, {odd_, plain_});
  Run(kMenuOpenFolder, {odd_});
  Run(kMenuCopyPath, {odd_, plain_});  // the first hit only
  Run(kMenuOpenEditor, {odd_});
  Run(kMenuOpenAssociated, {});  // no selection: nothing
  Run(0, {odd_});                // not a list command: nothing

  ASSERT_EQ(desktop_->opened.size(), 3u);
  EXPECT_EQ(desktop_->opened[0].toLocalFile(), "/tmp/dir one/" + kOddName);
  EXPECT_EQ(desktop_->opened[1].toLocalFile(), "/tmp/b.txt");
  EXPECT_EQ(desktop_->opened[2].toLocalFile(), "/tmp/dir one");
  EXPECT_EQ(desktop_->clipboard, std::vector<QString>{"/tmp/dir one/" + kOddName});
  ASSERT_EQ(desktop_->started.size(), 1u);
  EXPECT_EQ(desktop_->started[0].first, "Notepad.exe");
  EXPECT_EQ(desktop_->started[0].second, (QStringList{"/tmp/dir one/" + kOddName, "/7"}));
}

TEST_F(HitActionsTest, TheEditorAsConfiguredOrInsteadOfTheMissingDefault) {
  struct Case {
    const char* name;
    std::set<QString> installed;
    std::string file, param;
    QString program;
    QStringList arguments;
  } cases[] = {
      {"the user's editor and template",
       {},
       "/opt/ed/bin/ed it",
       "--line=&L &N in &D",
       "/opt/ed/bin/ed it",
       {"--line=3", "b.txt", "in", "/tmp"}},
      {"an installed editor for the missing default",
       {"gedit"},
       "Notepad.exe",
       "&F /&L",
       "gedit",
       {"+3", "/tmp/b.txt"}},
      {"the user's template with it", {"kate"}, "Notepad.exe", "&F", "kate", {"/tmp/b.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    desktop_->installed = c.installed;
    desktop_->started.clear();
    Run(kMenuOpenEditor, {plain_}, c.file, c.param);
    ASSERT_EQ(desktop_->started.size(), 1u);
    EXPECT_EQ(desktop_->started[0].first, c.program);
    EXPECT_EQ(desktop_->started[0].second, c.arguments);
  }
  // No editor at all: the file opens by association.
  desktop_->installed.clear();
  desktop_->started.clear();
  Run(kMenuOpenEditor, {plain_});
  EXPECT_TRUE(desktop_->started.empty());
  ASSERT_EQ(desktop_->opened.size(), 1u);
  EXPECT_EQ(desktop_->opened[0].toLocalFile(), "/tmp/b.txt");
}

TEST_F(HitActionsTest, AnEditorThatCannotStartIsReportedOnce) {
  desktop_->startSucceeds = false;
  desktop_->openSucceeds = false;
  {
    MessageBoxAnswerer answerer;
    Run(kMenuOpenEditor, {plain_, odd_}, "no-such-editor", "&F");
    ASSERT_EQ(answerer.texts.size(), 1u);
    EXPECT_EQ(answerer.texts[0], QtString(IDS_EDITOR_NOT_STARTED).arg("no-such-editor"));
    EXPECT_EQ(answerer.icons[0], QMessageBox::Warning);
  }
  {
    // Nothing installed, and opening by association fails as well: the file is named.
    MessageBoxAnswerer answerer;
    Run(kMenuOpenEditor, {plain_});
    ASSERT_EQ(answerer.texts.size(), 1u);
    EXPECT_EQ(answerer.texts[0], QtString(IDS_EDITOR_NOT_STARTED).arg("/tmp/b.txt"));
  }
  {
    // Opening by association and the folder are not examined, as before.
    MessageBoxAnswerer answerer;
    Run(kMenuOpenAssociated, {plain_});
    Run(kMenuOpenFolder, {plain_});
    EXPECT_TRUE(answerer.texts.empty());
  }
}

TEST(ResultFileDialog, FiltersSuffixAndWhereItStarts) {
  TempTree tree;
  const std::string earlier = tree.File("old results.txt", "x");
  const QString home = QtFromNative(tree.Folder("home"));
  const QByteArray savedHome = qgetenv("HOME");
  qputenv("HOME", home.toUtf8());
  struct Case {
    const char* name;
    std::string csvFile;
    std::string makeFolder;
    QString directory;
    QString selected;
  } cases[] = {
      {"no earlier file, no documents folder: home", "", "", home, ""},
      {"no earlier file: the documents folder", "", "home/Documents", home + "/Documents", ""},
      {"the earlier file", earlier, "", QtFromNative(tree.Root()), QtFromNative(earlier)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.makeFolder.empty()) tree.Folder(c.makeFolder);
    std::unique_ptr<QFileDialog> dialog = MakeResultFileDialog(c.csvFile, nullptr);
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->defaultSuffix(), "txt");
    EXPECT_EQ(dialog->nameFilters(), (QStringList{"txt(*.txt)", "全て(*)"}));
    EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(QDir(dialog->directory()).absolutePath(), QDir(c.directory).absolutePath());
    if (!c.selected.isEmpty()) {
      EXPECT_EQ(dialog->selectedFiles(), QStringList{c.selected});
    }
  }
  qputenv("HOME", savedHome);
}

TEST(SystemDesktop, ClipboardAndProgramLookUp) {
  std::unique_ptr<HitDesktop> desktop = MakeSystemDesktop();
  desktop->SetClipboardText("/tmp/dir one/" + kOddName);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "/tmp/dir one/" + kOddName);

  TempTree tree;
  const std::string script = tree.File("bin/tool", "#!/bin/sh\n");
  chmod(script.c_str(), 0755);
  const std::string text = tree.File("bin/text", "");
  EXPECT_TRUE(desktop->IsInstalled("sh"));
  EXPECT_FALSE(desktop->IsInstalled("serquin-no-such-program"));
  EXPECT_TRUE(desktop->IsInstalled(QtFromNative(script)));
  EXPECT_FALSE(desktop->IsInstalled(QtFromNative(text)));
  EXPECT_FALSE(desktop->IsInstalled(QtFromNative(tree.Path("bin"))));
}

}  // namespace
