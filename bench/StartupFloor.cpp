// The toolkit's floor for start-up time and memory: one empty window of the
// size given as "WIDTHxHEIGHT" in the first argument, watched by the same
// start-up probe as vorn. It links the Qt modules of vorn's windows, and
// bench/CMakeLists.txt keeps them all loaded although it calls nothing in
// Qt Charts and Qt Help; not Qt SVG, which only draws vorn's pictures.

#include "app/StartupProbe.h"

#include <QApplication>
#include <QWidget>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int width = 320;
    int height = 240;
    if (argc > 1 && std::sscanf(argv[1], "%dx%d", &width, &height) != 2) {
        std::fprintf(stderr, "usage: %s [WIDTHxHEIGHT]\n", argv[0]);
        return 2;
    }

    QWidget window;
    window.setFixedSize(width, height);
    vorn::WatchStartup(window);
    window.show();
    return QApplication::exec();
}
