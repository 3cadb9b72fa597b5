#include "ui/targets/TargetsController.h"
#include "core/Errors.h"
#include "support/Cases.h"
#include "support/fakes/FakeMarkers.h"
#include "support/fakes/FakeSeams.h"
#include "ui/targets/TargetsView.h"

#include <array>

using namespace vorn;
using namespace vorn::test;

namespace {

using Flags = std::array<bool, 9>;
using Hints = std::array<std::string, 9>;

// The dialog as plain data, made from a table as at start-up. Changing a
// box runs the click handler, as the real check box does.
struct Dialog : TargetsView {
    struct Row {
        bool ticked = false;
        std::string text;
        bool enabled = false;
        Colour colour = colour::Silver;
    };
    std::array<Row, 10> rows; // 1..9
    int focused = 0, closes = 0;
    FakeMarkers markers;
    FakePrompter prompter;
    TargetTable table;
    TargetsController c{*this, markers, table, prompter};

    explicit Dialog(const TargetTable& initial = {}, const Flags& shown = {}) {
        table = initial;
        markers.visible = shown;
        c.FormCreate();
    }
    // The user ticks the row (if need be) and types into its edit.
    void type(int row, const std::string& text) {
        setChecked(row, true);
        rows[row].text = text;
        focused = 0; // what the tick focused, not what a command did
    }

    bool checked(int r) const override { return rows[r].ticked; }
    void setChecked(int r, bool t) override {
        if (rows[r].ticked != t) {
            rows[r].ticked = t;
            c.CheckBoxClick(r);
        }
    }
    std::string editText(int r) const override { return rows[r].text; }
    void setEditText(int r, const std::string& t) override { rows[r].text = t; }
    void setEditEnabled(int r, bool e) override { rows[r].enabled = e; }
    void setEditColour(int r, Colour col) override { rows[r].colour = col; }
    void focusEdit(int r) override { focused = r; }
    void closeDialog() override { ++closes; }
};

} // namespace

TEST(TargetsController, EmptyRowsClearTheirTargetsTickedOrNot) {
    TargetTable all;
    all.fill("1.00");
    Dialog d(all, Flags{true, true, true, true, true, true, true, true, true});
    for (int r = 1; r <= 8; ++r)
        d.setChecked(r, false);
    d.rows[9].text = ""; // still ticked
    d.c.Button1Click();
    EXPECT_EQ(d.table, TargetTable{});
    EXPECT_EQ(d.markers.visible, Flags{});
    EXPECT_EQ(d.markers.hints, (Hints{"cm", "kg", "%", "kg", "kg", "kg", "kg", "", "%"}));
    EXPECT_EQ(d.closes, 1);
    EXPECT_TRUE(d.prompter.shown.empty());
}

namespace {
struct RowValue {
    int row;
    const char* typed;
    const char* stored;
    bool passes;
    const char* hint;
};
struct TargetRow : ::testing::TestWithParam<RowValue> {};
const RowValue kRowValues[] = {
    {1, "299.996", "300.00", false, "300.00cm"},
    {1, "299.994", "299.99", true, "299.99cm"},
    {9, "-15", "-15.00", true, "-15.00%"},
    {8, "22", "22.00", true, "22.00"},
    {2, " 65 ", "65.00", true, "65.00kg"},
    {4, "1234.567", "1234.60", false, "1234.60kg"},
    {2, "1.005", "1.01", true, "1.01kg"}, // rounded as it reads
    {3, "0", "0.00", true, "0.00%"},
    {5, "-1e3", "-1000.00", true, "-1000.00kg"},
    {4, "1e5", "1.0000E+5", false, "1.0000E+5kg"},
    // Each limit is exclusive: the value at it fails, just below passes.
    {1, "300", "300.00", false, "300.00cm"},
    {2, "1000", "1000.00", false, "1000.00kg"},
    {2, "999.99", "999.99", true, "999.99kg"},
    {3, "100", "100.00", false, "100.00%"},
    {3, "99.99", "99.99", true, "99.99%"},
    {4, "1000", "1000.00", false, "1000.00kg"},
    {4, "999.99", "999.99", true, "999.99kg"},
    {5, "1000", "1000.00", false, "1000.00kg"},
    {6, "732", "732.00", false, "732.00kg"},
    {6, "731.99", "731.99", true, "731.99kg"},
    {7, "198", "198.00", false, "198.00kg"},
    {7, "197.99", "197.99", true, "197.99kg"},
    {8, "1000", "1000.00", false, "1000.00"},
    {8, "999.99", "999.99", true, "999.99"},
    {9, "100", "100.00", false, "100.00%"},
    {9, "99.994", "99.99", true, "99.99%"},
};
std::string RowValueName(const ::testing::TestParamInfo<RowValue>& p) {
    const std::string typed = p.param.typed;
    const std::string sign = typed[0] == '-' ? " minus" : "";
    return CaseName("row " + std::to_string(p.param.row) + sign + " " + typed);
}
} // namespace

