// Balloon built-ins: they act on the calling character's balloons (BalloonControl.h) and
// return 0 (the two getters their number); without a character, or with an argument
// missing, they read what is there and do nothing.
#include <optional>
#include <string>

#include "Source/Interpreter/ActionCapture.h"
#include "Source/Interpreter/BalloonControl.h"
#include "Source/Interpreter/BuiltInTable.h"
#include "Source/Interpreter/LibraryArguments.h"

namespace Quenta::Interpreter {

namespace {

BalloonControl* balloonsOf(Parser& parser) {
    ScriptOwner* owner = parser.owner();
    return owner ? owner->balloonControl() : nullptr;
}

std::optional<int> nextInt(LibraryArguments& args) {
    Value* value = args.next();
    if (!value) return std::nullopt;
    return value->toInt();
}

std::optional<double> nextNumber(LibraryArguments& args) {
    Value* value = args.next();
    if (!value) return std::nullopt;
    return value->toNum();
}

// The built-ins that take one name and act on it.
template <void (BalloonControl::*Act)(std::u16string_view)>
Value* namedBalloonBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto balloon = args.nextText();
    if (BalloonControl* balloons = balloonsOf(parser); balloons && balloon) (balloons->*Act)(*balloon);
    return parser.makeNum(0);
}

Value* openBalloonBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto balloon = args.nextText();
    const auto sizeStep = nextInt(args);
    const auto opacityStep = nextInt(args);
    BalloonControl* balloons = balloonsOf(parser);
    if (balloons && balloon && sizeStep && opacityStep) balloons->openBalloon(*balloon, *sizeStep, *opacityStep);
    return parser.makeNum(0);
}

Value* closeBalloonBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto balloon = args.nextText();
    const auto sizeStep = nextInt(args);
    const auto opacityStep = nextInt(args);
    BalloonControl* balloons = balloonsOf(parser);
    TokenLine commands;
    if (opacityStep && parser.currentToken().kind == TokenKind::Comma) {
        parser.nextToken();
        commands = captureAction(parser, balloons != nullptr);
    }
    if (balloons && balloon && sizeStep && opacityStep) {
        balloons->closeBalloon(*balloon, *sizeStep, *opacityStep, std::move(commands));
    }
    return parser.makeNum(0);
}

Value* moveBalloonBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto balloon = args.nextText();
    const auto x = nextNumber(args);
    const auto y = nextNumber(args);
    BalloonControl* balloons = balloonsOf(parser);
    if (balloons && balloon && x && y) balloons->moveBalloon(*balloon, *x, *y);
    return parser.makeNum(0);
}

Value* getBalloonFrameNumBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto balloon = args.nextText();
    BalloonControl* balloons = balloonsOf(parser);
    return parser.makeNum(balloons && balloon ? balloons->balloonFrameNumber(*balloon) : 0);
}

template <bool Later>
Value* setBalloonFrameNumBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto balloon = args.nextText();
    const auto frame = nextInt(args);
    BalloonControl* balloons = balloonsOf(parser);
    if (balloons && balloon && frame) {
        if constexpr (Later) {
            balloons->postSetBalloonFrameNumber(*balloon, *frame);
        } else {
            balloons->setBalloonFrameNumber(*balloon, *frame);
        }
    }
    return parser.makeNum(0);
}

Value* getTextLineNumBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto balloon = args.nextText();
    const auto layer = args.nextText();
    BalloonControl* balloons = balloonsOf(parser);
    return parser.makeNum(balloons && balloon && layer ? balloons->textLineNumber(*balloon, *layer) : 0);
}

template <bool Later>
Value* setTextLineNumBuiltIn(Parser& parser, std::u16string_view name) {
    LibraryArguments args(parser, name);
    const auto balloon = args.nextText();
    const auto layer = args.nextText();
    const auto line = nextInt(args);
    BalloonControl* balloons = balloonsOf(parser);
    if (balloons && balloon && layer && line) {
        if constexpr (Later) {
            balloons->postSetTextLineNumber(*balloon, *layer, *line);
        } else {
            balloons->setTextLineNumber(*balloon, *layer, *line);
        }
    }
    return parser.makeNum(0);
}

}  // namespace

void registerBalloonBuiltIns(BuiltInTable& table) {
    table.add(u"CreateBalloon", namedBalloonBuiltIn<&BalloonControl::createBalloon>);
    table.add(u"CallBalloon", namedBalloonBuiltIn<&BalloonControl::callBalloon>);
    table.add(u"OpenBalloon", openBalloonBuiltIn);
    table.add(u"CloseBalloon", closeBalloonBuiltIn);
    table.add(u"TerminateBalloon", namedBalloonBuiltIn<&BalloonControl::terminateBalloon>);
    table.add(u"MoveBalloon", moveBalloonBuiltIn);
    table.add(u"GetBalloonFrameNum", getBalloonFrameNumBuiltIn);
    table.add(u"SetBalloonFrameNum", setBalloonFrameNumBuiltIn<false>);
    table.add(u"SetBalloonFrameNumCmd", setBalloonFrameNumBuiltIn<true>);
    table.add(u"GetTextLineNum", getTextLineNumBuiltIn);
    table.add(u"SetTextLineNum", setTextLineNumBuiltIn<false>);
    table.add(u"SetTextLineNumCmd", setTextLineNumBuiltIn<true>);
    table.add(u"BalloonToTop", namedBalloonBuiltIn<&BalloonControl::balloonToTop>);
}

}  // namespace Quenta::Interpreter
