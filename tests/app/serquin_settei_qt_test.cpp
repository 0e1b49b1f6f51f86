// The main window with its settings dialog, on the offscreen platform: the dialog opens on the window's
// conditions, and what OK and "適用" hand back reaches the window's conditions, settings and status row.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/serquin_dlg.h"
#include "app/settei_dlg.h"
#include "results/viewer_widget.h"
#include "testkit/qt_app.h"
#include "testkit/temp_tree.h"

namespace {

class SerquinSetteiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    profile_.writePath = tree_.Path("Serquin.ini");
    // Stored values away from their defaults.
    IniFile& ini = profile_.ini;
    ini.WriteString("Condition Section", "OptionTab", "2");
    ini.WriteString("Condition Section", "DepthDrawF", "1");
    ini.WriteString("Condition Section", "Depth", "7");
    ini.WriteString("Condition Section", "ConvertFlag", "0");
    ini.WriteString("Condition Section", "LetterClassify", "1");
    ini.WriteString("FilterExt Section", "Moji0", "cpp;h");
    ini.WriteString("Filter Section", "TimeKind", "0");
    ini.WriteString("Filter Section", "RangeKind", "1");
    ini.WriteString("Filter Section", "PastDay", "4");
    ini.WriteString("Filter Section", "SizeMin", "3");
    ini.WriteString("Filter Section", "SizeMinUnit", "0");
    ini.WriteString("Filter Section", "AttrHidden", "1");
    dialog_ = std::make_unique<CSerquinDlg>(profile_, std::vector<std::string>{});
    dialog_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
  }
  void TearDown() override { dialog_.reset(); }

  template <typename T = QWidget>
  static T* Find(QWidget* root, int id) {
    T* control = root->findChild<T*>(QString("id%1").arg(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
  }
  // Opens the settings dialog with `open` (the settings button by default) and runs `body` on it while it
  // is open; the dialog is cancelled afterwards unless the body closed it.
  void InSettings(const std::function<void(CSetteiDlg&)>& body, const std::function<void()>& open = {}) {
    bool ran = false;
    auto poll = std::make_shared<std::function<void(int)>>();
    *poll = [&, poll](int tries) {
      if (auto* settings = qobject_cast<CSetteiDlg*>(QApplication::activeModalWidget())) {
        body(*settings);
        ran = true;
        if (settings->isVisible()) settings->reject();
        *poll = nullptr;
        return;
      }
      if (tries < 400) QTimer::singleShot(5, [poll, tries] { (*poll)(tries + 1); });
    };
    QTimer::singleShot(0, [poll] { (*poll)(0); });
    if (open) {
      open();
    } else {
      Find<QPushButton>(dialog_.get(), 1007)->click();
    }
    ASSERT_TRUE(ran) << "the settings dialog did not open";
  }
  static void Press(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  }
  static void Type(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }

  TempTree tree_;
  ProfileStore profile_;
  std::unique_ptr<CSerquinDlg> dialog_;
};

TEST_F(SerquinSetteiTest, ApplyAndOkHandTheEditedValuesToTheWindow) {
  EXPECT_TRUE(Find<QPushButton>(dialog_.get(), 1007)->isEnabled());
  EXPECT_FALSE(Find(dialog_.get(), 1022)->isVisible());
  InSettings([&](CSetteiDlg& settings) {
    EXPECT_TRUE(dialog_->SettingsOpen()) << "hand-overs wait while it is open";
    // It opens on the stored tab with the stored values.
    EXPECT_EQ(Find<QTabWidget>(&settings, 1090)->currentIndex(), 2);
    EXPECT_EQ(Find<QLineEdit>(&settings, 1202)->text(), "7");
    EXPECT_EQ(Find<QComboBox>(&settings, 1222)->currentIndex(), 0);
    EXPECT_TRUE(Find<QCheckBox>(&settings, 1221)->isChecked());
    EXPECT_EQ(Find<QComboBox>(&settings, 1223)->currentText(), "cpp;h");
    EXPECT_EQ(Find<QComboBox>(&settings, 1103)->currentIndex(), 0);
    EXPECT_TRUE(Find<QRadioButton>(&settings, 1105)->isChecked());
    EXPECT_EQ(Find<QLineEdit>(&settings, 1112)->text(), "4");
    EXPECT_EQ(Find<QLineEdit>(&settings, 1162)->text(), "3");
    EXPECT_EQ(Find<QComboBox>(&settings, 1164)->currentIndex(), 0);
    EXPECT_EQ(Find<QCheckBox>(&settings, 1132)->checkState(), Qt::Checked);

    Type(Find<QLineEdit>(&settings, 1202), "9");
    QTest::keyClick(Find<QComboBox>(&settings, 1222), Qt::Key_Down);
    Press(Find<QRadioButton>(&settings, 1102));
    Type(Find<QLineEdit>(&settings, 1112), "12");
    QTest::keyClick(Find<QComboBox>(&settings, 1161), Qt::Key_Down);
    Press(Find<QCheckBox>(&settings, 1031));
    Find<QPushButton>(&settings, 103)->click();
    // Applied while the dialog stays open.
    const SearchConditions& c = dialog_->Conditions();
    EXPECT_EQ(c.Depth, 9);
    EXPECT_EQ(c.ConvertFlag, 1);
    EXPECT_EQ(c.TimeFilter, 1);
    EXPECT_EQ(c.PastDay, 12);
    EXPECT_EQ(c.SizeKind, 1);
    EXPECT_EQ(c.AttrReadonly, 1);
    EXPECT_EQ(dialog_->Settings().OptionTab, 2);
    // The status row shows the filters now in force, and the fixed code.
    EXPECT_TRUE(Find(dialog_.get(), 1022)->isVisible());
    EXPECT_TRUE(Find(dialog_.get(), 1023)->isVisible());
    EXPECT_TRUE(Find(dialog_.get(), 1024)->isVisible());
    EXPECT_EQ(Find<QLabel>(dialog_.get(), 1025)->text(), "EUC");

    // More edits, then OK from the attributes tab.
    Find<QTabWidget>(&settings, 1090)->setCurrentIndex(1);
    Press(Find<QCheckBox>(&settings, 1132));  // checked → indeterminate
    Find<QPushButton>(&settings, 1)->click();
  });
  EXPECT_FALSE(dialog_->SettingsOpen());
  EXPECT_EQ(dialog_->Conditions().AttrHidden, 2);
  EXPECT_EQ(dialog_->Conditions().Depth, 9);
  EXPECT_EQ(dialog_->Settings().OptionTab, 1);
}

TEST_F(SerquinSetteiTest, CancelKeepsWhatWasAppliedAndTheTabLastStored) {
  InSettings([&](CSetteiDlg& settings) {
    Press(Find<QCheckBox>(&settings, 1221));
    Find<QPushButton>(&settings, 103)->click();
    Find<QTabWidget>(&settings, 1090)->setCurrentIndex(0);
    Press(Find<QRadioButton>(&settings, 1102));
    Find<QPushButton>(&settings, 2)->click();
  });
  EXPECT_FALSE(dialog_->Conditions().LetterClassify) << "applied before the cancel";
  EXPECT_EQ(dialog_->Conditions().TimeFilter, 0) << "changed after Apply, then cancelled";
  EXPECT_EQ(dialog_->Settings().OptionTab, 2);
  // Ctrl+S opens it again, on the tab stored.
  dialog_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(dialog_.get()));
  InSettings(
      [&](CSetteiDlg& settings) {
        EXPECT_EQ(Find<QTabWidget>(&settings, 1090)->currentIndex(), 2);
        Find<QTabWidget>(&settings, 1090)->setCurrentIndex(0);
      },
      [&] { QTest::keyClick(dialog_.get(), Qt::Key_S, Qt::ControlModifier); });
  EXPECT_EQ(dialog_->Settings().OptionTab, 2) << "switching and cancelling stores nothing";
}

