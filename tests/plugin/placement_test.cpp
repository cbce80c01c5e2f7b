#include "plugin/placement.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <vector>

#include "platform/gui/application.h"
#include "platform/gui/form.h"
#include "platform/gui/monitors.h"
#include "platform/gui/registry.h"

namespace {

using gui::Rect;

// A desktop of the test's own making: monitors, the work area of monitor 0 and the active window.
class FakeDesktop : public gui::Desktop {
  public:
    std::vector<Rect> monitors;
    Rect workArea;
    std::optional<Rect> active;
    int MonitorCount() const override { return static_cast<int>(monitors.size()); }
    Rect MonitorBounds(int i) const override { return monitors.at(i); }
    Rect WorkArea() const override { return workArea; }
    int MonitorFromRect(const Rect& r) const override {
        for (int i = 0; i < MonitorCount(); ++i)
            if (monitors[i].Contains((r.left + r.right) / 2, (r.top + r.bottom) / 2)) return i;
        return 0;
    }
    std::optional<Rect> ActiveWindowBounds() const override { return active; }
};

class Placement : public ::testing::Test {
  protected:
    void SetUp() override {
        gui::EnsureApplication();
        auto fake = std::make_unique<FakeDesktop>();
        fake->monitors = {Rect::FromSize(0, 0, 1920, 1080), Rect::FromSize(1920, 0, 1280, 1024)};
        fake->workArea = Rect{0, 0, 1920, 1040};  // task bar at the bottom
        desktop = fake.get();
        gui::SetDesktop(std::move(fake));
        plugin::ResetPreferredMonitor();
    }
    void TearDown() override {
        gui::SetDesktop(nullptr);
        plugin::ResetPreferredMonitor();
    }
    FakeDesktop* desktop = nullptr;
};

TEST_F(Placement, PreferredMonitorWinsWhenItExists) {
    plugin::SetPreferredMonitor(1);
    plugin::MonitorChoice c = plugin::ChooseMonitor();
    ASSERT_TRUE(c.index);
    EXPECT_EQ(*c.index, 1);
    EXPECT_FALSE(c.isFirst);
    EXPECT_EQ(c.bounds, desktop->monitors[1]);
}

TEST_F(Placement, UnknownPreferredMonitorFallsBackToTheActiveWindow) {
    plugin::SetPreferredMonitor(5);
    desktop->active = Rect::FromSize(100, 100, 400, 300);
    plugin::MonitorChoice c = plugin::ChooseMonitor();
    ASSERT_TRUE(c.index);
    EXPECT_EQ(*c.index, 0);
    EXPECT_TRUE(c.isFirst);
    desktop->active = Rect::FromSize(1800, 100, 400, 300);  // 280 of 400 pixels on monitor 1
    EXPECT_EQ(plugin::ChooseMonitor().index, 1);
    desktop->active = Rect::FromSize(1720, 100, 400, 300);  // exactly half on each: neither qualifies
    EXPECT_FALSE(plugin::ChooseMonitor().index);
    desktop->active.reset();
    plugin::MonitorChoice none = plugin::ChooseMonitor();
    EXPECT_FALSE(none.index);
    EXPECT_TRUE(none.isFirst);
}

struct PlacementCase {
    const char* name;
    plugin::PlacementInput in;
    Rect expected;
};

TEST(PlacementArithmetic, Cases) {
    const Rect m0 = Rect::FromSize(0, 0, 1920, 1080);
    const Rect m1 = Rect::FromSize(1920, 0, 1280, 1024);
    const Rect work{0, 0, 1920, 1040};
    const PlacementCase cases[] = {
        {"centred on the second monitor",
         {Rect::FromSize(0, 0, 600, 400), true, m1, false, work},
         Rect::FromSize(1920 + (1280 - 600) / 2, (1024 - 400) / 2, 600, 400)},
        {"centred on the first monitor uses the work area",
         {Rect::FromSize(5, 5, 600, 400), true, m0, true, work},
         Rect::FromSize((1920 - 600) / 2, (1040 - 400) / 2, 600, 400)},
        {"taller than the work area: at its top and cut",
         {Rect::FromSize(0, 0, 600, 1200), true, m0, true, work},
         Rect::FromSize(660, 0, 600, 1040)},
        {"taller than the second monitor: at its top and cut",
         {Rect::FromSize(0, 0, 600, 1100), true, m1, false, work},
         Rect::FromSize(1920 + 340, 0, 600, 1024)},
        {"designed window moved onto the second monitor",
         {Rect::FromSize(100, 50, 300, 200), false, m1, false, work},
         Rect::FromSize(2020, 50, 300, 200)},
        {"designed window below the work area is lifted",
         {Rect::FromSize(100, 950, 300, 200), false, m0, true, work},
         Rect::FromSize(100, 840, 300, 200)},
        {"designed window left of the work area",
         {Rect::FromSize(-50, 10, 300, 200), false, m0, true, work},
         Rect::FromSize(0, 10, 300, 200)},
    };
    for (const PlacementCase& c : cases) EXPECT_EQ(plugin::ComputePlacement(c.in), c.expected) << c.name;
}

TEST_F(Placement, ScreenCentredFormGoesToThePreferredMonitorAndKeepsItsPlace) {
    plugin::SetPreferredMonitor(1);
    gui::Form form;
    form.SetBorderStyle(gui::bsDialog);
    form.SetPosition(gui::poScreenCenter);
    form.resize(600, 400);
    plugin::PlaceOnMonitor(&form);
    const Rect bounds = gui::WindowBounds(form);
    EXPECT_EQ(bounds.left, 1920 + (1280 - bounds.Width()) / 2);
    EXPECT_EQ(form.Position(), gui::poDesigned);
}

TEST_F(Placement, LaterCallsKeepThePreferredMonitor) {
    plugin::SetPreferredMonitor(1);
    // A later call without "Screen" does not reset it; the next message box is placed there too.
    gui::Form box;
    box.SetBorderStyle(gui::bsDialog);
    box.SetPosition(gui::poScreenCenter);
    box.resize(406, 187);
    plugin::FormCreateHook(&box, true);
    EXPECT_GE(gui::WindowBounds(box).left, 1920);
    EXPECT_EQ(box.HelpContext(), 1);
}

TEST_F(Placement, BorderlessWindowsAreNeverMoved) {
    plugin::SetPreferredMonitor(1);
    gui::Form frameless;
    frameless.SetBorderStyle(gui::bsNone);
    frameless.SetPosition(gui::poScreenCenter);
    frameless.setGeometry(10, 20, 300, 200);
    plugin::FormCreateHook(&frameless, true);
    EXPECT_EQ(frameless.geometry(), QRect(10, 20, 300, 200));
    QWidget parent;
    QWidget embedded(&parent);
    embedded.setGeometry(3, 4, 50, 60);
    plugin::PlaceOnMonitor(&embedded);
    EXPECT_EQ(embedded.geometry(), QRect(3, 4, 50, 60));
}

// A stand-in skin applicator, registered by name the way the real one is.
class SkinProbe : public QObject {
    Q_OBJECT
  public:
    Q_INVOKABLE SkinProbe() = default;
    Q_INVOKABLE void SetProperties(QWidget* form) { form->setProperty("skinned", true); }
};

class NoOperation : public QObject {
    Q_OBJECT
  public:
    Q_INVOKABLE NoOperation() = default;
};

TEST_F(Placement, HookFindsTheSkinApplicatorByName) {
    gui::Form form;
    plugin::FormCreateHook(&form, false);
    EXPECT_FALSE(form.property("skinned").isValid()) << "nothing registered: nothing happens";
    gui::RegisterClass("TColorWrapper", &NoOperation::staticMetaObject);
    plugin::FormCreateHook(&form, false);
    EXPECT_FALSE(form.property("skinned").isValid()) << "no SetProperties: nothing happens";
    gui::RegisterClass("TColorWrapper", &SkinProbe::staticMetaObject);
    plugin::FormCreateHook(&form, false);
    EXPECT_TRUE(form.property("skinned").toBool());
    gui::UnregisterClass("TColorWrapper");
}

}  // namespace

#include "placement_test.moc"
