// The floor of a window with vorn's texts, for start-up time and memory: the
// main window's Japanese texts (menu bar, labels, the three edits, the
// judgement panel and the hint bar) at the places, in the fonts and sizes
// and in the colours vorn draws them, watched by the same start-up probe.
// The fonts come from ui/Fonts.h, as vorn's do. There is nothing else: no
// controller, no settings, no toolbar buttons or icons, no menu items, no
// other window. Like the empty-window floor it links the Qt modules of
// vorn's windows, and bench/CMakeLists.txt keeps them all loaded.
//
// What vorn's start-up costs above this program is what its own work
// costs, beyond drawing its texts.

#include "app/StartupProbe.h"
#include "ui/Fonts.h"
#include "ui/NumberEdit.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QMenuBar>

namespace {

constexpr int kClientWidth = 242;
constexpr int kClientHeight = 331;

// Caption, whether it is blue, unit (nullptr: none), as in ui/main/TFVorn.cpp.
struct Row {
    const char* caption;
    bool blue;
    const char* unit;
};
const Row kRows[9] = {
    {"身長", true, "cm"},      {"体重", true, "kg"},      {"脂肪率", true, "%"},
    {"脂肪量", false, "kg"},   {"除脂肪量", false, "kg"}, {"体水分量", false, "kg"},
    {"標準体重", false, "kg"}, {"BMI", false, nullptr},   {"肥満度", false, "%"},
};

// A label; its text in `colour` when one is given, else in the palette's.
QLabel* Label(const char* text, QWidget* parent, const QRect& where, Qt::Alignment alignment,
              const QColor& colour = QColor()) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setGeometry(where);
    label->setAlignment(alignment);
    if (colour.isValid()) {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, colour);
        label->setPalette(pal);
    }
    return label;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setFont(vorn::UiFont(12));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Vorn２"));
    window.setFont(vorn::UiFont(15));
    auto* client = new QWidget(&window);
    client->setFixedSize(kClientWidth, kClientHeight);
    window.setCentralWidget(client);

    // The toolbar's panel, with the date where the buttons end.
    auto* toolbar = new QFrame(client);
    toolbar->setGeometry(0, 0, kClientWidth, 30);
    toolbar->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label("08/30-20", toolbar, QRect(172, 4, kClientWidth - 172 - 4, 22),
          Qt::AlignVCenter | Qt::AlignLeft, Qt::blue)
        ->setFont(vorn::UiFont(13));

    auto* bevel = new QFrame(client);
    bevel->setGeometry(4, 32, kClientWidth - 8, 297 - 32);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    QWidget* firstEdit = nullptr;
    for (int k = 0; k < 9; ++k) {
        const Row& r = kRows[k];
        const int y = 40 + 24 * k;
        Label(r.caption, client, QRect(16, y, 60, 21), Qt::AlignCenter,
              r.blue ? Qt::blue : Qt::black)
            ->setFont(vorn::UiFont(13));
        if (k < 3) {
            auto* edit = new vorn::NumberEdit(client);
            edit->setGeometry(104, y, 60, 21);
            if (!firstEdit)
                firstEdit = edit;
        } else {
            Label("--.--", client, QRect(94, y, 70, 21), Qt::AlignRight | Qt::AlignVCenter);
        }
        if (r.unit)
            Label(r.unit, client, QRect(176, y, 25, 21), Qt::AlignCenter);
    }

    auto* panelBevel = new QFrame(client);
    panelBevel->setGeometry(6, 261, 229, 31);
    panelBevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Label("測定中.....", client, QRect(9, 264, 223, 25), Qt::AlignCenter)
        ->setAutoFillBackground(true);

    auto* hintBar = new QFrame(client);
    hintBar->setGeometry(0, kClientHeight - 32, kClientWidth, 32);
    hintBar->setAutoFillBackground(true);
    QPalette pal = hintBar->palette();
    pal.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    hintBar->setPalette(pal);
    Label("データを入力して下さい。", hintBar, QRect(8, 8, 209, 17),
          Qt::AlignLeft | Qt::AlignVCenter, Qt::white)
        ->setFont(vorn::UiFont(13));

    QMenuBar* menus = window.menuBar();
    menus->setFont(vorn::UiFont(12));
    menus->addMenu(QString::fromUtf8("ﾌｧｲﾙ(&F)"));
    menus->addMenu(QString::fromUtf8("ﾍﾙﾌﾟ(&H)"));

    window.layout()->setSizeConstraint(QLayout::SetFixedSize);
    firstEdit->setFocus();
    vorn::WatchStartup(window);
    window.show();
    return QApplication::exec();
}
