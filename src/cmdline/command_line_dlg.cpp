#include "cmdline/command_line_dlg.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextDocument>
#include <QVBoxLayout>

#include "app/help_window_qt.h"
#include "app/qt_text_qt.h"
#include "resources/strings.h"

CCommandLineDlg::CCommandLineDlg(const QString& text, QWidget* parent) : QDialog(parent) {
  setObjectName("id156");
  setWindowTitle(QtString(IDS_COMMAND_LINE_CAPTION));

  auto* edit = new QPlainTextEdit(this);
  edit->setObjectName("id1105");
  edit->setReadOnly(true);
  // Read-only still lets the keyboard select, so the whole line can be taken with Ctrl+A, Ctrl+C.
  edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  edit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  edit->setPlainText(text);
  // About four lines of text: a composed line is rarely longer, and the box scrolls when it is.
  const int lines = 4;
  edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 60);
  edit->setFixedHeight(edit->fontMetrics().lineSpacing() * lines + 2 * edit->frameWidth() +
                       static_cast<int>(2 * edit->document()->documentMargin()));

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("id1");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  // The hidden cancel button of the dialog: Escape closes it as OK does, changing nothing.
  auto* cancel = new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName("id2");
  cancel->hide();
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help, &QShortcut::activated, this, [this] { ShowHelpPage("command_line", this); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(edit);
  layout->addLayout(buttons);
  edit->setFocus();
}
