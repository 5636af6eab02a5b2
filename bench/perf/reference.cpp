// The reference for measure.sh: the least a Qt 6 Widgets program of Tarnell's shape does, a
// frameless 488 x 376 window with one line of text and a 100 ms timer. The window is filled
// with the field's plate green, so that the same probe that waits for Tarnell's plates sees
// this program's first frame. With REFERENCE_AT_REST=1 in the environment the timer is not
// started: the window then shows what a Qt program at rest costs. Ctrl+N shows a second
// window, frameless and on top, 427 x 127 in the dialogs' grey with one line of text: what a
// dialog's first show costs at the least.
//
// Build: g++ -O2 -std=c++20 -fPIC reference.cpp $(pkg-config --cflags --libs Qt6Widgets)
#include <QApplication>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QLabel>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setWindowTitle(QStringLiteral("Tarnell reference"));
    window.setFixedSize(488, 376);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(0, 96, 16));
    window.setPalette(palette);
    window.setAutoFillBackground(true);

    // The timer's handler shows the whole seconds since start: a text that changes once a
    // second, written ten times a second, as a clock display would be.
    QLabel* line = new QLabel(QStringLiteral("0 s"), &window);
    line->setGeometry(8, 8, 200, 20);
    QElapsedTimer clock;
    clock.start();
    QTimer timer;
    timer.setInterval(100);
    QObject::connect(&timer, &QTimer::timeout, line,
                     [&] { line->setText(QStringLiteral("%1 s").arg(clock.elapsed() / 1000)); });
    if (qEnvironmentVariableIntValue("REFERENCE_AT_REST") != 1)
        timer.start();

    // Made and shown when asked for, as the game makes its dialogs.
    std::unique_ptr<QWidget> second;
    QShortcut ask(QKeySequence(QStringLiteral("Ctrl+N")), &window);
    QObject::connect(&ask, &QShortcut::activated, &window, [&] {
        if (second)
            return;
        second = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint |
                                                        Qt::WindowStaysOnTopHint);
        second->setWindowTitle(QStringLiteral("Tarnell reference dialog"));
        second->setFixedSize(427, 127);
        QPalette grey = second->palette();
        grey.setColor(QPalette::Window, QColor(128, 128, 128));
        second->setPalette(grey);
        second->setAutoFillBackground(true);
        auto* message = new QLabel(QStringLiteral("Generate the new puzzle?"), second.get());
        message->setGeometry(44, 16, 300, 20);
        second->show();
    });

    window.show();
    // The keyboard reaches the window also where no window manager hands it over, as in the
    // game.
    window.activateWindow();
    return app.exec();
}
