// The viewer/editor page and the page of other settings, driven through their controls on the offscreen
// platform: every value shown, edits given back, the enabling rules, the number fields' corrections, the
// colour chooser and the file choosers, and values out of range shown corrected.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "pages/settei_a_dlg.h"
#include "pages/settei_b_dlg.h"
#include "testkit/qt_app.h"
#include "testkit/temp_tree.h"

namespace {

template <typename T = QWidget>
T* Find(const QWidget& page, int id) {
  T* widget = page.findChild<T*>(QString("id%1").arg(id));
  EXPECT_NE(widget, nullptr) << id;
  return widget;
}

// Replaces the field's text the way typing does: everything selected, then the keys.
void Type(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

// Runs `answer` on the next modal dialog of type T once it is open (for choosers that block in exec()).
template <typename T>
void AnswerNextDialog(std::function<void(T*)> answer, int tries = 0) {
  QTimer::singleShot(tries == 0 ? 0 : 5, [answer, tries] {
    if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) return answer(dialog);
    if (tries < 400) AnswerNextDialog<T>(answer, tries + 1);
  });
}

SetteiValues ViewerValues() {
  SetteiValues values;
  values.viewer.ViewerRangeView = true;
  values.viewer.ViewerRange = VIEWER_HR;
  values.viewer.ViewerMae = 7;
  values.viewer.ViewerAto = 9;
  values.viewer.ViewerLookIro = 0x123456;
  for (size_t i = 0; i < 16; ++i) values.settings.CustomIro[i] = 0x010101 * static_cast<uint32_t>(i);
  values.settings.EditorFile = "/usr/bin/vi";
  values.settings.EditorParam = "+&L &F";
  return values;
}

TEST(SetteiADlg, ShowsTheValuesAndGivesBackTheEdits) {
  CSetteiADlg page(nullptr);
  QSignalSpy changed(&page, &SetteiPage::Changed);
  page.LoadValues(ViewerValues());
  EXPECT_EQ(changed.count(), 0) << "showing values is no change by the user";
  EXPECT_TRUE(Find<QCheckBox>(page, 1303)->isChecked());
  EXPECT_TRUE(Find<QRadioButton>(page, 1306)->isChecked());
  EXPECT_EQ(Find<QLineEdit>(page, 1307)->text(), "7");
  EXPECT_EQ(Find<QLineEdit>(page, 1308)->text(), "9");
  EXPECT_EQ(Find<QLineEdit>(page, 1350)->text(), "/usr/bin/vi");
  EXPECT_EQ(Find<QLineEdit>(page, 1352)->text(), "+&L &F");
  EXPECT_EQ(Find<QLineEdit>(page, 1352)->cursorPosition(), 6);
  EXPECT_EQ(page.HelpPage(), "settei_a");

  Find<QRadioButton>(page, 1305)->click();
  Type(Find<QLineEdit>(page, 1307), "12");
  Type(Find<QLineEdit>(page, 1308), "300");
  Type(Find<QLineEdit>(page, 1350), "emacs");
  EXPECT_GT(changed.count(), 0);

  SetteiValues out;
  page.StoreValues(out);
  EXPECT_TRUE(out.viewer.ViewerRangeView);
  EXPECT_EQ(out.viewer.ViewerRange, VIEWER_LINES);
  EXPECT_EQ(out.viewer.ViewerMae, 12);
  EXPECT_EQ(out.viewer.ViewerAto, 255);
  EXPECT_EQ(out.viewer.ViewerLookIro, 0x123456u);
  EXPECT_EQ(out.settings.CustomIro, ViewerValues().settings.CustomIro);
  EXPECT_EQ(out.settings.EditorFile, "emacs");
  EXPECT_EQ(out.settings.EditorParam, "+&L &F");

  Find<QCheckBox>(page, 1303)->click();
  page.StoreValues(out);
  EXPECT_FALSE(out.viewer.ViewerRangeView);
}

TEST(SetteiADlg, EnablingFollowsShowAndRange) {
  struct Case {
    bool show;
    int range;
    bool rangeAndColour;
    bool lines;
  } cases[] = {
      {false, VIEWER_LINES, false, false},
      {true, VIEWER_ALL, true, false},
      {true, VIEWER_LINES, true, true},
      {true, VIEWER_HR, true, false},
  };
  CSetteiADlg page(nullptr);
  for (const Case& c : cases) {
    SetteiValues values;
    values.viewer.ViewerRangeView = c.show;
    values.viewer.ViewerRange = c.range;
    page.LoadValues(values);
    for (int id : {1304, 1305, 1306, 1320, 1321}) {
      EXPECT_EQ(Find(page, id)->isEnabled(), c.rangeAndColour)
          << id << " show " << c.show << " range " << c.range;
    }
    for (int id : {1307, 1308, 1309, 1310, 1311, 1312}) {
      EXPECT_EQ(Find(page, id)->isEnabled(), c.lines) << id << " show " << c.show << " range " << c.range;
    }
  }
  // Through the controls: a click on "指定" opens the line fields, turning the viewer off greys them all.
  SetteiValues values;
  values.viewer.ViewerRange = VIEWER_ALL;
  page.LoadValues(values);
  QSignalSpy changed(&page, &SetteiPage::Changed);
  Find<QRadioButton>(page, 1304)->click();
  EXPECT_EQ(changed.count(), 0) << "the range already chosen is no change";
  Find<QRadioButton>(page, 1305)->click();
  EXPECT_EQ(changed.count(), 1);
  EXPECT_TRUE(Find(page, 1307)->isEnabled());
  Find<QCheckBox>(page, 1303)->click();
  EXPECT_FALSE(Find(page, 1307)->isEnabled());
  EXPECT_FALSE(Find(page, 1305)->isEnabled());
}

TEST(SetteiADlg, NumberFieldsAreCorrectedAsTyped) {
  CSetteiADlg page(nullptr);
  SetteiValues values = ViewerValues();
  values.viewer.ViewerRange = VIEWER_LINES;  // the fields take input only then
  page.LoadValues(values);
  auto* before = Find<QLineEdit>(page, 1307);
  struct Case {
    const char* typed;
    const char* shown;
  } cases[] = {{"300", "255"}, {"a", "0"}, {"007", "7"}, {"42", "42"}};
  for (const Case& c : cases) {
    Type(before, c.typed);
    EXPECT_EQ(before->text(), c.shown) << c.typed;
  }
  before->selectAll();
  QTest::keyClick(before, Qt::Key_Backspace);
  EXPECT_EQ(before->text(), "0") << "a cleared field";
  // The spin's arrows step within 0..255.
  auto arrows = Find(page, 1309)->findChildren<QToolButton*>();
  ASSERT_EQ(arrows.size(), 2);
  before->setText("254");
  arrows[0]->click();
  arrows[0]->click();
  EXPECT_EQ(before->text(), "255");
  before->setText("0");
  arrows[1]->click();
  EXPECT_EQ(before->text(), "0");
  QTest::keyClick(before, Qt::Key_Up);
  QTest::keyClick(before, Qt::Key_Up);
  QTest::keyClick(before, Qt::Key_Down);
  EXPECT_EQ(before->text(), "1") << "the arrow keys step like the arrows";
}

TEST(SetteiADlg, ValuesOutOfRangeAreShownCorrected) {
  SetteiValues values = ViewerValues();
  values.viewer.ViewerRange = 7;
  values.viewer.ViewerMae = 1000;
  values.viewer.ViewerAto = -4;
  values.viewer.ViewerLookIro = 0xFFFFFFFF;  // -1 as read from the profile
  values.settings.CustomIro[5] = 0xFF00FF00;
  CSetteiADlg page(nullptr);
  page.LoadValues(values);
  SetteiValues out;
  page.StoreValues(out);
  EXPECT_EQ(out.viewer.ViewerRange, VIEWER_LINES);
  EXPECT_EQ(out.viewer.ViewerMae, 255);
  EXPECT_EQ(out.viewer.ViewerAto, 0);
  EXPECT_EQ(out.viewer.ViewerLookIro, 0xFFFFFFu);
  EXPECT_EQ(out.settings.CustomIro[5], 0x00FF00u);
}

TEST(SetteiADlg, ColourChooserKeepsItsChoiceOnlyOnOk) {
  CSetteiADlg page(nullptr);
  page.LoadValues(ViewerValues());
  QSignalSpy changed(&page, &SetteiPage::Changed);
  QColor shownAtStart;
  QColor customAtStart;
  AnswerNextDialog<QColorDialog>([&](QColorDialog* dialog) {
    shownAtStart = dialog->currentColor();
    customAtStart = QColorDialog::customColor(2);
    dialog->setCurrentColor(QColor(0x20, 0x40, 0x80));
    QColorDialog::setCustomColor(2, QColor(0xAA, 0xBB, 0xCC));
    dialog->reject();
  });
  Find<QPushButton>(page, 1320)->click();
  EXPECT_EQ(shownAtStart, QColor(0x56, 0x34, 0x12))
      << "the chooser starts at the colour (red in the low byte)";
  EXPECT_EQ(customAtStart, QColor(2, 2, 2)) << "and with the page's custom colours";
  SetteiValues out;
  page.StoreValues(out);
  EXPECT_EQ(out.viewer.ViewerLookIro, 0x123456u) << "a cancelled chooser changes nothing";
  EXPECT_EQ(out.settings.CustomIro[2], 0x020202u);
  EXPECT_EQ(changed.count(), 0);

  AnswerNextDialog<QColorDialog>([](QColorDialog* dialog) {
    dialog->setCurrentColor(QColor(0x20, 0x40, 0x80));
    QColorDialog::setCustomColor(2, QColor(0xAA, 0xBB, 0xCC));
    dialog->accept();
  });
  Find<QPushButton>(page, 1320)->click();
  page.StoreValues(out);
  EXPECT_EQ(out.viewer.ViewerLookIro, 0x804020u);
  EXPECT_EQ(out.settings.CustomIro[2], 0xCCBBAAu);
  EXPECT_EQ(changed.count(), 1);
  auto* button = Find<QPushButton>(page, 1320);
  const QImage swatch = button->grab().toImage();
  EXPECT_EQ(QColor(swatch.pixel(button->width() / 2, button->height() / 2)), QColor(0x20, 0x40, 0x80));
}

TEST(SetteiADlg, MarkerMenuReplacesTheSelection) {
  CSetteiADlg page(nullptr);
  page.show();
  page.LoadValues(ViewerValues());
  auto* parameters = Find<QLineEdit>(page, 1352);
  struct Case {
    int command;
    int selectFrom, selectLength;  // -1: the caret at the end, nothing selected
    const char* result;
  } cases[] = {
      {32823, 0, 6, "&L"},  // the whole text selected
      {32821, -1, 0, "+&L &F&F"},
      {32822, 0, 1, "&D&L &F"},
      {32820, 4, 2, "+&L &N"},
  };
  for (const Case& c : cases) {
    parameters->setText("+&L &F");
    if (c.selectFrom >= 0) parameters->setSelection(c.selectFrom, c.selectLength);
    Find<QPushButton>(page, 1102)->click();
    auto* menu = page.findChild<QMenu*>("markerMenu");
    ASSERT_TRUE(menu && menu->isVisible());
    QAction* item = menu->findChild<QAction*>(QString("id%1").arg(c.command));
    ASSERT_NE(item, nullptr) << c.command;
    item->trigger();
    menu->hide();
    EXPECT_EQ(parameters->text(), c.result) << c.command;
  }
  QStringList texts;
  for (QAction* action : page.findChild<QMenu*>("markerMenu")->actions()) texts << action->text();
  EXPECT_EQ(texts,
            QStringList({"&&&F ファイル パス", "&&&D ファイル フォルダ", "&&&N ファイル名", "&&&L 行数"}));
}

TEST(SetteiADlg, BrowsedEditorReplacesTheField) {
  TempTree tree;
  const std::string program = tree.Path("my editor");
  tree.File("my editor", "#!/bin/sh\n");
  CSetteiADlg page(nullptr);
  page.LoadValues(ViewerValues());
  QSignalSpy changed(&page, &SetteiPage::Changed);
  AnswerNextDialog<QFileDialog>([&](QFileDialog* dialog) {
    dialog->selectFile(QString::fromStdString(program));
    static_cast<QDialog*>(dialog)->accept();
  });
  Find<QPushButton>(page, 1351)->click();
  EXPECT_EQ(Find<QLineEdit>(page, 1350)->text().toStdString(), program);
  EXPECT_GT(changed.count(), 0);
}

SetteiValues OtherValues() {
  SetteiValues values;
  values.settings.WhiteCheck = true;
  values.settings.SoutaiF = false;
  values.settings.WaveFile = "/tmp/end.wav";
  values.settings.Frame.TemaeF = true;
  values.settings.MutexF = true;
  values.conditions.FolderDetail = false;
  values.settings.RirekiKind = 2;
  values.settings.PatternMaximum = 1;
  values.settings.FolderMaximum = 2;
  values.settings.MojiExtMaximum = 3;
  values.settings.FileExtMaximum = 4;
  return values;
}

TEST(SetteiBDlg, ShowsTheValuesAndGivesBackTheEdits) {
  CSetteiBDlg page(nullptr);
  QSignalSpy changed(&page, &SetteiPage::Changed);
  page.LoadValues(OtherValues());
  EXPECT_EQ(changed.count(), 0);
  EXPECT_FALSE(Find<QCheckBox>(page, 1401)->isChecked())
      << "the page asks for the check, the profile for none";
  EXPECT_FALSE(Find<QCheckBox>(page, 1402)->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(page, 1403)->isVisibleTo(&page));
  EXPECT_EQ(Find<QLineEdit>(page, 1410)->text(), "/tmp/end.wav");
  EXPECT_TRUE(Find<QCheckBox>(page, 1420)->isChecked());
  EXPECT_TRUE(Find<QCheckBox>(page, 1421)->isChecked());
  EXPECT_EQ(Find<QComboBox>(page, 1431)->currentIndex(), 2);
  EXPECT_EQ(Find<QLineEdit>(page, 1432)->text(), "3");
  EXPECT_EQ(page.HelpPage(), "settei_b");

  for (int id : {1401, 1402, 1420, 1421}) Find<QCheckBox>(page, id)->click();
  Type(Find<QLineEdit>(page, 1410), "/tmp/other.wav");
  Type(Find<QLineEdit>(page, 1432), "9");
  EXPECT_GE(changed.count(), 6);
  SetteiValues out;
  page.StoreValues(out);
  EXPECT_FALSE(out.settings.WhiteCheck);
  EXPECT_TRUE(out.settings.SoutaiF);
  EXPECT_EQ(out.settings.WaveFile, "/tmp/other.wav");
  EXPECT_FALSE(out.settings.Frame.TemaeF);
  EXPECT_FALSE(out.settings.MutexF);
  EXPECT_FALSE(out.conditions.FolderDetail) << "the hidden box passes its value through";
  EXPECT_EQ(out.settings.RirekiKind, 2);
  EXPECT_EQ(out.settings.PatternMaximum, 1);
  EXPECT_EQ(out.settings.FolderMaximum, 2);
  EXPECT_EQ(out.settings.MojiExtMaximum, 9);
  EXPECT_EQ(out.settings.FileExtMaximum, 4);
}

TEST(SetteiBDlg, EachHistoryKindKeepsItsCount) {
  CSetteiBDlg page(nullptr);
  page.LoadValues(OtherValues());
  auto* kinds = Find<QComboBox>(page, 1431);
  auto* count = Find<QLineEdit>(page, 1432);
  kinds->setCurrentIndex(1);
  EXPECT_EQ(count->text(), "2");
  Type(count, "30");
  kinds->setCurrentIndex(0);
  EXPECT_EQ(count->text(), "1");
  Type(count, "200");
  EXPECT_EQ(count->text(), "127");
  kinds->setCurrentIndex(1);
  EXPECT_EQ(count->text(), "30");
  SetteiValues out;
  page.StoreValues(out);
  EXPECT_EQ(out.settings.RirekiKind, 1);
  EXPECT_EQ(out.settings.PatternMaximum, 127);
  EXPECT_EQ(out.settings.FolderMaximum, 30);
  EXPECT_EQ(out.settings.MojiExtMaximum, 3);
}

TEST(SetteiBDlg, ValuesOutOfRangeAreShownCorrected) {
  SetteiValues values = OtherValues();
  values.settings.RirekiKind = 9;
  values.settings.PatternMaximum = 500;
  values.settings.FolderMaximum = -1;
  CSetteiBDlg page(nullptr);
  page.LoadValues(values);
  EXPECT_EQ(Find<QComboBox>(page, 1431)->currentIndex(), 0);
  EXPECT_EQ(Find<QLineEdit>(page, 1432)->text(), "16");
  SetteiValues out;
  page.StoreValues(out);
  EXPECT_EQ(out.settings.RirekiKind, 0);
  EXPECT_EQ(out.settings.PatternMaximum, 16);
  EXPECT_EQ(out.settings.FolderMaximum, 16);
  EXPECT_EQ(out.settings.FileExtMaximum, 4);
}

TEST(SetteiBDlg, SaveButtonAsksTheMainWindow) {
  CSetteiBDlg page(nullptr);
  QSignalSpy save(&page, &CSetteiBDlg::SaveResultsRequested);
  Find<QPushButton>(page, 1092)->click();
  EXPECT_EQ(save.count(), 1);
}

// The user's documents folder of a home made for the test.
class ScopedHome {
 public:
  explicit ScopedHome(const std::string& home)
      : saved_(qgetenv("HOME")), savedConfig_(qgetenv("XDG_CONFIG_HOME")) {
    qputenv("HOME", QByteArray::fromStdString(home));
    qunsetenv("XDG_CONFIG_HOME");
  }
  ~ScopedHome() {
    qputenv("HOME", saved_);
    if (!savedConfig_.isEmpty()) qputenv("XDG_CONFIG_HOME", savedConfig_);
  }

