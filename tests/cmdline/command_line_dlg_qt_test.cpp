// The command-line dialog: the composed text, read-only but selectable, and F1 to the help page.
#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include "app/help_window_qt.h"
#include "cmdline/command_line_dlg.h"
#include "testkit/qt_app.h"

namespace {

const QString kText = QString::fromUtf8(R"(-b"/home/user/a-b" -m"日本語 テキスト" -t -ar0h0s0a0 -sa -r0 -i1 -cw -ja -za)");

TEST(CommandLineDlg, ShowsTheTextReadOnlyForCopying) {
  CCommandLineDlg dialog(kText, nullptr);
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("コマンドライン引数"));
  auto* edit = dialog.findChild<QPlainTextEdit*>("id1105");
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->toPlainText(), kText);
  EXPECT_TRUE(edit->isReadOnly());

  dialog.show();
  edit->setFocus();
  QTest::keyClicks(edit, "typed");  // typing changes nothing
  EXPECT_EQ(edit->toPlainText(), kText);
  QGuiApplication::clipboard()->clear();
  QTest::keySequence(edit, QKeySequence::SelectAll);
  QTest::keySequence(edit, QKeySequence::Copy);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), kText);

  dialog.findChild<QPushButton*>("id1")->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(CommandLineDlg, F1OpensTheCommandLineHelp) {
  CCommandLineDlg dialog(kText, nullptr);
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  QTest::keyClick(dialog.findChild<QPlainTextEdit*>("id1105"), Qt::Key_F1);
  QTextBrowser* help = CurrentHelpBrowser();
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(help->source(), QUrl("qrc:/help/command_line.html"));
  EXPECT_TRUE(help->window()->isVisible());
  help->window()->close();
}

}  // namespace
