// Starts a window and ends the process as soon as the window is exposed and painted: built
// once with the program's main window (as main() starts it), once with a bare QWidget and once
// with a bare QWidget showing one label, so the benchmark can time whole processes from spawn
// to first paint.
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#ifdef NT_STARTUP_APP
#include "app/FontWarmup.h"
#include "app/ProgramStyle.h"
#include "mainwindow/frmmain.h"
#endif

namespace {

// Exposure is painted synchronously, so leaving on the next turn of the event loop ends the
// run right after the first paint, whatever nested loop is running.
class FirstExpose : public QObject {
  public:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Expose) QTimer::singleShot(0, [] { _exit(0); });
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
#ifdef NT_STARTUP_APP
    nt::FontWarmup fonts;
    QApplication app(argc, argv);
    fonts.wait();  // before anything may use a font
    nt::installProgramStyle();
    FirstExpose watch;
    frmmain window;
    window.Form_Load();
    // Watched from here, the exposure's end is seen before anything start-up queued after it.
    window.windowHandle()->installEventFilter(&watch);
#else
    QApplication app(argc, argv);
    FirstExpose watch;
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.resize(1000, 640);
#ifdef NT_STARTUP_LABEL
    // The bare window with one line of Chinese text: what any window with text pays first.
    QLabel label(QStringLiteral("请及时保存您的作品"), &window);
    label.move(8, 8);
#endif
    window.winId();
    window.windowHandle()->installEventFilter(&watch);
    window.show();
#endif
    return app.exec();
}
