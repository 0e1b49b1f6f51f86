// The settings dialog and its date/size, attribute and search-condition pages, driven through their
// controls on the offscreen platform: what each control shows, what it hands back, the enabling rules,
// the menus, the number fields, dropped files and values no control can show.
#include "app/settei_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <climits>
#include <functional>

#include "app/help_window_qt.h"
#include "app/qt_text_qt.h"
#include "matching/breg.h"
#include "pages/filter_b_dlg.h"
#include "pages/my_combo_ext_widget.h"
#include "pages/number_edit_widget.h"
#include "pages/optional_time_edit_widget.h"
#include "pages/past_button_widget.h"
#include "platform/local_time.h"
#include "testkit/qt_app.h"
#include "testkit/temp_tree.h"

namespace {

int64_t LocalTime(int y, int mo, int d, int h, int mi, int s) {
  int64_t t = 0;
  platform::FromLocal({y, mo, d, h, mi, s}, t);
  return t;
}

// Clicks a button on its indicator, where a click counts however wide the button is laid out.
void Press(QAbstractButton* button, Qt::MouseButton mouseButton) {
  QTest::mouseClick(button, mouseButton, {}, QPoint(6, button->height() / 2));
}

// Runs `act` on the next popup menu once it shows (menus run their own event loop).
void OnNextMenu(std::function<void(QMenu*)> act) {
  auto poll = std::make_shared<std::function<void(int)>>();
  *poll = [act, poll](int tries) {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      act(menu);
      *poll = nullptr;  // breaks the cycle once done
      return;
    }
    if (tries < 400) QTimer::singleShot(5, [poll, tries] { (*poll)(tries + 1); });
  };
  QTimer::singleShot(0, [poll] { (*poll)(0); });
}

// Chooses the menu entry `id` in the next popup menu, as the user does with the keyboard.
void ChooseInNextMenu(int id) {
  OnNextMenu([id](QMenu* menu) {
    for (QAction* action : menu->actions()) {
      if (action->objectName() == QString("id%1").arg(id)) menu->setActiveAction(action);
    }
    QTest::keyClick(menu, Qt::Key_Return);
  });
}

// Which entry of the next popup menu carries the mark; it is then closed without a choice.
void ReadMarkOfNextMenu(int& marked) {
  OnNextMenu([&marked](QMenu* menu) {
    for (QAction* action : menu->actions()) {
      if (action->isChecked()) marked = action->objectName().mid(2).toInt();
    }
    menu->close();
  });
}

class SetteiDlgTest : public ::testing::Test {
 protected:
  void Open(const SetteiValues& values) {
    dialog_ = std::make_unique<CSetteiDlg>(values, nullptr);
    dialog_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog_.get()));
  }
  template <typename T = QWidget>
  T* Find(int id) const {
    T* control = dialog_->findChild<T*>(QString("id%1").arg(id));
    EXPECT_NE(control, nullptr) << id;
    return control;
  }
  void ShowTab(int tab) { Find<QTabWidget>(1090)->setCurrentIndex(tab); }
  // Types into a number field as the user does: the old text selected and replaced.
  void TypeInto(int id, const QString& text) {
    auto* edit = Find<QLineEdit>(id);
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty()) {
      QTest::keyClick(edit, Qt::Key_Delete);
    } else {
      QTest::keyClicks(edit, text);
    }
  }
  // Presses "適用" and returns what it handed over.
  std::vector<SetteiValues> PressApply() {
    std::vector<SetteiValues> applied;
    auto connection = QObject::connect(dialog_.get(), &CSetteiDlg::Applied,
                                       [&applied](const SetteiValues& v) { applied.push_back(v); });
    Find<QPushButton>(103)->click();
    QObject::disconnect(connection);
    return applied;
  }
  bool ApplyEnabled() const { return Find<QPushButton>(103)->isEnabled(); }

  std::unique_ptr<CSetteiDlg> dialog_;
};

