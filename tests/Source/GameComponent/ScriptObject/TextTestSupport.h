#pragma once
// Helpers for the text tests: a text layer from definition text, run on the headless
// backend's glyphs, with a balloon stand-in that records what the layer asks of it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "Source/GameComponent/ScriptObject/TextLayerHost.h"
#include "Source/GameComponent/ScriptObject/TextLayerObject.h"
#include "Source/Interpreter/BalloonControl.h"
#include "Source/Interpreter/Parser.h"
#include "Source/Script/F/DefinitionTestSupport.h"
#include "framework/Graphics/BufferedImage.h"
#include "framework/Graphics/Painter.h"
#include "support/BackendTest.h"

namespace TextTest {

using namespace Quenta::GameComponent;

struct RecordingHost : TextLayerHost {
    int redraws = 0;
    int opens = 0;
    int closes = 0;
    int lastSizeStep = 0;
    int lastOpacityStep = 0;
    bool linkCursor = false;
    void requestTextRedraw() override { ++redraws; }
    void openFromText(int size, int opacity) override {
        ++opens;
        lastSizeStep = size;
        lastOpacityStep = opacity;
    }
    void closeFromText(int size, int opacity) override {
        ++closes;
        lastSizeStep = size;
        lastOpacityStep = opacity;
    }
    void setLinkCursor(bool over) override { linkCursor = over; }
};

// A text layer "T" with the given Config lines (besides FuncName) and text lines, plus
// any further blocks.
inline std::string layerBlock(const std::string& config, const std::string& lines, const std::string& more = {}) {
    return DefinitionTest::block("TEXT_LAYER_REG", "FuncName=T\n" + config, "<SET_TEXT>\n" + lines + "</SET_TEXT>\n") +
           more;
}

class Layer {
public:
    explicit Layer(const std::string& definitionText, Quenta::Interpreter::ScriptOwner* owner = nullptr)
        : parser(owner), data_(DefinitionTest::buildFrom(definitionText)) {
        parser.setFunctionObjects(&data_->functionObjects());
        layer = std::make_unique<TextLayerObject>(parser, *data_, data_->findRecord(u"T"), host);
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i) layer->step();
    }
    // The layer drawn alone into a fresh transparent surface.
    std::unique_ptr<Arbor::Graphics::BufferedImage> drawn(int w = 200, int h = 100) const {
        auto surface = std::make_unique<Arbor::Graphics::BufferedImage>(w, h);
        Arbor::Graphics::Painter painter(*surface);
        layer->draw(painter);
        return surface;
    }

    Quenta::Interpreter::Parser parser;
    RecordingHost host;
    std::unique_ptr<TextLayerObject> layer;

private:
    std::unique_ptr<Quenta::Script::DefinitionData> data_;
};

// Balloon built-ins that do nothing; tests override what they watch.
struct NoBalloons : Quenta::Interpreter::BalloonControl {
    void createBalloon(std::u16string_view) override {}
    void callBalloon(std::u16string_view) override {}
    void openBalloon(std::u16string_view, int, int) override {}
    void closeBalloon(std::u16string_view, int, int, Quenta::Interpreter::TokenLine) override {}
    void terminateBalloon(std::u16string_view) override {}
    void moveBalloon(std::u16string_view, double, double) override {}
    int balloonFrameNumber(std::u16string_view) override { return 0; }
    void setBalloonFrameNumber(std::u16string_view, int) override {}
    void postSetBalloonFrameNumber(std::u16string_view, int) override {}
    int textLineNumber(std::u16string_view, std::u16string_view) override { return 0; }
    void setTextLineNumber(std::u16string_view, std::u16string_view, int) override {}
    void postSetTextLineNumber(std::u16string_view, std::u16string_view, int) override {}
    void balloonToTop(std::u16string_view) override {}
};

// A character that has only balloons.
struct OwnerWith : Quenta::Interpreter::ScriptOwner {
    explicit OwnerWith(Quenta::Interpreter::BalloonControl& balloons) : balloons_(balloons) {}
    Quenta::Interpreter::BalloonControl* balloonControl() override { return &balloons_; }

private:
    Quenta::Interpreter::BalloonControl& balloons_;
};

// Glyphs in these tests come from the headless backend (the host's fonts).
class HeadlessText : public ::testing::Test {
protected:
    Testing::BackendScope backend{"Headless"};
};

}  // namespace TextTest
