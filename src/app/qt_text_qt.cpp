#include "app/qt_text_qt.h"

#include <QByteArray>
#include <QFile>

#include "platform/cp932.h"
#include "resources/strings.h"

QString QtFromCp932(std::string_view cp932) {
  std::string utf8;
  platform::AppendUtf8FromCp932(utf8, cp932);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string Cp932FromQt(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return platform::Cp932FromUtf8(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

QString QtFromNative(std::string_view native) {
  // The file system's own decoding keeps bytes that are not well-formed UTF-8 round-trippable.
  return QFile::decodeName(QByteArray(native.data(), static_cast<qsizetype>(native.size())));
}

std::string NativeFromQt(const QString& text) {
  const QByteArray bytes = QFile::encodeName(text);
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

QString QtString(int id) {
  return QtFromCp932(LoadString(id));
}

QFont JapaneseTextFont(const QFont& base) {
  QFont font = base;
  font.setFamilies({QStringLiteral("Noto Sans CJK JP"), base.family()});
  return font;
}