TEST_P(TargetRow, IsRoundedThenTestedAgainstTheRowLimit) {
    const RowValue& k = GetParam();
    Dialog d;
    d.type(k.row, k.typed);
    d.c.Button1Click();
    const size_t e = static_cast<size_t>(k.row - 1);
    EXPECT_EQ(d.table[e], k.stored);
    EXPECT_EQ(d.markers.hints[e], k.hint);
    EXPECT_EQ(d.markers.visible[e], k.passes);
    EXPECT_EQ(d.closes, k.passes ? 1 : 0);
    EXPECT_EQ(d.prompter.shown.size(), k.passes ? 0u : 1u);
    EXPECT_EQ(d.focused, k.passes ? 0 : k.row);
    EXPECT_EQ(d.rows[k.row].text, k.typed); // the edit keeps what was typed
}
INSTANTIATE_TEST_SUITE_P(Every, TargetRow, ::testing::ValuesIn(kRowValues), RowValueName);

TEST(TargetsController, SeveralFailingRowsGiveOneMessageAndFocusTheLast) {
    Dialog d({}, Flags{false, false, false, false, false, false, true});
    d.type(1, "170");
    d.type(2, "1000");
    d.type(7, "250");
    d.c.Button1Click();
    EXPECT_EQ(d.prompter.shown, (Boxes{{"正しい値を設定して下さい。", "設定ﾍﾙﾌﾟ", 0x40}}));
    EXPECT_EQ(d.focused, 7);
    EXPECT_EQ(d.closes, 0);
    EXPECT_EQ(d.table, (TargetTable{"170.00", "1000.00", "", "", "", "", "250.00", "", ""}));
    // A failing row's marker keeps its visibility; its hint shows the new text.
    EXPECT_EQ(d.markers.visible, (Flags{true, false, false, false, false, false, true}));
    EXPECT_EQ(d.markers.hints[6], "250.00kg");
}

TEST(TargetsController, TextThatIsNotANumberStopsAtItsRow) {
    Dialog d({"", "", "50.00", "", "", "", "", "", "10.00"},
             Flags{false, false, true, false, false, false, false, false, true});
    Hints old;
    old.fill("old");
    d.markers.hints = old;
    d.type(1, "170");
    d.type(2, "65");
    d.type(3, "2O");
    d.setChecked(9, false);
    EXPECT_THROW(d.c.Button1Click(), ConvertError);
    EXPECT_EQ(d.table, (TargetTable{"170.00", "65.00", "50.00", "", "", "", "", "", "10.00"}));
    EXPECT_EQ(d.markers.visible,
              (Flags{true, true, true, false, false, false, false, false, true}));
    EXPECT_EQ(d.markers.hints, old);
    EXPECT_EQ(d.closes, 0);
    EXPECT_TRUE(d.prompter.shown.empty());
}

TEST(TargetsController, UntickedRowSurvivesCancelUntilTheNextOk) {
    Dialog d({"", "65.00", "", "", "", "", "", "", ""}, Flags{false, true});
    d.setChecked(2, false);
    EXPECT_EQ(d.rows[2].text, "");
    EXPECT_FALSE(d.rows[2].enabled);
    d.c.Button2Click();
    EXPECT_EQ(d.closes, 1);
    EXPECT_EQ(d.table[1], "65.00");
    EXPECT_TRUE(d.markers.visible[1]);
    EXPECT_EQ(d.markers.hints[1], "");
    // The next showing finds the row as the user left it; ticking shows it empty.
    EXPECT_FALSE(d.rows[2].ticked);
    d.setChecked(2, true);
    EXPECT_EQ(d.rows[2].text, "");
    d.c.Button1Click();
    EXPECT_EQ(d.table[1], "");
    EXPECT_FALSE(d.markers.visible[1]);
    EXPECT_EQ(d.closes, 2);
}

TEST(TargetsController, CreationCopiesTheTableVerbatim) {
    const TargetTable before = {"170.00", "", "abc", "", "", "", " 60", "", ""};
    Dialog d(before);
    for (int r = 1; r <= 9; ++r) {
        const std::string& entry = before[static_cast<size_t>(r - 1)];
        SCOPED_TRACE(r);
        EXPECT_EQ(d.rows[r].ticked, !entry.empty());
        EXPECT_EQ(d.rows[r].enabled, !entry.empty());
        EXPECT_EQ(d.rows[r].colour, entry.empty() ? colour::Silver : colour::White);
        EXPECT_EQ(d.rows[r].text, entry);
    }
    EXPECT_EQ(d.focused, 7); // the last row with a target gets the first focus
    EXPECT_EQ(d.table, before);
    EXPECT_EQ(d.markers.visible, Flags{});
}
