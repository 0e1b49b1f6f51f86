// The main window's actions on hits and its save of the visible result list, with a desktop that records
// instead of opening and a save dialog answered by the test.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "app/profile.h"
#include "app/qt_text_qt.h"
#include "app/serquin_dlg.h"
#include "resources/strings.h"
#include "results/fake_desktop.h"
#include "results/list_file_widget.h"
#include "results/list_moji_widget.h"
#include "testkit/qt_app.h"
#include "testkit/temp_tree.h"

namespace {

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::unique_ptr<FOUND_F> FileHit(const std::string& folder, const std::string& name,
                                 const std::string& size) {
  auto hit = std::make_unique<FOUND_F>();
  hit->name = name;
  hit->folder = folder;
  hit->nativePath = folder + "/" + name;
  hit->sizeText = size;
  hit->dateText = "2026/12/10 09:00";
  hit->attributesText = "A";
  return hit;
}

class SerquinActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    profile_.writePath = tree_.Path("Serquin.ini");
    profile_.ini.WriteString(kConditionSection, "CsvFile", tree_.Path("earlier.txt"));
    profile_.ini.WriteString(kConditionSection, "SubFolder", "1");  // the text search goes into "sub"
    // Folder detail off: the file list shows its six first columns.
    profile_.ini.WriteString("SearchListFile Section", "FolderExF", "0");
    dialog_ = std::make_unique<CSerquinDlg>(profile_, std::vector<std::string>{});
    auto desktop = std::make_unique<FakeDesktop>();
    desktop_ = desktop.get();
    dialog_->Actions().SetDesktop(std::move(desktop));
    dialog_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
  }
  void TearDown() override { dialog_.reset(); }

  // Two file hits in the file list, the first one selected.
  void FillFileList() {
    CListFile* list = dialog_->FileList();
    list->Append(FileHit("/data", "a.txt", "1KB"));
    list->Append(FileHit("/data/sub", "b \"2\".txt", "3KB"));
    list->FlushAppends();
    list->selectRow(0);
  }
  // Saves to `path` as if the user chose it in the save dialog; the texts of the messages shown.
  std::vector<QString> SaveAs(const std::string& path) {
    desktop_->chosenFile = QtFromNative(path);
    MessageBoxAnswerer answerer;
    dialog_->SaveResults();
    return answerer.texts;
  }

  TempTree tree_;
  ProfileStore profile_;
  std::unique_ptr<CSerquinDlg> dialog_;
  FakeDesktop* desktop_ = nullptr;
};

TEST_F(SerquinActionsTest, BothListsCommandsReachTheDesktop) {
  FillFileList();
  emit dialog_->FileList()->MenuCommand(kMenuOpenFolder);
  emit dialog_->FileList()->MenuCommand(kMenuCopyPath);
  ASSERT_EQ(desktop_->opened.size(), 1u);
  EXPECT_EQ(desktop_->opened[0].toLocalFile(), "/data");
  EXPECT_EQ(desktop_->clipboard, std::vector<QString>{"/data/a.txt"});

  // A text hit in the text list: the editor at its line, with the settings the window holds.
  auto hit = MakeTextHit(MakeHitFile("/data/c.txt", "/data/c.txt"), 41, "x", 0);
  dialog_->TextList()->Append(std::move(hit));
  dialog_->TextList()->FlushAppends();
  dialog_->TextList()->selectRow(0);
  desktop_->installed = {"Notepad.exe"};
  emit dialog_->TextList()->MenuCommand(kMenuOpenEditor);
  ASSERT_EQ(desktop_->started.size(), 1u);
  EXPECT_EQ(desktop_->started[0].first, "Notepad.exe");
  EXPECT_EQ(desktop_->started[0].second, (QStringList{"/data/c.txt", "/41"}));
}

TEST_F(SerquinActionsTest, SavesTheFileListInItsDisplayOrder) {
  FillFileList();
  // The user drags "サイズ" to the first position.
  QHeaderView* header = dialog_->FileList()->horizontalHeader();
  header->moveSection(header->visualIndex(2), 0);
  QString initial;
  desktop_->inspectDialog = [&](QFileDialog& dialog) { initial = dialog.selectedFiles().value(0); };
  const std::string path = tree_.Path("saved.txt");
  EXPECT_TRUE(SaveAs(path).empty());
  EXPECT_EQ(initial, QtFromNative(tree_.Path("earlier.txt")));
  // "サイズ","ファイル","フォルダ","更新日時","種類","属性" in code page 932, then one row per hit.
  EXPECT_EQ(Read(path),
            "\"\x83\x54\x83\x43\x83\x59\",\"\x83\x74\x83\x40\x83\x43\x83\x8b\","
            "\"\x83\x74\x83\x48\x83\x8b\x83\x5f\","
            "\"\x8d\x58\x90\x56\x93\xfa\x8e\x9e\",\"\x8e\xed\x97\xde\",\"\x91\xae\x90\xab\"\r\n"
            "\"1KB\",\"a.txt\",\"/data\",\"2026/12/10 09:00\",,\"A\"\r\n"
            "\"3KB\",\"b \"\"2\"\".txt\",\"/data/sub\",\"2026/12/10 09:00\",,\"A\"\r\n");
  EXPECT_EQ(dialog_->Settings().CsvFile, path);
}

