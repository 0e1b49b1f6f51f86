#include "app/help_window_qt.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFile>
#include <QHBoxLayout>
#include <QPointer>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

#include "app/qt_text_qt.h"
#include "app/resources_qt.h"
#include "resources/strings.h"

namespace {

QUrl PageUrl(const QString& page) {
  return QUrl("qrc:/help/" + page + ".html");
}

class HelpWindow : public QWidget {
 public:
  HelpWindow() : QWidget(nullptr, Qt::Window) {
    setObjectName("helpWindow");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QtString(IDS_HELP_CAPTION));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName("helpBrowser");
    // Links to other sites go to the desktop's browser; links between pages stay here.
    browser_->setOpenExternalLinks(true);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
      const QString title = browser_->documentTitle();
      setWindowTitle(title.isEmpty() ? QtString(IDS_HELP_CAPTION) : title);
    });

    auto* back = Button("←", [this] { browser_->backward(); });
    auto* forward = Button("→", [this] { browser_->forward(); });
    auto* contents = Button(QString::fromUtf8("目次"), [this] { browser_->setSource(PageUrl("cover")); });
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
    back->setEnabled(false);
    forward->setEnabled(false);

    auto* bar = new QHBoxLayout;
    bar->addWidget(back);
    bar->addWidget(forward);
    bar->addWidget(contents);
    bar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(bar);
    layout->addWidget(browser_);
    resize(760, 600);
  }

  QTextBrowser* Browser() const { return browser_; }
  // Closed by the user and only waiting to be deleted: a new request needs a new window.
  bool Closed() const { return closed_; }

  // Makes the window a child window of `owner`'s window: a modal dialog blocks every window but its own
  // children. When that dialog closes, the window moves on to the dialog's owner so that it stays open;
  // it closes with the main window, which has no owner, so it never keeps the program running alone.
  void AttachTo(QWidget* owner) {
    QWidget* top = owner ? owner->window() : nullptr;
    if (top == this) top = nullptr;
    if (parentWidget() != top) {
      const QRect frame = geometry();
      const bool visible = isVisible();
      setParent(top, Qt::Window);
      setGeometry(frame);
      if (visible) show();
    }
    disconnect(ownerClosed_);
    if (auto* dialog = qobject_cast<QDialog*>(top)) {
      ownerClosed_ = connect(dialog, &QDialog::finished, this, [this, dialog] {
        if (dialog->parentWidget()) {
          AttachTo(dialog->parentWidget());
        } else {
          close();
        }
      });
    }
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    closed_ = true;
    QWidget::closeEvent(event);
  }

 private:
  template <class Action>
  QToolButton* Button(const QString& text, Action action) {
    auto* button = new QToolButton(this);
    button->setText(text);
    button->setAutoRaise(true);
    connect(button, &QToolButton::clicked, this, action);
    return button;
  }

  QTextBrowser* browser_;
  QMetaObject::Connection ownerClosed_;
  bool closed_ = false;
};

QPointer<HelpWindow> helpWindow;

}  // namespace

void ShowHelpPage(const QString& page, QWidget* parent) {
  EnsureResources();
  if (!helpWindow || helpWindow->Closed()) helpWindow = new HelpWindow;
  helpWindow->AttachTo(parent);
  const bool known = QFile::exists(":/help/" + page + ".html");
  helpWindow->Browser()->setSource(PageUrl(known ? page : QStringLiteral("cover")));
  helpWindow->show();
  helpWindow->raise();
  helpWindow->activateWindow();
}

QTextBrowser* CurrentHelpBrowser() {
  return helpWindow ? helpWindow->Browser() : nullptr;
}
