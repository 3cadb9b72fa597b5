#include "ui/main/TFVorn.h"

#include "core/InputCheck.h"
#include "platform/Prompter.h"
#include "platform/qt/PlainText.h"
#include "resources/SvgIcon.h"
#include "ui/Colours.h"
#include "ui/Fonts.h"
#include "ui/NumberEdit.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QToolButton>

namespace vorn {
namespace {

constexpr int kClientWidth = 242;
constexpr int kClientHeight = 331;

// The object names of each quantity's row: its caption is Label<n> (n from
// 1), then the value and the unit label of a quantity that has a unit.
struct RowNames {
    const char* value;
    const char* unit;
};
constexpr RowNames kRowNames[kQuantityCount] = {
    {"Ed_h", "Label17"},  {"Ed_w", "Label18"},  {"Ed_f", "Label10"},
    {"Lb_f", "Label11"},  {"Lb_rm", "Label12"}, {"Lb_wt", "Label13"},
    {"Lb_sw", "Label14"}, {"Lb_bm", nullptr},   {"Lb_ft", "Label16"},
};

QString Q(const char* utf8) {
    return QString::fromUtf8(utf8);
}
QString Q(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

int KeyCode(const QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return key::Enter;
    case Qt::Key_Down:
        return key::Down;
    case Qt::Key_Up:
        return key::Up;
    case Qt::Key_Escape:
        return key::Esc;
    default:
        return 0;
    }
}

} // namespace

TFVorn::TFVorn(MainController::Services services, MainController::State state, QWidget* parent)
    : QMainWindow(parent), boundary_(services.prompter), controller_(*this, services, state),
      dataIn_(*this, dataInDialogs_, services, state) {
    controller_.setDataIn(&dataIn_);
    setObjectName(QStringLiteral("FVorn"));
    setWindowTitle(QStringLiteral("Vorn２"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(UiFont(15));

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    client->setMouseTracking(true);
    client->installEventFilter(this);
    hintHandlers_[client] = &MainController::FormMouseMove;
    setCentralWidget(client);

    buildToolbar(client);
    buildRows(client);
    buildStatus(client);
    buildMenus();

    // Anywhere on the window's own surface brings the default hint back.
    for (QWidget* w : client->findChildren<QWidget*>()) {
        if (hintHandlers_.count(w))
            continue;
        w->setMouseTracking(true);
        w->installEventFilter(this);
        hintHandlers_[w] = &MainController::FormMouseMove;
    }

    // The window shows the application's icon, which main() sets before any
    // window is made. An icon of its own, even of the same picture, would be
    // read and drawn again in every size the window system asks for.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    controls_[MainCtl::Ed_h]->setFocus();

    boundary_.run([this] { controller_.FormCreate(); });
}

void TFVorn::buildToolbar(QWidget* client) {
    auto* panel = new QFrame(client);
    panel->setObjectName(QStringLiteral("Panel2"));
    panel->setGeometry(0, 0, kClientWidth, 30);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setMouseTracking(true);

    struct ButtonSpec {
        const char* name;
        int x;
        const char* icon;
        const char* tip;
        void (MainController::*hint)();
    };
    const ButtonSpec buttons[] = {
        {"SpeedButton1", 4, "measure", "体重測定[Ctrl-M]", &MainController::Button3MouseMove},
        {"SpeedButton2", 31, "clear", "内容消去[Ctrl-C]", &MainController::Button2MouseMove},
        {"SpeedButton3", 58, "save", "結果保存[Ctrl-S]", &MainController::Button4MouseMove},
        {"SpeedButton4", 85, "graph", "グラフ化[Ctrl-G]", &MainController::Button5MouseMove},
        {"SpeedButton6", 112, "targets", "目標値設定[Ctrl-T]",
         &MainController::SpeedButton6MouseMove},
        {"SpeedButton5", 139, "close", "閉じる[Ctrl-Q]", &MainController::Button1MouseMove},
    };
    for (const ButtonSpec& b : buttons) {
        auto* button = new QToolButton(panel);
        button->setObjectName(Q(b.name));
        button->setGeometry(b.x, 4, 22, 22);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setIcon(SvgIcon(QStringLiteral(":/icons/%1.svg").arg(Q(b.icon))));
        button->setIconSize(QSize(16, 16));
        button->setToolTip(Q(b.tip));
        // Read out as the tooltip without its shortcut, e.g. "体重測定".
        const QString tip = Q(b.tip);
        button->setAccessibleName(tip.left(tip.indexOf(QLatin1Char('['))));
        button->setMouseTracking(true);
        button->installEventFilter(this);
        hintHandlers_[button] = b.hint;
    }

    auto* date = new QLabel(Q("08/30-20"), panel);
    date->setObjectName(QStringLiteral("Lb_dt"));
    date->setAccessibleName(Q("起動日時"));
    date->setAccessibleDescription(date->text());
    // 57 pixels fit "08/30-20" in the Windows gothic; the Linux gothics are
    // wider, so the label runs on to the toolbar's edge.
    date->setGeometry(172, 4, kClientWidth - 172 - 4, 22);
    date->setFont(UiFont(13));
    date->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    QPalette pal = date->palette();
    pal.setColor(QPalette::WindowText, Qt::blue);
    date->setPalette(pal);
    controls_[MainCtl::Lb_dt] = date;
}

void TFVorn::buildRows(QWidget* client) {
    auto* frame = new QFrame(client);
    frame->setObjectName(QStringLiteral("Bevel2"));
    frame->setGeometry(4, 32, kClientWidth - 8, 297 - 32);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);

    // One picture for all nine, read when a marker is first shown.
    const QIcon markerIcon = SvgIcon(QStringLiteral(":/icons/marker.svg"));
    for (int k = 0; k < kQuantityCount; ++k) {
        const RowNames& names = kRowNames[k];
        const QString captionText = Q(Facts(k).caption);
        const bool typed = k <= kFatPercent; // the three inputs, captioned in blue
        const int y = 40 + 24 * k;

        auto* caption = new QLabel(captionText, client);
        caption->setObjectName(QStringLiteral("Label%1").arg(k + 1));
        caption->setGeometry(16, y, 60, 21);
        caption->setAlignment(Qt::AlignCenter);
        caption->setFont(UiFont(13));
        QPalette pal = caption->palette();
        pal.setColor(QPalette::WindowText, typed ? Qt::blue : Qt::black);
        caption->setPalette(pal);

        buildValue(client, k, y);

        if (*Facts(k).unit) {
            auto* unit = new QLabel(Q(Facts(k).unit), client);
            unit->setObjectName(Q(names.unit));
            unit->setGeometry(176, y, 25, 21);
            unit->setAlignment(Qt::AlignCenter);
        }

        auto* marker = new QToolButton(client);
        marker->setObjectName(QStringLiteral("Sb%1").arg(k + 1));
        // Its description is the tooltip: the target with its unit.
        marker->setAccessibleName(captionText + Q("の目標値"));
        marker->setGeometry(208, y - 1, 22, 22);
        marker->setAutoRaise(true);
        marker->setFocusPolicy(Qt::NoFocus);
        marker->setIcon(markerIcon);
        marker->setIconSize(QSize(16, 16));
        marker->hide();
        controls_[MarkerOf(k)] = marker;
    }
    setTabOrder(controls_[MainCtl::Ed_h], controls_[MainCtl::Ed_w]);
    setTabOrder(controls_[MainCtl::Ed_w], controls_[MainCtl::Ed_f]);
}

void TFVorn::buildValue(QWidget* client, int k, int y) {
    const QString captionText = Q(Facts(k).caption);
    const char* name = kRowNames[k].value;
    if (k <= kFatPercent) {
        auto* edit = new NumberEdit(client);
        edit->setObjectName(Q(name));
        edit->setAccessibleName(captionText);
        edit->setGeometry(104, y, 60, 21);
        edit->installEventFilter(this);
        controls_[ValueOf(k)] = edit;
        keyHandlers_[edit] = k == kHeight   ? &MainController::Ed_hKeyDown
                             : k == kWeight ? &MainController::Ed_wKeyDown
                                            : &MainController::Ed_fKeyDown;
        return;
    }
    auto* result = new QLabel(QStringLiteral("--.--"), client);
    result->setObjectName(Q(name));
    result->setAccessibleName(captionText);
    result->setAccessibleDescription(result->text());
    result->setGeometry(94, y, 70, 21);
    result->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    controls_[ValueOf(k)] = result;
}

void TFVorn::buildStatus(QWidget* client) {
    auto* frame = new QFrame(client);
    frame->setObjectName(QStringLiteral("Bevel1"));
    frame->setGeometry(6, 261, 229, 31);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setAttribute(Qt::WA_TransparentForMouseEvents);

    auto* status = new QLabel(Q("測定中....."), client);
    status->setObjectName(QStringLiteral("Pl_you"));
    status->setAccessibleName(Q("判定"));
    status->setAccessibleDescription(status->text());
    status->setGeometry(9, 264, 223, 25);
    status->setAlignment(Qt::AlignCenter);
    status->setAutoFillBackground(true);
    controls_[MainCtl::Pl_you] = status;

    auto* bar = new QFrame(client);
    bar->setObjectName(QStringLiteral("Panel1"));
    bar->setGeometry(0, kClientHeight - 32, kClientWidth, 32);
    bar->setAutoFillBackground(true);
    QPalette pal = bar->palette();
    pal.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
    bar->setPalette(pal);
    bar->setMouseTracking(true);

    auto* hint = new QLabel(Q("データを入力して下さい。"), bar);
    hint->setObjectName(QStringLiteral("Lb_cm"));
    hint->setAccessibleName(Q("ヒント"));
    hint->setAccessibleDescription(hint->text());
    hint->setGeometry(8, 8, 209, 17);
    hint->setFont(UiFont(13));
    QPalette hp = hint->palette();
    hp.setColor(QPalette::WindowText, Qt::white);
    hint->setPalette(hp);
    controls_[MainCtl::Lb_cm] = hint;
}

QAction* TFVorn::addCommand(QMenu* menu, const char* name, const char* text,
                            const QKeySequence& keys, void (MainController::*handler)()) {
    auto* act = menu->addAction(Q(text));
    act->setObjectName(Q(name));
    act->setShortcut(keys);
    act->setShortcutContext(Qt::WindowShortcut);
    connect(act, &QAction::triggered, this, [this, handler] { run(handler); });
    shortcuts_.append(keys);
    return act;
}

void TFVorn::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    bar->setFont(UiFont(12));
    QMenu* file = bar->addMenu(Q("ﾌｧｲﾙ(&F)"));
    file->setObjectName(QStringLiteral("File1"));
    file->menuAction()->setObjectName(QStringLiteral("File1"));
    QAction* measure = addCommand(file, "N1", "測定(&M)", QKeySequence(Qt::CTRL | Qt::Key_M),
                                  &MainController::Button3Click);
    QAction* clear = addCommand(file, "C1", "クリア(&C)", QKeySequence(Qt::CTRL | Qt::Key_C),
                                &MainController::Button2Click);
    QAction* save = addCommand(file, "S1", "データ保存(&S)", QKeySequence(Qt::CTRL | Qt::Key_S),
                               &MainController::Button4Click);
    QAction* graph = addCommand(file, "G1", "グラフ描画(&G)", QKeySequence(Qt::CTRL | Qt::Key_G),
                                &MainController::Button5Click);
    file->addSeparator()->setObjectName(QStringLiteral("N3"));
    QAction* targets = addCommand(file, "T1", "目標値設定(&T)", QKeySequence(Qt::CTRL | Qt::Key_T),
                                  &MainController::SpeedButton6Click);
    file->addSeparator()->setObjectName(QStringLiteral("N2"));
    QAction* close = addCommand(file, "Close1", "閉じる(&Q)", QKeySequence(Qt::CTRL | Qt::Key_Q),
                                &MainController::Button1Click);
    buildDataInMenus(file);

    QMenu* help = bar->addMenu(Q("ﾍﾙﾌﾟ(&H)"));
    help->setObjectName(QStringLiteral("Help1"));
    addCommand(help, "Contents1", "目次(&I)", QKeySequence(Qt::CTRL | Qt::Key_H),
               &MainController::Contents1Click);
    addCommand(help, "K1", "ｷｰﾜｰﾄﾞ検索(&K)", QKeySequence(Qt::CTRL | Qt::Key_K),
               &MainController::K1Click);

    // A toolbar button and its menu item share one handler.
    const std::pair<const char*, QAction*> buttons[] = {
        {"SpeedButton1", measure}, {"SpeedButton2", clear},   {"SpeedButton3", save},
        {"SpeedButton4", graph},   {"SpeedButton6", targets}, {"SpeedButton5", close},
    };
    for (const auto& [name, act] : buttons) {
        auto* button = findChild<QToolButton*>(Q(name));
        connect(button, &QToolButton::clicked, act, &QAction::trigger);
    }
}

// Below the window's own items: a measurement at another moment, also by a
// click on the date, and an import.
void TFVorn::buildDataInMenus(QMenu* file) {
    file->addSeparator()->setObjectName(QStringLiteral("N4"));
    auto add = [&](const char* name, const char* text, void (DataInController::*handler)()) {
        QAction* act = file->addAction(Q(text));
        act->setObjectName(Q(name));
        connect(act, &QAction::triggered, this,
                [this, handler] { boundary_.run([this, handler] { (dataIn_.*handler)(); }); });
        return act;
    };
    QAction* moment = add("D1", "測定日時の変更(&D)…", &DataInController::D1Click);
    add("I1", "記録の取り込み(&I)…", &DataInController::I1Click);
    OnClick(controls_.at(MainCtl::Lb_dt), [moment] { moment->trigger(); });
}

void TFVorn::run(void (MainController::*handler)()) {
    boundary_.run([this, handler] { (controller_.*handler)(); });
}

bool TFVorn::isOurShortcut(const QKeyEvent* e) const {
    const QKeySequence pressed(e->keyCombination());
    for (const QKeySequence& s : shortcuts_)
        if (s.matches(pressed) == QKeySequence::ExactMatch)
            return true;
    return false;
}

bool TFVorn::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // A line edit would keep Ctrl+C (copy) and Ctrl+K (cut to end) for
        // itself; in this window the menu's shortcuts win in every field.
        if (keyHandlers_.count(watched) && isOurShortcut(static_cast<QKeyEvent*>(event))) {
            event->ignore();
            return true;
        }
        break;
    case QEvent::KeyPress: {
        auto it = keyHandlers_.find(watched);
        if (it == keyHandlers_.end())
            break;
        const int code = KeyCode(static_cast<QKeyEvent*>(event));
        if (code == 0)
            break;
        auto handler = it->second;
        boundary_.run([this, handler, code] { (controller_.*handler)(code); });
        return true;
    }
    case QEvent::MouseMove:
    case QEvent::Enter: {
        auto it = hintHandlers_.find(watched);
        if (it != hintHandlers_.end()) {
            run(it->second);
            // A button ignores a move without a pressed button; keep the
            // event from reaching the surface below, which would put the
            // default hint back.
            return event->type() == QEvent::MouseMove &&
                   it->second != &MainController::FormMouseMove;
        }
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFVorn::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (centred_)
        return;
    centred_ = true;
    if (QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

// However the window closes, the targets go back to the settings file. A
// measurement on display is offered for saving first, unless the desktop
// session is ending: nobody is there to answer then.
void TFVorn::closeEvent(QCloseEvent* event) {
    bool mayClose = qApp->isSavingSession();
    if (!mayClose)
        boundary_.run([this, &mayClose] { mayClose = controller_.FormCloseQuery(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    run(&MainController::FormClose);
    QMainWindow::closeEvent(event);
}

std::string TFVorn::text(MainCtl c) const {
    QWidget* w = controls_.at(c);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text().toStdString();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text().toStdString();
    return {};
}

void TFVorn::setText(MainCtl c, const std::string& text) {
    QWidget* w = controls_.at(c);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->setText(Q(text));
    else if (auto* label = qobject_cast<QLabel*>(w)) {
        // A screen reader reads a label's accessible name, which says what
        // the label is; what it shows now goes in the description.
        label->setTextFormat(Qt::PlainText);
        label->setText(PlainText(text));
        label->setAccessibleDescription(label->text());
        if (c >= MainCtl::Lb_f && c <= MainCtl::Lb_ft)
            FitFont(label);
    }
}

// A result is 70 pixels wide. A text wider than that (a value in scientific
// form, a long negative one) is drawn in a font small enough to be read
// whole, rather than cut on its left.
void TFVorn::FitFont(QLabel* label) {
    const QFont base = label->parentWidget()->font();
    QFont f = base;
    const int room = label->contentsRect().width() - 2;
    for (int px = base.pixelSize(); px > 6; --px) {
        f.setPixelSize(px);
        if (QFontMetrics(f).horizontalAdvance(label->text()) <= room)
            break;
    }
    if (f.pixelSize() == base.pixelSize())
        label->setFont(QFont()); // nothing set: the window's font again
    else
        label->setFont(f);
}

void TFVorn::setFontColour(MainCtl c, Colour colour) {
    QWidget* w = controls_.at(c);
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, FromBgr(colour));
    pal.setColor(QPalette::Text, FromBgr(colour));
    w->setPalette(pal);
}

void TFVorn::setColour(MainCtl c, Colour colour) {
    QWidget* w = controls_.at(c);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, FromBgr(colour));
    pal.setColor(QPalette::Base, FromBgr(colour));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

void TFVorn::setVisible(MainCtl c, bool visible) {
    controls_.at(c)->setVisible(visible);
}
void TFVorn::setHint(MainCtl c, const std::string& hint) {
    QWidget* w = controls_.at(c);
    // A hint shows a target as the settings file holds it: as text.
    if (!plainTips_)
        plainTips_ = new PlainToolTips(this);
    w->removeEventFilter(plainTips_);
    w->installEventFilter(plainTips_);
    w->setToolTip(PlainText(hint));
}
// A field the controller moves to has its text selected, as one reached by
// Tab: what is typed next replaces it.
void TFVorn::setFocus(MainCtl c) {
    QWidget* w = controls_.at(c);
    w->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->selectAll();
}

void TFVorn::showTargetsDialog() {
    if (showTargets_)
        showTargets_();
}

void TFVorn::closeWindow() {
    close();
}

void TFVorn::setMarkerVisible(int quantity, bool visible) {
    setVisible(MarkerOf(quantity), visible);
}
void TFVorn::setMarkerHint(int quantity, const std::string& hint) {
    setHint(MarkerOf(quantity), hint);
}

} // namespace vorn
