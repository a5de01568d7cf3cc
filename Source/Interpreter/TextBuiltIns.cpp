// Text built-ins: they act on the text layer whose line is running (TextLayerControl.h)
// and return nothing; elsewhere they read their arguments and do nothing.
#include "Source/Interpreter/ActionCapture.h"
#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/LibraryArguments.h"
#include "Source/Interpreter/ScriptException.h"
#include "Source/Interpreter/ScriptMessages.h"
#include "Source/Interpreter/TextLayerControl.h"

namespace Quenta::Interpreter {

namespace {

constexpr int kDefaultTransitionStep = 100;

Value* clearTextBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    while (args.next()) {
    }
    if (TextLayerControl* layer = RunningTextLayer::of(parser)) layer->clearText();
    return Parser::voidValue();
}

Value* waitBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* frames = args.next();
    const int count = frames ? frames->toInt() : 0;
    if (TextLayerControl* layer = RunningTextLayer::of(parser)) layer->wait(count);
    return Parser::voidValue();
}

// The built-ins that take one text argument.
template <void (TextLayerControl::*Apply)(std::u16string_view)>
Value* textSettingBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto text = args.nextText();
    TextLayerControl* layer = RunningTextLayer::of(parser);
    if (layer && text) (layer->*Apply)(*text);
    return Parser::voidValue();
}

// The built-ins that take one integer argument.
template <void (TextLayerControl::*Apply)(int)>
Value* intSettingBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* value = args.next();
    const int number = value ? value->toInt() : 0;
    TextLayerControl* layer = RunningTextLayer::of(parser);
    if (layer && value) (layer->*Apply)(number);
    return Parser::voidValue();
}

Value* linkTextBuiltIn(Parser& parser, std::u16string_view name) {
    TextLayerControl* layer = RunningTextLayer::of(parser);
    if (parser.currentToken().kind == TokenKind::CloseParen) return Parser::voidValue();
    TokenLine commands = captureAction(parser, layer != nullptr);
    std::optional<std::u16string> text;
    if (parser.currentToken().kind == TokenKind::Comma) {
        LibraryArguments rest(parser, name);
        parser.nextToken();
        text = rest.nextText();
    }
    // Links without text would be nothing to click on.
    if (layer && text && !text->empty()) layer->linkText(std::move(commands), std::move(*text));
    return Parser::voidValue();
}

Value* setLinkTextColorBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    std::array<std::optional<std::u16string>, 3> colors;
    for (auto& color : colors) color = args.nextText();
    if (TextLayerControl* layer = RunningTextLayer::of(parser)) layer->setLinkTextColor(colors);
    return Parser::voidValue();
}

Value* setLinkTextUnderlineBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    std::array<bool, 3> underlines{};
    for (bool& underline : underlines) {
        Value* value = args.next();
        underline = value && value->toBool();
    }
    if (TextLayerControl* layer = RunningTextLayer::of(parser)) layer->setLinkTextUnderline(underlines);
    return Parser::voidValue();
}

template <void (TextLayerControl::*Apply)(int, int)>
Value* transitionBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    Value* size = args.next();
    const int sizeStep = size ? size->toInt() : kDefaultTransitionStep;
    Value* opacity = size ? args.next() : nullptr;
    const int opacityStep = opacity ? opacity->toInt() : kDefaultTransitionStep;
    // A third argument has no meaning: the call is malformed.
    if (opacity && parser.currentToken().kind != TokenKind::CloseParen) {
        throw ScriptException(Messages::builtInMalformed(name));
    }
    if (TextLayerControl* layer = RunningTextLayer::of(parser)) (layer->*Apply)(sizeStep, opacityStep);
    return Parser::voidValue();
}

}  // namespace

void registerTextBuiltIns(BuiltInTable& table) {
    table.add(u"ClearText", clearTextBuiltIn);
    table.add(u"Wait", waitBuiltIn);
    table.add(u"SetTextStyle", textSettingBuiltIn<&TextLayerControl::setTextStyle>);
    table.add(u"SetFont", textSettingBuiltIn<&TextLayerControl::setFont>);
    table.add(u"SetFontSize", intSettingBuiltIn<&TextLayerControl::setFontSize>);
    table.add(u"SetFontColor", textSettingBuiltIn<&TextLayerControl::setFontColor>);
    table.add(u"SetFontQuality", textSettingBuiltIn<&TextLayerControl::setFontQuality>);
    table.add(u"SetSpeed", intSettingBuiltIn<&TextLayerControl::setSpeed>);
    table.add(u"LinkText", linkTextBuiltIn);
    table.add(u"SetLinkTextColor", setLinkTextColorBuiltIn);
    table.add(u"SetLinkTextUnderline", setLinkTextUnderlineBuiltIn);
    table.add(u"Open", transitionBuiltIn<&TextLayerControl::open>);
    table.add(u"Close", transitionBuiltIn<&TextLayerControl::close>);
}

}  // namespace Quenta::Interpreter