TEST_F(SetteiDlgTest, TheDatePageShowsItsValuesAndHandsBackWhatTheUserChanged) {
  SetteiValues values;
  SearchConditions& c = values.conditions;
  c.TimeFilter = 1;
  c.TimeKind = 0;
  c.RangeKind = 1;
  c.DateFrom = LocalTime(2023, 4, 5, 6, 7, 8);
  c.DateTo = LocalTime(2024, 1, 2, 3, 4, 5);
  c.WholeDay = false;
  c.PastDay = -4;  // the next 3 days
  c.PastTime = 3723;
  c.SizeKind = 3;
  c.SizeMin = 5;
  c.SizeMinUnit = 0;
  c.SizeMax = 7;
  c.SizeMaxUnit = 2;
  Open(values);
  EXPECT_EQ(Find<QTabWidget>(1090)->currentIndex(), 0);
  EXPECT_TRUE(Find<QRadioButton>(1102)->isChecked());
  EXPECT_EQ(Find<QComboBox>(1103)->currentIndex(), 0);
  EXPECT_TRUE(Find<QRadioButton>(1105)->isChecked());
  EXPECT_EQ(Find<QDateEdit>(1107)->date(), QDate(2023, 4, 5));
  EXPECT_EQ(Find<OptionalTimeEdit>(1108)->Time(), QTime(6, 7, 8));
  EXPECT_TRUE(Find<OptionalTimeEdit>(1108)->HasTime());
  EXPECT_EQ(Find<QDateEdit>(1110)->date(), QDate(2024, 1, 2));
  EXPECT_EQ(Find<OptionalTimeEdit>(1111)->Time(), QTime(3, 4, 5));
  EXPECT_EQ(Find<QLineEdit>(1112)->text(), "3");
  EXPECT_TRUE(Find<CPastButton>(1105)->Future());
  EXPECT_EQ(Find<QRadioButton>(1105)->text(), "未来(&D)");
  EXPECT_EQ(Find<QTimeEdit>(1114)->time(), QTime(1, 2, 3));
  EXPECT_FALSE(Find<CPastButton>(1106)->Future());
  EXPECT_EQ(Find<QRadioButton>(1106)->text(), "過去(&T)");
  EXPECT_EQ(Find<QComboBox>(1161)->currentIndex(), 3);
  EXPECT_EQ(Find<QLineEdit>(1162)->text(), "5");
  EXPECT_EQ(Find<QComboBox>(1164)->currentIndex(), 0);
  EXPECT_EQ(Find<QLineEdit>(1166)->text(), "7");
  EXPECT_EQ(Find<QComboBox>(1168)->currentIndex(), 2);
  EXPECT_FALSE(ApplyEnabled());

  QTest::keyClick(Find<QComboBox>(1103), Qt::Key_Down);
  TypeInto(1112, "12");
  Find<QDateEdit>(1107)->setDate(QDate(2022, 2, 3));
  Find<QTimeEdit>(1114)->setTime(QTime(0, 30, 0));
  QTest::keyClick(Find<QComboBox>(1161), Qt::Key_Up);  // range → maximum only
  TypeInto(1166, "99");
  QTest::keyClick(Find<QComboBox>(1168), Qt::Key_Up);
  EXPECT_TRUE(ApplyEnabled());
  std::vector<SetteiValues> applied = PressApply();
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_FALSE(ApplyEnabled());
  const SearchConditions& out = applied[0].conditions;
  EXPECT_EQ(out.TimeFilter, 1);
  EXPECT_EQ(out.TimeKind, 1);
  EXPECT_EQ(out.RangeKind, 1);
  EXPECT_EQ(out.DateFrom, LocalTime(2022, 2, 3, 6, 7, 8));
  EXPECT_EQ(out.DateTo, c.DateTo);
  EXPECT_FALSE(out.WholeDay);
  EXPECT_EQ(out.PastDay, ~12);
  EXPECT_EQ(out.PastTime, 1800);
  EXPECT_EQ(out.SizeKind, 2);
  EXPECT_EQ(out.SizeMax, 99);
  EXPECT_EQ(out.SizeMaxUnit, 1);
  EXPECT_EQ(out.SizeMin, 5);
  EXPECT_EQ(out.SizeMinUnit, 0);
  // A radio click then OK.
  Press(Find<QRadioButton>(1104), Qt::LeftButton);
  Find<QPushButton>(1)->click();
  EXPECT_EQ(dialog_->result(), QDialog::Accepted);
  EXPECT_EQ(dialog_->Values().conditions.RangeKind, 0);
  EXPECT_EQ(dialog_->Values().conditions.PastDay, ~12);
}

