// The about box, the trailing-blank question, the end-of-search sound and the toolkit's translations.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "app/about_dlg.h"
#include "app/end_sound_qt.h"
#include "app/qt_text_qt.h"
#include "app/serquin_app_qt.h"
#include "app/white_dlg.h"
#include "testkit/qt_app.h"

namespace {

TEST(AboutDlg, ShowsIconAndVersionAndClosesWithOk) {
  CAboutDlg dialog(nullptr);
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("バージョン情報"));
  auto* icon = dialog.findChild<QLabel*>("icon");
  ASSERT_NE(icon, nullptr);
  EXPECT_FALSE(icon->pixmap().isNull());  // the icon resource is built in
  auto* version = dialog.findChild<QLabel*>("version");
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version->text(), "Serquin Version 1.3.9");
  dialog.open();
  dialog.findChild<QPushButton*>("id1")->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(dialog.isVisible());
}

TEST(WhiteDlg, ShowsTheQuestionInJapanese) {
  CWhiteDlg dialog(false, nullptr);
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("確認 - Serquin"));
  EXPECT_EQ(dialog.findChild<QLabel*>("text")->text(), QString::fromUtf8("文字列の末尾に空白があります"));
  EXPECT_EQ(dialog.findChild<QPushButton*>("id1")->text(), QString::fromUtf8("続行"));
  EXPECT_EQ(dialog.findChild<QPushButton*>("id2")->text(), QString::fromUtf8("中止"));
  EXPECT_EQ(dialog.findChild<QCheckBox*>("dontAsk")->text(), QString::fromUtf8("今後このメッセージを出さない"));
  EXPECT_FALSE(dialog.findChild<QLabel*>("icon")->pixmap().isNull());
}

TEST(WhiteDlg, EveryWayOfClosingGivesItsAnswerAndTheCheckBox) {
  enum class Close { kContinue, kAbort, kEnter, kEscape, kCloseBox };
  struct Case {
    const char* name;
    bool whiteCheck;
    bool toggle;  // the user clicks the check box before closing
    Close close;
    int result;
    bool expectedCheck;
  };
  const Case cases[] = {
      {"continue", false, false, Close::kContinue, QDialog::Accepted, false},
      {"enter is continue", true, false, Close::kEnter, QDialog::Accepted, true},
      {"abort", true, false, Close::kAbort, QDialog::Rejected, true},
      {"escape is abort", false, false, Close::kEscape, QDialog::Rejected, false},
      {"close box is abort", false, false, Close::kCloseBox, QDialog::Rejected, false},
      {"checked, then continue", false, true, Close::kContinue, QDialog::Accepted, true},
      {"checked, then escape keeps it", false, true, Close::kEscape, QDialog::Rejected, true},
      {"unchecked, then close box", true, true, Close::kCloseBox, QDialog::Rejected, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CWhiteDlg dialog(c.whiteCheck, nullptr);
    dialog.setResult(-1);
    dialog.open();
    if (c.toggle) QTest::mouseClick(dialog.findChild<QCheckBox*>("dontAsk"), Qt::LeftButton);
    switch (c.close) {
      case Close::kContinue: dialog.findChild<QPushButton*>("id1")->click(); break;
      case Close::kAbort: dialog.findChild<QPushButton*>("id2")->click(); break;
      case Close::kEnter: QTest::keyClick(&dialog, Qt::Key_Return); break;
      case Close::kEscape: QTest::keyClick(&dialog, Qt::Key_Escape); break;
      case Close::kCloseBox: dialog.close(); break;
    }
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), c.result);
    EXPECT_EQ(dialog.WhiteCheck(), c.expectedCheck);
  }
}

TEST(EndSound, FilesThatCannotBePlayedFailOnceAndNothingBlocks) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString noise = dir.filePath("noise.wav");
  QFile file(noise);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(2048, 'x'));  // not a RIFF file
  file.close();
  struct Case {
    const char* name;
    std::string waveFile;
  };
  const Case cases[] = {
      {"no name", ""},
      {"missing file", Cp932FromQt(dir.filePath("missing.wav"))},
      {"a folder", Cp932FromQt(dir.path())},
      {"not a sound", Cp932FromQt(noise)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    int failures = 0;
    PlaySoundFile(c.waveFile, [&failures] { ++failures; });
    QTRY_COMPARE_WITH_TIMEOUT(failures, 1, 15000);
    QCoreApplication::processEvents();  // a second report would be queued behind the first
    EXPECT_EQ(failures, 1);
  }
  // The end-of-search sound falls back on the default sound; without a failure callback nothing happens.
  PlayEndSound("");
  PlaySoundFile(Cp932FromQt(noise));
}

TEST(Translations, StandardButtonsSpeakJapanese) {
  auto* app = qobject_cast<QApplication*>(QApplication::instance());
  ASSERT_TRUE(CSerquinApp::LoadJapaneseTranslations(*app));
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("キャンセル"));
}

}  // namespace
