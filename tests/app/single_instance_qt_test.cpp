// The single-instance server and the start-up client over real local sockets, in one process: the
// client runs on a thread of its own while the test's event loop serves the server.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <chrono>
#include <future>
#include <random>

#include "app/handover.h"
#include "app/qt_text_qt.h"
#include "app/single_instance_qt.h"
#include "testkit/qt_app.h"

namespace {

class FakeWindow : public HandOverReceiver {
 public:
  bool mutexF = true;
  bool settingsOpen = false;
  bool searching = false;
  int raised = 0;
  std::vector<HandOver> applied;

  bool WantsSingleInstance() const override { return mutexF; }
  bool SettingsOpen() const override { return settingsOpen; }
  bool Searching() const override { return searching; }
  void RaiseWindow() override { ++raised; }
  void ApplyHandOver(const HandOver& handOver) override { applied.push_back(handOver); }
};

// A socket path of its own for each test, in the temporary folder.
QString FreshSocketName() {
  static int count = 0;
  const QString name = QDir::tempPath() + QString("/serquin-si-test-%1-%2").arg(getpid()).arg(++count);
  QLocalServer::removeServer(name);
  return name;
}

// Serves the event loop until `task` (running on another thread) has its result. The client's own
// timeouts bound the wait.
template <class T>
T Serve(std::future<T>& task) {
  while (task.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return task.get();
}

HandOverResult HandOverWhileServing(const QString& name, const std::string& frame) {
  auto task = std::async(std::launch::async, [name, frame] { return SendHandOver(name, frame); });
  return Serve(task);
}

// Writes raw bytes as a client and gives the reply bytes (empty when the server only closed the
// connection, or did not answer before `replyMs`).
QByteArray RawExchange(const QString& name, const QByteArray& bytes, bool closeAfterWrite, int replyMs) {
  auto task = std::async(std::launch::async, [=] {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(2000)) return QByteArray("no connection");
    socket.write(bytes);
    socket.waitForBytesWritten(2000);
    if (closeAfterWrite) {
      socket.disconnectFromServer();
      return QByteArray();
    }
    socket.waitForReadyRead(replyMs);
    return socket.readAll();
  });
  return Serve(task);
}

// A socket file with nobody behind it, as an instance that was killed leaves it.
void MakeStaleSocketFile(const QString& name) {
  const QByteArray path = QFile::encodeName(name);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(static_cast<size_t>(path.size()), sizeof address.sun_path);
  memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  close(fd);
  ASSERT_TRUE(QFile::exists(name));
}

// A second start's hand-over of a location that code page 932 cannot spell (it must arrive whole) and
// a search command line.
std::string SampleFrame(HandOver* built = nullptr) {
  const QString folder = QDir::tempPath() + QString::fromUtf8("/serquin-si-Ω-한");
  QDir().mkpath(folder);
  HandOver handOver = BuildHandOver({NativeFromQt(folder)}, "/");
  if (built) *built = handOver;
  return EncodeHandOver(handOver);
}

TEST(SingleInstance, RunningWindowDecidesByItsState) {
  struct Case {
    const char* name;
    bool mutexF, settingsOpen, searching;
    HandOverResult result;
    int raised;
    size_t applied;
  };
  const Case cases[] = {
      {"single instance wanted, idle", true, false, false, HandOverResult::kAccepted, 1, 1},
      {"single instance not wanted", false, false, false, HandOverResult::kDeclined, 0, 0},
      {"search running", true, false, true, HandOverResult::kAccepted, 1, 0},
      {"settings dialog open", true, true, false, HandOverResult::kAccepted, 1, 0},
      {"not wanted while searching", false, false, true, HandOverResult::kDeclined, 0, 0},
  };
  HandOver built;
  const std::string frame = SampleFrame(&built);
  ASSERT_FALSE(frame.empty());
  ASSERT_FALSE(built.nativeLocation.empty());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeWindow window;
    window.mutexF = c.mutexF;
    window.settingsOpen = c.settingsOpen;
    window.searching = c.searching;
    const QString name = FreshSocketName();
    SingleInstanceServer server(window);
    ASSERT_TRUE(server.Listen(name));
    EXPECT_EQ(HandOverWhileServing(name, frame), c.result);
    EXPECT_EQ(window.raised, c.raised);
    ASSERT_EQ(window.applied.size(), c.applied);
    if (c.applied) {
      EXPECT_EQ(window.applied[0], built);
    }
  }
}