TEST_F(SetteiDlgTest, DateControlsFollowTheFilterAndTheKindOfPeriod) {
  Open(SetteiValues{});
  const int always[] = {1101, 1102};
  const int period[] = {1103, 1104, 1105, 1106};
  const int range[] = {1107, 1108, 1109, 1110, 1111};
  const int days[] = {1112, 1113, 1115};
  struct Case {
    int filterRadio;  // 1101 or 1102
    int kindRadio;    // 1104, 1105 or 1106
    bool period, range, days, span;
  };
  const Case cases[] = {
      {1101, 1104, false, false, false, false}, {1102, 1104, true, true, false, false},
      {1102, 1105, true, false, true, false},   {1102, 1106, true, false, false, true},
      {1101, 1106, false, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.filterRadio << " " << c.kindRadio);
    Press(Find<QRadioButton>(c.filterRadio), Qt::LeftButton);
    if (Find<QRadioButton>(c.kindRadio)->isEnabled()) {
      Press(Find<QRadioButton>(c.kindRadio), Qt::LeftButton);
    }
    for (int id : always) EXPECT_TRUE(Find(id)->isEnabled()) << id;
    for (int id : period) EXPECT_EQ(Find(id)->isEnabled(), c.period) << id;
    for (int id : range) EXPECT_EQ(Find(id)->isEnabled(), c.range) << id;
    for (int id : days) EXPECT_EQ(Find(id)->isEnabled(), c.days) << id;
    EXPECT_EQ(Find(1114)->isEnabled(), c.span);
  }
}

TEST_F(SetteiDlgTest, SizeControlsFollowTheSizeKind) {
  struct Case {
    int kind;
    bool min, max, tilde;
  };
  const Case cases[] = {{0, false, false, false}, {1, true, false, false}, {2, false, true, false},
                        {3, true, true, true}};
  for (const Case& opened : cases) {
    SetteiValues values;
    values.conditions.SizeKind = opened.kind;
    Open(values);
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "opened " << opened.kind << ", chosen " << c.kind);
      auto* kind = Find<QComboBox>(1161);
      while (kind->currentIndex() < c.kind) QTest::keyClick(kind, Qt::Key_Down);
      while (kind->currentIndex() > c.kind) QTest::keyClick(kind, Qt::Key_Up);
      for (int id : {1162, 1163, 1164}) EXPECT_EQ(Find(id)->isEnabled(), c.min) << id;
      for (int id : {1166, 1167, 1168}) EXPECT_EQ(Find(id)->isEnabled(), c.max) << id;
      EXPECT_EQ(Find(1165)->isEnabled(), c.tilde);
    }
  }
}

TEST_F(SetteiDlgTest, TheTimePickersSwitchWholeDaysTogether) {
  SetteiValues values;
  values.conditions.TimeFilter = 1;
  values.conditions.WholeDay = false;
  values.conditions.DateFrom = LocalTime(2024, 5, 6, 7, 8, 9);
  values.conditions.DateTo = LocalTime(2024, 5, 7, 20, 21, 22);
  Open(values);
  auto* from = Find<OptionalTimeEdit>(1108);
  auto* to = Find<OptionalTimeEdit>(1111);
  Press(from->Check(), Qt::LeftButton);
  EXPECT_FALSE(from->HasTime());
  EXPECT_FALSE(to->HasTime());
  EXPECT_TRUE(ApplyEnabled());
  std::vector<SetteiValues> applied = PressApply();
  ASSERT_EQ(applied.size(), 1u);
  EXPECT_TRUE(applied[0].conditions.WholeDay);
  Press(to->Check(), Qt::LeftButton);
  EXPECT_TRUE(from->HasTime());
  EXPECT_TRUE(to->HasTime());
  EXPECT_EQ(from->Time(), QTime(7, 8, 9));
  EXPECT_EQ(to->Time(), QTime(20, 21, 22));
  Find<QPushButton>(1)->click();
  EXPECT_FALSE(dialog_->Values().conditions.WholeDay);
  EXPECT_EQ(dialog_->Values().conditions.DateTo, values.conditions.DateTo);
}