TEST_F(SerquinActionsTest, CancellingKeepsCsvFileAndFailuresKeepTheOldFile) {
  FillFileList();
  EXPECT_TRUE(SaveAs("").empty());
  EXPECT_EQ(dialog_->Settings().CsvFile, tree_.Path("earlier.txt"));

  const std::string old = "old\r\n";
  const std::string readOnly = tree_.File("read-only.txt", old);
  chmod(readOnly.c_str(), 0444);
  for (const std::string& path : {readOnly, tree_.Path("no-such-folder/r.txt")}) {
    SCOPED_TRACE(path);
    const std::vector<QString> messages = SaveAs(path);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], QtString(IDS_SAVE_FAILED));
    EXPECT_EQ(dialog_->Settings().CsvFile, path);  // the chosen name is kept
  }
  EXPECT_EQ(Read(readOnly), old);
  EXPECT_FALSE(std::filesystem::exists(tree_.Path("no-such-folder")));
}

TEST_F(SerquinActionsTest, TheRealSaveDialogStartsAtCsvFileAndCancelChangesNothing) {
  dialog_->Actions().SetDesktop(MakeSystemDesktop());
  QString shownFile;
  int tries = 0;
  std::function<void()> answer = [&] {
    if (auto* box = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      shownFile = box->selectedFiles().value(0);
      box->reject();
    } else if (++tries < 2000) {
      QTimer::singleShot(5, answer);
    }
  };
  QTimer::singleShot(0, answer);
  dialog_->SaveResults();
  EXPECT_EQ(shownFile, QtFromNative(tree_.Path("earlier.txt")));
  EXPECT_EQ(dialog_->Settings().CsvFile, tree_.Path("earlier.txt"));
  EXPECT_FALSE(std::filesystem::exists(tree_.Path("earlier.txt")));
}

TEST_F(SerquinActionsTest, CtrlShiftSOffersTheSaveAndTheWindowMenuHasIt) {
  dialog_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
  QTest::keyClick(dialog_->FileList(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(desktop_->saveDialogs, 1);
  bool inMenu = false;
  for (QAction* action : dialog_->actions()) inMenu |= action->shortcut() == QKeySequence("Ctrl+Shift+S");
  EXPECT_TRUE(inMenu);
}

// A text search from start to end, then its hits saved with their folders relative to the location.
TEST_F(SerquinActionsTest, SavesTheTextListOfASearch) {
  tree_.File("docs/a.txt", "alpha \"one\"\nbeta\n");
  tree_.File("docs/sub/b.txt", "x alpha\n");
  dialog_->findChild<QComboBox*>("id1004")->setEditText(QtFromNative(tree_.Path("docs")));
  dialog_->findChild<QComboBox*>("id1001")->setEditText("alpha");
  auto* text = dialog_->findChild<QPushButton*>("id1030");
  if (!text->isChecked()) text->click();
  QSignalSpy ended(dialog_.get(), &CSerquinDlg::SearchEnded);
  dialog_->findChild<QPushButton*>("id1003")->click();
  ASSERT_TRUE(ended.wait(20000));
  ASSERT_EQ(dialog_->TextList()->Count(), 2);
  dialog_->TextList()->SortByColumn(0);  // a known order: a.txt, then b.txt

  const std::string path = tree_.Path("text results.txt");
  EXPECT_TRUE(SaveAs(path).empty());
  // "ファイル","フォルダ","行","内容" in code page 932, then the rows.
  EXPECT_EQ(Read(path),
            "\"\x83\x74\x83\x40\x83\x43\x83\x8b\",\"\x83\x74\x83\x48\x83\x8b\x83\x5f\",\"\x8d\x73\","
            "\"\x93\xe0\x97\x65\"\r\n"
            "\"a.txt\",\".\",1,\"alpha \"\"one\"\"\"\r\n"
            "\"b.txt\",\"./sub\",1,\"x alpha\"\r\n");

  // Enter on the selected text hit opens it in the editor at its line.
  desktop_->installed = {"Notepad.exe"};
  dialog_->TextList()->selectRow(1);
  dialog_->TextList()->setFocus();
  QTest::keyClick(dialog_->TextList(), Qt::Key_Return);
  ASSERT_EQ(desktop_->started.size(), 1u);
  EXPECT_EQ(desktop_->started[0].second, (QStringList{QtFromNative(tree_.Path("docs/sub/b.txt")), "/1"}));
}

}  // namespace
