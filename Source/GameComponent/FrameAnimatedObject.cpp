#include "Source/GameComponent/FrameAnimatedObject.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "Source/GameComponent/CharacterObject.h"
#include "Source/GameComponent/CodeLoopObject.h"
#include "Source/GameComponent/SoundChannel.h"
#include "Source/Script/F/RecordViews.h"
#include "framework/Graphics/Image32.h"
#include "framework/Graphics/ImageResource.h"

namespace Quenta::GameComponent {

std::int32_t layerPixel(double v) {
    if (!(v > -1e9)) return -1000000000;
    return v > 1e9 ? 1000000000 : static_cast<std::int32_t>(std::floor(v));
}

namespace {

// Counter ends are sums of durations; held to the 32-bit range the counter keeps.
std::int32_t clampedSum(std::int64_t a, std::int64_t b) {
    const std::int64_t sum = a + b;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(sum, std::numeric_limits<std::int32_t>::min(),
                                                             std::numeric_limits<std::int32_t>::max()));
}

std::int32_t durationOf(const Script::FrameParameters& row) { return std::max(row.duration, 0); }

}  // namespace

FrameAnimatedObject::FrameAnimatedObject(CharacterObject& character, std::u16string scopeName)
    : ScriptObject(character, std::move(scopeName)), sounds_(std::make_unique<SoundChannel>()) {}

FrameAnimatedObject::~FrameAnimatedObject() = default;

const Script::FrameParameters& FrameAnimatedObject::currentRow() const {
    static const Script::FrameParameters none;
    return row_ < rows_.size() ? rows_[row_] : none;
}

void FrameAnimatedObject::setSoundsMuted(bool muted) { sounds_->setMuted(muted); }

void FrameAnimatedObject::startFrames(const std::u16string& imageName, int width, int height, int flip) {
    imageName_ = imageName;
    loadedName_.clear();
    loadedImage_.reset();
    flip_ = flip;
    const std::shared_ptr<Arbor::Graphics::Image32> image = imageFor({});
    width_ = width == 0 && image ? image->width() : width;
    height_ = height == 0 && image ? image->height() : height;
    scope().setNumber(u"Width", width_);
    scope().setNumber(u"Height", height_);

    pendingSeek_ = -1;
    rows_ = Script::readFrames(character().parser(), *block());
    row_ = 0;
    counter_.reset(0, durationOf(currentRow()), 1);
    sounds_->setMuted(character().areSoundsMuted());
    sounds_->stop();
    sounds_->play(character().resources(), currentRow().soundName);
    shownImage_.reset();
    refreshShown();
}

void FrameAnimatedObject::finishStart() {
    runCodeInit(character().parser(), *block());
    codeLoop_ = std::make_unique<CodeLoopObject>(character().parser(), *block());
}

bool FrameAnimatedObject::advanceFrames() {
    if (codeLoop_) codeLoop_->run();
    if (pendingSeek_ >= 0) seekNow(pendingSeek_);
    if (counter_.atEnd() && !rows_.empty()) {
        // The row after the current one by its stored position, wrapping to row 0.
        const std::int64_t next = std::int64_t(currentRow().index) + 1;
        const std::size_t index = next >= 0 && next < std::int64_t(rows_.size()) ? std::size_t(next) : 0;
        const std::int32_t oldEnd = counter_.end();
        row_ = index;
        counter_.reset(oldEnd, clampedSum(oldEnd, durationOf(currentRow())), 1);
        sounds_->play(character().resources(), currentRow().soundName);
    }
    counter_.stepForward();
    return refreshShown();
}

void FrameAnimatedObject::seekNow(std::int32_t n) {
    pendingSeek_ = -1;
    std::int64_t total = 0;
    for (const Script::FrameParameters& row : rows_) total += durationOf(row);
    if (total <= 0) {
        // Nothing has a length: row 0 stays for one frame from n.
        row_ = 0;
        counter_.reset(n, n, 1);
        return;
    }
    const std::int64_t within = n % total;
    std::int64_t sum = 0;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        sum += durationOf(rows_[i]);
        if (sum > within) {
            row_ = i;
            counter_.reset(n, clampedSum(sum, std::int64_t(n) - within), 1);
            return;
        }
    }
}

std::shared_ptr<Arbor::Graphics::Image32> FrameAnimatedObject::imageFor(const std::u16string& rowImageName) {
    const std::u16string& name = rowImageName.empty() ? imageName_ : rowImageName;
    if (name.empty()) return nullptr;
    if (name != loadedName_) {
        loadedName_ = name;
        loadedImage_ = Arbor::Graphics::cachedImage(character().resources(), name);
        // Shared through the cache: premultiplying twice is refused by the buffer.
        if (loadedImage_) loadedImage_->premultiply();
    }
    return loadedImage_;
}

bool FrameAnimatedObject::coversItsSize() const {
    if (!shownImage_ || shownImage_->isNull()) return false;
    const Arbor::Graphics::Rect whole{0, 0, shownImage_->width(), shownImage_->height()};
    return !shownRect_.isEmpty() && shownRect_.intersected(whole) == shownRect_;
}

bool FrameAnimatedObject::refreshShown() {
    const Script::FrameParameters& row = currentRow();
    std::shared_ptr<Arbor::Graphics::Image32> image = imageFor(row.imageName);
    const Arbor::Graphics::Rect rect = Arbor::Graphics::Rect::fromSize(row.sourceX, row.sourceY, width_, height_);
    if (image == shownImage_ && rect == shownRect_) return false;
    shownImage_ = std::move(image);
    shownRect_ = rect;
    return true;
}

}  // namespace Quenta::GameComponent