TEST(SingleInstance, BytesThatAreNoFrameChangeNothingAndLeaveTheServerWorking) {
  FakeWindow window;
  const QString name = FreshSocketName();
  SingleInstanceServer server(window);
  ASSERT_TRUE(server.Listen(name));
  const std::string frame = SampleFrame();

  std::mt19937 random(7);
  QByteArray noise(4096, '\0');
  for (char& byte : noise) byte = static_cast<char>(random());
  EXPECT_EQ(RawExchange(name, noise, false, 5000), QByteArray(1, kHandOverDeclined));

  // A well-formed header whose frame claims more than the bound.
  QByteArray huge = QByteArray::fromStdString(frame.substr(0, kHandOverHeaderSize));
  const uint32_t tooLong = static_cast<uint32_t>(kMaxHandOverSize);
  for (int i = 0; i < 4; ++i) huge[8 + i] = static_cast<char>(tooLong >> (8 * i));
  EXPECT_EQ(RawExchange(name, huge, false, 5000), QByteArray(1, kHandOverDeclined));

  // A frame whose payload is damaged: its length is right, a field runs past the end.
  QByteArray damaged = QByteArray::fromStdString(frame);
  for (int i = 0; i < 4; ++i) damaged[static_cast<int>(kHandOverHeaderSize) + i] = '\xff';
  EXPECT_EQ(RawExchange(name, damaged, false, 5000), QByteArray(1, kHandOverDeclined));

  // Half a frame, then the writer goes away.
  RawExchange(name, QByteArray::fromStdString(frame.substr(0, frame.size() / 2)), true, 0);

  EXPECT_EQ(window.raised, 0);
  EXPECT_TRUE(window.applied.empty());
  EXPECT_EQ(HandOverWhileServing(name, frame), HandOverResult::kAccepted);
  EXPECT_EQ(window.applied.size(), 1u);
}

TEST(SingleInstance, StaleSocketFileMeansNoInstanceAndIsReplaced) {
  const QString name = FreshSocketName();
  MakeStaleSocketFile(name);
  EXPECT_EQ(SendHandOver(name, SampleFrame()), HandOverResult::kNoInstance);

  FakeWindow window;
  SingleInstanceServer server(window);
  ASSERT_TRUE(server.Listen(name));
  EXPECT_EQ(HandOverWhileServing(name, SampleFrame()), HandOverResult::kAccepted);
}

TEST(SingleInstance, NoSocketAtAllMeansNoInstance) {
  EXPECT_EQ(SendHandOver(FreshSocketName(), SampleFrame()), HandOverResult::kNoInstance);
}

TEST(SingleInstance, SecondServerLeavesTheLiveOneItsName) {
  const QString name = FreshSocketName();
  FakeWindow first;
  FakeWindow second;
  SingleInstanceServer firstServer(first);
  SingleInstanceServer secondServer(second);
  ASSERT_TRUE(firstServer.Listen(name));
  EXPECT_FALSE(secondServer.Listen(name));
  EXPECT_EQ(HandOverWhileServing(name, SampleFrame()), HandOverResult::kAccepted);
  EXPECT_EQ(first.applied.size(), 1u);
  EXPECT_TRUE(second.applied.empty());
}

TEST(SingleInstance, InstanceThatNeverAnswersIsGivenUp) {
  // It accepts connections (the system queues them) but its window never reads them.
  const QString name = FreshSocketName();
  QLocalServer hung;
  ASSERT_TRUE(hung.listen(name));
  EXPECT_EQ(SendHandOver(name, SampleFrame(), 1000, 300), HandOverResult::kNoAnswer);
}

}  // namespace