// The number field rule on every edit of the days, size and depth fields, and their spins' bounds.
TEST_F(SetteiDlgTest, NumberFieldsKeepANumberWithinTheirSpinsBounds) {
  SetteiValues values;
  values.conditions.TimeFilter = 1;
  values.conditions.RangeKind = 1;
  values.conditions.SizeKind = 3;
  values.conditions.DepthDrawF = true;
  Open(values);
  struct Case {
    int id;
    int tab;
    QString typed;
    QString shown;
  };
  const Case cases[] = {
      {1112, 0, "007", "7"},        {1112, 0, "99999", "32767"}, {1112, 0, "", "0"},
      {1112, 0, "x", "0"},          {1162, 0, "040000", "32767"}, {1166, 0, "12", "12"},
      {1202, 2, "65", "64"},        {1202, 2, "09", "9"},         {1202, 2, "", "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " '" << c.typed.toStdString() << "'");
    ShowTab(c.tab);
    TypeInto(c.id, c.typed);
    EXPECT_EQ(Find<QLineEdit>(c.id)->text(), c.shown);
    EXPECT_TRUE(ApplyEnabled());
    PressApply();
  }
  // The spins stop at their bounds.
  auto* depthSpin = Find<UpDownButtons>(1203);
  TypeInto(1202, "63");
  for (int i = 0; i < 3; ++i) depthSpin->Up()->click();
  EXPECT_EQ(Find<QLineEdit>(1202)->text(), "64");
  ShowTab(0);
  TypeInto(1112, "1");
  for (int i = 0; i < 3; ++i) Find<UpDownButtons>(1113)->Down()->click();
  EXPECT_EQ(Find<QLineEdit>(1112)->text(), "0");
}

TEST_F(SetteiDlgTest, ThePastFutureMenuSwitchesBothButtons) {
  SetteiValues values;
  values.conditions.TimeFilter = 1;
  values.conditions.RangeKind = 2;
  Open(values);
  auto* days = Find<CPastButton>(1105);
  auto* time = Find<CPastButton>(1106);
  // The marked entry again: nothing changes, nothing to apply.
  int marked = 0;
  ReadMarkOfNextMenu(marked);
  Press(time, Qt::RightButton);
  EXPECT_EQ(marked, 32791);
  ChooseInNextMenu(32791);
  Press(time, Qt::RightButton);
  EXPECT_FALSE(ApplyEnabled());
  EXPECT_FALSE(days->Future());
  ChooseInNextMenu(32792);
  Press(time, Qt::RightButton);
  EXPECT_TRUE(days->Future());
  EXPECT_TRUE(time->Future());
  EXPECT_EQ(days->text(), "未来(&D)");
  EXPECT_EQ(time->text(), "未来(&T)");
  EXPECT_TRUE(ApplyEnabled());
  EXPECT_TRUE(Find<QRadioButton>(1106)->isChecked()) << "a right click selects nothing";
  ReadMarkOfNextMenu(marked);
  Press(days, Qt::RightButton);
  EXPECT_EQ(marked, 32792);
  Find<QTimeEdit>(1114)->setTime(QTime(2, 0, 0));
  Find<QPushButton>(1)->click();
  EXPECT_EQ(dialog_->Values().conditions.PastTime, -7200);
  EXPECT_EQ(dialog_->Values().conditions.PastDay, ~0);
}

TEST_F(SetteiDlgTest, AttributeBoxesCycleThroughTheirThreeStates) {
  SetteiValues values;
  values.settings.OptionTab = 1;
  values.conditions.AttrReadonly = 1;
  values.conditions.AttrHidden = 2;
  values.conditions.AttrSystem = 0;
  values.conditions.AttrArchived = 1;
  Open(values);
  EXPECT_EQ(Find<QTabWidget>(1090)->currentIndex(), 1);
  const int ids[] = {1031, 1132, 1133, 1134};
  const Qt::CheckState shown[] = {Qt::Checked, Qt::PartiallyChecked, Qt::Unchecked, Qt::Checked};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Find<QCheckBox>(ids[i])->checkState(), shown[i]) << ids[i];
  // One click each: 1 → 2, 2 → 0, 0 → 1; the archive box twice: 1 → 2 → 0.
  for (int id : ids) Press(Find<QCheckBox>(id), Qt::LeftButton);
  Press(Find<QCheckBox>(1134), Qt::LeftButton);
  EXPECT_TRUE(ApplyEnabled());
  Find<QPushButton>(1)->click();
  const SearchConditions& out = dialog_->Values().conditions;
  EXPECT_EQ(out.AttrReadonly, 2);
  EXPECT_EQ(out.AttrHidden, 0);
  EXPECT_EQ(out.AttrSystem, 1);
  EXPECT_EQ(out.AttrArchived, 0);
}

