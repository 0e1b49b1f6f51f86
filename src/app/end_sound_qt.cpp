#include "app/end_sound_qt.h"

#include <QApplication>
#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "app/qt_text_qt.h"

namespace {

// A sound that has neither started nor failed by this time (no sound device answering) counts as failed,
// so that no effect object stays behind.
constexpr int kGiveUpMs = 20000;

void Fail(const std::function<void()>& onFailure) {
  if (onFailure) onFailure();
}

}  // namespace

void PlaySoundFile(const std::string& waveFile, std::function<void()> onFailure) {
  const QString path = QtFromCp932(waveFile);
  if (path.isEmpty() || !QFileInfo(path).isFile()) return Fail(onFailure);
  // Without a sound device a file only seems to play; the default sound (the display's bell) still sounds.
  if (QMediaDevices::defaultAudioOutput().isNull()) return Fail(onFailure);

  // Each sound has an effect of its own that deletes itself when it has played or failed.
  auto* effect = new QSoundEffect(qApp);
  auto settled = std::make_shared<bool>(false);
  auto finish = [effect, settled, onFailure](bool failed) {
    if (*settled) return;
    *settled = true;
    if (failed) Fail(onFailure);
    effect->deleteLater();
  };
  QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect, finish] {
    if (effect->status() == QSoundEffect::Error) finish(true);
  });
  QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect, finish] {
    if (!effect->isPlaying() && effect->status() == QSoundEffect::Ready) finish(false);
  });
  QTimer::singleShot(kGiveUpMs, effect, [effect, finish] {
    if (!effect->isPlaying()) finish(true);
  });
  effect->setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
  // QSoundEffect starts as soon as the file has loaded when play() is asked for while it loads.
  effect->play();
}

void PlayEndSound(const std::string& waveFile) {
  PlaySoundFile(waveFile, [] { QApplication::beep(); });
}
