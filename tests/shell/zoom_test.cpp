// The zoom rule without a window: the default a screen gives, what a stored value snaps to, the steps
// the zoom commands take, and the shell routing them.
#include <gtest/gtest.h>

#include "shell/Shell.h"
#include "shell/Zoom.h"
#include "support/Messages.h"

namespace k52 {
namespace {

TEST(Zoom, DefaultIsDoubleOnlyFromTwoThousandPixelsUp) {
    const std::pair<int, int> cases[] = {{0, 100},    {800, 100},  {1080, 100}, {1440, 100},
                                         {1999, 100}, {2000, 200}, {2160, 200}, {4320, 200}};
    for (const auto& [height, zoom] : cases) EXPECT_EQ(DefaultZoom(height), zoom) << height;
}

TEST(Zoom, AStoredValueSnapsToTheNearestStep) {
    const std::pair<int, int> cases[] = {{-50, 100}, {0, 100},   {100, 100}, {124, 100}, {125, 100},
                                         {126, 150}, {170, 150}, {176, 200}, {249, 200}, {250, 200},
                                         {251, 300}, {300, 300}, {999, 300}};
    for (const auto& [stored, zoom] : cases) EXPECT_EQ(NearestZoom(stored), zoom) << stored;
}

TEST(Zoom, InAndOutWalkTheStepsAndStopAtTheEnds) {
    const int in[][2] = {{100, 150}, {150, 200}, {200, 300}, {300, 300}, {120, 150}, {50, 100}};
    for (const auto& c : in) EXPECT_EQ(ZoomIn(c[0]), c[1]) << c[0];
    const int out[][2] = {{300, 200}, {200, 150}, {150, 100}, {100, 100}, {250, 200}, {400, 300}};
    for (const auto& c : out) EXPECT_EQ(ZoomOut(c[0]), c[1]) << c[0];
}

class ZoomActions : public ShellActions {
  public:
    int zoom = 100;
    int stores = 0;
    bool OpenEditor() override { return true; }
    void OpenPortSettings() override {}
    void RunDownload(Transport, Payload) override {}
    void RunReceive(Transport) override {}
    void ShowAbout() override {}
    void RequestClose() override {}
    int Zoom() const override { return zoom; }
    void SetZoom(int percent) override {
        zoom = percent;
        ++stores;
    }
};

TEST(Zoom, TheMenuAndShortcutCommandsSetTheZoom) {
    TemplateDocument doc;
    test::ScriptedMessages messages;
    test::ScriptedFileDialogs dialogs;
    ZoomActions actions;
    Shell shell(doc, messages, dialogs, actions);
    const std::pair<int, int> steps[] = {{2201, 150}, {2201, 200}, {2201, 300}, {2201, 300}, {2202, 200},
                                         {2210, 100}, {2202, 100}, {2230, 300}, {2215, 150}, {2220, 200}};
    for (const auto& [command, zoom] : steps) {
        shell.OnCommand(command);
        EXPECT_EQ(actions.zoom, zoom) << command;
    }
    EXPECT_EQ(actions.stores, 10);
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace k52
