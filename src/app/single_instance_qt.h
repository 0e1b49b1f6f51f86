// Single instance over a per-user local socket (the exchange is described in handover.h): the running
// instance's server, and the hand-over a new start tries first.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <string>

#include "app/handover_receiver.h"

class QLocalSocket;

// Listens for the hand-overs of later starts and answers them for `receiver` (the main window). Reading is
// asynchronous and bounded: a stray, partial or oversized writer never blocks the window or changes it.
class SingleInstanceServer : public QObject {
  Q_OBJECT
 public:
  explicit SingleInstanceServer(HandOverReceiver& receiver, QObject* parent = nullptr);

  // Listens on `socketName` with access for this user only. A socket file left by an instance that has
  // ended (nothing answers on it) is removed first. False when another server answers on the name or the
  // socket cannot be made: this instance then runs without taking hand-overs.
  bool Listen(const QString& socketName);

 private:
  void OnNewConnection();
  void OnReadyRead(QLocalSocket* socket);
  void Answer(QLocalSocket* socket, const std::string& frame);

  HandOverReceiver& receiver_;
  QLocalServer server_;
};

// How a hand-over attempt ended.
enum class HandOverResult {
  kNoInstance,  // nothing listens on the name: this start is the first instance
  kAccepted,    // the running instance took the command line: this start ends
  kDeclined,    // the running instance does not want single instance (or could not read the frame)
  kNoAnswer,    // it did not answer within the time: this start goes on as a further instance
};

// Sends `frame` (EncodeHandOver) to the instance listening on `socketName` and waits for its one reply
// byte, at most `connectMs` to connect and `replyMs` for the reply.
HandOverResult SendHandOver(const QString& socketName, const std::string& frame, int connectMs = 2000,
                            int replyMs = 5000);
