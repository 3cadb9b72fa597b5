#include "core/Errors.h"
#include "core/InputCheck.h"
#include "support/Cases.h"
#include "support/MainFixture.h"
#include "ui/CommandBoundary.h"

#include <functional>
#include <new>
#include <stdexcept>

using namespace vorn;
using namespace vorn::test;

namespace {
using MeasureCommand = MainFixture;
using KeyChain = MainFixture;
using MainCommands = MainFixture;
} // namespace

TEST_F(MeasureCommand, ShowsResultsAndBand) {
    type("170", "65", "20");
    c->Button3Click();
    EXPECT_EQ(shown(MainCtl::Lb_f), "13.00");
    EXPECT_EQ(shown(MainCtl::Lb_rm), "52.00");
    EXPECT_EQ(shown(MainCtl::Lb_wt), "38.06");
    EXPECT_EQ(shown(MainCtl::Lb_sw), "63.58");
    EXPECT_EQ(shown(MainCtl::Lb_bm), "22.49");
    EXPECT_EQ(shown(MainCtl::Lb_ft), "2.23");
    EXPECT_EQ(shown(MainCtl::Pl_you), "正常体重");
    EXPECT_EQ(view.colours[MainCtl::Pl_you], colour::Lime);
    EXPECT_EQ(view.fontColours[MainCtl::Pl_you], colour::Black);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(MeasureCommand, WithoutFatResetsTheFatLabelsAndKeepsTheFatFields) {
    type("170", "65", "20");
    c->Button3Click();
    type("160", "45", "");
    c->Button3Click();
    EXPECT_EQ(shown(MainCtl::Lb_f), "--.--");
    EXPECT_EQ(shown(MainCtl::Lb_rm), "--.--");
    EXPECT_EQ(shown(MainCtl::Lb_wt), "--.--");
    EXPECT_EQ(shown(MainCtl::Lb_bm), "17.58");
    EXPECT_EQ(shown(MainCtl::Lb_ft), "-20.10");
    EXPECT_EQ(shown(MainCtl::Pl_you), "やせ過ぎ");
    EXPECT_EQ(m.fatPercent, 20.0f);
    EXPECT_EQ(m.fatMass, 13.0f);
}

TEST_F(MeasureCommand, ConversionErrorKeepsEarlierFieldsAndTheScreen) {
    m.weight = 50.0f;
    type("170", "6o", "");
    const int before = view.writes;
    try {
        c->Button3Click();
        FAIL() << "no error";
    } catch (const ConvertError& e) {
        EXPECT_NE(std::string(e.what()).find("'6o'"), std::string::npos);
    }
    EXPECT_EQ(m.height, 170.0f);
    EXPECT_EQ(m.weight, 50.0f);
    EXPECT_EQ(view.writes, before);
}

TEST_F(MeasureCommand, HeightZeroWritesNoLabel) {
    type("0", "60", "");
    const int before = view.writes;
    EXPECT_THROW(c->Button3Click(), ArithmeticError);
    EXPECT_EQ(view.writes, before);
}

// By the measure command, or by Enter in the fat field.
TEST_F(MeasureCommand, EmptinessChecks) {
    struct Case {
        const char *h, *w, *f;
        bool enter;
        const char *message, *caption;
        MainCtl focus;
    } cases[] = {
        {"", "", "", false, "データを入力してください。", "警告1ﾍﾙﾌﾟ", MainCtl::Ed_h},
        {"170", "", "", false, "身長、体重を入力して下さい。", "警告2ﾍﾙﾌﾟ", MainCtl::Ed_w},
        {"", "60", "20", false, "身長、体重を入力して下さい。", "警告2ﾍﾙﾌﾟ", MainCtl::Ed_h},
        {"", "", "20", true, "身長、体重を入力して下さい。", "警告2ﾍﾙﾌﾟ", MainCtl::Ed_h},
        {"", "", "", true, "データを入力してください。", "警告1ﾍﾙﾌﾟ", MainCtl::Ed_h},
    };
    for (const Case& k : cases) {
        prompter.shown.clear();
        view.focus = MainCtl::Ed_f;
        type(k.h, k.w, k.f);
        k.enter ? void(c->Ed_fKeyDown(key::Enter)) : c->Button3Click();
        EXPECT_EQ(prompter.shown, (Boxes{{k.message, k.caption, 0x30}}));
        EXPECT_EQ(view.focus, k.focus);
        EXPECT_EQ(shown(MainCtl::Lb_ft), "--.--");
    }
}

namespace {
struct RangeKey {
    MainCtl field;
    const char* text;
    int key;
    const char* message; // nullptr: no message
    MainCtl focus;
};
struct RangeCheck : MainFixture, ::testing::WithParamInterface<RangeKey> {};
const RangeKey kRangeKeys[] = {
    {MainCtl::Ed_h, "300", key::Enter, nullptr, MainCtl::Ed_w},
    {MainCtl::Ed_h, "0", key::Down, nullptr, MainCtl::Ed_w},
    {MainCtl::Ed_h, "300.5", key::Enter, "正の実数(300以下)を入力してください。", MainCtl::Ed_h},
    {MainCtl::Ed_h, "-0.5", key::Enter, "正の実数(300以下)を入力してください。", MainCtl::Ed_h},
    {MainCtl::Ed_h, "", key::Enter, nullptr, MainCtl::Ed_h},
    {MainCtl::Ed_h, "170", key::Up, nullptr, MainCtl::Ed_h},
    {MainCtl::Ed_h, "170", key::Esc, nullptr, MainCtl::Ed_h},
    {MainCtl::Ed_w, "1000", key::Enter, nullptr, MainCtl::Ed_f},
    {MainCtl::Ed_w, "1000.5", key::Down, "正の実数(1t以下)を入力してください。", MainCtl::Ed_w},
    {MainCtl::Ed_w, "", key::Enter, nullptr, MainCtl::Ed_w},
    {MainCtl::Ed_w, "60", key::Up, nullptr, MainCtl::Ed_h},
    {MainCtl::Ed_w, "60", key::Esc, nullptr, MainCtl::Ed_h},
    {MainCtl::Ed_f, "100.5", key::Enter, "正の実数(100以下)を入力してください。", MainCtl::Ed_f},
    {MainCtl::Ed_f, "20", key::Up, nullptr, MainCtl::Ed_w},
    {MainCtl::Ed_f, "20", key::Esc, nullptr, MainCtl::Ed_w},
};
std::string RangeKeyName(const ::testing::TestParamInfo<RangeKey>& p) {
    const RangeKey& k = p.param;
    const char* field = k.field == MainCtl::Ed_h   ? "height"
                        : k.field == MainCtl::Ed_w ? "weight"
                                                   : "fat";
    const char* key = k.key == key::Enter ? "Enter"
                      : k.key == key::Esc ? "Esc"
                      : k.key == key::Up  ? "Up"
                                          : "Down";
    return CaseName(std::string(field) + " " + k.text + " " + key);
}
} // namespace

TEST_P(RangeCheck, WarnsOrMovesTheFocusAlongTheChain) {
    const RangeKey& k = GetParam();
    view.focus = k.field;
    view.texts[k.field] = k.text;
    if (k.field == MainCtl::Ed_h)
        c->Ed_hKeyDown(k.key);
    else if (k.field == MainCtl::Ed_w)
        c->Ed_wKeyDown(k.key);
    else
        c->Ed_fKeyDown(k.key);
    EXPECT_EQ(prompter.shown, (k.message ? Boxes{{k.message, "注意ﾍﾙﾌﾟ", 0x30}} : Boxes{}));
    EXPECT_EQ(view.focus, k.focus);
}
INSTANTIATE_TEST_SUITE_P(Every, RangeCheck, ::testing::ValuesIn(kRangeKeys), RangeKeyName);

TEST_F(KeyChain, OutOfRangeValueIsStoredAllTheSame) {
    view.texts[MainCtl::Ed_h] = "500";
    c->Ed_hKeyDown(key::Enter);
    EXPECT_EQ(m.height, 500.0f);
}

TEST_F(KeyChain, OtherKeysAreLeftToTheField) {
    EXPECT_FALSE(c->Ed_hKeyDown('A'));
    EXPECT_FALSE(c->Ed_wKeyDown(37));
    EXPECT_FALSE(c->Ed_fKeyDown(9));
}

TEST_F(KeyChain, EnterInFatFieldMeasures) {
    type("170", "65", "20");
    c->Ed_fKeyDown(key::Enter);
    EXPECT_EQ(shown(MainCtl::Lb_ft), "2.23");

    type("170", "60", "");
    m.fatPercent = 7.0f;
    c->Ed_fKeyDown(key::Enter);
    EXPECT_EQ(m.fatPercent, 0.0f);
    EXPECT_EQ(shown(MainCtl::Lb_wt), "--.--");
    EXPECT_EQ(shown(MainCtl::Lb_ft), "-5.63");
}

TEST_F(KeyChain, LettersStopTheCheckBeforeAnythingIsStored) {
    m.height = 1.0f;
    view.focus = MainCtl::Ed_h;
    view.texts[MainCtl::Ed_h] = "abc";
    EXPECT_THROW(c->Ed_hKeyDown(key::Enter), ConvertError);
    EXPECT_EQ(m.height, 1.0f);
    EXPECT_EQ(view.focus, MainCtl::Ed_h);
}

TEST_F(MainCommands, CreationSetsMarkersAndDateStamp) {
    settings.values["TGT"]["VAL2"] = "65.00";
    settings.values["TGT"]["VAL8"] = "22.00";
    settings.values["TGT"]["VAL9"] = "abc";
    settings.values["TGT"]["VAL1"] = "";
    settings.opened.clear();
    settings.releases = 0;
    c->FormCreate();
    EXPECT_EQ(settings.opened, std::vector<std::string>{"Tav\\Vorn2"});
    EXPECT_EQ(settings.releases, 1);
    EXPECT_TRUE(view.isVisible(MainCtl::Sb2));
    EXPECT_EQ(view.hints[MainCtl::Sb2], "65.00kg");
    EXPECT_EQ(view.hints[MainCtl::Sb8], "22.00");
    EXPECT_EQ(view.hints[MainCtl::Sb9], "abc%");
    EXPECT_FALSE(view.isVisible(MainCtl::Sb1));
    EXPECT_FALSE(view.isVisible(MainCtl::Sb3));
    EXPECT_EQ(dateStamp, "083020");
    EXPECT_EQ(shown(MainCtl::Lb_dt), "08/30-20");
}

TEST_F(MainCommands, DateStampPadsEachPart) {
    clock.time = LocalTime{2027, 3, 1, 9, 5};
    c->FormCreate();
    EXPECT_EQ(dateStamp, "030109");
    EXPECT_EQ(shown(MainCtl::Lb_dt), "03/01-09");
}

TEST_F(MainCommands, ClearResetsTheDisplayButNotTheMeasurement) {
    type("170", "65", "20");
    c->Button3Click();
    view.texts[MainCtl::Lb_cm] = "測定結果を保存します。";
    view.focus = MainCtl::Ed_f;
    c->Button2Click();
    for (MainCtl ctl : {MainCtl::Ed_h, MainCtl::Ed_w, MainCtl::Ed_f})
        EXPECT_EQ(shown(ctl), "");
    for (MainCtl ctl : {MainCtl::Lb_f, MainCtl::Lb_rm, MainCtl::Lb_wt, MainCtl::Lb_sw,
                        MainCtl::Lb_bm, MainCtl::Lb_ft})
        EXPECT_EQ(shown(ctl), "--.--");
    EXPECT_EQ(shown(MainCtl::Pl_you), "測定中.....");
    EXPECT_EQ(view.colours[MainCtl::Pl_you], colour::Silver);
    EXPECT_EQ(view.fontColours[MainCtl::Pl_you], colour::Black);
    EXPECT_EQ(view.focus, MainCtl::Ed_h);
    EXPECT_EQ(shown(MainCtl::Lb_cm), "測定結果を保存します。");
    EXPECT_EQ(m.weight, 65.0f);
    EXPECT_TRUE(c->NothingOnDisplay());
}

TEST_F(MainCommands, PointerHints) {
    struct Case {
        void (MainController::*handler)();
        const char* text;
    } cases[] = {
        {&MainController::Button3MouseMove, "体重を測定します。"},
        {&MainController::Button2MouseMove, "入力情報をすべて消去します。"},
        {&MainController::Button4MouseMove, "測定結果を保存します。"},
        {&MainController::Button5MouseMove, "結果をグラフ化します。"},
        {&MainController::SpeedButton6MouseMove, "各種目標値を設定します。"},
        {&MainController::Button1MouseMove, "体重測定を終了します。"},
        {&MainController::FormMouseMove, "データを入力して下さい。"},
    };
    for (const Case& k : cases) {
        ((*c).*k.handler)();
        EXPECT_EQ(shown(MainCtl::Lb_cm), k.text);
    }
}

TEST_F(MainCommands, HelpAndTargetsCommands) {
    c->Contents1Click();
    c->K1Click();
    ASSERT_EQ(help.calls.size(), 2u);
    EXPECT_EQ(help.calls[0], (std::pair<unsigned, long>{11, 0}));
    EXPECT_EQ(help.calls[1], (std::pair<unsigned, long>{0x0101, 0}));
    c->SpeedButton6Click();
    EXPECT_EQ(view.targetsShown, 1);
}

TEST_F(MainCommands, CloseWritesAllNineTargetsAndCloses) {
    targets[1] = "65.00";
    c->Button1Click();
    EXPECT_EQ(settings.writes, 9);
    EXPECT_EQ(settings.values["TGT"]["VAL2"], "65.00");
    EXPECT_EQ(settings.values["TGT"]["VAL9"], "");
    EXPECT_EQ(view.closed, 1);
}

// Every other end of the program keeps the targets as Ctrl+Q does, once:
// the window's frame warns when it cannot, the session's end only says why.
TEST_F(MainCommands, EveryEndWritesTheTargetsOnce) {
    settings.failReleaseWith = "書けません";
    EXPECT_EQ(c->SessionEnd(), "書けません");
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_TRUE(c->FormCloseQuery()); // nothing on display to ask about
    c->FormClose();
    EXPECT_EQ(prompter.shown, (Boxes{{"書けません", "警告ﾍﾙﾌﾟ", 0x30}}));
    settings.failReleaseWith.clear();
    settings.writes = 0;
    c->Button1Click();
    c->FormClose();
    EXPECT_EQ(settings.writes, 9);
}

namespace {
const std::string kFault =
    "プログラムの内部で想定していないエラーが発生したため、操作を中止しました。";
const std::string kUnknown = "予期しないエラーが発生しました。";
struct Thrown {
    const char* name;
    std::function<void()> command;
    std::string text;
};
struct CommandBoundaryError : ::testing::TestWithParam<Thrown> {};
const Thrown kThrown[] = {
    {"ConvertError", [] { throw ConvertError("'6x5' は有効な数値ではありません。"); },
     "'6x5' は有効な数値ではありません。"},
    {"StoreError", [] { throw StoreError("目標値を保存できませんでした。"); },
     "目標値を保存できませんでした。"},
    {"logic_error", [] { throw std::logic_error("the graph window is not there yet"); }, kFault},
    {"out_of_range", [] { throw std::out_of_range("setRows: no rows 1000 to 1000"); }, kFault},
    {"bad_alloc", [] { throw std::bad_alloc(); }, "メモリが足りないため、操作を中止しました。"},
    {"runtime_error", [] { throw std::runtime_error("Input/output error"); }, kUnknown},
    {"int", [] { throw 42; }, kUnknown},
};
} // namespace

// What reaches the command boundary is shown in Japanese: a user's error as
// it says, a fault of the program with words of the boundary's own.
TEST_P(CommandBoundaryError, IsShownInJapanese) {
    FakePrompter prompter;
    CommandBoundary boundary(prompter);
    EXPECT_FALSE(boundary.run(GetParam().command));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, GetParam().text);
    EXPECT_EQ(prompter.shown[0].caption, "Vorn２");
}
INSTANTIATE_TEST_SUITE_P(Every, CommandBoundaryError, ::testing::ValuesIn(kThrown), ByName());
