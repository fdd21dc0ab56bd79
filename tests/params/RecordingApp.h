// An application without a window for panel tests: events go through the real callback dispatch,
// and the hooks record what reached the application.
#pragma once

#include <string>
#include <vector>

#include "framework/App.h"

class RecordingApp : public loom::framework::App {
public:
    void mouseDown(loom::framework::MouseEvent e) override { seen.push_back("down " + at(e)); }
    void mouseUp(loom::framework::MouseEvent e) override { seen.push_back("up " + at(e)); }
    void mouseDrag(loom::framework::MouseEvent e) override { seen.push_back("drag " + at(e)); }

    void press(int x, int y) { privateMouseDown(event(x, y)); }
    void drag(int x, int y) { privateMouseDrag(event(x, y)); }
    void release(int x, int y) { privateMouseUp(event(x, y)); }

    void quit() override {}
    Settings& getSettings() override { return settings; }
    int getWindowWidth() const override { return width; }
    void setWindowWidth(int) override {}
    int getWindowHeight() const override { return height; }
    void setWindowHeight(int) override {}
    void setWindowSize(int, int) override {}
    float getFrameRate() const override { return 60.0f; }
    float setFrameRate(float rate) override { return rate; }
    bool isFullScreen() const override { return false; }
    void setFullScreen(bool) override {}
    std::string getAppPath() const override { return "/"; }

    std::vector<std::string> seen;
    // What the panel reads to set its window matrices.
    int width = 640;
    int height = 480;

protected:
    int launch(const std::string&, int, char* const[]) override { return 0; }

private:
    static loom::framework::MouseEvent event(int x, int y) {
        return loom::framework::MouseEvent(loom::framework::Event::LEFT_DOWN, x, y,
                                           loom::framework::Event::LEFT_DOWN, 0.0f, 0);
    }
    static std::string at(const loom::framework::MouseEvent& e) {
        return std::to_string(e.x) + "," + std::to_string(e.y);
    }

    Settings settings;
};
