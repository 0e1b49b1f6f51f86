#include "app/single_instance_qt.h"

#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <optional>
#include <string_view>

#include "app/handover.h"

namespace {

// A connection that has not sent a whole frame by then is dropped, so stray or stalled writers never
// pile up in the running window.
constexpr int kConnectionLifeMs = 15000;
// How long Listen waits to see whether a server answers on a name that is taken.
constexpr int kProbeMs = 1000;

std::string_view View(const QByteArray& bytes) {
  return std::string_view(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// Whether a server accepts connections on `socketName` (a live instance, even a busy one: the system
// queues the connection for it).
bool ServerAnswers(const QString& socketName) {
  QLocalSocket probe;
  probe.connectToServer(socketName);
  const bool answers = probe.waitForConnected(kProbeMs);
  probe.abort();
  return answers;
}

}  // namespace

SingleInstanceServer::SingleInstanceServer(HandOverReceiver& receiver, QObject* parent)
    : QObject(parent), receiver_(receiver) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, &SingleInstanceServer::OnNewConnection);
}

bool SingleInstanceServer::Listen(const QString& socketName) {
  // Asked before listening, because listening with access options puts the new socket in place of an
  // existing one, which would take the name from a live instance.
  if (ServerAnswers(socketName)) return false;
  // Nothing answers: any socket file under the name is left over from an instance that has ended.
  QLocalServer::removeServer(socketName);
  return server_.listen(socketName);
}

void SingleInstanceServer::OnNewConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    QTimer::singleShot(kConnectionLifeMs, socket, [socket] {
      socket->abort();
      socket->deleteLater();
    });
  }
}

void SingleInstanceServer::OnReadyRead(QLocalSocket* socket) {
  if (socket->property("answered").toBool()) {
    socket->readAll();  // anything after the one frame is ignored
    return;
  }
  const QByteArray header = socket->peek(kHandOverHeaderSize);
  if (static_cast<size_t>(header.size()) < kHandOverHeaderSize) return;  // wait for the rest
  const std::optional<size_t> frameSize = HandOverFrameSize(View(header));
  if (!frameSize) return Answer(socket, {});  // not a frame of ours: declined, nothing applied
  if (static_cast<size_t>(socket->bytesAvailable()) < *frameSize) return;  // wait for the rest
  const QByteArray frame = socket->read(static_cast<qint64>(*frameSize));
  Answer(socket, std::string(View(frame)));
}

void SingleInstanceServer::Answer(QLocalSocket* socket, const std::string& frame) {
  socket->setProperty("answered", true);
  QPointer<QLocalSocket> guard(socket);
  const std::optional<HandOver> handOver = frame.empty() ? std::nullopt : DecodeHandOver(frame);
  const HandOverAction action = DecideHandOver(receiver_.WantsSingleInstance(), handOver.has_value(),
                                               receiver_.SettingsOpen(), receiver_.Searching());
  if (action != HandOverAction::kDecline) receiver_.RaiseWindow();
  // Applied before the reply, so that a search the text starts has been posted when the new start ends.
  if (action == HandOverAction::kRaiseAndApply) receiver_.ApplyHandOver(*handOver);
  if (!guard) return;  // the writer went away meanwhile
  const char reply = action == HandOverAction::kDecline ? kHandOverDeclined : kHandOverAccepted;
  socket->write(&reply, 1);
  socket->flush();
  socket->disconnectFromServer();
}

HandOverResult SendHandOver(const QString& socketName, const std::string& frame, int connectMs, int replyMs) {
  QLocalSocket socket;
  socket.connectToServer(socketName);
  if (!socket.waitForConnected(connectMs)) return HandOverResult::kNoInstance;
  const QDeadlineTimer deadline(replyMs);
  socket.write(frame.data(), static_cast<qint64>(frame.size()));
  while (socket.bytesToWrite() > 0) {
    if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) return HandOverResult::kNoAnswer;
  }
  while (socket.bytesAvailable() < 1) {
    if (deadline.hasExpired() || !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
      return HandOverResult::kNoAnswer;
    }
  }
  char reply = 0;
  socket.getChar(&reply);
  return reply == kHandOverAccepted ? HandOverResult::kAccepted : HandOverResult::kDeclined;
}
