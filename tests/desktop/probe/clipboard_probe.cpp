// A second X client for the desktop tests. "clipboard_probe read" prints the
// clipboard text as UTF-8; "clipboard_probe own TEXT" puts TEXT on the
// clipboard, prints "owned" and keeps serving it until killed.
#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  QGuiApplication application(argc, argv);
  if (argc == 2 && std::strcmp(argv[1], "read") == 0) {
    QByteArray text = QGuiApplication::clipboard()->text().toUtf8();
    std::fwrite(text.data(), 1, static_cast<std::size_t>(text.size()), stdout);
    return 0;
  }
  if (argc == 3 && std::strcmp(argv[1], "own") == 0) {
    QGuiApplication::clipboard()->setText(QString::fromUtf8(argv[2]));
    // Said once the event loop runs, when the ownership has reached the server.
    QTimer::singleShot(0, [] {
      std::puts("owned");
      std::fflush(stdout);
    });
    return application.exec();
  }
  std::fprintf(stderr, "usage: clipboard_probe read | own TEXT\n");
  return 2;
}
