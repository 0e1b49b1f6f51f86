#include "app/serquin_app_qt.h"

#include <unistd.h>

#include <QDialog>
#include <QIcon>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/handover.h"
#include "app/qt_text_qt.h"
#include "app/resources_qt.h"
#include "app/single_instance_qt.h"
#include "resources/strings.h"

const char CSerquinApp::kNoDisplayLine[] =
    "serquin: no display to open the window on (DISPLAY and WAYLAND_DISPLAY are not set or cannot be "
    "opened); search from a terminal with serquin-cli, or start the window on a virtual display with "
    "xvfb-run serquin\n";

namespace {

bool EnvSet(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

// What the toolkit says while the application object is made, held back: when its platform plugin fails,
// only the one line about the display is said; when it succeeds, the messages are passed on.
struct HeldMessage {
  QtMsgType type;
  QByteArray category;
  QString text;
};
QtMessageHandler previousHandler = nullptr;
std::vector<HeldMessage>* heldMessages = nullptr;

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    std::fputs(CSerquinApp::kNoDisplayLine, stderr);
    std::_Exit(2);
  }
  heldMessages->push_back({type, QByteArray(context.category ? context.category : "default"), text});
}

std::vector<std::string> NativeArgs(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  return args;
}

std::string WorkingFolder() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  return error ? std::string("/") : folder.string();
}

}  // namespace

CSerquinApp::CSerquinApp(int& argc, char** argv) : argc_(argc), argv_(argv) {}

bool CSerquinApp::DisplayGiven() {
  return EnvSet("QT_QPA_PLATFORM") || EnvSet("DISPLAY") || EnvSet("WAYLAND_DISPLAY");
}

std::unique_ptr<QApplication> CSerquinApp::CreateApplication(int& argc, char** argv) {
  std::vector<HeldMessage> held;
  heldMessages = &held;
  previousHandler = qInstallMessageHandler(HoldMessage);
  auto app = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(previousHandler);
  heldMessages = nullptr;
  for (const HeldMessage& message : held) {
    const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
    qt_message_output(message.type, context, message.text);
  }
  return app;
}

bool CSerquinApp::LoadJapaneseTranslations(QApplication& app) {
  // "qt_ja" names the toolkit's own catalogues (qtbase, qtmultimedia) and loads them with it.
  auto* translator = new QTranslator(&app);
  if (!translator->load("qt_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QApplication::installTranslator(translator);
  return true;
}

void CSerquinApp::OpenProfileOrWarn(ProfileStore& profile) {
  std::string error;
  if (OpenProfile("", false, profile, error)) return;
  QMessageBox::warning(nullptr, "Serquin",
                       QtString(IDS_PROFILE_UNREADABLE)
                           .arg(QtFromNative(profile.readPath), QString::fromStdString(error)));
  profile.ini = IniFile();
  profile.writePath.clear();
}

int CSerquinApp::Run(const AppWindowFactory& makeWindow) {
  if (!DisplayGiven()) {
    std::fputs(kNoDisplayLine, stderr);
    return 2;
  }
  // Taken before the toolkit removes the options it knows (-display, -name, ...) from argv: the command
  // line is applied, and handed over, exactly as typed.
  const std::vector<std::string> args = NativeArgs(argc_, argv_);
  std::unique_ptr<QApplication> app = CreateApplication(argc_, argv_);
  QApplication::setApplicationName("Serquin");
  QApplication::setApplicationVersion(SERQUIN_VERSION);
  QApplication::setDesktopFileName("serquin");
  EnsureResources();
  QIcon icon(":/serquin.svg");
  icon.addFile(":/serquin.png");
  QApplication::setWindowIcon(icon);
  LoadJapaneseTranslations(*app);

  const QString socketName = QtFromNative(CurrentHandOverSocketName());
  const std::string frame = EncodeHandOver(BuildHandOver(args, WorkingFolder()));
  // An empty frame (a command line too long to hand over) starts a further instance.
  if (!frame.empty() && SendHandOver(socketName, frame) == HandOverResult::kAccepted) return 0;

  // Declared in this order so that the server goes before the window and the window before the profile.
  ProfileStore profile;
  OpenProfileOrWarn(profile);
  AppWindow window = makeWindow(profile, args);
  SingleInstanceServer server(*window.receiver);
  server.Listen(socketName);  // when it cannot, this instance simply takes no hand-overs
  // The process ends when the main window closes, even while another window (help) is still open.
  if (auto* dialog = qobject_cast<QDialog*>(window.widget.get())) {
    QObject::connect(dialog, &QDialog::finished, app.get(), &QApplication::quit, Qt::QueuedConnection);
  }
  window.widget->show();
  return app->exec();
}
