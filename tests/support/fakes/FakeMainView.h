#pragma once

#include "ui/main/MainView.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vorn::test {

// The main window as plain data, started as the real window starts.
class FakeMainView : public MainView {
public:
    FakeMainView() {
        for (MainCtl c : {MainCtl::Lb_f, MainCtl::Lb_rm, MainCtl::Lb_wt, MainCtl::Lb_sw,
                          MainCtl::Lb_bm, MainCtl::Lb_ft})
            texts[c] = "--.--";
        texts[MainCtl::Pl_you] = "測定中.....";
        texts[MainCtl::Lb_cm] = "データを入力して下さい。";
        texts[MainCtl::Lb_dt] = "08/30-20";
        focus = MainCtl::Ed_h;
    }

    std::string text(MainCtl c) const override {
        auto it = texts.find(c);
        return it == texts.end() ? std::string() : it->second;
    }
    void setText(MainCtl c, const std::string& t) override {
        texts[c] = t;
        ++writes;
    }
    void setFontColour(MainCtl c, Colour col) override {
        fontColours[c] = col;
        ++writes;
    }
    void setColour(MainCtl c, Colour col) override {
        colours[c] = col;
        ++writes;
    }
    void setVisible(MainCtl c, bool v) override { visible[c] = v; }
    bool isVisible(MainCtl c) const {
        auto it = visible.find(c);
        return it != visible.end() && it->second;
    }
    void setHint(MainCtl c, const std::string& h) override { hints[c] = h; }
    void setFocus(MainCtl c) override { focus = c; }
    void showTargetsDialog() override {
        ++targetsShown;
        if (onTargets)
            onTargets();
    }
    void closeWindow() override { ++closed; }

    std::map<MainCtl, std::string> texts;
    std::map<MainCtl, Colour> fontColours;
    std::map<MainCtl, Colour> colours;
    std::map<MainCtl, bool> visible;
    std::map<MainCtl, std::string> hints;
    MainCtl focus;
    int writes = 0;
    int targetsShown = 0;
    int closed = 0;
    std::function<void()> onTargets;
};

} // namespace vorn::test