TEST_F(SerquinSetteiTest, NoSettingsWhileASearchRuns) {
  tree_.Folder("docs");
  dialog_->findChild<QComboBox*>("id1004")->setEditText(QString::fromStdString(tree_.Path("docs")));
  dialog_->findChild<QComboBox*>("id1001")->setEditText("x");
  QSignalSpy ended(dialog_.get(), &CSerquinDlg::SearchEnded);
  Find<QPushButton>(dialog_.get(), 1003)->click();
  ASSERT_TRUE(dialog_->Searching());
  EXPECT_FALSE(Find<QPushButton>(dialog_.get(), 1007)->isEnabled());
  ASSERT_TRUE(ended.wait(20000));
  EXPECT_TRUE(Find<QPushButton>(dialog_.get(), 1007)->isEnabled());
}

// The other pages' settings pass through the same hand-back: always on top takes effect at once, and the
// settings dialog stays open over the window.
TEST_F(SerquinSetteiTest, SettingsOfTheOtherPagesAreTakenOverToo) {
  InSettings([&](CSetteiDlg& settings) {
    SetteiValues values = settings.Values();
    values.settings.WhiteCheck = true;
    values.settings.SoutaiF = false;
    values.settings.MutexF = true;
    values.settings.EditorFile = "vi";
    values.settings.PatternMaximum = 5;
    values.settings.Frame.TemaeF = true;
    values.conditions.FolderDetail = false;
    emit settings.Applied(values);
    EXPECT_TRUE(dialog_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(dialog_->isVisible());
    EXPECT_TRUE(settings.isVisible());
  });
  const AppSettings& s = dialog_->Settings();
  EXPECT_TRUE(s.WhiteCheck);
  EXPECT_FALSE(s.SoutaiF);
  EXPECT_TRUE(s.MutexF);
  EXPECT_EQ(s.EditorFile, "vi");
  EXPECT_EQ(s.PatternMaximum, 5);
  EXPECT_TRUE(s.Frame.TemaeF);
  EXPECT_FALSE(dialog_->Conditions().FolderDetail);
  EXPECT_TRUE(dialog_->WantsSingleInstance());
}

// What the dialog handed back survives the profile: written at the close, it loads into the same values
// (whether the size and date filters are in force is not kept: every start has them off).
TEST_F(SerquinSetteiTest, EditedValuesRoundTripThroughTheProfile) {
  SetteiValues edited;
  InSettings([&](CSetteiDlg& settings) {
    edited = settings.Values();
    edited.settings.WhiteCheck = true;
    edited.settings.SoutaiF = false;
    edited.settings.EditorFile = "kate";
    edited.settings.EditorParam = "-l &L &F";
    edited.settings.FileExtMaximum = 9;
    edited.conditions.Depth = 12;
    edited.conditions.ConvertFlag = 2;
    edited.conditions.SizeMax = 700;
    edited.conditions.SizeMaxUnit = 2;
    edited.conditions.AttrSystem = 2;
    edited.conditions.RangeKind = 2;
    edited.conditions.PastTime = 5400;
    edited.viewer.ViewerRange = 0;
    edited.viewer.ViewerAto = 17;
    edited.viewer.ViewerLookIro = 0x00FF00;
    emit settings.Applied(edited);
  });
  dialog_->close();
  dialog_.reset();
  ProfileStore reopened;
  std::string error;
  ASSERT_TRUE(OpenProfile(tree_.Path("Serquin.ini"), false, reopened, error)) << error;
  CSerquinDlg again(reopened, {});
  const SearchConditions& c = again.Conditions();
  const AppSettings& s = again.Settings();
  EXPECT_TRUE(s.WhiteCheck);
  EXPECT_FALSE(s.SoutaiF);
  EXPECT_EQ(s.EditorFile, "kate");
  EXPECT_EQ(s.EditorParam, "-l &L &F");
  EXPECT_EQ(s.FileExtMaximum, 9);
  EXPECT_EQ(c.Depth, 12);
  EXPECT_EQ(c.ConvertFlag, 2);
  EXPECT_EQ(c.SizeMax, 700);
  EXPECT_EQ(c.SizeMaxUnit, 2);
  EXPECT_EQ(c.AttrSystem, 2);
  EXPECT_EQ(c.RangeKind, 2);
  EXPECT_EQ(c.PastTime, 5400);
  const ViewerSettings& v = again.Viewer()->Settings();
  EXPECT_EQ(v.ViewerRange, 0);
  EXPECT_EQ(v.ViewerAto, 17);
  EXPECT_EQ(v.ViewerLookIro, 0x00FF00u);
}

}  // namespace
