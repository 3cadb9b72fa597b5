// What a screen reader is told about the controls of the three windows, as
// the program makes them.

#include "support/ProgramFixture.h"
#include "ui/graph/qt/TFGrah.h"
#include "ui/targets/TFTgt.h"

#include <QAbstractButton>
#include <QAccessible>
#include <map>

using namespace vorn;
using namespace vorn::test;

namespace {

QString Accessible(QWidget* w, QAccessible::Text t) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(t) : QString();
}
std::string Name(QWidget* w) {
    return Accessible(w, QAccessible::Name).toStdString();
}
// What the control shows now, for the labels that name themselves.
std::string Shown(QWidget* w) {
    return Accessible(w, QAccessible::Description).toStdString();
}

bool HasJapanese(const QString& s) {
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if ((u >= 0x3040 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) ||
            (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

using AccessibilityTest = ProgramFixture;

// Every input, button and result label of every window: a name, in
// Japanese (or the caption "BMI"), and no two alike in one window, or a
// screen reader user could not tell them apart.
TEST_F(AccessibilityTest, EveryControlHasItsOwnJapaneseName) {
    start();
    const char* const mainLabels[] = {"Lb_f",  "Lb_rm",  "Lb_wt", "Lb_sw", "Lb_bm",
                                      "Lb_ft", "Pl_you", "Lb_dt", "Lb_cm"};
    const struct {
        QWidget* window;
        size_t controls; // inputs, buttons and result labels
    } windows[] = {{&main(), 3 + 6 + 9 + std::size(mainLabels)},
                   {&program->FTgt(), 9 + 9 + 2},
                   {&program->FGrah(), 9 + 1}};
    for (const auto& w : windows) {
        SCOPED_TRACE(w.window->objectName().toStdString());
        QList<QWidget*> controls;
        for (QWidget* c : w.window->findChildren<QWidget*>()) {
            // The other windows are children of the main window; Qt's own
            // helpers (menu bar extension, table corner) are not ours.
            if (c->window() != w.window || c->objectName().isEmpty() ||
                c->objectName().startsWith(QLatin1String("qt_")))
                continue;
            if (qobject_cast<QLineEdit*>(c) || qobject_cast<QAbstractButton*>(c))
                controls << c;
        }
        if (w.window == &main())
            for (const char* name : mainLabels)
                controls << find(name);
        EXPECT_EQ(static_cast<size_t>(controls.size()), w.controls);

        std::map<QString, QString> owners;
        for (QWidget* c : controls) {
            const QString name = Accessible(c, QAccessible::Name);
            SCOPED_TRACE(c->objectName().toStdString() + " \"" + name.toStdString() + "\"");
            EXPECT_TRUE(HasJapanese(name) || name == QLatin1String("BMI"));
            const auto [it, fresh] = owners.emplace(name, c->objectName());
            EXPECT_TRUE(fresh) << "same name as " << it->second.toStdString();
        }
    }
}

// The names follow the rows: the first and last of each kind, the band, and
// the buttons that carry only an icon.
TEST_F(AccessibilityTest, NamesFollowTheRowCaptions) {
    start();
    const struct {
        QWidget* window;
        const char* control;
        const char* name;
    } cases[] = {
        {&main(), "Ed_h", "身長"},
        {&main(), "Ed_f", "脂肪率"},
        {&main(), "Lb_f", "脂肪量"},
        {&main(), "Lb_bm", "BMI"},
        {&main(), "Lb_ft", "肥満度"},
        {&main(), "Sb1", "身長の目標値"},
        {&main(), "Sb9", "肥満度の目標値"},
        {&main(), "Pl_you", "判定"},
        {&main(), "SpeedButton1", "体重測定"},
        {&main(), "SpeedButton5", "閉じる"},
        {&program->FTgt(), "CheckBox1", "身長"},
        {&program->FTgt(), "Edit2", "体重の目標値"},
        {&program->FTgt(), "Edit9", "肥満度の目標値"},
        {&program->FTgt(), "Button1", "設定完了"},
        {&program->FGrah(), "RadioButton8", "身長"},
        {&program->FGrah(), "Button1", "全データ"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Name(find(c.control, c.window)), c.name) << c.control;
}

// A measurement changes what the results and the band read out, and the
// clear command takes it back; the names stay.
TEST_F(AccessibilityTest, ResultsAndBandAreReadOutAsTheyChange) {
    start();
    QWidget* band = find("Pl_you");
    QWidget* bmi = find("Lb_bm");
    EXPECT_EQ(Shown(band), "測定中.....");
    EXPECT_EQ(Shown(bmi), "--.--");
    EXPECT_EQ(Shown(find("Lb_dt")), "08/30-20");

    weighIn();
    const struct {
        const char* control;
        const char* shown;
    } measured[] = {{"Lb_f", "13.00"},     {"Lb_rm", "52.00"}, {"Lb_wt", "38.06"},
                    {"Lb_sw", "63.58"},    {"Lb_bm", "22.49"}, {"Lb_ft", "2.23"},
                    {"Pl_you", "正常体重"}};
    for (const auto& m : measured)
        EXPECT_EQ(Shown(find(m.control)), m.shown) << m.control;
    EXPECT_EQ(Name(band), "判定");
    EXPECT_EQ(Name(bmi), "BMI");

    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Shown(band), "測定中.....");
    EXPECT_EQ(Shown(bmi), "--.--");
}

// A marker reads out its target, with the unit where the row has one.
TEST_F(AccessibilityTest, MarkersReadOutTheirTargets) {
    putConf("[TGT]\nVAL2=65.00\nVAL8=22.00\n");
    start();
    const struct {
        const char* marker;
        const char* name;
        const char* shown;
    } cases[] = {{"Sb2", "体重の目標値", "65.00kg"}, {"Sb8", "BMIの目標値", "22.00"}};
    for (const auto& c : cases) {
        QWidget* marker = find(c.marker);
        ASSERT_TRUE(marker->isVisible()) << c.marker;
        EXPECT_EQ(Name(marker), c.name);
        EXPECT_EQ(Shown(marker), c.shown);
    }
}

} // namespace