TEST_F(SetteiDlgTest, TheConditionsPageShowsItsValuesAndCommitsTheExtensionLists) {
  SetteiValues values;
  values.settings.OptionTab = 2;
  SearchConditions& c = values.conditions;
  c.DepthDrawF = true;
  c.Depth = 5;
  c.SubFolder = true;
  c.ConvertFlag = 1;
  c.LetterClassify = true;
  c.BregFlag = true;
  c.MojiAll = false;
  c.FileAll = false;
  c.MojiExtList = {"cpp;h", "txt", "CPP;H"};
  c.FileExtList = {"log"};
  Open(values);
  EXPECT_FALSE(Find(1201)->isVisibleTo(dialog_.get()));
  for (int id : {1202, 1203, 1204, 1205}) EXPECT_TRUE(Find(id)->isVisibleTo(dialog_.get())) << id;
  EXPECT_EQ(Find<QLineEdit>(1202)->text(), "5");
  EXPECT_EQ(Find<QCheckBox>(1206)->isChecked(), matching::IsRegexLibraryPresent());
  EXPECT_TRUE(Find<QCheckBox>(1221)->isChecked());
  EXPECT_EQ(Find<QComboBox>(1222)->currentIndex(), 1);
  auto* moji = Find<QComboBox>(1223);
  ASSERT_EQ(moji->count(), 2) << "a duplicate without case is loaded once";
  EXPECT_EQ(moji->currentText(), "cpp;h");
  EXPECT_EQ(moji->itemText(1), "txt");
  EXPECT_EQ(Find<QComboBox>(1241)->currentText(), "log");

  // The depth-mode menu from a right click on the depth field: back to the subfolder box.
  ChooseInNextMenu(32793);
  QTest::mouseClick(Find<QLineEdit>(1202), Qt::RightButton);
  QTRY_VERIFY(Find(1201)->isVisibleTo(dialog_.get()));
  for (int id : {1202, 1203, 1204, 1205}) EXPECT_FALSE(Find(id)->isVisibleTo(dialog_.get())) << id;
  EXPECT_TRUE(Find<QCheckBox>(1201)->isChecked());
  Press(Find<QCheckBox>(1201), Qt::LeftButton);
  QTest::keyClick(Find<QComboBox>(1222), Qt::Key_Down);
  Press(Find<QCheckBox>(1221), Qt::LeftButton);
  moji->setFocus();
  moji->lineEdit()->selectAll();
  QTest::keyClicks(moji->lineEdit(), "md;rst");
  Press(Find<QCheckBox>(1242), Qt::LeftButton);
  EXPECT_TRUE(ApplyEnabled());
  Find<QPushButton>(1)->click();
  const SearchConditions& out = dialog_->Values().conditions;
  EXPECT_FALSE(out.DepthDrawF);
  EXPECT_FALSE(out.SubFolder);
  EXPECT_EQ(out.Depth, 5);
  EXPECT_EQ(out.ConvertFlag, 2);
  EXPECT_FALSE(out.LetterClassify);
  EXPECT_TRUE(out.FileAll);
  EXPECT_FALSE(out.MojiAll);
  EXPECT_EQ(out.MojiExtList, (std::vector<std::string>{"md;rst", "cpp;h", "txt"}));
  EXPECT_EQ(out.FileExtList, (std::vector<std::string>{"log"}));
  EXPECT_EQ(dialog_->Values().settings.OptionTab, 2);
}

TEST_F(SetteiDlgTest, TheSubfolderBoxOpensTheDepthMenuWithItsMark) {
  SetteiValues values;
  values.settings.OptionTab = 2;
  Open(values);
  int marked = 0;
  ReadMarkOfNextMenu(marked);
  Press(Find<QCheckBox>(1201), Qt::RightButton);
  QTRY_COMPARE(marked, 32793);
  EXPECT_FALSE(Find<QCheckBox>(1201)->isChecked()) << "a right click does not toggle the box";
  ChooseInNextMenu(32794);
  Press(Find<QCheckBox>(1201), Qt::RightButton);
  QTRY_VERIFY(Find(1202)->isVisibleTo(dialog_.get()));
  EXPECT_TRUE(ApplyEnabled());
  // A right click between the depth labels opens it too.
  ReadMarkOfNextMenu(marked);
  QWidget* label = Find(1204);
  QTest::mouseClick(label, Qt::RightButton, {}, label->rect().center());
  QTRY_COMPARE(marked, 32794);
}

