#include "ui/targets/TFTgt.h"

#include "ui/Colours.h"
#include "ui/Fonts.h"
#include "ui/NumberEdit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace vorn {

TFTgt::TFTgt(Prompter& prompter, MarkerView& markers, TargetTable& table, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      boundary_(prompter), controller_(*this, markers, table, prompter) {
    setObjectName(QStringLiteral("FTgt"));
    setWindowTitle(QStringLiteral("目標値設定"));
    setFont(UiFont(12));
    setFixedSize(192, 272);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    groupBox1_ = new QGroupBox(QStringLiteral("  各種目標値  "), this);
    groupBox1_->setObjectName(QStringLiteral("GroupBox1"));
    groupBox1_->setGeometry(0, 0, 192, 241);
    buildRows();
    buildButtons();

    QList<QWidget*> order(checkBoxes_.begin(), checkBoxes_.end());
    for (int r = 1; r <= kQuantityCount; ++r)
        if (r != 2)
            order.append(edit(r));
    order << button1_ << button2_ << edit(2);
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    boundary_.run([this] { controller_.FormCreate(); });
}

void TFTgt::buildRows() {
    const QFont rowFont = UiFont(13);
    int label = 0;
    for (int r = 1; r <= kQuantityCount; ++r) {
        const QuantityFacts& facts = Facts(r - 1);
        const QString caption = QString::fromUtf8(facts.caption);
        auto* check = new QCheckBox(caption, groupBox1_);
        check->setObjectName(QStringLiteral("CheckBox%1").arg(r));
        check->setAccessibleName(caption);
        check->setGeometry(8, 18 + 24 * (r - 1), 81, 17);
        checkBoxes_[static_cast<size_t>(r - 1)] = check;

        // Edit2 belongs to the dialog itself; as the group box sits at the
        // dialog's origin, it lies at the same place on the screen.
        auto* ed = new NumberEdit(r == 2 ? static_cast<QWidget*>(this) : groupBox1_);
        ed->setObjectName(QStringLiteral("Edit%1").arg(r));
        ed->setAccessibleName(caption + QStringLiteral("の目標値"));
        ed->setGeometry(96, 16 + 24 * (r - 1), 65, 21);
        ed->setFont(rowFont);
        ed->setEnabled(false);
        edits_[static_cast<size_t>(r - 1)] = ed;
        setEditColour(r, colour::Silver);

        if (*facts.unit) { // BMI has no unit label
            auto* unit = new QLabel(QString::fromUtf8(facts.unit), groupBox1_);
            unit->setObjectName(QStringLiteral("Label%1").arg(++label));
            unit->setGeometry(r == 1 ? 168 : 167, 18 + 24 * (r - 1), 17, 17);
            unit->setAlignment(Qt::AlignCenter);
            unit->setFont(rowFont);
        }

        // toggled, not clicked: the handler runs on every change of the box,
        // the program's own included.
        connect(check, &QCheckBox::toggled, this,
                [this, r] { boundary_.run([this, r] { controller_.CheckBoxClick(r); }); });
    }
}

void TFTgt::buildButtons() {
    button1_ = new QPushButton(QStringLiteral("設定完了(&S)"), this);
    button1_->setObjectName(QStringLiteral("Button1"));
    button1_->setAccessibleName(QStringLiteral("設定完了"));
    button1_->setGeometry(0, 244, 97, 25);
    button2_ = new QPushButton(QStringLiteral("キャンセル(&C)"), this);
    button2_->setObjectName(QStringLiteral("Button2"));
    button2_->setAccessibleName(QStringLiteral("キャンセル"));
    button2_->setGeometry(96, 244, 97, 25);
    for (QPushButton* b : {button1_, button2_}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    connect(button1_, &QPushButton::clicked, this,
            [this] { boundary_.run([this] { controller_.Button1Click(); }); });
    connect(button2_, &QPushButton::clicked, this,
            [this] { boundary_.run([this] { controller_.Button2Click(); }); });
}

bool TFTgt::checked(int row) const {
    return box(row)->isChecked();
}
void TFTgt::setChecked(int row, bool ticked) {
    box(row)->setChecked(ticked);
}
std::string TFTgt::editText(int row) const {
    return edit(row)->text().toStdString();
}
void TFTgt::setEditText(int row, const std::string& text) {
    edit(row)->setText(QString::fromStdString(text));
    // A long entry shows from its first character.
    edit(row)->setCursorPosition(0);
}
void TFTgt::setEditEnabled(int row, bool enabled) {
    edit(row)->setEnabled(enabled);
}

void TFTgt::setEditColour(int row, Colour colour) {
    QPalette palette = edit(row)->palette();
    palette.setColor(QPalette::Base, FromBgr(colour)); // every colour group, disabled too
    edit(row)->setPalette(palette);
}

// Outside an active window, setFocus only records the widget as the one to
// focus when the window is next activated.
void TFTgt::focusEdit(int row) {
    edit(row)->setFocus(Qt::OtherFocusReason);
}

void TFTgt::closeDialog() {
    accept();
}

void TFTgt::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A button without autoDefault passes Enter on to us.
        if (QWidget* f = focusWidget(); f == button1_ || f == button2_)
            static_cast<QPushButton*>(f)->click();
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

} // namespace vorn
