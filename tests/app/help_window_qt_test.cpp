// The help window: every page the program opens is built in, its links lead to pages and anchors that
// exist, and one window serves every request, also beside a modal dialog.
#include <QDialog>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include "app/help_window_qt.h"
#include "testkit/qt_app.h"

namespace {

const char* const kPages[] = {"mainview", "command_line", "filter_a", "filter_b",
                              "filter_c", "settei_a",     "settei_b", "cover"};

QString Resource(const QString& file) {
  QFile page(":/help/" + file);
  return page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
}

// Where in the browser's viewport the first link to `href` is shown; (-1, -1) when there is none.
QPoint LinkPosition(QTextBrowser& browser, const QString& href) {
  for (QTextBlock block = browser.document()->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (fragment.charFormat().anchorHref() != href) continue;
      QTextCursor cursor(browser.document());
      cursor.setPosition(fragment.position() + fragment.length() / 2);
      browser.setTextCursor(cursor);
      browser.ensureCursorVisible();
      return browser.cursorRect(cursor).center();
    }
  }
  return {-1, -1};
}

TEST(HelpWindow, EveryPageOpensWithItsTitle) {
  for (const char* page : kPages) {
    SCOPED_TRACE(page);
    ShowHelpPage(page, nullptr);
    QTextBrowser* browser = CurrentHelpBrowser();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->source(), QUrl(QString("qrc:/help/%1.html").arg(page)));
    EXPECT_FALSE(browser->documentTitle().isEmpty());
    EXPECT_EQ(browser->window()->windowTitle(), browser->documentTitle());
    EXPECT_GT(browser->toPlainText().size(), 200);
  }
  QTextBrowser* browser = CurrentHelpBrowser();
  ShowHelpPage("no_such_page", nullptr);
  EXPECT_EQ(CurrentHelpBrowser(), browser);  // the same window
  EXPECT_EQ(browser->source(), QUrl("qrc:/help/cover.html"));
  browser->window()->close();
}

TEST(HelpWindow, LinksLeadToPagesAndAnchorsThatExist) {
  static const QRegularExpression link(R"re(href="([^"#:]*)(?:#([^"]*))?")re");
  for (const char* page : kPages) {
    const QString text = Resource(QString(page) + ".html");
    ASSERT_FALSE(text.isEmpty()) << page;
    for (auto match = link.globalMatch(text); match.hasNext();) {
      const auto found = match.next();
      const QString file = found.captured(1).isEmpty() ? QString(page) + ".html" : found.captured(1);
      const QString target = Resource(file);
      EXPECT_FALSE(target.isEmpty()) << page << " links to " << file.toStdString();
      const QString anchor = found.captured(2);
      if (!anchor.isEmpty() && !target.isEmpty()) {
        EXPECT_TRUE(target.contains("name=\"" + anchor + "\"") || target.contains("id=\"" + anchor + "\""))
            << page << " links to " << file.toStdString() << "#" << anchor.toStdString();
      }
    }
  }
  // Clicked in the window, a link to another page turns the page.
  ShowHelpPage("cover", nullptr);
  QTextBrowser* browser = CurrentHelpBrowser();
  const QPoint linkAt = LinkPosition(*browser, "filter_b.html");
  ASSERT_NE(linkAt, QPoint(-1, -1));
  QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, linkAt);
  EXPECT_EQ(browser->source(), QUrl("qrc:/help/filter_b.html"));
  EXPECT_EQ(browser->window()->windowTitle(), browser->documentTitle());
  browser->window()->close();
}

TEST(HelpWindow, TakesInputBesideAModalDialogAndOutlivesIt) {
  QDialog main;
  main.show();
  auto* settings = new QDialog(&main);
  settings->setAttribute(Qt::WA_DeleteOnClose);
  settings->open();
  ShowHelpPage("filter_a", settings);
  QWidget* help = CurrentHelpBrowser()->window();
  // A child window of the modal dialog is not blocked by it.
  EXPECT_EQ(help->parentWidget(), settings);
  settings->accept();
  QCoreApplication::processEvents();
  ASSERT_NE(CurrentHelpBrowser(), nullptr);
  EXPECT_EQ(CurrentHelpBrowser()->window()->parentWidget(), &main);
  EXPECT_TRUE(CurrentHelpBrowser()->window()->isVisible());

  // The main window has no owner: when it closes, so does the help window.
  main.accept();
  QTRY_VERIFY(CurrentHelpBrowser() == nullptr);
}

}  // namespace
