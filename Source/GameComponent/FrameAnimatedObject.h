#pragma once
// What a motion and an image layer share: frame rows played by a frame counter (each
// row for its duration in frames, then the next, then row 0 again), seeking to a
// frame number, the per-frame CodeLoop, frame sounds, and the image and source
// rectangle the current row shows.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Source/GameComponent/ScriptObject.h"
#include "Source/Script/F/RecordEvaluation.h"
#include "framework/Counter/RootCounter.h"
#include "framework/Graphics/Geometry.h"

namespace Arbor::Graphics {
class Image32;
}

namespace Quenta::GameComponent {

// A layer position as a pixel: rounded down, and held within ±1e9 so that a layer a
// script moved far away (or to NaN) stays a defined number.
std::int32_t layerPixel(double v);

class CodeLoopObject;
class SoundChannel;

class FrameAnimatedObject : public ScriptObject {
public:
    FrameAnimatedObject(CharacterObject& character, std::u16string scopeName);
    ~FrameAnimatedObject() override;

    // Seeks to frame n at the next update.
    void seek(std::int32_t n) { pendingSeek_ = n < 0 ? 0 : n; }

    int width() const { return width_; }
    int height() const { return height_; }
    int flip() const { return flip_; }
    // The current row (row 0 before the first update).
    const Script::FrameParameters& currentRow() const;
    std::size_t currentRowIndex() const { return row_; }
    const Arbor::Counter::RootCounter& frameCounter() const { return counter_; }
    // The image and source rectangle chosen by the last update (or by start).
    const Arbor::Graphics::Image32* image() const { return shownImage_.get(); }
    const Arbor::Graphics::Rect& sourceRect() const { return shownRect_; }
    // Whether drawing the source rectangle fills the whole width x height (the image
    // exists and holds the rectangle).
    bool coversItsSize() const;

    void setSoundsMuted(bool muted);

protected:
    // Start steps shared by motions and layers, with the object's scope current:
    // loads the image, settles Width and Height (0: the image's) and publishes them,
    // reads the rows, loads row 0 and plays its sound.
    void startFrames(const std::u16string& imageName, int width, int height, int flip);
    // Then: CodeInit, and the CodeLoop is set up.
    void finishStart();
    // The update steps: CodeLoop, seek, row change, counter; true when the image or
    // the source rectangle changed (the caller invalidates the composed image).
    bool advanceFrames();

private:
    void enterRow(std::size_t index);
    void seekNow(std::int32_t n);
    // The image of a row (its own name, else the block's), loaded through the cache
    // and kept premultiplied; the last one is remembered to spare lookups.
    std::shared_ptr<Arbor::Graphics::Image32> imageFor(const std::u16string& rowImageName);
    bool refreshShown();

    std::u16string imageName_;
    int width_ = 0;
    int height_ = 0;
    int flip_ = 0;
    std::vector<Script::FrameParameters> rows_;
    std::size_t row_ = 0;
    Arbor::Counter::RootCounter counter_;
    std::int32_t pendingSeek_ = -1;
    std::unique_ptr<CodeLoopObject> codeLoop_;
    std::unique_ptr<SoundChannel> sounds_;
    std::u16string loadedName_;
    std::shared_ptr<Arbor::Graphics::Image32> loadedImage_;
    std::shared_ptr<Arbor::Graphics::Image32> shownImage_;
    Arbor::Graphics::Rect shownRect_;
};

}  // namespace Quenta::GameComponent
