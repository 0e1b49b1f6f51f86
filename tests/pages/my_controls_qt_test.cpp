// The path edit box that takes one dropped file, and the main window's history boxes across a resize.
#include <gtest/gtest.h>

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>

#include "pages/my_combo_widget.h"
#include "pages/my_edit_widget.h"
#include "testkit/qt_app.h"

namespace {

// Drops `urls` on the widget as the desktop would: enter first, then the drop; whether both were taken.
bool DropUrls(QWidget& target, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  const QPoint at(5, 5);
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&target, &enter);
  QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&target, &drop);
  return enter.isAccepted() && drop.isAccepted();
}

TEST(CMyEdit, TakesExactlyOneDroppedFile) {
  struct Case {
    QList<QUrl> urls;
    QString text;
    int changes;
  } cases[] = {
      {{QUrl::fromLocalFile("/opt/tools/ed")}, "/opt/tools/ed", 1},
      {{QUrl::fromLocalFile("/opt/音/ベル.wav")}, "/opt/音/ベル.wav", 1},
      {{QUrl::fromLocalFile("/opt/한글/ü.wav")}, "/opt/한글/ü.wav", 1},  // not spellable in code page 932
      {{QUrl::fromLocalFile("/a"), QUrl::fromLocalFile("/b")}, "before", 0},
      {{QUrl("https://example.com/x.wav")}, "before", 0},
  };
  for (const Case& c : cases) {
    CMyEdit edit;
    edit.setText("before");
    QSignalSpy changed(&edit, &CMyEdit::Changed);
    EXPECT_TRUE(DropUrls(edit, c.urls)) << "the drop is always finished";
    EXPECT_EQ(edit.text(), c.text);
    EXPECT_EQ(changed.count(), c.changes) << c.text.toStdString();
  }
}

TEST(CMyComboHistory, ResizeKeepsTextAndSelection) {
  CMyComboFolder folder;
  CMyComboPattern pattern;
  for (CMyComboHistory* box : std::initializer_list<CMyComboHistory*>{&folder, &pattern}) {
    box->addItems({"/home", "/tmp"});
    box->setCurrentIndex(1);
    box->resize(200, box->sizeHint().height());
    box->show();
    box->setEditText("/tmp/typed but not listed");
    box->lineEdit()->setSelection(5, 5);
    box->resize(120, box->height());
    box->resize(400, box->height());
    EXPECT_EQ(box->currentText(), "/tmp/typed but not listed");
    EXPECT_EQ(box->lineEdit()->selectionStart(), 5);
    EXPECT_EQ(box->lineEdit()->selectedText(), "typed");
    EXPECT_FALSE(box->lineEdit()->acceptDrops()) << "drops go to the main window's rules";
  }
}

}  // namespace