TEST_F(SetteiDlgTest, ExtensionBoxesFollowTheirAllSwitches) {
  SetteiValues values;
  values.settings.OptionTab = 2;
  struct Case {
    bool mojiAll, fileAll;
  };
  for (const Case& opened : {Case{false, false}, Case{true, true}, Case{false, true}}) {
    values.conditions.MojiAll = opened.mojiAll;
    values.conditions.FileAll = opened.fileAll;
    Open(values);
    EXPECT_EQ(Find(1223)->isEnabled(), !opened.mojiAll);
    EXPECT_EQ(Find(1241)->isEnabled(), !opened.fileAll);
    Press(Find<QCheckBox>(1224), Qt::LeftButton);
    Press(Find<QCheckBox>(1242), Qt::LeftButton);
    EXPECT_EQ(Find(1223)->isEnabled(), opened.mojiAll);
    EXPECT_EQ(Find(1241)->isEnabled(), opened.fileAll);
  }
}

TEST_F(SetteiDlgTest, WithoutTheRegexLibraryTheFlagCanNeitherBeSetNorHandedBack) {
  TempTree empty;
  matching::SetRegexLibraryFolderForTesting(empty.Path(""), false);
  SetteiValues values;
  values.settings.OptionTab = 2;
  values.conditions.BregFlag = true;
  Open(values);
  auto* regex = Find<QCheckBox>(1206);
  EXPECT_FALSE(regex->isEnabled());
  EXPECT_FALSE(regex->isChecked());
  EXPECT_FALSE(regex->toolTip().isEmpty());
  Find<QPushButton>(1)->click();
  EXPECT_FALSE(dialog_->Values().conditions.BregFlag);
  matching::SetRegexLibraryFolderForTesting("", true);
}

// Files dropped on an extension box, as the desktop delivers them: URLs, with Shift in the modifiers.
TEST_F(SetteiDlgTest, FilesDroppedOnAnExtensionBoxBecomeItsExtensions) {
  TempTree tree;
  tree.File("a.TXT", "");
  tree.File("b.csv", "");
  tree.Folder("sub.dir");
  SetteiValues values;
  values.settings.OptionTab = 2;
  values.conditions.MojiExtList = {"*.HTML;htm"};
  Open(values);
  auto* box = Find<CMyComboExt>(1223);
  auto drop = [box](const std::vector<std::string>& names, Qt::KeyboardModifiers modifiers, TempTree& in) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& name : names) urls << QUrl::fromLocalFile(QtFromNative(in.Path(name)));
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(box, &enter);
    const bool accepted = enter.isAccepted();
    QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(box, &dropped);
    return accepted;
  };
  EXPECT_TRUE(drop({"a.TXT", "b.csv", "sub.dir", "gone.x"}, Qt::ShiftModifier, tree));
  EXPECT_EQ(box->currentText(), "html;htm;txt;csv");
  EXPECT_TRUE(ApplyEnabled());
  drop({"b.csv"}, Qt::NoModifier, tree);
  EXPECT_EQ(box->currentText(), "csv");
  drop({"sub.dir"}, Qt::NoModifier, tree);
  EXPECT_EQ(box->currentText(), "csv") << "nothing to collect: the box is left as it was";
  // Text is not a file list: refused.
  QMimeData text;
  text.setText("abc");
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(box, &enter);
  EXPECT_FALSE(enter.isAccepted());
  Find<QPushButton>(1)->click();
  EXPECT_EQ(dialog_->Values().conditions.MojiExtList, (std::vector<std::string>{"csv", "*.HTML;htm"}));
}

