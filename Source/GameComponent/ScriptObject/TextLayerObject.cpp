#include "Source/GameComponent/ScriptObject/TextLayerObject.h"

#include <algorithm>
#include <utility>

#include "Source/GameComponent/ScriptObject/TextColor.h"
#include "Source/Interpreter/ActionCapture.h"
#include "Source/Interpreter/Evaluator.h"
#include "Source/Script/F/RecordViews.h"

namespace Quenta::GameComponent {

using Interpreter::Parser;
using Interpreter::ParserPositionSaver;
using Interpreter::ScopePush;

namespace {

int countOf(std::size_t n) { return static_cast<int>(std::min<std::size_t>(n, 0x7FFFFFFF / TextLayerObject::kUnitsPerChar)); }

}  // namespace

TextLayerObject::TextLayerObject(Parser& parser, const Script::DefinitionData& definition,
                                 const Script::DefinitionRecord& record, TextLayerHost& host)
    : parser_(parser), definition_(definition), host_(host), scope_(u"textLayer"), box_(0, 0, 0, 0) {
    const Script::TextLayerRecordView view = Script::readTextLayerRecord(record);
    funcName_ = view.funcName;
    const std::u16string styleName = Script::evaluateText(parser, *view.funcNameTextStyle);
    box_.width = Script::evaluateNumber(parser, *view.width);
    box_.height = Script::evaluateNumber(parser, *view.height);
    box_.x = Script::evaluateNumber(parser, *view.posX);
    box_.y = Script::evaluateNumber(parser, *view.posY);
    scope_.setString(u"FuncName", funcName_);
    scope_.setNumber(u"Width", box_.width);
    scope_.setNumber(u"Height", box_.height);
    lines_ = record.section(Script::SectionKind::Text);
    if (!styleName.empty()) setTextStyle(styleName);
    state_ = RunningLines;
}

TextLayerObject::~TextLayerObject() = default;

void TextLayerObject::applyStyleRecord(const Script::DefinitionRecord& record) {
    const Script::TextStyleRecordView view = Script::readTextStyleRecord(record);
    style_.fontName = Script::evaluateText(parser_, *view.fontName);
    const int size = Script::evaluateInt(parser_, *view.fontSize);
    style_.fontSize = size == 0 ? kDefaultFontSize : size;
    style_.format = glyphFormatForQuality(Script::evaluateText(parser_, *view.fontQuality));
    style_.color = parseTextColor(Script::evaluateText(parser_, *view.fontColor));
    const int speed = Script::evaluateInt(parser_, *view.speed);
    style_.speed = speed == 0 ? kDefaultSpeed : speed;
    style_.underline = Script::evaluateBool(parser_, *view.flagUnderline);
}

void TextLayerObject::step() {
    ScopePush push(parser_, scope_);
    const std::size_t before = revealed_;
    int linesRun = 0;
    bool ranLines = false;
    for (;;) {
        if (state_ == RunningLines) {
            if (!lines_ || lineIndex_ >= static_cast<int>(lines_->size())) {
                state_ = Finished;
                break;
            }
            if (++linesRun > kLineLimitPerFrame) break;
            ranLines = true;
            runLine();
            if (state_ == RunningLines) continue;
            break;
        }
        if (state_ == Waiting) {
            wait_.stepForward();
            if (!wait_.atEnd()) break;
            state_ = RunningLines;
            continue;
        }
        if (state_ == Typing) {
            typing_.stepForward();
            if (!typing_.atEnd()) break;
            state_ = RunningLines;
            continue;
        }
        break;
    }
    const auto shown = static_cast<std::size_t>(std::max(0, typing_.value()) / kUnitsPerChar);
    if (shown != before || ranLines || state_ == RunningLines || state_ == Typing) {
        revealed_ = shown;
        refresh(shown != before || ranLines);
    }
}

void TextLayerObject::runLine() {
    const Interpreter::TokenLine& line = (*lines_)[static_cast<std::size_t>(lineIndex_)];
    lineMoved_ = false;
    std::u16string text;
    {
        Interpreter::RunningTextLayer running(parser_, *this);
        parser_.setLine(line);
        parser_.resetTemporaries();
        text = Interpreter::evaluate(parser_, false)->toStr();
    }
    // A line that set the line number goes on from there.
    if (!lineMoved_) ++lineIndex_;
    if (text.empty()) return;
    const std::size_t before = box_.charCount();
    box_.append(std::make_unique<TextLayout>(std::move(text), makeFontRecord(style_), fonts_));
    startTyping(before);
}

void TextLayerObject::startTyping(std::size_t before) {
    typing_.reset(countOf(before) * kUnitsPerChar, countOf(box_.charCount()) * kUnitsPerChar, style_.speed);
    typing_.stepForward();
    state_ = Typing;
}

void TextLayerObject::refresh(bool changed) {
    box_.reveal(revealed_);
    if (changed) host_.requestTextRedraw();
}

void TextLayerObject::draw(Arbor::Graphics::Painter& painter) const { box_.draw(painter); }

void TextLayerObject::setLineNumber(int line) {
    const int count = lines_ ? static_cast<int>(lines_->size()) : 0;
    lineIndex_ = std::clamp(line, 0, count);
    lineMoved_ = true;
    state_ = RunningLines;
}

bool TextLayerObject::pointerOver(double x, double y) {
    LinkTextLayout* link = box_.linkAt(x, y);
    if (!link) return false;
    if (hovered_ && hovered_ != link && hovered_->setHovered(false)) host_.requestTextRedraw();
    hovered_ = link;
    if (link->setHovered(true)) host_.requestTextRedraw();
    host_.setLinkCursor(true);
    return true;
}

void TextLayerObject::checkHover(std::optional<std::pair<double, double>> point) {
    if (!hovered_) return;
    if (point && hovered_->hasVisibleCharAt(point->first, point->second)) return;
    if (hovered_->setHovered(false)) host_.requestTextRedraw();
    hovered_ = nullptr;
    host_.setLinkCursor(false);
}

bool TextLayerObject::buttonDown(double x, double y) {
    LinkTextLayout* link = box_.linkAt(x, y);
    if (!link) return false;
    host_.requestTextRedraw();
    if (pressed_ && pressed_ != link) pressed_->setPressed(false);
    pressed_ = link;
    link->setPressed(true);
    // The commands may replace this layer's order (and so delete the layer): they run
    // from a copy, and nothing of the layer is touched afterwards.
    const Interpreter::TokenLine commands = link->commands();
    if (!commands.empty()) {
        ParserPositionSaver saver(parser_);
        Interpreter::runAction(parser_, commands);
    }
    return true;
}

void TextLayerObject::buttonUp(double x, double y) {
    if (!pressed_) return;
    (void)x;
    (void)y;
    // The press ends wherever the button is released; the link looks normal (or
    // hovered) again.
    if (pressed_->setPressed(false)) host_.requestTextRedraw();
    pressed_ = nullptr;
}

void TextLayerObject::clearText() {
    if (hovered_) host_.setLinkCursor(false);
    hovered_ = nullptr;
    pressed_ = nullptr;
    box_.clear();
    revealed_ = 0;
    typing_.reset(0, 0, style_.speed);
    state_ = RunningLines;
    host_.requestTextRedraw();
}

void TextLayerObject::wait(int frames) {
    wait_.reset(0, frames, 1);
    state_ = Waiting;
}

void TextLayerObject::setTextStyle(std::u16string_view styleName) {
    const Script::DefinitionRecord* record = definition_.find(styleName);
    if (record && record->kind() == Script::RegisterKind::TextStyle) {
        ParserPositionSaver saver(parser_);
        applyStyleRecord(*record);
    }
    state_ = RunningLines;
}

void TextLayerObject::setFont(std::u16string_view faceName) {
    style_.fontName = std::u16string(faceName);
    state_ = RunningLines;
}

void TextLayerObject::setFontSize(int points) {
    style_.fontSize = points;
    state_ = RunningLines;
}

void TextLayerObject::setFontColor(std::u16string_view color) {
    style_.color = parseTextColor(color);
    state_ = RunningLines;
}

void TextLayerObject::setFontQuality(std::u16string_view quality) {
    style_.format = glyphFormatForQuality(quality);
    state_ = RunningLines;
}

void TextLayerObject::setSpeed(int speed) {
    style_.speed = speed;
    state_ = RunningLines;
}

void TextLayerObject::linkText(Interpreter::TokenLine commands, std::u16string text) {
    std::array<FontRecord, 3> styles;
    for (std::size_t i = 0; i < styles.size(); ++i) {
        styles[i] = makeFontRecord(style_, linkStyle_.colors[i], linkStyle_.underlines[i]);
    }
    const std::size_t before = box_.charCount();
    box_.append(std::make_unique<LinkTextLayout>(std::move(commands), std::move(text), styles, fonts_));
    startTyping(before);
}

void TextLayerObject::setLinkTextColor(const std::array<std::optional<std::u16string>, 3>& colors) {
    for (std::size_t i = 0; i < colors.size(); ++i) {
        if (colors[i] && !colors[i]->empty()) linkStyle_.colors[i] = parseTextColor(*colors[i]);
    }
    state_ = RunningLines;
}

void TextLayerObject::setLinkTextUnderline(const std::array<bool, 3>& underlines) {
    linkStyle_.underlines = underlines;
    state_ = RunningLines;
}

void TextLayerObject::open(int sizeStep, int opacityStep) {
    host_.openFromText(sizeStep, opacityStep);
    state_ = RunningLines;
}

void TextLayerObject::close(int sizeStep, int opacityStep) {
    host_.closeFromText(sizeStep, opacityStep);
    state_ = RunningLines;
}

}  // namespace Quenta::GameComponent