 private:
  QByteArray saved_;
  QByteArray savedConfig_;
};

TEST(SetteiBDlg, SoundChooserStartsInDocumentsWhenEmpty) {
  TempTree tree;
  tree.File("bell.wav", "RIFF");
  const std::string documents = tree.Folder("Documents");
  ScopedHome home(tree.Root());
  const std::string bell = tree.Path("bell.wav");
  SetteiValues values = OtherValues();
  values.settings.WaveFile.clear();
  CSetteiBDlg page(nullptr);
  page.LoadValues(values);
  QSignalSpy changed(&page, &SetteiPage::Changed);
  QString startedIn;
  AnswerNextDialog<QFileDialog>([&](QFileDialog* dialog) {
    startedIn = dialog->directory().absolutePath();
    dialog->reject();
  });
  Find<QPushButton>(page, 1411)->click();
  EXPECT_EQ(startedIn.toStdString(), documents);
  EXPECT_EQ(Find<QLineEdit>(page, 1410)->text(), "");
  EXPECT_EQ(changed.count(), 0);

  AnswerNextDialog<QFileDialog>([&](QFileDialog* dialog) {
    dialog->selectFile(QString::fromStdString(bell));
    static_cast<QDialog*>(dialog)->accept();
  });
  Find<QPushButton>(page, 1411)->click();
  EXPECT_EQ(Find<QLineEdit>(page, 1410)->text().toStdString(), bell);
  EXPECT_GT(changed.count(), 0);
  Find<QPushButton>(page, 1412)->click();  // plays, or stays silent without a sound device
}

}  // namespace
