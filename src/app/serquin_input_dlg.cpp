// The main window's keyboard and mouse: the Enter and Escape rules, the splitter between the text list
// and the viewer, and the layout on every size change.
#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "app/serquin_dlg.h"
#include "results/list_file_widget.h"
#include "results/list_moji_widget.h"

namespace {

bool IsEnter(const QKeyEvent* e) {
  return (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
         !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

}  // namespace

// Enter: the controls' values are taken, then the focused control decides: a list opens its selected hit
// (the text list in the editor, the file list by association), a kind button toggles, anything else
// is the search command (the focus then moves to the search button when a search starts).
void CSerquinDlg::EnterCommand() {
  TakeControls();
  QWidget* focus = focusWidget();
  if (focus == textList_) {
    if (!textList_->SelectedRecords().empty()) emit textList_->MenuCommand(32772);
    return;
  }
  if (focus == fileList_) {
    if (!fileList_->SelectedRecords().empty()) emit fileList_->MenuCommand(32771);
    return;
  }
  for (int k = 0; k < 3; ++k) {
    if (focus == kindButtons_[k]) {
      kindButtons_[k]->click();
      return;
    }
  }
  SearchCommand();
  if (searching_) searchButton_->setFocus();
}

void CSerquinDlg::keyPressEvent(QKeyEvent* e) {
  if (IsEnter(e)) {
    EnterCommand();
    return;
  }
  QDialog::keyPressEvent(e);
}

// The boxes keep Enter and Escape for themselves otherwise; here they reach the window's rules. An open
// drop-down list still takes them (Enter chooses an item, Escape closes the list).
bool CSerquinDlg::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(e);
    auto* box = qobject_cast<QComboBox*>(watched) ? qobject_cast<QComboBox*>(watched)
                                                   : qobject_cast<QComboBox*>(watched->parent());
    const bool popupOpen = box && box->view() && box->view()->isVisible();
    if (!popupOpen && IsEnter(key)) {
      EnterCommand();
      return true;
    }
    if (!popupOpen && key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
      reject();
      return true;
    }
  }
  return QDialog::eventFilter(watched, e);
}

void CSerquinDlg::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  if (!isMinimized()) LayOut();
}

void CSerquinDlg::mousePressEvent(QMouseEvent* e) {
  const QPoint at = e->position().toPoint();
  if (e->button() == Qt::LeftButton &&
      splitterDrag_.Press(splitter_, at.x(), at.y(), settings_.Frame.ViewerY)) {
    grabMouse(Qt::SplitVCursor);
    return;
  }
  QDialog::mousePressEvent(e);
}

void CSerquinDlg::mouseMoveEvent(QMouseEvent* e) {
  const QPoint at = e->position().toPoint();
  if (std::optional<int> viewerY = splitterDrag_.Move(at.y())) {
    settings_.Frame.ViewerY = *viewerY;
    LayOut();
    return;
  }
  // The splitter cursor over the band between the text list and the viewer, the normal one elsewhere.
  if (splitter_.Contains(at.x(), at.y())) {
    setCursor(Qt::SplitVCursor);
  } else {
    unsetCursor();
  }
  QDialog::mouseMoveEvent(e);
}

void CSerquinDlg::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && splitterDrag_.Dragging()) {
    splitterDrag_.Release();
    releaseMouse();
    return;
  }
  QDialog::mouseReleaseEvent(e);
}