TEST_F(SetteiDlgTest, ApplyTabsAndHelp) {
  SetteiValues values;
  values.settings.OptionTab = 4;
  Open(values);
  auto* tabs = Find<QTabWidget>(1090);
  ASSERT_EQ(tabs->count(), 5);
  const char* titles[] = {"日時/サイズ", "属性", "検索条件", "簡易表示/エディタ", "その他"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(tabs->tabText(i), QString::fromUtf8(titles[i]));
  EXPECT_EQ(tabs->currentIndex(), 4);
  EXPECT_EQ(dialog_->windowTitle(), "設定 - Serquin");
  EXPECT_EQ(dialog_->objectName(), "id130");
  EXPECT_FALSE(ApplyEnabled());
  // F1 on a control of a tab opens that tab's page.
  const char* pages[] = {"filter_a", "filter_c", "filter_b", "settei_a", "settei_b"};
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    tabs->setCurrentIndex(i);
    QTest::keyClick(tabs->currentWidget()->focusWidget() ? tabs->currentWidget()->focusWidget() : tabs,
                    Qt::Key_F1);
    ASSERT_NE(CurrentHelpBrowser(), nullptr);
    EXPECT_EQ(CurrentHelpBrowser()->source(), QUrl(QString("qrc:/help/%1.html").arg(pages[i])));
  }
  CurrentHelpBrowser()->window()->close();
  tabs->setCurrentIndex(1);
  Find<QPushButton>(2)->click();
  EXPECT_EQ(dialog_->result(), QDialog::Rejected);
  EXPECT_EQ(dialog_->Values().settings.OptionTab, 4) << "Cancel keeps the tab last stored";
}

// Values no control can show open clamped, and what comes back is something a search accepts.
TEST_F(SetteiDlgTest, AbsurdValuesOpenClampedAndComeBackValid) {
  SetteiValues values;
  values.settings.OptionTab = 77;
  SearchConditions& c = values.conditions;
  c.TimeFilter = 1;
  c.RangeKind = 5;
  c.TimeKind = 9;
  c.DateFrom = LocalTime(1900, 1, 1, 0, 0, 0);
  c.DateTo = INT64_MAX;
  c.PastDay = INT_MIN;
  c.PastTime = -999999;
  c.SizeKind = 8;
  c.SizeMin = -10;
  c.SizeMax = INT_MAX;
  c.SizeMinUnit = 7;
  c.SizeMaxUnit = -3;
  c.AttrHidden = 5;
  c.Depth = 10000;
  c.DepthDrawF = true;
  c.ConvertFlag = 42;
  Open(values);
  EXPECT_EQ(Find<QTabWidget>(1090)->currentIndex(), 0);
  EXPECT_EQ(Find<QDateEdit>(1107)->date(), QDate(1970, 1, 1));
  EXPECT_EQ(Find<QDateEdit>(1110)->date(), QDate(2100, 12, 31));
  EXPECT_EQ(Find<QLineEdit>(1112)->text(), "32767");
  EXPECT_EQ(Find<QTimeEdit>(1114)->time(), QTime(23, 59, 59));
  EXPECT_EQ(Find<QLineEdit>(1162)->text(), "0");
  EXPECT_EQ(Find<QLineEdit>(1166)->text(), "32767");
  EXPECT_EQ(Find<QComboBox>(1164)->currentText(), "KB");
  EXPECT_EQ(Find<QLineEdit>(1202)->text(), "64");
  EXPECT_EQ(Find<QComboBox>(1222)->currentIndex(), 3);
  EXPECT_EQ(Find<QCheckBox>(1132)->checkState(), Qt::Unchecked);
  Find<QPushButton>(1)->click();
  const SearchConditions& out = dialog_->Values().conditions;
  EXPECT_EQ(out.TimeFilter, 1);
  EXPECT_TRUE(out.RangeKind >= 0 && out.RangeKind <= 2);
  EXPECT_TRUE(out.TimeKind == 0 || out.TimeKind == 1);
  EXPECT_GE(out.DateFrom, LocalTime(1970, 1, 1, 0, 0, 0));
  EXPECT_LE(out.DateTo, LocalTime(2100, 12, 31, 23, 59, 59));
  EXPECT_EQ(out.PastDay, ~32767);
  EXPECT_EQ(out.PastTime, -86399);
  EXPECT_TRUE(out.SizeKind >= 0 && out.SizeKind <= 3);
  EXPECT_EQ(out.SizeMin, 0);
  EXPECT_EQ(out.SizeMax, 32767);
  EXPECT_EQ(out.SizeMinUnit, 1);
  EXPECT_EQ(out.SizeMaxUnit, 1);
  EXPECT_EQ(out.AttrHidden, 0);
  EXPECT_EQ(out.Depth, 64);
  EXPECT_EQ(out.ConvertFlag, 3);
}

}  // namespace
